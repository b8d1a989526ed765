#include "core/util/cxmldocument.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

using Attributes = QList<QPair<QString, QString>>;

QString eventText(const QString &event, const Attributes &attributes)
{
    QString text = u'<' + event;
    for (const auto &[name, value] : attributes)
        text += u" %1=\"%2\""_s.arg(name, value.toHtmlEscaped());
    return text + u"/>"_s;
}

// The encoding that the text names for itself: an XML declaration, or an HTML meta element.
QByteArray declaredEncoding(const QByteArray &bytes)
{
    static const QRegularExpression declaration(
        uR"(^\s*<\?xml[^>]*\sencoding\s*=\s*["']([A-Za-z0-9._:-]+)["'])"_s);
    static const QRegularExpression meta(uR"(<meta[^>]*charset\s*=\s*["']?([A-Za-z0-9._:-]+))"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(1024));
    QRegularExpressionMatch match = declaration.match(head);
    if (!match.hasMatch())
        match = meta.match(head);
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

struct Decoded
{
    QString text;
    QList<QPair<QString, Attributes>> events;
};

// Byte-order mark, then the declared encoding, then UTF-16 by its zero bytes, then valid
// UTF-8, else the legacy Chinese code page of older catalogue files.
Decoded decode(QByteArray bytes)
{
    Decoded out;
    const auto use = [&](QStringDecoder decoder, const QString &name) {
        out.text = decoder.decode(bytes);
        out.events.append({ u"converted_to"_s, { { u"encoding"_s, name } } });
    };
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        out.events.append({ u"bom"_s, { { u"encoding"_s, u"UTF-8"_s } } });
        use(QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless), u"UTF-8"_s);
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool big = bytes.startsWith("\xFE\xFF");
        out.events.append({ u"bom"_s, { { u"encoding"_s, big ? u"UTF-16BE"_s : u"UTF-16LE"_s } } });
        if (big)
            out.events.append({ u"endian_swap"_s, {} });
        use(QStringDecoder(big ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE), u"UTF-16"_s);
    } else if (QStringDecoder named(declaredEncoding(bytes).constData()); named.isValid()) {
        use(std::move(named), QString::fromLatin1(declaredEncoding(bytes)));
    } else if (bytes.size() >= 2 && (bytes[0] == 0) != (bytes[1] == 0)) {
        if (bytes[0] == 0)
            out.events.append({ u"endian_swap"_s, {} });
        use(QStringDecoder(bytes[0] == 0 ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE),
            u"UTF-16"_s);
    } else if (isValidUtf8(bytes)) {
        out.events.append({ u"utf8_detection"_s, {} });
        use(QStringDecoder(QStringDecoder::Utf8), u"UTF-8"_s);
    } else if (QStringDecoder legacy("GB18030"); legacy.isValid()) {
        use(std::move(legacy), u"GB18030"_s);
    } else {
        use(QStringDecoder(QStringDecoder::System), u"System"_s);
    }
    // The byte-order mark goes with the conversion; a stray one at the start stays out too.
    if (out.text.startsWith(QChar(0xFEFF)))
        out.text.remove(0, 1);
    return out;
}

struct XmlFault
{
    QString kind; // the report's event name; empty when the markup shows no fault
    QString tagName;
    qsizetype offset = 0;
};

// The end of the tag that starts at from: its '>' outside quoted values; -1 when another '<'
// or the end of the text comes first.
qsizetype tagEnd(const QString &text, qsizetype from)
{
    QChar quote;
    for (qsizetype i = from + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            quote = c == quote ? QChar() : quote;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>' || c == u'<') {
            return c == u'>' ? i : -1;
        }
    }
    return -1;
}

QString tagNameAt(QStringView tag)
{
    static const QRegularExpression name(u"^</?([^\\s/>]*)"_s);
    return name.match(tag).captured(1);
}

bool isXmlName(const QString &name)
{
    return !name.isEmpty() && (name[0].isLetter() || name[0] == u'_' || name[0] == u':');
}

// A construct that starts with marker and ends with its terminator; -1 when it is unfinished.
qsizetype constructEnd(const QString &text, qsizetype from, QStringView terminator)
{
    const qsizetype end = text.indexOf(terminator, from);
    return end < 0 ? -1 : end + terminator.size();
}

