#include "personnel/advsearch.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqldialect.h"
#include "core/db/sqlidentifier.h"
#include "core/util/stringhelpers.h"

#include <QDate>
#include <QDateTime>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

// The operator texts as shown, with their SQL; anything else compares with "=".
QString sqlOperator(const QString &opSgn)
{
    static const QHash<QString, QString> operators {
        { u"等于"_s, u"="_s },    { u"大于"_s, u">"_s },          { u"小于"_s, u"<"_s },
        { u"不等于"_s, u"<>"_s }, { u"不大于"_s, u"<="_s },       { u"不小于"_s, u">="_s },
        { u"包含"_s, u"LIKE"_s }, { u"不包含"_s, u"NOT LIKE"_s },
    };
    return operators.value(opSgn, u"="_s);
}

// Position is the row's place in its grid from 1, for the messages.
Result<SqlCondition> comparison(const db::SqlDialect &dialect, const tagVANTRELITEMINFO &item,
                                const QString &column, const AdvConditionRow &row, int position)
{
    const QString op = sqlOperator(row.opSgn);
    if (item.iDataType == ItemDate) {
        const QDate date = QDate::fromString(row.value.trimmed().left(10), Qt::ISODate);
        if (!date.isValid())
            return Result<SqlCondition>::failure(
                u"第 %1 项 [%2] 字段条件值无效或为空！"_s.arg(position).arg(item.Alias));
        const QVariant value = QDateTime(date, QTime(0, 0));
        if (op == u"<>")
            return SqlCondition { u"NOT ("_s + dialect.dateTimeComparison(column, u"=") + u')',
                                  { value } };
        const QString dateOp = op.contains(u"LIKE"_s) ? u"="_s : op;
        return SqlCondition { dialect.dateTimeComparison(column, dateOp), { value } };
    }
    if (item.iDataType == ItemText || item.iDataType == ItemDictionary)
        return SqlCondition { u"upper(%1) %2 upper(?)"_s.arg(column, op), { row.value } };
    // Numbers, and items that link to another table by id, compare as numbers.
    QString text = row.value;
    if (!IsNumericText(text))
        return Result<SqlCondition>::failure(
            u"第 %1 项 [%2] 字段条件值只能是数字！"_s.arg(position).arg(item.Alias));
    return SqlCondition { u"%1 %2 ?"_s.arg(column, op), { text.toDouble() } };
}

// The text that opens a row: "(" for the first one that contributes, else by its connector.
QString rowPrefix(bool first, const QString &andOr)
{
    if (first)
        return u"("_s;
    return andOr == u"或" ? u" OR ("_s : u" AND ("_s;
}

QString qualified(const QString &table, const QString &column)
{
    return table.isEmpty() ? column : table + u'.' + column;
}

bool usable(const tagVANTRELITEMINFO &item)
{
    return IsSqlIdentifier(item.Name) && (item.TblName.isEmpty() || IsSqlIdentifier(item.TblName));
}

Result<SqlCondition> mainText(const db::SqlDialect &dialect, const CItemInfoArray &items,
                              const QVector<AdvConditionRow> &rows)
{
    SqlCondition text;
    for (int p = 0; p < rows.size(); ++p) {
        const int index = FindItemByName(items, rows.at(p).itemName);
        if (index < 0 || !usable(items.at(index)))
            continue;
        const tagVANTRELITEMINFO &item = items.at(index);
        const Result<SqlCondition> part
            = comparison(dialect, item, qualified(item.TblName, item.Name), rows.at(p), p + 1);
        if (!part)
            return part;
        text += SqlCondition { rowPrefix(text.isEmpty(), rows.at(p).andOr), {} } + *part
            + SqlCondition { u")"_s, {} };
    }
    return text;
}

Result<SqlCondition> relatedText(const db::SqlDialect &dialect,
                                 const QVector<tagARCTABLEINFO> &tables,
                                 const QVector<AdvConditionRow> &rows,
                                 const RelatedItemLookup &lookup)
{
    SqlCondition text;
    for (const tagARCTABLEINFO &table : tables) {
        if (!IsSqlIdentifier(table.TblName))
            continue;
        SqlCondition tableText;
        for (int p = 0; p < rows.size(); ++p) {
            const AdvConditionRow &row = rows.at(p);
            if (row.tblName.compare(table.TblName, Qt::CaseInsensitive) != 0)
                continue;
            const Result<tagVANTRELITEMINFO> item = lookup(table.TblName, row.itemName);
            if (!item)
                return Result<SqlCondition>::failure(item.error());
            if (item->ItemID == 0 || !IsSqlIdentifier(item->Name))
                continue;
            const Result<SqlCondition> part
                = comparison(dialect, *item, qualified(table.TblName, item->Name), row, p + 1);
            if (!part)
                return part;
            tableText += SqlCondition { rowPrefix(tableText.isEmpty(), row.andOr), {} } + *part
                + SqlCondition { u")"_s, {} };
        }
        if (tableText.isEmpty())
            continue;
        text += SqlCondition { u" AND (qz_PsnBase.PID IN (SELECT PID FROM %1 WHERE "_s.arg(
                                   table.TblName),
                               {} }
            + tableText + SqlCondition { u"))"_s, {} };
    }
    return text;
}

