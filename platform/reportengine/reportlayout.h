#pragma once

#include "platform/reportengine/controlclass.h"
#include "platform/reportengine/propertybag.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

namespace vantrel::report {

class ReportLayout;

// Section types: 2, 3 and 6 are fixed by the library that calls us; the others are ours. A
// group header's property DataField names the column whose change starts a new group; group
// footers stand in the reverse order of their headers.
namespace SectionType {
constexpr int ReportHeader = 0;
constexpr int ReportFooter = 1;
constexpr int PageHeader = 2;
constexpr int PageFooter = 3;
constexpr int GroupHeader = 4;
constexpr int GroupFooter = 5;
constexpr int Detail = 6;
} // namespace SectionType

// An element or attribute of a newer format that this version does not know: kept as read and
// written back in place.
struct XmlNode
{
    QString name;
    QVector<PropertyBag::Property> attributes;
    QString text;
    QVector<XmlNode> children;
    bool operator==(const XmlNode &) const = default;
};

// The unknown attributes of one element, with every attribute name in the order read.
struct UnknownAttributes
{
    QVector<PropertyBag::Property> attributes;
    QStringList order;
    bool operator==(const UnknownAttributes &) const = default;
};

struct UnknownParts
{
    QVector<PropertyBag::Property> attributes;
    // Every attribute name in the order read, when unknown ones were among them.
    QStringList attributeOrder;
    // Each element with the number of known child elements written before it.
    QVector<QPair<int, XmlNode>> elements;
    // Unknown attributes of the <Prop> elements inside, by property name.
    QVector<QPair<QString, UnknownAttributes>> propAttributes;
    bool operator==(const UnknownParts &) const = default;
};

struct FontSpec
{
    QString name = QStringLiteral("宋体");
    double size = 9; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // Attributes of a newer format, written back as read; drawing ignores them.
    QVector<PropertyBag::Property> unknownAttributes;
    QStringList attributeOrder;
    bool operator==(const FontSpec &) const = default;
};

// Lengths in twips (1/1440 inch).
struct PageSetup
{
    QString paper = QStringLiteral("A4"); // a QPageSize key ("A4", "Letter"), or "Custom"
    bool landscape = false;
    int paperWidth = 11906; // portrait size; used as given for "Custom"
    int paperHeight = 16838;
    int leftMargin = 1440;
    int topMargin = 1440;
    int rightMargin = 1440;
    int bottomMargin = 1440;
    int printWidth = 9026; // the width sections are designed on
    bool operator==(const PageSetup &) const = default;

    // The page as printed, orientation applied.
    int pageWidth() const { return landscape ? paperHeight : paperWidth; }
    int pageHeight() const { return landscape ? paperWidth : paperHeight; }
};

class ReportControl
{
public:
    ReportControl() = default;
    ReportControl(ControlKind controlKind, const QString &controlName)
        : kind(controlKind), name(controlName)
    {
    }
    ReportControl(const ReportControl &other);
    ReportControl &operator=(const ReportControl &other);
    ReportControl(ReportControl &&) = default;
    ReportControl &operator=(ReportControl &&) = default;
    ~ReportControl();

    QString typeName() const { return ControlClass::typeName(kind); }
    QString className() const { return ControlClass::className(kind); }

    ControlKind kind = ControlKind::Label;
    QString name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    FontSpec font;
    PropertyBag props;
    UnknownParts unknown;
    // A SubReport's report while one is bound; never written to the layout. Copies are deep.
    std::shared_ptr<ReportLayout> subreport;
};

class Section
{
public:
    int type = SectionType::Detail;
    QString name;
    int height = 0;
    bool canGrow = false;
    PropertyBag props;
    QVector<ReportControl> controls;
    UnknownParts unknown;

    // The first control of that name (without regard to case), or null.
    ReportControl *control(const QString &controlName);
    const ReportControl *control(const QString &controlName) const
    {
        return const_cast<Section *>(this)->control(controlName);
    }
    // Adds a control of a registered class; null when the class is unknown. The name is made
    // unique within the report by the caller (ReportLayout::addControl).
    ReportControl *addControl(const QString &className, const QString &controlName);
};

// A report layout: what the layout file holds. A value: copies are deep.
class ReportLayout
{
public:
    static constexpr int CurrentFormatVersion = 1;

    int formatVersion = CurrentFormatVersion;
    QString name;
    PageSetup page;
    QString script;
    PropertyBag props;
    QVector<Section> sections;
    UnknownParts unknown;
    UnknownParts pageUnknown;
    UnknownParts scriptUnknown;

    // The data section: the first of type 6; null when there is none.
    Section *dataSection();
    const Section *dataSection() const;
    // The first control of type DataControl in the data section, or null.
    ReportControl *dataControl();
    const ReportControl *dataControl() const;
    // A control by name in any section (without regard to case), or null.
    ReportControl *findControl(const QString &controlName);
    const ReportControl *findControl(const QString &controlName) const;
    // Adds a control of the class to the section with a name unique in the report ("Field1",
    // "Field2" … when name is empty or taken); null for an unknown class.
    ReportControl *addControl(Section &section, const QString &className, QString controlName = {});
};

} // namespace vantrel::report
