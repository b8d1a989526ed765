#include "platform/reportengine/layoutxml.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace vantrel::report::LayoutXml {

namespace {

// XML turns CR LF into LF and cannot hold most control characters: texts with CR LF line ends
// are marked and written with LF; anything else that would not come back is written as base64.
enum class TextForm { Plain, CrLf, Base64 };

TextForm formOf(const QString &text)
{
    bool hasCr = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 >= text.size() || text[i + 1] != u'\n')
                return TextForm::Base64;
            hasCr = true;
        } else if (c.unicode() < 0x20 && c != u'\n' && c != u'\t') {
            return TextForm::Base64;
        } else if (c.isSurrogate()) {
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else
                return TextForm::Base64;
        } else if (c.unicode() >= 0xfffe) {
            return TextForm::Base64;
        }
    }
    if (!hasCr)
        return TextForm::Plain;
    // Every line break must be CR LF, or the LF ones would come back as CR LF.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return TextForm::Base64;
    }
    return TextForm::CrLf;
}

// A text as an element holds it: the attribute that says how (Breaks or Encoding), if any,
// and the body.
struct TextBody
{
    QVector<PropertyBag::Property> attribute;
    QString body;
    bool cdata;
};

TextBody textBody(const QString &text, bool cdata)
{
    TextBody t { {}, text, cdata };
    switch (formOf(text)) {
    case TextForm::Plain:
        break;
    case TextForm::CrLf:
        t.attribute.append({ u"Breaks"_s, u"CRLF"_s });
        t.body.remove(u'\r');
        break;
    case TextForm::Base64:
        t.attribute.append({ u"Encoding"_s, u"base64"_s });
        t.body = QString::fromLatin1(text.toUtf8().toBase64());
        t.cdata = false;
        break;
    }
    return t;
}

void writeBody(QXmlStreamWriter &w, const TextBody &t)
{
    if (t.cdata)
        w.writeCDATA(t.body);
    else
        w.writeCharacters(t.body);
}

void writeUnknownNode(QXmlStreamWriter &w, const XmlNode &node)
{
    w.writeStartElement(node.name);
    for (const auto &a : node.attributes)
        w.writeAttribute(a.name, a.value);
    if (!node.text.isEmpty())
        w.writeCharacters(node.text);
    for (const XmlNode &child : node.children)
        writeUnknownNode(w, child);
    w.writeEndElement();
}

// Writes the known children through writeKnown(i) for i < count, with the unknown elements
// put back at the positions they were read from.
template<typename F>
void writeChildren(QXmlStreamWriter &w, const UnknownParts &unknown, int count, F writeKnown)
{
    int next = 0;
    auto flushUpTo = [&](int position) {
        while (next < unknown.elements.size() && unknown.elements[next].first <= position)
            writeUnknownNode(w, unknown.elements[next++].second);
    };
    for (int i = 0; i < count; ++i) {
        flushUpTo(i);
        writeKnown(i);
    }
    flushUpTo(INT_MAX);
}

using Attributes = QVector<PropertyBag::Property>;

// The known attributes in their usual order, the unknown ones after them; a layout read with
// unknown attributes keeps the order it was read in.
void writeAttributes(QXmlStreamWriter &w, const Attributes &known, const Attributes &unknown,
                     const QStringList &order)
{
    Attributes all = known + unknown;
    for (const QString &name : order) {
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (all[i].name == name) {
                w.writeAttribute(all[i].name, all[i].value);
                all.removeAt(i);
                break;
            }
        }
    }
    for (const auto &a : std::as_const(all))
        w.writeAttribute(a.name, a.value);
}

void writeAttributes(QXmlStreamWriter &w, const Attributes &known, const UnknownParts &unknown)
{
    writeAttributes(w, known, unknown.attributes, unknown.attributeOrder);
}

QString flag(bool value)
{
    return value ? u"1"_s : u"0"_s;
}