QString sortText(const CItemInfoArray &items, const QVector<AdvSortRow> &rows)
{
    QStringList columns;
    for (const AdvSortRow &row : rows) {
        const int index = FindItemByName(items, row.itemName);
        if (index < 0 || !usable(items.at(index)))
            continue;
        const tagVANTRELITEMINFO &item = items.at(index);
        columns << qualified(item.TblName, item.Name)
                + (row.direction == u"降序" ? u" DESC"_s : QString());
    }
    return columns.join(u',');
}

} // namespace

QStringList AdvOperators(int dataType)
{
    QStringList operators {
        u"等于"_s, u"大于"_s, u"小于"_s, u"不等于"_s, u"不大于"_s, u"不小于"_s
    };
    if (dataType == ItemText || dataType == ItemDictionary)
        operators << u"包含"_s << u"不包含"_s;
    return operators;
}

int FindItemByName(const CItemInfoArray &items, const QString &name)
{
    if (name.isEmpty())
        return -1;
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

Result<tagVANTRELITEMINFO> LookupTableItem(CADODatabase &db, const QString &table,
                                           const QString &text, bool byAlias)
{
    const QString sql = u"SELECT ItemID, Name, Alias, iDataType, iDec, iChoice FROM qz_Items"
                        " WHERE upper(TblName) = upper(?) AND upper(%1) = upper(?)"
                        " ORDER BY Ord, ItemID"_s.arg(byAlias ? u"Alias"_s : u"Name"_s);
    const db::QueryResult result = db.run(sql, { table, text });
    if (!result.ok)
        return Result<tagVANTRELITEMINFO>::failure(result.error.description);
    tagVANTRELITEMINFO item;
    if (!result.hasRow())
        return item;
    item.TblName = table;
    item.ItemID = result.rows.value(0, 0).toInt();
    item.Name = result.rows.value(0, 1).toString();
    item.Alias = result.rows.value(0, 2).toString();
    item.iDataType = short(result.rows.value(0, 3).toInt());
    item.iDec = short(result.rows.value(0, 4).toInt());
    item.iChoice = short(result.rows.value(0, 5).toInt());
    return item;
}

Result<QStringList> RelatedItemAliases(CADODatabase &db, const QString &table)
{
    const db::QueryResult result
        = db.run(u"SELECT Alias FROM qz_Items WHERE upper(TblName) = upper(?) AND iDataType < 4"
                 " ORDER BY Ord, ItemID"_s,
                 { table });
    if (!result.ok)
        return Result<QStringList>::failure(result.error.description);
    QStringList aliases;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        aliases << result.rows.value(row, 0).toString();
    return aliases;
}

Result<AdvSearchResult> BuildAdvSearch(const db::SqlDialect &dialect, const CItemInfoArray &items,
                                       const QVector<tagARCTABLEINFO> &tables,
                                       const AdvQuery &query, const RelatedItemLookup &lookup)
{
    const Result<SqlCondition> main = mainText(dialect, items, query.main);
    if (!main)
        return Result<AdvSearchResult>::failure(main.error());
    const Result<SqlCondition> related = relatedText(dialect, tables, query.related, lookup);
    if (!related)
        return Result<AdvSearchResult>::failure(related.error());
    AdvSearchResult result;
    if (!main->isEmpty() && !related->isEmpty())
        result.condition = *main + SqlCondition { u" "_s, {} } + *related;
    else if (!main->isEmpty())
        result.condition = *main;
    else if (!related->isEmpty())
        result.condition = SqlCondition { related->sql.mid(4), related->values };
    result.orderBy = sortText(items, query.sort);
    if (result.condition.isEmpty() && result.orderBy.isEmpty())
        return Result<AdvSearchResult>::failure(u"请设置查询条件或排序!"_s);
    return result;
}

SqlCondition CombineWhere(const SqlCondition &where, const SqlCondition &condition)
{
    if (condition.isEmpty())
        return where;
    return where
        + SqlCondition { (where.isEmpty() ? u" WHERE ("_s : u" AND ("_s) + condition.sql + u')',
                         condition.values };
}

} // namespace vantrel::personnel
