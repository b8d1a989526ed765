#include "platform/reportengine/controlclass.h"

using namespace Qt::StringLiterals;

namespace vantrel::report::ControlClass {

namespace {

struct Entry
{
    ControlKind kind;
    const char16_t *type;
};

constexpr Entry entries[] = {
    { ControlKind::Label, u"Label" },
    { ControlKind::Field, u"Field" },
    { ControlKind::CheckBox, u"CheckBox" },
    { ControlKind::BarCode, u"BarCode" },
    { ControlKind::Line, u"Line" },
    { ControlKind::Shape, u"Shape" },
    { ControlKind::Image, u"Image" },
    { ControlKind::RichEdit, u"RichEdit" },
    { ControlKind::Frame, u"Frame" },
    { ControlKind::SubReport, u"SubReport" },
    { ControlKind::PageBreak, u"PageBreak" },
    { ControlKind::Ole, u"OLE" },
    { ControlKind::DataControl, u"DataControl" },
};

const auto prefix = u"DDActiveReports2."_s;

} // namespace

bool lookup(const QString &className, ControlKind *kind)
{
    QStringView name = QStringView(className).trimmed();
    if (name.startsWith(prefix, Qt::CaseInsensitive))
        name = name.mid(prefix.size());
    // The older data controls bind the same way.
    if (name.compare(u"DAODataControl", Qt::CaseInsensitive) == 0
        || name.compare(u"RDODataControl", Qt::CaseInsensitive) == 0) {
        *kind = ControlKind::DataControl;
        return true;
    }
    for (const Entry &e : entries) {
        if (name.compare(QStringView(e.type), Qt::CaseInsensitive) == 0) {
            *kind = e.kind;
            return true;
        }
    }
    return false;
}

QString typeName(ControlKind kind)
{
    for (const Entry &e : entries) {
        if (e.kind == kind)
            return QString::fromUtf16(e.type);
    }
    return {};
}

QString className(ControlKind kind)
{
    return prefix + typeName(kind);
}

QStringList classNames()
{
    QStringList names;
    for (const Entry &e : entries)
        names.append(className(e.kind));
    return names;
}

} // namespace vantrel::report::ControlClass
