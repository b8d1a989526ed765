#include "payroll/wagebatchupdate.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/query/itemmetadata.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringhelpers.h"
#include "payroll/wagescope.h"
#include "personnel/psnbatchupdate.h"

#include <QDateTime>

using namespace Qt::StringLiterals;
using vantrel::personnel::SqlCondition;

namespace vantrel::payroll {

namespace {

constexpr int TextColumnLength = 255;
constexpr int DictionaryColumnLength = 100;

} // namespace

Result<WageItemInfo> ReadWageItem(CADODatabase &db, const QString &table, const QString &name)
{
    const db::QueryResult found
        = db.run(u"SELECT Name, Alias, iDataType, iDec, iChoice, IdRef FROM qz_Items"
                 u" WHERE upper(TblName) = upper(?) AND upper(Name) = upper(?)"_s,
                 { table, name });
    if (!found.ok)
        return Result<WageItemInfo>::failure(found.error.description);
    const QString column = found.rows.text(0, 0);
    if (!found.hasRow() || !IsSqlIdentifier(column))
        return Result<WageItemInfo>::failure(u"'%1'不是薪资项目!"_s.arg(name));
    return WageItemInfo { column,
                          found.rows.text(0, 1),
                          found.rows.value(0, 2).toInt(),
                          found.rows.value(0, 3).toInt(),
                          found.rows.value(0, 4).toInt(),
                          found.rows.text(0, 5) };
}

Result<QVariant> CheckWageValue(CADODatabase &, const WageItemInfo &item, const QString &text)
{
    using R = Result<QVariant>;
    QString value = text;
    if (value.trimmed().isEmpty())
        return QVariant();
    switch (item.dataType) {
    case ItemNumber:
        if (!IsNumericText(value))
            return R::failure(u"“%1”只能输入数字!"_s.arg(item.alias));
        return QVariant(value.toDouble());
    case ItemDate: {
        const QDateTime date = QDateTime::fromString(value.trimmed(), Qt::ISODate);
        if (!date.isValid())
            return R::failure(u"“%1”不是有效日期!"_s.arg(item.alias));
        return QVariant(date);
    }
    case ItemDictionary:
        if (value.size() > DictionaryColumnLength
            || !GetDictTitleList(item.dictionaryCode, true).split(u'|').contains(value))
            return R::failure(u"“%1”不在“%2”的选项中!"_s.arg(value, item.alias));
        return QVariant(value);
    default:
        if (value.size() > TextColumnLength)
            return R::failure(
                u"“%1”最多%2个字符!"_s.arg(item.alias, QString::number(TextColumnLength)));
        return QVariant(value);
    }
}

Result<int> RunWageBatchUpdate(CADODatabase &db, const QString &table,
                               const WageBatchUpdate &update, const SqlCondition &where)
{
    using R = Result<int>;
    const Result<WageItemInfo> item = ReadWageItem(db, table, update.itemName);
    if (!item)
        return R::failure(item.error());
    const QString from = WageFromClause(table);
    if (from.isEmpty())
        return R::failure(u"'%1' is no wage data table."_s.arg(table));
    const Result<QVariant> value = CheckWageValue(db, *item, update.value);
    if (!value)
        return R::failure(value.error());
    SqlCondition assigned { u"?"_s, { *value } };
    if (item->dataType == ItemNumber) {
        static const char *const operators[] = { nullptr, "+", "-", "*", "/" };
        if (update.mode < 0 || update.mode > 4)
            return R::failure(u"请选择修改方式!"_s);
        if (value->isNull())
            return R::failure(u"“%1”只能输入数字!"_s.arg(item->alias));
        if (update.mode == 4 && value->toDouble() == 0.0)
            return R::failure(u"除数不能为零!"_s);
        const QString expression = update.mode == 0
            ? u"?"_s
            : u"%1%2?"_s.arg(item->name, QLatin1String(operators[update.mode]));
        assigned = { u"wage_round(%1, ?, ?)"_s.arg(expression),
                     { *value, item->decimals, item->rounding } };
    }
    const SqlCondition statement
        = SqlCondition { u"UPDATE %1 SET %2="_s.arg(table, item->name), {} } + assigned
        + SqlCondition { u" WHERE ID IN (SELECT %1.ID"_s.arg(table) + from, {} } + where
        + SqlCondition { u")"_s, {} };
    db::DbTransaction transaction(db);
    const db::QueryResult result = db.run(statement.sql, statement.values);
    if (!result.ok)
        return R::failure(result.error.description);
    if (!transaction.commit())
        return R::failure(db.GetLastErrorString());
    return int(result.rowsAffected);
}

QString WageBatchLogText(const QString &wageSet, int period, const QString &heading,
                         const WageBatchUpdate &update, int dataType, const SqlCondition &where)
{
    QString condition = where.literalText();
    condition.replace(u"WHERE"_s, u"条件："_s);
    return u"薪资管理['%1:%2'薪资批量修改'%3|%4|%5(%6)']"_s.arg(
        wageSet, FormatWagePeriod(period), heading,
        personnel::BatchModeWord(dataType == ItemNumber ? update.mode : 0), update.value,
        condition.trimmed());
}

} // namespace vantrel::payroll
