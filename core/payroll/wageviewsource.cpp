#include "core/payroll/wageviewsource.h"

#include "core/db/sqlidentifier.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"

#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

namespace {

// What a scan of SQL text finds outside quoted texts, quoted names and comments.
struct SqlShape
{
    int placeholders = 0;
    bool lineComment = false;
};

Result<SqlShape> refused(const QString &why)
{
    return Result<SqlShape>::failure(
        u"The FROM/WHERE text of the wage view is refused: %1."_s.arg(why));
}

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Words that would make the text more than one source of rows.
bool isQueryWord(const QString &upper)
{
    static const QStringList words = { u"SELECT"_s, u"UNION"_s, u"INTERSECT"_s, u"EXCEPT"_s,
                                       u"VALUES"_s, u"TABLE"_s, u"WITH"_s };
    return words.contains(upper);
}

// Moves i past the quoted text or name that opens at i; a doubled quote stands for one. Empty
// when it closes, else why not. A backslash in a quoted text is refused: PostgreSQL reads it
// as an escape in E'…' texts (and everywhere when standard_conforming_strings is off), SQLite
// never, so the two would see the text end in different places.
QString skipQuoted(const QString &s, qsizetype &i)
{
    const QChar quote = s.at(i);
    for (++i; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == quote) {
            if (i + 1 < s.size() && s.at(i + 1) == quote) {
                ++i;
                continue;
            }
            ++i;
            return {};
        }
        if (quote == u'\'' && c == u'\\')
            return u"a backslash in a quoted text"_s;
    }
    return quote == u'\'' ? u"a quoted text that is not closed"_s
                          : u"a quoted name that is not closed"_s;
}

// Moves i past the comment that opens at i. Empty when it closes, else why not. A line comment
// ends at CR or LF (PostgreSQL ends it at either); block comments nest on PostgreSQL but not on
// SQLite, so one inside another is refused.
QString skipComment(const QString &s, qsizetype &i)
{
    if (s.at(i) == u'-') {
        while (i < s.size() && s.at(i) != u'\r' && s.at(i) != u'\n')
            ++i;
        return {};
    }
    const qsizetype end = s.indexOf(u"*/"_s, i + 2);
    if (end < 0)
        return u"a comment that is not closed"_s;
    if (QStringView(s).mid(i + 2, end - i - 2).contains(u"/*"_s))
        return u"a comment inside a comment"_s;
    i = end + 2;
    return {};
}

// Reads one character that stands outside quotes, comments and words; empty when it is
// allowed there, else why not.
QString readSymbol(QChar c, int &depth, SqlShape &shape)
{
    switch (c.unicode()) {
    case u';':
        return u"a second statement (';')"_s;
    case u'$':
    case u'[':
    case u']':
    case u'`':
    case u'\\':
        return u"the character '%1'"_s.arg(c);
    case u'(':
        ++depth;
        break;
    case u')':
        if (--depth < 0)
            return u"a ')' without its '('"_s;
        break;
    case u',':
        if (depth == 0)
            return u"a second table after a comma"_s;
        break;
    case u'?':
        ++shape.placeholders;
        break;
    default:
        break;
    }
    return {};
}

Result<SqlShape> scan(const QString &s)
{
    SqlShape shape;
    int depth = 0;
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s.at(i);
        const QChar next = i + 1 < s.size() ? s.at(i + 1) : QChar();
        QString why;
        if (c == u'\'' || c == u'"') {
            why = skipQuoted(s, i);
        } else if ((c == u'-' && next == u'-') || (c == u'/' && next == u'*')) {
            shape.lineComment = shape.lineComment || c == u'-';
            why = skipComment(s, i);
        } else if (isWordStart(c)) {
            const qsizetype start = i;
            while (i < s.size() && isWordPart(s.at(i)))
                ++i;
            const QString word = s.mid(start, i - start).toUpper();
            if (isQueryWord(word))
                why = word + u" is not allowed"_s;
        } else {
            why = readSymbol(c, depth, shape);
            ++i;
        }
        if (!why.isEmpty())
            return refused(why);
    }
    if (depth > 0)
        return refused(u"a '(' without its ')'"_s);
    return shape;
}

// A join or condition: one balanced piece with as many placeholders as values.
Status checkFragment(const WageViewSource::Fragment &fragment)
{
    if (fragment.sql.trimmed().isEmpty())
        return Status::failure(u"The wage view has an empty join or condition."_s);
    const Result<SqlShape> shape = scan(fragment.sql);
    if (!shape)
        return Status::failure(shape.error());
    // The pieces are put on one line: a line comment would hide every piece after it.
    if (shape->lineComment)
        return Status::failure(
            u"The wage view's piece \"%1\" holds a line comment ('--')."_s.arg(fragment.sql));
    if (shape->placeholders != fragment.values.size())
        return Status::failure(
            u"The wage view's piece \"%1\" has %2 placeholders for %3 values."_s.arg(fragment.sql)
                .arg(shape->placeholders)
                .arg(fragment.values.size()));
    return {};
}

} // namespace

Status CheckWageViewSql(const QString &fromWhere, int valueCount)
{
    static const QRegularExpression fromFirst(u"^\\s*FROM\\s"_s,
                                              QRegularExpression::CaseInsensitiveOption);
    if (!fromFirst.match(fromWhere).hasMatch())
        return Status::failure(refused(u"it does not begin with FROM"_s).error());
    const Result<SqlShape> shape = scan(fromWhere);
    if (!shape)
        return Status::failure(shape.error());
    if (shape->placeholders != valueCount)
        return Status::failure(
            refused(u"%1 placeholders for %2 values"_s.arg(shape->placeholders).arg(valueCount))
                .error());
    return {};
}

Result<WageViewSource::Fragment> WageViewSource::render(CADODatabase &db) const
{
    using Rendered = Result<Fragment>;
    if (!IsSqlIdentifier(table))
        return Rendered::failure(u"'%1' is not a table name."_s.arg(table));
    const ScalarAnswer<int> known = GetScalarInt(
        u"SELECT COUNT(*) FROM qz_Table WHERE nType = ? AND upper(TblName) = upper(?)"_s,
        { WageSetTableType, table }, &db);
    if (known.failed())
        return Rendered::failure(known.error());
    if (known.valueOr(0) <= 0)
        return Rendered::failure(u"'%1' is not the data table of a wage set."_s.arg(table));

    Fragment out { u" FROM "_s + table, {} };
    for (const Fragment &join : joins) {
        if (const Status checked = checkFragment(join); !checked)
            return Rendered::failure(checked.error());
        out.sql += u' ' + join.sql.trimmed();
        out.values += join.values;
    }
    for (qsizetype i = 0; i < conditions.size(); ++i) {
        const Fragment &condition = conditions.at(i);
        if (const Status checked = checkFragment(condition); !checked)
            return Rendered::failure(checked.error());
        out.sql += (i == 0 ? u" WHERE ("_s : u" AND ("_s) + condition.sql.trimmed() + u')';
        out.values += condition.values;
    }
    if (const Status checked = CheckWageViewSql(out.sql, int(out.values.size())); !checked)
        return Rendered::failure(checked.error());
    return out;
}

} // namespace vantrel::payroll
