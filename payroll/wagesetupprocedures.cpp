#include "payroll/wagesetupprocedures.h"

#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/sqlidentifier.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wagesetschema.h"
#include "payroll/psnchooserlist.h"
#include "payroll/wagesetupqueries.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::payroll {

namespace {

bool selectQuery(ProcedureContext &ctx, const BoundQuery &query)
{
    return ctx.select(query.sql, query.values);
}

// The rows of a one-column query as ints; false (with the error kept) when it fails.
bool readInts(ProcedureContext &ctx, const QString &sql, const QVariantList &values,
              QVariantList *ints)
{
    const db::QueryResult found = ctx.db().run(sql, values);
    if (!found.ok)
        return ctx.fail(found.error.description);
    for (int row = 0; row < found.rows.rowCount(); ++row)
        *ints << found.rows.value(row, 0).toInt();
    return true;
}

// Gives the rows of keys the order values 1, 2, 3 … in the order given.
bool renumber(ProcedureContext &ctx, const QString &update, const QVariantList &keys)
{
    QVector<QVariantList> rows;
    rows.reserve(keys.size());
    for (int i = 0; i < keys.size(); ++i)
        rows.push_back({ i + 1, keys.at(i) });
    if (rows.isEmpty())
        return true;
    const db::QueryResult done = ctx.db().runBatch(update, rows);
    return done.ok || ctx.fail(done.error.description);
}

// The checked data table of a wage set; empty (no failure) when the set is gone.
bool wageSetTable(ProcedureContext &ctx, int sid, QString *table)
{
    const Result<QString> checked = CheckedWageSetTable(ctx.db(), sid);
    if (!checked)
        return ctx.fail(checked.error());
    *table = *checked;
    return true;
}

// ---- wage sets

bool addWageSort(ProcedureContext &ctx)
{
    const QString name = ctx.input(u"Name"_s).toString();
    const db::QueryResult counts = ctx.db().run(
        u"SELECT COUNT(*), SUM(CASE WHEN upper(trim(Title)) = upper(?) THEN 1 ELSE 0 END)"
        u" FROM qz_Table WHERE nType = ?"_s,
        { name.trimmed(), WageSetTableType });
    if (!counts.ok)
        return ctx.fail(counts.error.description);
    if (counts.rows.value(0, 1).toInt() > 0) {
        ctx.setReturnValue(3);
        return true;
    }
    if (counts.rows.value(0, 0).toInt() >= MaxWageSets) {
        ctx.setReturnValue(2);
        return true;
    }
    const Result<int> sid = AddWageSet(ctx.db(), name, ctx.input(u"Descr"_s).toString());
    if (!sid)
        return ctx.fail(sid.error());
    if (!ctx.select(u"SELECT ID FROM qz_Table WHERE ID = ?"_s, { *sid }))
        return false;
    ctx.setReturnValue(0);
    return true;
}

bool tableExists(ProcedureContext &ctx, const QString &table, bool *exists)
{
    const db::QueryResult found = ctx.db().run(ctx.db().dialect().tableExistsQuery(), { table });
    if (!found.ok)
        return ctx.fail(found.error.description);
    *exists = found.hasRow();
    return true;
}

// The standard tables of a set with their values tables and column items.
bool deleteStandardTables(ProcedureContext &ctx, int sid)
{
    const db::QueryResult tables
        = ctx.db().run(u"SELECT STDTable FROM qz_WageStdTable WHERE SID = ?"_s, { sid });
    if (!tables.ok)
        return ctx.fail(tables.error.description);
    for (int row = 0; row < tables.rows.rowCount(); ++row) {
        const QString values = tables.rows.text(row, 0);
        if (values.isEmpty())
            continue;
        if (!IsSqlIdentifier(values))
            return ctx.fail(u"The values table '%1' is not a valid name."_s.arg(values));
        if (!ctx.exec(u"DROP TABLE IF EXISTS %1"_s.arg(values)))
            return false;
    }
    return ctx.exec(u"DELETE FROM qz_WageStdTblItem WHERE StdID IN"
                    u" (SELECT id FROM qz_WageStdTable WHERE SID = ?)"_s,
                    { sid })
        && ctx.exec(u"DELETE FROM qz_WageStdTable WHERE SID = ?"_s, { sid });
}

bool deleteWageSort(ProcedureContext &ctx)
{
    ctx.setReturnValue(0);
    const int sid = ctx.input(u"SID"_s).toInt();
    if (sid <= 0)
        return true;
    QString table;
    if (!wageSetTable(ctx, sid, &table))
        return false;
    const db::QueryResult set = ctx.db().run(
        u"SELECT TblName FROM qz_Table WHERE ID = ? AND nType = ?"_s, { sid, WageSetTableType });
    if (!set.ok)
        return ctx.fail(set.error.description);
    if (!set.hasRow())
        return true;
    const QString tableName = set.rows.text(0, 0);
    if (!table.isEmpty() && !ctx.exec(u"DROP TABLE IF EXISTS %1"_s.arg(table)))
        return false;
    bool bankFields = false;
    if (!tableExists(ctx, u"qz_WageExportDetail"_s, &bankFields))
        return false;
    if (bankFields
        && !ctx.exec(u"DELETE FROM qz_WageExportDetail WHERE EID IN"
                     u" (SELECT EID FROM qz_WageExport WHERE SID = ?)"_s,
                     { sid }))
        return false;
    if (!ctx.exec(u"DELETE FROM qz_Items WHERE iSort = ? AND upper(TblName) = upper(?)"_s,
                  { WageItemSort, tableName })
        || !ctx.exec(u"DELETE FROM qz_WageTable WHERE SID = ?"_s, { sid })
        || !ctx.exec(u"DELETE FROM qz_WagePsn WHERE SID = ?"_s, { sid })
        || !deleteStandardTables(ctx, sid)
        || !ctx.exec(u"DELETE FROM qz_WageExport WHERE SID = ?"_s, { sid })
        || !ctx.exec(u"DELETE FROM qz_WageAnnounce WHERE SID = ?"_s, { sid })
        || !ctx.exec(u"DELETE FROM qz_Report WHERE ParentID IN"
                     u" (SELECT ID FROM (SELECT ID FROM qz_Report WHERE SID = ?) R)"_s,
                     { sid })
        || !ctx.exec(u"DELETE FROM qz_Report WHERE SID = ?"_s, { sid })
        || !ctx.exec(u"DELETE FROM qz_Table WHERE ID = ? AND nType = ?"_s,
                     { sid, WageSetTableType }))
        return false;
    ctx.db().catalog().invalidate();
    ctx.setReturnValue(1);
    return true;
}

// ---- items

bool addDbTableWageItem(ProcedureContext &ctx)
{
    ctx.setReturnValue(1);
    const int sid = ctx.input(u"SID"_s).toInt();
    QString table;
    if (!wageSetTable(ctx, sid, &table))
        return false;
    if (table.isEmpty())
        return true;
    WageItemDefinition item;
    item.alias = ctx.input(u"Alias"_s).toString();
    item.dataType = short(ctx.input(u"DataType"_s).toInt());
    item.property = ctx.input(u"Property"_s).toInt();
    item.decimals = short(ctx.input(u"FieldDec"_s).toInt());
    item.rounding = short(ctx.input(u"Choice"_s).toInt());
    item.formula = ctx.input(u"FExp"_s).toString();
    item.formulaTyped = ctx.input(u"FExp2"_s).toString();
    item.standardTableId = ctx.input(u"StdTblID"_s).toInt();
    item.dictionaryCode = ctx.input(u"IdRef"_s).toString();
    item.active = ctx.input(u"Active"_s).toInt() != 0;
    item.retain = ctx.input(u"Retain"_s).toInt() != 0;
    int itemId = ctx.input(u"ItemID"_s).toInt();
    if (itemId == 0) {
        const Result<int> added = AddWageItem(ctx.db(), sid, item);
        if (!added)
            return ctx.fail(added.error());
        itemId = *added;
    } else {
        if (!ctx.exec(u"UPDATE qz_Items SET Alias = ?, IdRef = ?, iProperty = ?, Retain = ?,"
                      u" StdTblID = ?, iDec = ?, iChoice = ?, FExp = ?, FExp2 = ?, Active = ?"
                      u" WHERE ItemID = ? AND iSort = ? AND upper(TblName) = upper(?)"_s,
                      { item.alias, item.dictionaryCode, item.property, item.retain ? 1 : 0,
                        item.standardTableId, item.decimals, item.rounding, item.formula,
                        item.formulaTyped, item.active ? 1 : 0, itemId, WageItemSort, table }))
            return false;
        if (ctx.recordsAffected() == 0)
            return true;
    }
    if (!ctx.select(u"SELECT ?"_s, { itemId }))
        return false;
    ctx.setReturnValue(0);
    return true;
}

bool deleteWageSortItem(ProcedureContext &ctx)
{
    const int sid = ctx.input(u"SID"_s).toInt();
    const int itemId = ctx.input(u"ItemID"_s).toInt();
    QString table;
    if (!wageSetTable(ctx, sid, &table))
        return false;
    if (table.isEmpty())
        return ctx.fail(u"Wage set %1 no longer exists."_s.arg(sid));
    const db::QueryResult item = ctx.db().run(
        u"SELECT Name FROM qz_Items WHERE ItemID = ? AND iSort = ? AND upper(TblName) = upper(?)"_s,
        { itemId, WageItemSort, table });
    if (!item.ok)
        return ctx.fail(item.error.description);
    if (!item.hasRow())
        return ctx.fail(u"Wage item %1 no longer exists."_s.arg(itemId));
    const QString column = item.rows.text(0, 0);
    if (!IsSqlIdentifier(column))
        return ctx.fail(u"The wage item column '%1' is not a valid name."_s.arg(column));
    if (!ctx.exec(u"DELETE FROM qz_Items WHERE ItemID = ?"_s, { itemId }))
        return false;
    const bool dropped = ctx.exec(u"ALTER TABLE %1 DROP COLUMN %2"_s.arg(table, column));
    ctx.db().catalog().invalidate();
    return dropped;
}

bool refreshItemOrder(ProcedureContext &ctx, const QString &orderColumn)
{
    // Also run as text with its one value unnamed (the order dialog's renumbering).
    const QVariant named = ctx.input(u"SID"_s);
    const int sid = (named.isValid() ? named : ctx.input(0)).toInt();
    QVariantList keys;
    return readInts(ctx,
                    u"SELECT I.ItemID FROM qz_Items I WHERE upper(I.TblName) = upper((SELECT"
                    u" T.TblName FROM qz_Table T WHERE T.ID = ? AND T.nType = ?)) AND I.iSort = ?"
                    u" ORDER BY I.%1, I.ItemID"_s.arg(orderColumn),
                    { sid, WageSetTableType, WageItemSort }, &keys)
        && renumber(ctx, u"UPDATE qz_Items SET %1 = ? WHERE ItemID = ?"_s.arg(orderColumn), keys);
}

// ---- members

// The ids of <psns><psn id="…"></psn>…</psns>; false when the text is anything else.
bool parseMemberIds(const QString &xml, QVariantList *ids, QString *error)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != u"psns"_s) {
        *error = u"The member list is not a <psns> document."_s;
        return false;
    }
    while (reader.readNextStartElement()) {
        if (reader.name() != u"psn"_s) {
            *error = u"Unexpected element <%1> in the member list."_s.arg(reader.name());
            return false;
        }
        bool ok = false;
        const int id = reader.attributes().value(u"id"_s).toInt(&ok);
        if (!ok) {
            *error = u"A member id is no number."_s;
            return false;
        }
        *ids << id;
        reader.skipCurrentElement();
    }
    reader.readNext();
    if (reader.hasError() || !reader.atEnd()) {
        *error = u"The member list is not well-formed: %1"_s.arg(reader.errorString());
        return false;
    }
    return true;
}

