#include "core/db/selectstatement.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace vantrel::db {

namespace {

struct Token
{
    QString text;
    qsizetype pos = 0;
    bool word = false;
};

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$';
}

// Top-level tokens: words, quoted names, punctuation; text inside parentheses is one token.
QVector<Token> tokenize(const QString &sql)
{
    QVector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? u']' : c;
            ++i;
            while (i < n) {
                if (sql.at(i) == close) {
                    if (i + 1 < n && sql.at(i + 1) == close && close != u']') {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            ++i;
            tokens.push_back({ sql.mid(start, i - start), start, false });
        } else if (c == u'(') {
            int depth = 0;
            while (i < n) {
                if (sql.at(i) == u'(')
                    ++depth;
                else if (sql.at(i) == u')' && --depth == 0)
                    break;
                ++i;
            }
            ++i;
            tokens.push_back({ sql.mid(start, i - start), start, false });
        } else if (isIdentChar(c)) {
            while (i < n && isIdentChar(sql.at(i)))
                ++i;
            tokens.push_back({ sql.mid(start, i - start), start, true });
        } else {
            ++i;
            tokens.push_back({ QString(c), start, false });
        }
    }
    return tokens;
}

bool isKeyword(const Token &t, const char *word)
{
    return t.word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isPlainIdentifier(const QString &text)
{
    static const QRegularExpression ident(u"^[A-Za-z_\\x{80}-\\x{FFFF}][\\w$]*$"_s);
    return ident.match(text).hasMatch();
}

QString unquoteName(const QString &text)
{
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        return text.mid(1, text.size() - 2).replace(u"\"\""_s, u"\""_s);
    if (text.size() >= 2 && text.startsWith(u'[') && text.endsWith(u']'))
        return text.mid(1, text.size() - 2);
    return text;
}

// One select-list item: "col", "col AS alias", "col alias", "t.col AS alias".
bool parseItem(const QVector<Token> &tokens, SelectStatement::Item *item)
{
    if (tokens.isEmpty())
        return false;
    QString column = tokens.first().text;
    if (tokens.first().word && column.contains(u'.'))
        column = column.section(u'.', -1);
    if (!tokens.first().word || !isPlainIdentifier(column))
        return false;
    item->column = column;
    item->name = column;
    if (tokens.size() == 1)
        return true;
    qsizetype aliasAt = 1;
    if (isKeyword(tokens.at(1), "AS"))
        aliasAt = 2;
    if (tokens.size() != aliasAt + 1)
        return false;
    const Token &alias = tokens.at(aliasAt);
    if (!alias.word && !alias.text.startsWith(u'"') && !alias.text.startsWith(u'['))
        return false; // "f(x)" is a call, not a column with an alias
    item->name = unquoteName(tokens.at(aliasAt).text);
    return true;
}

bool hasAggregate(const QVector<Token> &tokens)
{
    for (qsizetype i = 0; i + 1 < tokens.size(); ++i) {
        if (!tokens.at(i + 1).text.startsWith(u'('))
            continue;
        for (const char *f : { "COUNT", "SUM", "AVG", "MIN", "MAX" }) {
            if (isKeyword(tokens.at(i), f))
                return true;
        }
    }
    return false;
}

const char *const clauseWords[]
    = { "WHERE", "ORDER", "GROUP", "HAVING", "LIMIT",  "UNION", "JOIN",   "INNER",
        "LEFT",  "RIGHT", "FULL",  "CROSS",  "OFFSET", "FOR",   "EXCEPT", "INTERSECT" };

bool isClauseWord(const Token &t)
{
    for (const char *w : clauseWords) {
        if (isKeyword(t, w))
            return true;
    }
    return false;
}

} // namespace

SelectStatement SelectStatement::parse(const QString &sql)
{
    SelectStatement s;
    s.m_sql = sql;
    const QVector<Token> tokens = tokenize(sql);
    if (tokens.isEmpty() || !isKeyword(tokens.first(), "SELECT"))
        return s;

    qsizetype from = -1;
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        if (isKeyword(tokens.at(i), "FROM")) {
            from = i;
            break;
        }
    }
    if (from < 0 || from + 1 >= tokens.size())
        return s;
    s.m_fromPos = tokens.at(from).pos;

    // FROM <table> [alias] followed by nothing or a filtering/sorting clause.
    const Token &table = tokens.at(from + 1);
    if (!table.word || !isPlainIdentifier(table.text))
        return s;
    qsizetype next = from + 2;
    if (next < tokens.size() && tokens.at(next).word && !isClauseWord(tokens.at(next)))
        ++next; // table alias
    if (next < tokens.size() && !isClauseWord(tokens.at(next)) && tokens.at(next).text != u";")
        return s; // a second table, a comma join or something we do not know
    for (qsizetype i = next; i < tokens.size(); ++i) {
        const Token &t = tokens.at(i);
        if (isKeyword(t, "JOIN") || isKeyword(t, "GROUP") || isKeyword(t, "UNION")
            || isKeyword(t, "HAVING") || isKeyword(t, "EXCEPT") || isKeyword(t, "INTERSECT"))
            return s;
    }
    s.m_table = table.text;

    bool aggregate = false;
    QVector<Token> current;
    auto flush = [&] {
        Item item;
        if (current.size() == 1 && current.first().text == u"*")
            s.m_star = true;
        else if (parseItem(current, &item))
            s.m_items.push_back(item);
        else {
            aggregate = aggregate || hasAggregate(current);
            s.m_items.push_back(Item { QString(), QString() });
        }
        current.clear();
    };
    for (qsizetype i = 1; i < from; ++i) {
        const Token &t = tokens.at(i);
        if (i == 1 && (isKeyword(t, "DISTINCT") || isKeyword(t, "TOP")))
            return s; // distinct rows cannot be written back one by one
        if (t.text == u",")
            flush();
        else
            current.push_back(t);
    }
    flush();
    // Computed columns stay read-only; only a sum over rows has no row to write back to.
    s.m_updatable = !aggregate && !(s.m_star && !s.m_items.isEmpty());
    return s;
}

QString SelectStatement::withExtraColumn(const QString &column, const QString &alias) const
{
    if (m_fromPos < 0)
        return m_sql;
    QString sql = m_sql;
    sql.insert(m_fromPos, u", "_s + column + u" AS "_s + alias + u' ');
    return sql;
}

} // namespace vantrel::db
