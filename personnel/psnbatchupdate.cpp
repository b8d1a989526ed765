#include "personnel/psnbatchupdate.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/query/itemmetadata.h"
#include "core/query/querybuilders.h"
#include "core/util/stringhelpers.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

struct BatchItem
{
    QString name;
    int dataType = 0;
};

// The item as the metadata has it: a person item of data type 0 to 3 other than NUMBER.
Result<BatchItem> batchItem(CADODatabase &db, const QString &name)
{
    const db::QueryResult result
        = db.run(u"SELECT Name, iDataType FROM qz_Items WHERE upper(TblName)='QZ_PSNBASE'"
                 " AND iDataType<4 AND upper(Name)<>'NUMBER' AND upper(Name)=upper(?)"_s,
                 { name });
    if (!result.ok)
        return Result<BatchItem>::failure(result.error.description);
    const QString stored = result.scalar().toString();
    if (!result.hasRow() || !IsSqlIdentifier(stored))
        return Result<BatchItem>::failure(u"'%1'不能批量修改!"_s.arg(name));
    return BatchItem { stored, result.rows.value(0, 1).toInt() };
}

// The right side of the assignment and its value.
Result<SqlCondition> rightSide(const BatchItem &item, int mode, QString value)
{
    using R = Result<SqlCondition>;
    if (item.dataType == ItemDate) {
        if (value.trimmed().isEmpty())
            return SqlCondition { u"NULL"_s, {} };
        const QDate date = QDate::fromString(value.trimmed(), Qt::ISODate);
        if (!date.isValid())
            return R::failure(u"'%1'不是有效日期!"_s.arg(value));
        return SqlCondition { u"?"_s, { QDateTime(date, QTime(0, 0)) } };
    }
    if (item.dataType != ItemNumber)
        return SqlCondition { u"?"_s, { value } };
    if (!IsNumericText(value))
        return R::failure(u"值只能是数字!"_s);
    const double number = value.toDouble();
    static const char *const operators[] = { nullptr, "+", "-", "*", "/" };
    if (mode < 0 || mode > 4)
        return R::failure(u"请选择修改方式!"_s);
    if (mode == 4 && number == 0.0)
        return R::failure(u"除数不能为零!"_s);
    const QString expression
        = mode == 0 ? u"?"_s : u"%1%2?"_s.arg(item.name, QLatin1String(operators[mode]));
    // Through numeric, so that both backends round a ….xx5 alike (half away from zero).
    return SqlCondition { u"ROUND(CAST(%1 AS NUMERIC),2)"_s.arg(expression), { number } };
}

} // namespace

QString BatchModeWord(int mode)
{
    static const QStringList words { u"赋值"_s, u"统加"_s, u"统减"_s, u"统乘"_s, u"统除"_s };
    return words.value(mode, words.first());
}

Result<int> RunPsnBatchUpdate(CADODatabase &db, const PsnBatchUpdate &update,
                              const SqlCondition &where)
{
    const Result<BatchItem> item = batchItem(db, update.itemName);
    if (!item)
        return Result<int>::failure(item.error());
    const Result<SqlCondition> value = rightSide(*item, update.mode, update.value);
    if (!value)
        return Result<int>::failure(value.error());
    // A subquery keeps the joins out of the UPDATE, which PostgreSQL and SQLite would each
    // read their own way.
    const SqlCondition statement
        = SqlCondition { u"UPDATE qz_PsnBase SET %1="_s.arg(item->name), {} } + *value
        + SqlCondition { u" WHERE PID IN (SELECT qz_PsnBase.PID"_s + BuildPsnFromClause(false), {} }
        + where + SqlCondition { u")"_s, {} };
    const db::QueryResult result = db.run(statement.sql, statement.values);
    if (!result.ok)
        return Result<int>::failure(result.error.description);
    return int(result.rowsAffected);
}

QString BatchUpdateLogText(const PsnBatchUpdate &update, int dataType, const SqlCondition &where)
{
    QString condition = where.literalText();
    condition.replace(u"WHERE"_s, u"条件："_s);
    return u"人员档案[基本信息批量修改'%1|%2|%3(%4)']"_s.arg(
        update.itemName, BatchModeWord(dataType == ItemNumber ? update.mode : 0), update.value,
        condition.trimmed());
}

} // namespace vantrel::personnel