void writeProps(QXmlStreamWriter &w, const PropertyBag &props, int index, const UnknownParts &owner)
{
    const auto &p = props.items()[index];
    w.writeStartElement(u"Prop"_s);
    const TextBody text = textBody(p.value, false);
    UnknownAttributes unknown;
    for (const auto &[name, attributes] : owner.propAttributes) {
        if (name.compare(p.name, Qt::CaseInsensitive) == 0)
            unknown = attributes;
    }
    writeAttributes(w, Attributes { { u"Name"_s, p.name } } + text.attribute, unknown.attributes,
                    unknown.order);
    writeBody(w, text);
    w.writeEndElement();
}

void writeControl(QXmlStreamWriter &w, const ReportControl &c)
{
    w.writeStartElement(u"Control"_s);
    writeAttributes(w,
                    { { u"Class"_s, c.className() },
                      { u"Name"_s, c.name },
                      { u"Left"_s, QString::number(c.left) },
                      { u"Top"_s, QString::number(c.top) },
                      { u"Width"_s, QString::number(c.width) },
                      { u"Height"_s, QString::number(c.height) } },
                    c.unknown);
    writeChildren(w, c.unknown, 1 + int(c.props.items().size()), [&](int i) {
        if (i == 0) {
            w.writeEmptyElement(u"Font"_s);
            UnknownParts fontUnknown;
            fontUnknown.attributes = c.font.unknownAttributes;
            fontUnknown.attributeOrder = c.font.attributeOrder;
            writeAttributes(w,
                            { { u"Name"_s, c.font.name },
                              { u"Size"_s, QString::number(c.font.size) },
                              { u"Bold"_s, flag(c.font.bold) },
                              { u"Italic"_s, flag(c.font.italic) },
                              { u"Underline"_s, flag(c.font.underline) },
                              { u"StrikeOut"_s, flag(c.font.strikeOut) } },
                            fontUnknown);
        } else {
            writeProps(w, c.props, i - 1, c.unknown);
        }
    });
    w.writeEndElement();
}

void writeSection(QXmlStreamWriter &w, const Section &s)
{
    w.writeStartElement(u"Section"_s);
    writeAttributes(w,
                    { { u"Type"_s, QString::number(s.type) },
                      { u"Name"_s, s.name },
                      { u"Height"_s, QString::number(s.height) },
                      { u"CanGrow"_s, flag(s.canGrow) } },
                    s.unknown);
    const int propCount = int(s.props.items().size());
    writeChildren(w, s.unknown, propCount + int(s.controls.size()), [&](int i) {
        if (i < propCount)
            writeProps(w, s.props, i, s.unknown);
        else
            writeControl(w, s.controls[i - propCount]);
    });
    w.writeEndElement();
}

void writePage(QXmlStreamWriter &w, const ReportLayout &layout)
{
    const PageSetup &p = layout.page;
    w.writeStartElement(u"Page"_s);
    writeAttributes(w,
                    { { u"Paper"_s, p.paper },
                      { u"Orientation"_s, p.landscape ? u"Landscape"_s : u"Portrait"_s },
                      { u"PaperWidth"_s, QString::number(p.paperWidth) },
                      { u"PaperHeight"_s, QString::number(p.paperHeight) },
                      { u"LeftMargin"_s, QString::number(p.leftMargin) },
                      { u"TopMargin"_s, QString::number(p.topMargin) },
                      { u"RightMargin"_s, QString::number(p.rightMargin) },
                      { u"BottomMargin"_s, QString::number(p.bottomMargin) },
                      { u"PrintWidth"_s, QString::number(p.printWidth) } },
                    layout.pageUnknown);
    writeChildren(w, layout.pageUnknown, 0, [](int) {});
    w.writeEndElement();
}

// Reading --------------------------------------------------------------------------------

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_xml(bytes) { }
    Result<ReportLayout> read();

