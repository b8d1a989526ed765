#include "personnel/psnseniority.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/query/querybuilders.h"
#include "personnel/psnoutput.h"

using namespace Qt::StringLiterals;
namespace vantrel::personnel {

namespace {

enum class DatePart { Year, Month, MonthDay };

// A part of a date column: the year or month as an integer, month and day as "MMDD"; NULL when
// the column holds no date (on SQLite through datetime(), so only a text that is a date counts).
QString datePart(db::Backend backend, const QString &column, DatePart part)
{
    if (backend == db::Backend::Sqlite) {
        static const char *const formats[] = { "%Y", "%m", "%m%d" };
        const QString text
            = u"strftime('%1',datetime(%2))"_s.arg(QLatin1String(formats[int(part)]), column);
        return part == DatePart::MonthDay ? text : u"CAST(%1 AS INTEGER)"_s.arg(text);
    }
    if (part == DatePart::MonthDay)
        return u"to_char(%1,'MMDD')"_s.arg(column);
    return u"CAST(EXTRACT(%1 FROM %2) AS INTEGER)"_s.arg(
        part == DatePart::Year ? u"YEAR"_s : u"MONTH"_s, column);
}

// The new value: the year difference, corrected by the method. Reads the updated row's date.
SqlCondition valueExpression(db::Backend backend, const BatchSeniority &run, const QString &column)
{
    const int year = run.date.year();
    const QString years = u"(? - %1)"_s.arg(datePart(backend, column, DatePart::Year));
    switch (run.method) {
    case ByFullYears:
        return { years, { year } };
    case ByNominalYears:
        return { u"(%1 + 1)"_s.arg(years), { year } };
    case ByDay:
        return { u"(CASE WHEN ? > %1 THEN %2 ELSE %2 - 1 END)"_s.arg(
                     datePart(backend, column, DatePart::MonthDay), years),
                 { run.date.toString(u"MMdd"_s), year, year } };
    default:
        return { u"(CASE WHEN ? > %1 THEN %2 ELSE %2 - 1 END)"_s.arg(
                     datePart(backend, column, DatePart::Month), years),
                 { run.date.month(), year, year } };
    }
}

} // namespace

QStringList SeniorityMethodTexts()
{
    return { u"按月核算"_s, u"按日核算"_s, u"按年核算(周岁)"_s, u"按年核算(虚岁)"_s };
}

Result<int> RunBatchSeniority(CADODatabase &db, const BatchSeniority &run,
                              const SqlCondition &where)
{
    if (!IsSqlIdentifier(run.dateItem) || !IsSqlIdentifier(run.numberItem))
        return Result<int>::failure(u"没有这个人员项目"_s);
    const db::SqlDialect &dialect = db.dialect();
    const QString dateColumn = u"qz_PsnBase."_s + run.dateItem;
    // Only dates from 1900 on count: an empty date read from an old workbook is 1899-12-30.
    const SqlCondition valid { u"%1 IS NOT NULL AND %2 AND %3 < ?"_s.arg(
                                   dateColumn, dialect.dateTimeComparison(dateColumn, u">="),
                                   datePart(db.backend(), dateColumn, DatePart::Year)),
                               { QDateTime(QDate(1900, 1, 1), QTime(0, 0)), run.date.year() } };
    // A subquery keeps the person joins out of the UPDATE: a target repeated in UPDATE … FROM
    // would update every row.
    const SqlCondition statement
        = SqlCondition { u"UPDATE qz_PsnBase SET %1="_s.arg(run.numberItem), {} }
        + valueExpression(db.backend(), run, dateColumn)
        + SqlCondition { u" WHERE PID IN (SELECT qz_PsnBase.PID"_s + BuildPsnFromClause(false), {} }
        + where + SqlCondition { where.isEmpty() ? u" WHERE "_s : u" AND "_s, {} } + valid
        + SqlCondition { u")"_s, {} };
    const db::QueryResult result = db.run(statement.sql, statement.values);
    if (!result.ok)
        return Result<int>::failure(result.error.description);
    return int(result.rowsAffected);
}

QString SeniorityLogText(const QDate &date, const QString &dateAlias, const QString &methodText,
                         const QString &numberAlias, const SqlCondition &where)
{
    return u"人员档案[批量工龄核算：%1|%2|%3|%4 (%5)]"_s.arg(date.toString(u"yyyy-MM-dd"_s),
                                                             dateAlias, methodText, numberAlias,
                                                             ConditionLogText(where));
}

} // namespace vantrel::personnel