bool deleteMembersByXml(ProcedureContext &ctx)
{
    const int sid = ctx.input(u"SID"_s).toInt();
    QVariantList ids;
    QString error;
    if (!parseMemberIds(ctx.input(u"IDXML"_s).toString(), &ids, &error))
        return ctx.fail(error);
    constexpr int chunk = 500;
    for (qsizetype from = 0; from < ids.size(); from += chunk) {
        const QVariantList part = ids.mid(from, chunk);
        QVariantList values { sid };
        values += part;
        if (!ctx.exec(u"DELETE FROM qz_WagePsn WHERE SID = ? AND ID IN (%1)"_s.arg(
                          QStringList(part.size(), u"?"_s).join(u", "_s)),
                      values))
            return false;
    }
    return true;
}

bool refreshMemberDefaultOrder(ProcedureContext &ctx)
{
    const int sid = ctx.input(u"SID"_s).toInt();
    const int did = ctx.input(u"DID"_s).toInt();
    QString sql = u"SELECT W.ID FROM qz_WagePsn W INNER JOIN qz_PsnBase P ON P.PID = W.PID"
                  u" LEFT JOIN qz_Dept D ON D.DID = P.DID WHERE W.SID = ?"_s;
    QVariantList values { sid };
    if (did != 0) {
        sql += u" AND CHARINDEX(?, D.ParentArr) > 0"_s;
        values << u"|%1|"_s.arg(did);
    }
    sql += u" ORDER BY D.Ord, P.Ord, P.Number, W.ID"_s;
    QVariantList keys;
    return readInts(ctx, sql, values, &keys)
        && renumber(ctx, u"UPDATE qz_WagePsn SET Ord = ? WHERE ID = ?"_s, keys);
}