private:
    bool fail(const QString &message)
    {
        if (m_error.isEmpty())
            m_error = message;
        return false;
    }
    // The next child element of the current one; false at its end tag or on an error.
    bool nextChild();
    int intAttribute(const QXmlStreamAttributes &attributes, QLatin1String name, int fallback);
    QString readText();
    XmlNode readUnknown();
    void keepUnknownAttributes(const QStringList &known, UnknownParts &unknown);
    bool readPage(ReportLayout &layout);
    bool readProp(PropertyBag &props, UnknownParts &owner);
    bool readSection(Section &section);
    bool readControl(ReportControl &control);

    QXmlStreamReader m_xml;
    QString m_error;
};

bool Reader::nextChild()
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::EndElement:
            return false;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(u"Unexpected text in <%1>."_s.arg(m_xml.name()));
            break;
        default:
            break;
        }
    }
    return false;
}

int Reader::intAttribute(const QXmlStreamAttributes &attributes, QLatin1String name, int fallback)
{
    if (!attributes.hasAttribute(name))
        return fallback;
    bool ok = false;
    const int v = attributes.value(name).toInt(&ok);
    if (!ok)
        fail(u"The attribute %1 of <%2> is not a whole number (line %3)."_s.arg(
            name, m_xml.name(), QString::number(m_xml.lineNumber())));
    return v;
}

QString Reader::readText()
{
    const QXmlStreamAttributes attributes = m_xml.attributes();
    const QString encoding = attributes.value(QLatin1String("Encoding")).toString();
    const bool crlf = attributes.value(QLatin1String("Breaks")) == u"CRLF";
    QString text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (encoding == u"base64")
        return QString::fromUtf8(QByteArray::fromBase64(text.toLatin1()));
    if (crlf)
        text.replace(u'\n', u"\r\n"_s);
    return text;
}

XmlNode Reader::readUnknown()
{
    XmlNode node;
    node.name = m_xml.name().toString();
    for (const QXmlStreamAttribute &a : m_xml.attributes())
        node.attributes.append({ a.qualifiedName().toString(), a.value().toString() });
    while (!m_xml.atEnd()) {
        const auto token = m_xml.readNext();
        if (token == QXmlStreamReader::StartElement)
            node.children.append(readUnknown());
        else if (token == QXmlStreamReader::EndElement)
            break;
        else if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace())
            node.text += m_xml.text();
    }
    return node;
}

void Reader::keepUnknownAttributes(const QStringList &known, UnknownParts &unknown)
{
    QStringList order;
    for (const QXmlStreamAttribute &a : m_xml.attributes()) {
        const QString name = a.qualifiedName().toString();
        order.append(name);
        if (!known.contains(name))
            unknown.attributes.append({ name, a.value().toString() });
    }
    if (!unknown.attributes.isEmpty())
        unknown.attributeOrder = order;
}

bool Reader::readProp(PropertyBag &props, UnknownParts &owner)
{
    const QString name = m_xml.attributes().value(QLatin1String("Name")).toString();
    if (name.isEmpty())
        return fail(u"A <Prop> without a name (line %1)."_s.arg(m_xml.lineNumber()));
    UnknownParts unknown;
    keepUnknownAttributes({ u"Name"_s, u"Breaks"_s, u"Encoding"_s }, unknown);
    if (!unknown.attributes.isEmpty())
        owner.propAttributes.append({ name, { unknown.attributes, unknown.attributeOrder } });
    props.set(name, readText());
    return !m_xml.hasError();
}

