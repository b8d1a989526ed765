#include "platform/reportengine/reportlayout.h"

namespace vantrel::report {

ReportControl::ReportControl(const ReportControl &other)
    : kind(other.kind)
    , name(other.name)
    , left(other.left)
    , top(other.top)
    , width(other.width)
    , height(other.height)
    , font(other.font)
    , props(other.props)
    , unknown(other.unknown)
    , subreport(other.subreport ? std::make_shared<ReportLayout>(*other.subreport) : nullptr)
{
}

ReportControl &ReportControl::operator=(const ReportControl &other)
{
    if (this != &other) {
        ReportControl copy(other);
        *this = std::move(copy);
    }
    return *this;
}

ReportControl::~ReportControl() = default;

ReportControl *Section::control(const QString &controlName)
{
    for (ReportControl &c : controls) {
        if (c.name.compare(controlName, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

ReportControl *Section::addControl(const QString &className, const QString &controlName)
{
    ControlKind kind;
    if (!ControlClass::lookup(className, &kind))
        return nullptr;
    controls.append(ReportControl(kind, controlName));
    return &controls.last();
}

Section *ReportLayout::dataSection()
{
    for (Section &s : sections) {
        if (s.type == SectionType::Detail)
            return &s;
    }
    return nullptr;
}

const Section *ReportLayout::dataSection() const
{
    return const_cast<ReportLayout *>(this)->dataSection();
}

ReportControl *ReportLayout::dataControl()
{
    Section *section = dataSection();
    if (!section)
        return nullptr;
    for (ReportControl &c : section->controls) {
        if (c.kind == ControlKind::DataControl)
            return &c;
    }
    return nullptr;
}

const ReportControl *ReportLayout::dataControl() const
{
    return const_cast<ReportLayout *>(this)->dataControl();
}

ReportControl *ReportLayout::findControl(const QString &controlName)
{
    for (Section &s : sections) {
        if (ReportControl *c = s.control(controlName))
            return c;
    }
    return nullptr;
}

const ReportControl *ReportLayout::findControl(const QString &controlName) const
{
    return const_cast<ReportLayout *>(this)->findControl(controlName);
}

ReportControl *ReportLayout::addControl(Section &section, const QString &className,
                                        QString controlName)
{
    ControlKind kind;
    if (!ControlClass::lookup(className, &kind))
        return nullptr;
    if (controlName.isEmpty() || findControl(controlName)) {
        const QString base = ControlClass::typeName(kind);
        for (int n = 1;; ++n) {
            controlName = base + QString::number(n);
            if (!findControl(controlName))
                break;
        }
    }
    return section.addControl(className, controlName);
}

} // namespace vantrel::report
