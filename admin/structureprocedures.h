#pragma once

#include <QString>

namespace vantrel::db {
class ProcedureRegistry;
}

namespace vantrel::admin {

// The procedures of the data structure: the metadata rows of qz_Table and qz_Items and the
// real tables and columns they describe, changed together in one transaction (a failure
// leaves neither a row without its column nor a column without its row). Names are made
// here from ids, never typed: a table is qz_Arc<ID>, a column U<ItemID>; names read back from
// the metadata are checked as identifiers before they enter a statement. A change that has to
// wait for another session's lock longer than structureLockTimeout() fails.
//
//   qz_SelectSystemDBTable (UserID): every table but wage sets, by Ord; columns ID, 表名,
//     标题, 固定 (bFixed), 描述, 显示, ParentID, Ord.
//   qz_SelectFieldsByTableID (TableID): the items of that table by Ord; columns ItemID, 字段名,
//     名称, 显示, 数据类型 (the number as text), 参照对象 (a dictionary reference: the dictionary's
//     title; else IdRef), 默认值, 必录, 长度, 固定, IdRef, Ord.
//   qz_AddDBTable (Return, nType, Title, Descr, ParentID, IShow): a related-archive table
//     under a main table (hasChild 1), placed last, with its columns ID (key), PID and Ord.
//     Return 0 added (the new ID is the result), 2 the title is taken (without regard to
//     case, over every row of qz_Table), 1 failed.
//   qz_UpdateDBTable (ID, Title, Descr, IShow): the row's texts and show flag (any row, as
//     the wage-set editor's procedure of that name).
//   qz_AddDBTableItem (Return, iSort, TblName, Alias, DataType, IdRef, DefValue, Length,
//     bNotNull, bShow): an item of data type 0 to 3 placed last in its table, and its column
//     (0 a number, 1 and 3 VARCHAR(Length), 2 a date). Return 0 added (the new ItemID is the
//     result), 2 the alias is taken in that table (without regard to case), 1 failed.
//   qz_UpdateDBTableItem (ID, Alias, IdRef, DefValue, Length, bNotNull, bShow): metadata only.
//   qz_DeleteTableByID (ID): drops the table and its row; refuses a fixed table, a wage set,
//     one with items and one with child tables.
//   qz_DeleteItemByID (ID): drops the column (with its data) and the row; refuses a fixed
//     item and a wage item.
void registerStructureProcedures(db::ProcedureRegistry &registry);

// How long a structure change waits for another session's lock; 5 s unless changed.
int structureLockTimeout();
void setStructureLockTimeout(int milliseconds);

// The names the procedures give.
QString ArchiveTableName(int tableId);
QString ItemColumnName(int itemId);

} // namespace vantrel::admin
