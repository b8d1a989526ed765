#include "admin/structureprocedures.h"

#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/sqlidentifier.h"
#include "core/query/itemmetadata.h"
#include "core/query/scalarqueries.h"

#include <QUuid>

#include <atomic>

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::admin {

namespace {

constexpr int WageSetType = 6;
constexpr int RelatedArchiveType = 5;
constexpr int WageItemSort = 1;
constexpr int Added = 0;
constexpr int Failed = 1;
constexpr int Duplicate = 2;

std::atomic<int> lockTimeoutMs { 5000 };

int flag(const ProcedureContext &ctx, const QString &name)
{
    return ctx.input(name).toBool() ? 1 : 0;
}

// Inside the procedure's transaction: a bounded wait for locks, then the write lock of the
// metadata table whose duplicate test follows.
bool beginChange(ProcedureContext &ctx, const QString &metadataTable)
{
    for (const QString &setting : ctx.db().dialect().structureChangeSettings(lockTimeoutMs))
        if (!ctx.exec(setting))
            return false;
    return metadataTable.isEmpty()
        || ctx.exec(ctx.db().dialect().writeLockStatement(metadataTable));
}

bool readRow(ProcedureContext &ctx, const QString &sql, const QVariantList &values,
             db::QueryResult *row)
{
    *row = ctx.db().run(sql, values);
    return row->ok || ctx.fail(row->error.description);
}

bool count(ProcedureContext &ctx, const QString &sql, const QVariantList &values, int *n)
{
    db::QueryResult found;
    if (!readRow(ctx, sql, values, &found))
        return false;
    *n = found.scalar().toInt();
    return true;
}

// A name from the metadata, before it enters a statement.
bool checkedName(ProcedureContext &ctx, const QString &name)
{
    return IsSqlIdentifier(name)
        || ctx.fail(u"'%1' is not a valid table or column name."_s.arg(name));
}

QString pendingName()
{
    return QString(u"pending_"_s + QUuid::createUuid().toString(QUuid::Id128)).left(30);
}

bool selectSystemDbTable(ProcedureContext &ctx)
{
    return ctx.select(u"SELECT ID, TblName AS \"表名\", Title AS \"标题\", bFixed AS \"固定\", "
                      u"Descr AS \"描述\", bShow AS \"显示\", ParentID, Ord FROM qz_Table "
                      u"WHERE nType<>? ORDER BY Ord, ID"_s,
                      { WageSetType });
}

// The data type comes as text: the manager shows it by its name, aligned as text.
bool selectFieldsByTableId(ProcedureContext &ctx)
{
    return ctx.select(
        u"SELECT i.ItemID, i.Name AS \"字段名\", i.Alias AS \"名称\", i.bShow AS \"显示\", "
        u"CAST(i.iDataType AS VARCHAR(3)) AS \"数据类型\", CASE WHEN i.iDataType=3 AND d.Title IS "
        u"NOT NULL "
        u"THEN d.Title ELSE i.IdRef END AS \"参照对象\", i.DefValue AS \"默认值\", "
        u"i.bNotNull AS \"必录\", i.iLength AS \"长度\", i.bFixed AS \"固定\", i.IdRef, i.Ord "
        u"FROM qz_Items i LEFT JOIN qz_Dict d ON i.iDataType=3 AND d.DictId=i.IdRef "
        u"WHERE upper(i.TblName)=(SELECT upper(t.TblName) FROM qz_Table t "
        u"WHERE t.ID=? AND t.nType<>?) ORDER BY i.Ord, i.ItemID"_s,
        { ctx.input(u"TableID"_s).toInt(), WageSetType });
}

bool addDbTable(ProcedureContext &ctx)
{
    ctx.setReturnValue(Failed);
    const QString title = ctx.input(u"Title"_s).toString();
    const int parentId = ctx.input(u"ParentID"_s).toInt();
    if (!beginChange(ctx, u"qz_Table"_s))
        return false;
    int same = 0;
    if (!count(ctx, u"SELECT COUNT(*) FROM qz_Table WHERE upper(trim(Title))=upper(trim(?))"_s,
               { title }, &same))
        return false;
    if (same > 0) {
        ctx.setReturnValue(Duplicate);
        return true;
    }
    int parents = 0;
    if (!count(ctx, u"SELECT COUNT(*) FROM qz_Table WHERE ID=? AND hasChild=1 AND nType<>?"_s,
               { parentId, WageSetType }, &parents))
        return false;
    if (parents == 0)
        return ctx.fail(u"The main table %1 does not exist."_s.arg(parentId));
    int last = 0;
    if (!count(ctx, u"SELECT MAX(Ord) FROM qz_Table"_s, {}, &last))
        return false;
    // The name follows from the id, so the row first gets a name no other row has. A related
    // archive is offered to the statistics like those the database came with.
    const int type = ctx.input(u"nType"_s).toInt();
    const int id = InsertReturningId(u"qz_Table"_s,
                                     { u"TblName"_s, u"Title"_s, u"Descr"_s, u"ParentID"_s,
                                       u"nType"_s, u"bShow"_s, u"bStat"_s, u"Ord"_s },
                                     { pendingName(), title, ctx.input(u"Descr"_s).toString(),
                                       parentId, type, flag(ctx, u"IShow"_s),
                                       type == RelatedArchiveType ? 1 : 0, last + 1 },
                                     u"ID"_s, &ctx.db());
    if (id <= 0)
        return ctx.fail(ctx.db().GetLastErrorString());
    const QString table = ArchiveTableName(id);
    if (!checkedName(ctx, table)
        || !ctx.exec(u"UPDATE qz_Table SET TblName=? WHERE ID=?"_s, { table, id })
        || !ctx.exec(ctx.db().dialect().ddl(
            u"CREATE TABLE %1 (ID %IDENTITY%, PID INTEGER NOT NULL, Ord INTEGER NOT NULL "
            u"DEFAULT 0)"_s.arg(table)))
        || !ctx.exec(u"CREATE INDEX ix_%1_PID ON %1 (PID, Ord)"_s.arg(table)))
        return false;
    ctx.db().catalog().invalidate();
    if (!ctx.select(u"SELECT ?"_s, { id }))
        return false;
    ctx.setReturnValue(Added);
    return true;
}

// The wage-set editor registers the same procedure: both change any row of qz_Table alike.
// The SQL type of an item's column.
bool columnType(ProcedureContext &ctx, int dataType, int length, QString *type)
{
    switch (dataType) {
    case ItemNumber:
        *type = ctx.db().dialect().numberColumnType();
        return true;
    case ItemDate:
        *type = ctx.db().dialect().dateColumnType();
        return true;
    case ItemText:
    case ItemDictionary:
        if (length < 1)
            return ctx.fail(u"A text column needs a length of at least 1."_s);
        *type = u"VARCHAR(%1)"_s.arg(length);
        return true;
    default:
        return ctx.fail(u"Items of data type %1 are not added here."_s.arg(dataType));
    }
}

// The stored name of a table that may take items (no wage set), as the metadata spells it.
bool dataTableOf(ProcedureContext &ctx, const QString &name, QString *table)
{
    db::QueryResult row;
    if (!readRow(ctx, u"SELECT TblName FROM qz_Table WHERE upper(TblName)=upper(?) AND nType<>?"_s,
                 { name, WageSetType }, &row))
        return false;
    if (!row.hasRow())
        return ctx.fail(u"There is no data table '%1'."_s.arg(name));
    *table = row.rows.text(0, 0);
    return checkedName(ctx, *table);
}

bool addDbTableItem(ProcedureContext &ctx)
{
    ctx.setReturnValue(Failed);
    const QString alias = ctx.input(u"Alias"_s).toString();
    const int dataType = ctx.input(u"DataType"_s).toInt();
    const int length = ctx.input(u"Length"_s).toInt();
    QString table, type;
    if (!dataTableOf(ctx, ctx.input(u"TblName"_s).toString(), &table)
        || !columnType(ctx, dataType, length, &type) || !beginChange(ctx, u"qz_Items"_s))
        return false;
    int same = 0;
    if (!count(ctx,
               u"SELECT COUNT(*) FROM qz_Items WHERE upper(TblName)=upper(?) "
               u"AND upper(Alias)=upper(?)"_s,
               { table, alias }, &same))
        return false;
    if (same > 0) {
        ctx.setReturnValue(Duplicate);
        return true;
    }
    int last = 0;
    if (!count(ctx, u"SELECT MAX(Ord) FROM qz_Items WHERE upper(TblName)=upper(?)"_s, { table },
               &last))
        return false;
    const int itemId = InsertReturningId(
        u"qz_Items"_s,
        { u"iSort"_s, u"TblName"_s, u"Name"_s, u"Alias"_s, u"iDataType"_s, u"IdRef"_s,
          u"DefValue"_s, u"iLength"_s, u"bNotNull"_s, u"bShow"_s, u"Active"_s, u"Ord"_s },
        { ctx.input(u"iSort"_s).toInt(), table.toUpper(), pendingName(), alias, dataType,
          ctx.input(u"IdRef"_s).toString(), ctx.input(u"DefValue"_s).toString(), length,
          flag(ctx, u"bNotNull"_s), flag(ctx, u"bShow"_s), 1, last + 1 },
        u"ItemID"_s, &ctx.db());
    if (itemId <= 0)
        return ctx.fail(ctx.db().GetLastErrorString());
    const QString column = ItemColumnName(itemId);
    if (!checkedName(ctx, column)
        || !ctx.exec(u"UPDATE qz_Items SET Name=? WHERE ItemID=?"_s, { column, itemId })
        || !ctx.exec(u"ALTER TABLE %1 ADD COLUMN %2 %3"_s.arg(table, column, type)))
        return false;
    ctx.db().catalog().invalidate();
    if (!ctx.select(u"SELECT ?"_s, { itemId }))
        return false;
    ctx.setReturnValue(Added);
    return true;
}

bool updateDbTableItem(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    if (!ctx.exec(u"UPDATE qz_Items SET Alias=?, IdRef=?, DefValue=?, iLength=?, bNotNull=?, "
                  u"bShow=? WHERE ItemID=? AND iSort<>?"_s,
                  { ctx.input(u"Alias"_s).toString(), ctx.input(u"IdRef"_s).toString(),
                    ctx.input(u"DefValue"_s).toString(), ctx.input(u"Length"_s).toInt(),
                    flag(ctx, u"bNotNull"_s), flag(ctx, u"bShow"_s), id, WageItemSort }))
        return false;
    return ctx.recordsAffected() > 0 || ctx.fail(u"The item %1 no longer exists."_s.arg(id));
}

bool deleteTableById(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    if (!beginChange(ctx, u"qz_Table"_s))
        return false;
    db::QueryResult row;
    if (!readRow(ctx, u"SELECT TblName, bFixed, nType FROM qz_Table WHERE ID=?"_s, { id }, &row))
        return false;
    if (!row.hasRow())
        return ctx.fail(u"The table %1 no longer exists."_s.arg(id));
    const QString table = row.rows.text(0, 0);
    if (row.rows.value(0, 1).toInt() != 0 || row.rows.value(0, 2).toInt() == WageSetType)
        return ctx.fail(
            u"The table '%1' belongs to the system and is not deleted here."_s.arg(table));
    int items = 0, children = 0;
    if (!count(ctx, u"SELECT COUNT(*) FROM qz_Items WHERE upper(TblName)=upper(?)"_s, { table },
               &items)
        || !count(ctx, u"SELECT COUNT(*) FROM qz_Table WHERE ParentID=?"_s, { id }, &children))
        return false;
    if (items > 0)
        return ctx.fail(u"The table '%1' still has items."_s.arg(table));
    if (children > 0)
        return ctx.fail(u"The table '%1' still has child tables."_s.arg(table));
    if (!checkedName(ctx, table) || !ctx.exec(u"DROP TABLE IF EXISTS %1"_s.arg(table))
        || !ctx.exec(u"DELETE FROM qz_Table WHERE ID=?"_s, { id }))
        return false;
    ctx.db().catalog().invalidate();
    return true;
}

bool deleteItemById(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    if (!beginChange(ctx, u"qz_Items"_s))
        return false;
    db::QueryResult row;
    if (!readRow(ctx, u"SELECT TblName, Name, bFixed, iSort FROM qz_Items WHERE ItemID=?"_s, { id },
                 &row))
        return false;
    if (!row.hasRow())
        return ctx.fail(u"The item %1 no longer exists."_s.arg(id));
    const QString column = row.rows.text(0, 1);
    if (row.rows.value(0, 2).toInt() != 0 || row.rows.value(0, 3).toInt() == WageItemSort)
        return ctx.fail(
            u"The item '%1' belongs to the system and is not deleted here."_s.arg(column));
    QString table;
    if (!dataTableOf(ctx, row.rows.text(0, 0), &table) || !checkedName(ctx, column))
        return false;
    // A column that is already gone leaves only its row to remove.
    const bool present = ctx.db().catalog().columns(table).contains(column, Qt::CaseInsensitive);
    if ((present && !ctx.exec(u"ALTER TABLE %1 DROP COLUMN %2"_s.arg(table, column)))
        || !ctx.exec(u"DELETE FROM qz_Items WHERE ItemID=?"_s, { id }))
        return false;
    ctx.db().catalog().invalidate();
    return true;
}

} // namespace

QString ArchiveTableName(int tableId)
{
    return u"qz_Arc%1"_s.arg(tableId);
}

QString ItemColumnName(int itemId)
{
    return u"U%1"_s.arg(itemId);
}

int structureLockTimeout()
{
    return lockTimeoutMs;
}

void setStructureLockTimeout(int milliseconds)
{
    lockTimeoutMs = milliseconds;
}

void registerStructureProcedures(db::ProcedureRegistry &registry)
{
    registry.add(u"qz_SelectSystemDBTable"_s, selectSystemDbTable);
    registry.add(u"qz_SelectFieldsByTableID"_s, selectFieldsByTableId);
    registry.add(u"qz_AddDBTable"_s, addDbTable);
    registry.add(u"qz_AddDBTableItem"_s, addDbTableItem);
    registry.add(u"qz_UpdateDBTableItem"_s, updateDbTableItem);
    registry.add(u"qz_DeleteTableByID"_s, deleteTableById);
    registry.add(u"qz_DeleteItemByID"_s, deleteItemById);
}

} // namespace vantrel::admin
