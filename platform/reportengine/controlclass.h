#pragma once

#include <QString>
#include <QStringList>

namespace vantrel::report {

// The kinds of control a layout holds.
enum class ControlKind {
    Label,
    Field,
    CheckBox,
    BarCode,
    Line,
    Shape,
    Image,
    RichEdit,
    Frame,
    SubReport,
    PageBreak,
    Ole,
    DataControl,
};

// The class registry: class names as layouts and scripts give them ("DDActiveReports2.Field",
// matched without regard to case, the prefix optional) and the type names controls report.
namespace ControlClass {

// The kind of a class name; false when the name is not a control class.
bool lookup(const QString &className, ControlKind *kind);
// "DDActiveReports2.Field": the spelling layouts are written with.
QString className(ControlKind kind);
// "Field", "SubReport", "DataControl" …
QString typeName(ControlKind kind);
QStringList classNames();

} // namespace ControlClass

} // namespace vantrel::report