// Walks the markup once to name the first fault, in the terms of the load report.
XmlFault firstFault(const QString &text)
{
    static const QList<QPair<QStringView, QPair<QStringView, QString>>> constructs = {
        { u"<!--", { u"-->", u"comment_tag_syntax"_s } },
        { u"<![CDATA[", { u"]]>", u"cdata_section_syntax"_s } },
        { u"<!DOCTYPE", { u">", u"doctype_tag_syntax"_s } },
        { u"<!", { u">", u"exclamation_tag_syntax"_s } },
        { u"<?", { u"?>", u"unterminated_tag_syntax"_s } },
    };
    QStringList open;
    bool rootSeen = false;
    for (qsizetype i = text.indexOf(u'<'); i >= 0; i = text.indexOf(u'<', i)) {
        const QStringView rest = QStringView(text).mid(i);
        const auto construct
            = std::find_if(constructs.cbegin(), constructs.cend(),
                           [&](const auto &c) { return rest.startsWith(c.first); });
        if (construct != constructs.cend()) {
            i = constructEnd(text, i + construct->first.size(), construct->second.first);
            if (i < 0)
                return { construct->second.second, {}, rest.data() - text.data() };
            continue;
        }
        const qsizetype start = i;
        const QString name = tagNameAt(rest);
        const qsizetype end = tagEnd(text, start);
        if (end < 0 || !isXmlName(name))
            return { rootSeen ? u"unterminated_tag_syntax"_s : u"first_tag_syntax"_s, name, start };
        i = end + 1;
        if (rest.startsWith(u"</")) {
            if (!open.isEmpty() && open.constLast() == name)
                open.removeLast();
            else if (open.contains(name))
                return { u"unended_start_tag"_s, open.constLast(), start };
            else
                return { u"lone_end_tag"_s, name, start };
        } else if (open.isEmpty() && rootSeen) {
            return { u"root_has_sibling"_s, name, start };
        } else {
            rootSeen = true;
            if (text[end - 1] != u'/')
                open.append(name);
        }
    }
    if (!open.isEmpty())
        return { u"unended_start_tag"_s, open.constLast(), text.size() };
    if (!rootSeen)
        return { u"no_root_element"_s, {}, text.size() };
    return {};
}

} // namespace

CXmlDocument::CXmlDocument()
{
    SetText();
}

bool CXmlDocument::ReadFileText(const QString &path, QString *text, QString *result)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *result += eventText(u"file_error"_s, { { u"msg"_s, file.errorString() } });
        return false;
    }
    const QByteArray bytes = file.readAll();
    *result += eventText(u"read"_s, { { u"length"_s, QString::number(bytes.size()) } });
    Decoded decoded = decode(bytes);
    const qsizetype nulls = decoded.text.count(QChar(0));
    if (nulls > 0) {
        decoded.text.remove(QChar(0));
        decoded.events.append({ u"nulls_removed"_s, { { u"count"_s, QString::number(nulls) } } });
    }
    for (const auto &[event, attributes] : std::as_const(decoded.events))
        *result += eventText(event, attributes);
    *text = decoded.text;
    return true;
}

bool CXmlDocument::LoadFile(const QString &path)
{
    QString text;
    QString result;
    const bool read = ReadFileText(path, &text, &result);
    m_text = text;
    m_result = result;
    const bool wellFormed = ParseDocument();
    return read && wellFormed;
}

bool CXmlDocument::SetText(const QString &text)
{
    m_text = text;
    m_result.clear();
    return ParseDocument();
}

void CXmlDocument::report(const QString &event, const QList<QPair<QString, QString>> &attributes)
{
    m_result += eventText(event, attributes);
}

int CXmlDocument::addElement(int parent, Element element)
{
    const int position = int(m_elements.size());
    element.parent = parent;
    Element &owner = m_elements[parent];
    element.previousSibling = owner.lastChild;
    if (owner.lastChild)
        m_elements[owner.lastChild].nextSibling = position;
    else
        owner.firstChild = position;
    owner.lastChild = position;
    m_elements.append(std::move(element));
    return position;
}

