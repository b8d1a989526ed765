#pragma once

#include "platform/reportengine/datasource.h"
#include "platform/reportengine/reportlayout.h"
#include "platform/vbscript/hostobject.h"

#include <memory>

namespace vantrel::report {

// What the script objects ask of the run that owns them.
class RunContext
{
public:
    virtual ~RunContext() = default;
    virtual int pageNumber() const = 0;
    // The rows of that layout's data control; null when it has none open.
    virtual DataCursor *cursorFor(const ReportLayout *layout) = 0;
};

// The script's rpt: PageNumber, Name, DataControl and every control by name (Text, DataField,
// Visible, Left … and any other property; a SubReport's object; a data control's Recordset with
// Fields, Value, EOF, MoveFirst, GetRows). layout must outlive the object unless owner holds it.
class ReportObject final : public vbscript::HostObject
{
public:
    ReportObject(RunContext *context, ReportLayout *layout,
                 std::shared_ptr<ReportLayout> owner = nullptr)
        : m_context(context), m_layout(layout), m_owner(std::move(owner))
    {
    }
    int memberId(const QString &name) const override;
    vbscript::Variant invoke(int memberId, vbscript::HostCall &call) override;
    QString typeName() const override { return QStringLiteral("ActiveReport"); }

    ReportLayout *layout() const { return m_layout; }
    std::shared_ptr<ReportLayout> owner() const { return m_owner; }

private:
    RunContext *m_context;
    ReportLayout *m_layout;
    std::shared_ptr<ReportLayout> m_owner;
    mutable QStringList m_names;
};

} // namespace vantrel::report
