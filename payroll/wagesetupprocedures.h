#pragma once

#include <QString>

namespace vantrel::db {
class ProcedureRegistry;
}

namespace vantrel::payroll {

// The procedures of the wage-set set-up, each run by CADOCommand in one transaction: a
// procedure that fails changes nothing and the command reports the database's reason.
//
// Wage sets:
//   qz_AddWageSort (Return, Name, Descr): Return 0 and the new SID as its result; 2 when 999
//     sets exist, 3 when a set has the name (trimmed, without regard to case).
//   qz_UpdateDBTable (ID, Title, Descr, IShow): title, description and show flag of a
//     qz_Table row; fails when the row is gone.
//   qz_DeleteWageSort (Return, SID): the data table, items, periods, members, standard tables
//     with their values tables, bank templates with their fields, mail templates and report
//     rows of the set, then the set; Return 1 done, 0 no such wage set (SID 0 never is one).
// Items:
//   qz_AddDBTableWageItem (Return, SID, Active, ItemID, Alias, DataType, IdRef, Property,
//     Retain, StdTblID, FieldDec, Choice, FExp, FExp2): ItemID 0 adds an item with its
//     column, any other changes that item (never its Name, data type or column); Return 0 and
//     the item id as its result, 1 when the set or the item is gone.
//   qz_DeleteWageSortItemByID (SID, ItemID): the item and its column.
//   qz_RefreshWageItemOrder (SID), qz_RefreshWageItemCalcOrder (SID): number Ord or OrdF
//     1, 2, 3 … in the current order (ItemID on ties).
//   qz_SelectWageSetItemsByID (SID), qz_SelectWageSetItemsReOrderByID (SID): the lists of
//     wagesetupqueries.h.
// Members:
//   qz_SelectWagePsnBySort (SID, DID): the member list.
//   qz_DeleteWageSortPsnSelectBySortID (SID, IDXML): deletes the members of SID whose ids the
//     text <psns><psn id="…"></psn>…</psns> names; text that is no such XML deletes nothing
//     and fails.
//   qz_RefreshWagePsnDefaultOrder (SID, DID): numbers the Ord of the set's members in the
//     department (0: all) by department order, person order and number.
//   qz_CreateTmpTblForWageSortPsnSelect (TblName, SID, DID), qz_SelectWagePsn (TblName),
//     qz_DeleteTmpTbl (TblName): the chooser list of one open chooser, whose work key
//     (PsnChooserList) stands where a table name stood; any other name is refused.
void registerWageSetupProcedures(db::ProcedureRegistry &registry);

// The most wage sets there may be.
constexpr int MaxWageSets = 999;

} // namespace vantrel::payroll
