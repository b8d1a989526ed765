#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

class QXmlStreamReader;

// A whole XML document held as text with an index of its elements, walked with a cursor: a
// parent position, a current position and a current child (positions are numbers; 0 means
// none). This is the reading side that the formula editor needs for funcdescr.xml: load,
// find elements forward among siblings or children, enter an element, read attributes and
// element text. Nothing is shown and nothing throws: failures are false or the empty text, and
// what happened while loading and parsing is described in resultText() as small XML elements
// ("read", "bom", "utf8_detection", "endian_swap", "nulls_removed", "converted_to",
// "file_error", and the parse errors "first_tag_syntax", "doctype_tag_syntax",
// "exclamation_tag_syntax", "comment_tag_syntax", "cdata_section_syntax",
// "unterminated_tag_syntax", "lone_end_tag", "unended_start_tag", "root_has_sibling",
// "no_root_element").
class CXmlDocument
{
public:
    enum NodeType {
        NodeNone = 0,
        NodeElement = 1,
        NodeText = 2,
        NodeCData = 8,
        NodeProcessingInstruction = 16,
        NodeComment = 32,
        NodeDocumentType = 128,
    };

    CXmlDocument();

    // Reads the file (UTF-8 or UTF-16 with or without a byte-order mark, the encoding its
    // declaration names, else UTF-8 when valid, else GB18030) and parses it. False when it
    // cannot be read or is not well formed (the index still holds what could be parsed).
    bool LoadFile(const QString &path);
    // Replaces the document by the text and parses it; false when it is not well formed.
    bool SetText(const QString &text = {});

    // Makes the next sibling element after the current position (or, with none, the first child
    // of the parent position) whose tag equals name current; an empty name matches any.
    bool FindElement(const QString &name = {});
    // Makes the next child of the current element after the current child (or its first
    // child) whose tag equals name the current child; without a current element the root is
    // found first. Searches go forward only.
    bool FindChildElement(const QString &name = {});
    // The current element becomes the parent and its current child the current position.
    bool EnterElement();

    // The attribute's value (entities decoded) of the element at position; empty when there is
    // no such element or attribute.
    QString GetAttributeAt(int position, const QString &name) const;
    // The text of the element at position: empty when it has child elements or no content; the
    // text of its CDATA sections when its content holds markup; else its decoded text.
    QString GetNodeTextAt(int position) const;

    int parentPosition() const { return m_parent; }
    int currentPosition() const { return m_current; }
    int childPosition() const { return m_child; }
    int nodeType() const { return m_nodeType; }
    QString tagName(int position) const;
    const QString &documentText() const { return m_text; }
    const QString &resultText() const { return m_result; }

    // Reads a file whole and converts it to UTF-16, appending its events to *result.
    static bool ReadFileText(const QString &path, QString *text, QString *result);

private:
    struct Element
    {
        QString name;
        QList<QPair<QString, QString>> attributes;
        qsizetype offset = 0;
        int parent = 0;
        int firstChild = 0;
        int lastChild = 0;
        int nextSibling = 0;
        int previousSibling = 0;
        QString text;           // character data, entities decoded
        QString cdata;          // the text of its CDATA sections
        bool hasMarkup = false; // CDATA sections, comments or processing instructions
    };

    bool ParseDocument();
    void reportParseError(const QXmlStreamReader &reader);
    int addElement(int parent, Element element);
    const Element *elementAt(int position) const;
    int findSibling(int from, const QString &name) const;
    void report(const QString &event, const QList<QPair<QString, QString>> &attributes);

    QString m_text;
    QString m_result;
    int m_parent = 0;
    int m_current = 0;
    int m_child = 0;
    int m_nodeType = NodeNone;
    QVector<Element> m_elements; // index 0 stands for the document; its first child is the root
};
