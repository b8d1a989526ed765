#pragma once

#include "core/db/cadodatabase.h"
#include "core/db/rowset.h"
#include "platform/vbscript/hostobject.h"
#include "reportlib/ferrolynexport.h"

#include <QHash>
#include <QString>

namespace ferrolyn {

// The script object "vbo" of every report run. It opens its own connection on
// gConnectionString when it is made (a failure leaves it closed, and the database methods then
// give "") and closes it when it goes. Methods in slot order: Choose, IIf, Format, Switch,
// getChartDataFromRecordset, CreateReportByFile, CreateReportByFileTemplate, Sum, Avg, Max,
// Min, Count, GetSalary, GetPreSalary, DX.
//
// The aggregates read gRecordSourceSQL once per SQL text and keep the rows for the life of the
// object, so a total shown in every detail row runs the query once.
class FERROLYN_EXPORT Vbo final : public vantrel::vbscript::HostObject
{
public:
    Vbo();
    ~Vbo() override;

    int memberId(const QString &name) const override;
    vantrel::vbscript::Variant invoke(int memberId, vantrel::vbscript::HostCall &call) override;
    QString typeName() const override { return QStringLiteral("vbo"); }

    // The amount as Chinese capital-money text; "非数字" when x is no number, "溢出" from
    // 1E13 on.
    static QString DX(const vantrel::vbscript::Variant &x);

    // How often a record source was read from the database (tests watch the cache).
    int sourceReads() const { return m_sourceReads; }

private:
    enum class Aggregate { Sum, Avg, Max, Min };
    vantrel::vbscript::Variant aggregate(Aggregate kind, const vantrel::vbscript::Variant &field);
    vantrel::vbscript::Variant count();
    vantrel::vbscript::Variant wageValue(const QString &procedure,
                                         vantrel::vbscript::HostCall &call, bool previous);
    const vantrel::db::RowSet *recordSource();

    CADODatabase m_db;
    bool m_open = false;
    QHash<QString, vantrel::db::RowSet> m_sources;
    int m_sourceReads = 0;
};

// The script given to every report run: the thirteen wrapper functions, then gScript when it
// is not blank.
FERROLYN_EXPORT QString BuildReportScript();

} // namespace ferrolyn