bool Reader::readPage(ReportLayout &layout)
{
    const QXmlStreamAttributes a = m_xml.attributes();
    PageSetup &p = layout.page;
    p.paper = a.hasAttribute(QLatin1String("Paper")) ? a.value(QLatin1String("Paper")).toString()
                                                     : p.paper;
    p.landscape = a.value(QLatin1String("Orientation")) == u"Landscape";
    p.paperWidth = intAttribute(a, QLatin1String("PaperWidth"), p.paperWidth);
    p.paperHeight = intAttribute(a, QLatin1String("PaperHeight"), p.paperHeight);
    p.leftMargin = intAttribute(a, QLatin1String("LeftMargin"), p.leftMargin);
    p.topMargin = intAttribute(a, QLatin1String("TopMargin"), p.topMargin);
    p.rightMargin = intAttribute(a, QLatin1String("RightMargin"), p.rightMargin);
    p.bottomMargin = intAttribute(a, QLatin1String("BottomMargin"), p.bottomMargin);
    p.printWidth = intAttribute(a, QLatin1String("PrintWidth"), p.printWidth);
    keepUnknownAttributes({ u"Paper"_s, u"Orientation"_s, u"PaperWidth"_s, u"PaperHeight"_s,
                            u"LeftMargin"_s, u"TopMargin"_s, u"RightMargin"_s, u"BottomMargin"_s,
                            u"PrintWidth"_s },
                          layout.pageUnknown);
    while (nextChild())
        layout.pageUnknown.elements.append({ 0, readUnknown() });
    return m_error.isEmpty();
}

bool Reader::readControl(ReportControl &c)
{
    const QXmlStreamAttributes a = m_xml.attributes();
    const QString className = a.value(QLatin1String("Class")).toString();
    if (!ControlClass::lookup(className, &c.kind))
        return fail(u"Unknown control class \"%1\" (line %2)."_s.arg(
            className, QString::number(m_xml.lineNumber())));
    c.name = a.value(QLatin1String("Name")).toString();
    c.left = intAttribute(a, QLatin1String("Left"), 0);
    c.top = intAttribute(a, QLatin1String("Top"), 0);
    c.width = intAttribute(a, QLatin1String("Width"), 0);
    c.height = intAttribute(a, QLatin1String("Height"), 0);
    keepUnknownAttributes({ u"Class"_s, u"Name"_s, u"Left"_s, u"Top"_s, u"Width"_s, u"Height"_s },
                          c.unknown);
    int known = 0;
    while (nextChild()) {
        if (m_xml.name() == u"Font") {
            const QXmlStreamAttributes f = m_xml.attributes();
            c.font.name = f.value(QLatin1String("Name")).toString();
            c.font.size = f.hasAttribute(QLatin1String("Size"))
                ? f.value(QLatin1String("Size")).toDouble()
                : c.font.size;
            c.font.bold = f.value(QLatin1String("Bold")) == u"1";
            c.font.italic = f.value(QLatin1String("Italic")) == u"1";
            c.font.underline = f.value(QLatin1String("Underline")) == u"1";
            c.font.strikeOut = f.value(QLatin1String("StrikeOut")) == u"1";
            UnknownParts fontUnknown;
            keepUnknownAttributes(
                { u"Name"_s, u"Size"_s, u"Bold"_s, u"Italic"_s, u"Underline"_s, u"StrikeOut"_s },
                fontUnknown);
            c.font.unknownAttributes = fontUnknown.attributes;
            c.font.attributeOrder = fontUnknown.attributeOrder;
            m_xml.skipCurrentElement();
            ++known;
        } else if (m_xml.name() == u"Prop") {
            if (!readProp(c.props, c.unknown))
                return false;
            ++known;
        } else {
            c.unknown.elements.append({ known, readUnknown() });
        }
    }
    return m_error.isEmpty();
}

bool Reader::readSection(Section &s)
{
    const QXmlStreamAttributes a = m_xml.attributes();
    s.type = intAttribute(a, QLatin1String("Type"), SectionType::Detail);
    s.name = a.value(QLatin1String("Name")).toString();
    s.height = intAttribute(a, QLatin1String("Height"), 0);
    s.canGrow = a.value(QLatin1String("CanGrow")) == u"1";
    keepUnknownAttributes({ u"Type"_s, u"Name"_s, u"Height"_s, u"CanGrow"_s }, s.unknown);
    int known = 0;
    while (nextChild()) {
        if (m_xml.name() == u"Prop") {
            if (!readProp(s.props, s.unknown))
                return false;
            ++known;
        } else if (m_xml.name() == u"Control") {
            ReportControl c;
            if (!readControl(c))
                return false;
            s.controls.append(std::move(c));
            ++known;
        } else {
            s.unknown.elements.append({ known, readUnknown() });
        }
    }
    return m_error.isEmpty();
}