bool CXmlDocument::ParseDocument()
{
    m_parent = m_current = m_child = 0;
    m_nodeType = NodeNone;
    m_elements.clear();
    m_elements.reserve(m_text.size() / 64 + 8);
    m_elements.append(Element());

    QXmlStreamReader reader(m_text);
    QVector<int> open;
    int roots = 0;
    while (!reader.atEnd()) {
        const qsizetype offset = reader.characterOffset();
        const QXmlStreamReader::TokenType token = reader.readNext();
        Element *current = open.isEmpty() ? nullptr : &m_elements[open.constLast()];
        if (token == QXmlStreamReader::StartElement) {
            Element element;
            element.name = reader.qualifiedName().toString();
            element.offset = offset;
            for (const QXmlStreamAttribute &a : reader.attributes())
                element.attributes.append({ a.qualifiedName().toString(), a.value().toString() });
            roots += open.isEmpty() ? 1 : 0;
            open.append(addElement(open.isEmpty() ? 0 : open.constLast(), std::move(element)));
        } else if (token == QXmlStreamReader::EndElement && !open.isEmpty()) {
            open.removeLast();
        } else if (token == QXmlStreamReader::Characters && current) {
            if (reader.isCDATA()) {
                current->cdata += reader.text();
                current->hasMarkup = true;
            } else {
                current->text += reader.text();
            }
        } else if ((token == QXmlStreamReader::Comment
                    || token == QXmlStreamReader::ProcessingInstruction)
                   && current) {
            current->hasMarkup = true;
        }
    }
    if (!reader.hasError())
        return roots == 1;

    reportParseError(reader);
    return false;
}

void CXmlDocument::reportParseError(const QXmlStreamReader &reader)
{
    // The reader stops at the first fault; the walk over the markup names it.
    XmlFault fault = firstFault(m_text);
    if (fault.kind.isEmpty())
        fault = { u"unterminated_tag_syntax"_s, {}, reader.characterOffset() };
    Attributes attributes;
    if (!fault.tagName.isEmpty())
        attributes.append({ u"tagname"_s, fault.tagName });
    attributes.append({ u"offset"_s, QString::number(fault.offset) });
    attributes.append({ u"msg"_s, reader.errorString() });
    report(fault.kind, attributes);
}

const CXmlDocument::Element *CXmlDocument::elementAt(int position) const
{
    return position > 0 && position < m_elements.size() ? &m_elements[position] : nullptr;
}

QString CXmlDocument::tagName(int position) const
{
    const Element *element = elementAt(position);
    return element ? element->name : QString();
}

int CXmlDocument::findSibling(int from, const QString &name) const
{
    for (int p = from; p > 0; p = m_elements[p].nextSibling) {
        if (name.isEmpty() || m_elements[p].name == name)
            return p;
    }
    return 0;
}

bool CXmlDocument::FindElement(const QString &name)
{
    const int from
        = m_current ? m_elements[m_current].nextSibling : m_elements[m_parent].firstChild;
    const int found = findSibling(from, name);
    if (!found)
        return false;
    m_current = found;
    m_child = 0;
    m_nodeType = NodeElement;
    return true;
}

bool CXmlDocument::FindChildElement(const QString &name)
{
    if (!m_current && !FindElement())
        return false;
    const int from = m_child ? m_elements[m_child].nextSibling : m_elements[m_current].firstChild;
    const int found = findSibling(from, name);
    if (!found)
        return false;
    m_child = found;
    return true;
}

bool CXmlDocument::EnterElement()
{
    if (m_nodeType != NodeElement || !m_current)
        return false;
    m_parent = m_current;
    m_current = m_child;
    m_child = 0;
    m_nodeType = m_current ? NodeElement : NodeNone;
    return true;
}

QString CXmlDocument::GetAttributeAt(int position, const QString &name) const
{
    const Element *element = elementAt(position);
    if (!element || name.isEmpty())
        return {};
    for (const auto &[attribute, value] : element->attributes) {
        if (attribute == name)
            return value;
    }
    return {};
}

QString CXmlDocument::GetNodeTextAt(int position) const
{
    const Element *element = elementAt(position);
    if (!element || element->firstChild)
        return {};
    return element->hasMarkup ? element->cdata : element->text;
}