bool createChooserList(ProcedureContext &ctx)
{
    const Status filled = FillChooserRows(ctx.db(), ctx.input(u"TblName"_s).toString(),
                                          ctx.input(u"SID"_s).toInt(), ctx.input(u"DID"_s).toInt());
    return filled || ctx.fail(filled.error());
}

bool selectChooserList(ProcedureContext &ctx)
{
    const QString key = ctx.input(u"TblName"_s).toString();
    if (!IsChooserWorkKey(key))
        return ctx.fail(u"'%1' is no chooser list."_s.arg(key));
    return selectQuery(ctx, ChooserListQuery(key));
}

bool deleteChooserList(ProcedureContext &ctx)
{
    const Status deleted = DeleteChooserRows(ctx.db(), ctx.input(u"TblName"_s).toString());
    return deleted || ctx.fail(deleted.error());
}

} // namespace

void registerWageSetupProcedures(db::ProcedureRegistry &registry)
{
    registry.add(u"qz_AddWageSort"_s, addWageSort);
    registry.add(u"qz_DeleteWageSort"_s, deleteWageSort);
    registry.add(u"qz_AddDBTableWageItem"_s, addDbTableWageItem);
    registry.add(u"qz_DeleteWageSortItemByID"_s, deleteWageSortItem);
    registry.add(u"qz_RefreshWageItemOrder"_s,
                 [](ProcedureContext &ctx) { return refreshItemOrder(ctx, u"Ord"_s); });
    registry.add(u"qz_RefreshWageItemCalcOrder"_s,
                 [](ProcedureContext &ctx) { return refreshItemOrder(ctx, u"OrdF"_s); });
    registry.add(u"qz_SelectWageSetItemsByID"_s, [](ProcedureContext &ctx) {
        return selectQuery(ctx, WageSetItemsQuery(ctx.input(u"SID"_s).toInt()));
    });
    registry.add(u"qz_SelectWageSetItemsReOrderByID"_s, [](ProcedureContext &ctx) {
        return selectQuery(ctx, WageSetItemsCalcOrderQuery(ctx.input(u"SID"_s).toInt()));
    });
    registry.add(u"qz_SelectWagePsnBySort"_s, [](ProcedureContext &ctx) {
        return selectQuery(
            ctx, WageSetMembersQuery(ctx.input(u"SID"_s).toInt(), ctx.input(u"DID"_s).toInt()));
    });
    registry.add(u"qz_DeleteWageSortPsnSelectBySortID"_s, deleteMembersByXml);
    registry.add(u"qz_RefreshWagePsnDefaultOrder"_s, refreshMemberDefaultOrder);
    registry.add(u"qz_CreateTmpTblForWageSortPsnSelect"_s, createChooserList);
    registry.add(u"qz_SelectWagePsn"_s, selectChooserList);
    registry.add(u"qz_DeleteTmpTbl"_s, deleteChooserList);
}

} // namespace vantrel::payroll
