#include "core/db/recordsetfilter.h"

#include "core/db/sqldialect.h"

#include <QDateTime>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace vantrel::db {

struct RecordsetFilter::Node
{
    enum Kind { And, Or, Compare } kind = Compare;
    std::shared_ptr<const Node> left, right;
    int field = -1;
    QString op;
    QVariant value; // invalid for NULL
};

namespace {

using Node = RecordsetFilter::Node;
using NodePtr = std::shared_ptr<const Node>;

class Parser
{
public:
    Parser(const QString &text, const RowSet &rows) : m_text(text), m_rows(rows) { }

    NodePtr parseAll()
    {
        NodePtr node = parseOr();
        skipSpace();
        if (node && m_pos < m_text.size())
            fail(u"unexpected text at position %1"_s.arg(m_pos + 1));
        return m_error.isEmpty() ? node : nullptr;
    }
    QString error() const { return m_error; }

private:
    void fail(const QString &message)
    {
        if (m_error.isEmpty())
            m_error = message;
    }
    void skipSpace()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }
    bool takeWord(const char *word)
    {
        skipSpace();
        const QLatin1String w(word);
        if (m_text.mid(m_pos, w.size()).compare(w, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype end = m_pos + w.size();
        if (end < m_text.size() && (m_text.at(end).isLetterOrNumber() || m_text.at(end) == u'_'))
            return false;
        m_pos = end;
        return true;
    }
    NodePtr combine(Node::Kind kind, NodePtr left, NodePtr right)
    {
        if (!left || !right)
            return nullptr;
        auto node = std::make_shared<Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }
    NodePtr parseOr()
    {
        NodePtr node = parseAnd();
        while (node && takeWord("OR"))
            node = combine(Node::Or, node, parseAnd());
        return node;
    }
    NodePtr parseAnd()
    {
        NodePtr node = parsePrimary();
        while (node && takeWord("AND"))
            node = combine(Node::And, node, parsePrimary());
        return node;
    }
    NodePtr parsePrimary()
    {
        skipSpace();
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'(') {
            ++m_pos;
            NodePtr node = parseOr();
            skipSpace();
            if (m_pos >= m_text.size() || m_text.at(m_pos) != u')') {
                fail(u"missing ')'"_s);
                return nullptr;
            }
            ++m_pos;
            return node;
        }
        return parseComparison();
    }
    QString parseFieldName()
    {
        skipSpace();
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'[') {
            const qsizetype end = m_text.indexOf(u']', m_pos);
            if (end < 0)
                return {};
            const QString name = m_text.mid(m_pos + 1, end - m_pos - 1);
            m_pos = end + 1;
            return name;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size()
               && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == u'_'))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }
    QString parseOperator()
    {
        skipSpace();
        if (takeWord("LIKE"))
            return u"LIKE"_s;
        for (const char *op : { "<=", ">=", "<>", "=", "<", ">" }) {
            const QLatin1String o(op);
            if (m_text.mid(m_pos, o.size()) == o) {
                m_pos += o.size();
                return QString(o);
            }
        }
        return {};
    }
    bool parseValue(QVariant *value)
    {
        skipSpace();
        if (m_pos >= m_text.size())
            return false;
        const QChar c = m_text.at(m_pos);
        if (c == u'\'' || c == u'#') {
            QString text;
            ++m_pos;
            while (m_pos < m_text.size()) {
                if (m_text.at(m_pos) == c) {
                    if (c == u'\'' && m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == c) {
                        text += c;
                        m_pos += 2;
                        continue;
                    }
                    break;
                }
                text += m_text.at(m_pos++);
            }
            if (m_pos >= m_text.size())
                return false;
            ++m_pos;
            if (c == u'#') {
                QDateTime dt = SqlDialect::parseDateTimeText(text);
                if (!dt.isValid())
                    dt = QDateTime(QDate::fromString(text, u"M/d/yyyy"_s), QTime(0, 0));
                if (!dt.isValid())
                    return false;
                *value = dt;
            } else {
                *value = text;
            }
            return true;
        }
        if (takeWord("NULL")) {
            *value = QVariant();
            return true;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size()
               && (m_text.at(m_pos).isDigit() || QStringView(u"+-.eE").contains(m_text.at(m_pos))))
            ++m_pos;
        bool ok = false;
        const double d = m_text.mid(start, m_pos - start).toDouble(&ok);
        if (ok)
            *value = d;
        return ok;
    }
    NodePtr parseComparison()
    {
        const QString name = parseFieldName();
        if (name.isEmpty()) {
            fail(u"a field name is missing at position %1"_s.arg(m_pos + 1));
            return nullptr;
        }
        auto node = std::make_shared<Node>();
        node->field = m_rows.fieldIndex(name);
        if (node->field < 0) {
            fail(u"unknown field '%1'"_s.arg(name));
            return nullptr;
        }
        node->op = parseOperator();
        if (node->op.isEmpty()) {
            fail(u"an operator is missing after '%1'"_s.arg(name));
            return nullptr;
        }
        if (!parseValue(&node->value)) {
            fail(u"a value is missing or malformed after '%1 %2'"_s.arg(name, node->op));
            return nullptr;
        }
        return node;
    }

    const QString &m_text;
    const RowSet &m_rows;
    qsizetype m_pos = 0;
    QString m_error;
};

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// <0, 0, >0; texts without regard to case, numbers by value, dates by time.
int compareValues(const QVariant &a, const QVariant &b)
{
    if (isNumber(a) || isNumber(b)) {
        bool okA = true, okB = true;
        const double x = a.toDouble(&okA), y = b.toDouble(&okB);
        if (okA && okB)
            return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDateTime) {
        const QDateTime x = a.typeId() == QMetaType::QDateTime
            ? a.toDateTime()
            : SqlDialect::parseDateTimeText(a.toString());
        const QDateTime y = b.typeId() == QMetaType::QDateTime
            ? b.toDateTime()
            : SqlDialect::parseDateTimeText(b.toString());
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
}

bool likeMatches(const QString &value, const QString &pattern)
{
    QString p = pattern;
    p.replace(u'%', u'*');
    const bool head = p.startsWith(u'*');
    const bool tail = p.size() > 1 && p.endsWith(u'*');
    const QString core = p.mid(head ? 1 : 0, p.size() - (head ? 1 : 0) - (tail ? 1 : 0));
    if (head && tail)
        return value.contains(core, Qt::CaseInsensitive);
    if (head)
        return value.endsWith(core, Qt::CaseInsensitive);
    if (tail)
        return value.startsWith(core, Qt::CaseInsensitive);
    return value.compare(core, Qt::CaseInsensitive) == 0;
}

bool evaluate(const Node &node, const RowSet &rows, int row)
{
    switch (node.kind) {
    case Node::And:
        return evaluate(*node.left, rows, row) && evaluate(*node.right, rows, row);
    case Node::Or:
        return evaluate(*node.left, rows, row) || evaluate(*node.right, rows, row);
    case Node::Compare:
        break;
    }
    const QVariant v = rows.value(row, node.field);
    const bool isNull = !v.isValid() || v.isNull();
    if (!node.value.isValid()) {
        if (node.op == u"=")
            return isNull;
        if (node.op == u"<>")
            return !isNull;
        return false;
    }
    if (isNull)
        return false;
    if (node.op == u"LIKE")
        return likeMatches(v.toString(), node.value.toString());
    const int c = compareValues(v, node.value);
    if (node.op == u"=")
        return c == 0;
    if (node.op == u"<>")
        return c != 0;
    if (node.op == u"<")
        return c < 0;
    if (node.op == u">")
        return c > 0;
    if (node.op == u"<=")
        return c <= 0;
    return c >= 0;
}

} // namespace

Result<RecordsetFilter> RecordsetFilter::parse(const QString &criteria, const RowSet &rows)
{
    Parser parser(criteria, rows);
    NodePtr root = parser.parseAll();
    if (!root)
        return Result<RecordsetFilter>::failure(u"Invalid filter: "_s + parser.error());
    RecordsetFilter filter;
    filter.m_root = std::move(root);
    return filter;
}

bool RecordsetFilter::matches(const RowSet &rows, int row) const
{
    return m_root && evaluate(*m_root, rows, row);
}

} // namespace vantrel::db