Result<ReportLayout> Reader::read()
{
    ReportLayout layout;
    if (!nextChild() || m_xml.name() != u"Report") {
        if (m_xml.hasError())
            return Result<ReportLayout>::failure(
                u"Not a report layout: %1 (line %2)."_s.arg(m_xml.errorString())
                    .arg(m_xml.lineNumber()));
        return Result<ReportLayout>::failure(u"Not a report layout."_s);
    }
    const QXmlStreamAttributes a = m_xml.attributes();
    bool versionOk = false;
    layout.formatVersion = a.value(QLatin1String("FormatVersion")).toInt(&versionOk);
    if (!versionOk || layout.formatVersion < 1)
        return Result<ReportLayout>::failure(u"Not a report layout: no format version."_s);
    layout.name = a.value(QLatin1String("Name")).toString();
    keepUnknownAttributes({ u"FormatVersion"_s, u"Name"_s }, layout.unknown);
    int known = 0;
    while (m_error.isEmpty() && nextChild()) {
        const QStringView name = m_xml.name();
        if (name == u"Page") {
            readPage(layout);
        } else if (name == u"Prop") {
            readProp(layout.props, layout.unknown);
        } else if (name == u"Script") {
            keepUnknownAttributes({ u"Breaks"_s, u"Encoding"_s }, layout.scriptUnknown);
            layout.script = readText();
        } else if (name == u"Section") {
            Section s;
            if (readSection(s))
                layout.sections.append(std::move(s));
        } else {
            layout.unknown.elements.append({ known, readUnknown() });
            continue;
        }
        ++known;
    }
    while (m_error.isEmpty() && !m_xml.atEnd()) {
        if (m_xml.readNext() == QXmlStreamReader::StartElement)
            fail(u"Text after the end of the layout."_s);
    }
    if (m_xml.hasError())
        fail(u"%1 (line %2)"_s.arg(m_xml.errorString()).arg(m_xml.lineNumber()));
    if (!m_error.isEmpty())
        return Result<ReportLayout>::failure(u"The report layout cannot be read: "_s + m_error);
    return layout;
}

} // namespace

Result<ReportLayout> read(const QByteArray &bytes)
{
    Reader reader(bytes);
    return reader.read();
}

QByteArray write(const ReportLayout &layout)
{
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(u"Report"_s);
    writeAttributes(w,
                    { { u"FormatVersion"_s, QString::number(layout.formatVersion) },
                      { u"Name"_s, layout.name } },
                    layout.unknown);
    const int propCount = int(layout.props.items().size());
    // Page, the report's properties, Script, then the sections.
    const int count = 2 + propCount + int(layout.sections.size());
    writeChildren(w, layout.unknown, count, [&](int i) {
        if (i == 0) {
            writePage(w, layout);
        } else if (i <= propCount) {
            writeProps(w, layout.props, i - 1, layout.unknown);
        } else if (i == propCount + 1) {
            w.writeStartElement(u"Script"_s);
            const TextBody text = textBody(layout.script, true);
            writeAttributes(w, text.attribute, layout.scriptUnknown);
            writeBody(w, text);
            w.writeEndElement();
        } else {
            writeSection(w, layout.sections[i - propCount - 2]);
        }
    });
    w.writeEndElement();
    w.writeEndDocument();
    return bytes;
}

Result<ReportLayout> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result<ReportLayout>::failure(
            u"The layout file %1 cannot be opened: %2"_s.arg(path, file.errorString()));
    return read(file.readAll());
}

Result<void> writeFile(const ReportLayout &layout, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result<void>::failure(
            u"The layout file %1 cannot be written: %2"_s.arg(path, file.errorString()));
    file.write(write(layout));
    if (!file.commit())
        return Result<void>::failure(
            u"The layout file %1 cannot be written: %2"_s.arg(path, file.errorString()));
    return {};
}

} // namespace vantrel::report::LayoutXml
