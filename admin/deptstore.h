#pragma once

#include "admin/adminoutcome.h"
#include "platform/common/result.h"

#include <QString>
#include <QVector>

class CADODatabase;

namespace vantrel::db {
class ProcedureRegistry;
}

namespace vantrel::admin {

// The department tree and the person categories without a window, on the caller's connection.
// A department's ParentArr is "|own|parent|…|top|": every subtree query of the program finds
// a department's rows by searching "|did|" in it, so each change of a parent rewrites the
// paths of the whole subtree in the same transaction. Every call that writes more than one row
// runs in one transaction (a savepoint inside the caller's): on failure nothing has changed.

// The path of department did under a parent whose path is parentPath (empty: top level).
QString DeptPathUnder(int did, const QString &parentPath);

// Gives did the parent parentId (0: top level) and rewrites the paths of did and all below it.
// Refused, unchanged, when did has no row, parentId above 0 has none, or parentId lies in
// did's subtree.
Status UpdateDeptParent(CADODatabase &db, int did, int parentId);

// Ord 0, 1, 2 … for the departments in the given order (the manager's pre-order); only rows
// whose Ord differs are written.
Status SaveDeptOrder(CADODatabase &db, const QVector<int> &didsInOrder);

// Exchanges the Ord values of two departments.
Status SwapDeptOrder(CADODatabase &db, int didA, int ordA, int didB, int ordB);

// Whether the department can go: the refusal (sub-departments, persons, wage rows) with the
// message to show, or done.
AdminOutcome CheckDeptDelete(CADODatabase &db, int did);
Status DeleteDept(CADODatabase &db, int did);

// Moves the persons and the rows of every wage-set data table (and of any table whose
// metadata has a DID column) from source to its sibling target, puts source's sub-departments
// under target with their paths, and deletes source.
Status MergeDept(CADODatabase &db, int source, int target);

// Whether target (0: the top level, -1: nothing chosen) may take source: in a merge a sibling,
// in a move a parent other than the current one and outside source's subtree; both must
// still exist. The refusal carries the message to show.
enum class DeptTargetUse { Merge, Move };
AdminOutcome CheckDeptTarget(CADODatabase &db, DeptTargetUse use, int source, int target);

// Stores a department's person-number prefix.
Status SetDeptPrefix(CADODatabase &db, int did, const QString &prefix);

// Persons in a category; categories renumbered Ord 1..n in their order; a category removed.
Result<int> PsnCountBySort(CADODatabase &db, int aid);
Status RenumberPsnSorts(CADODatabase &db);
Status DeletePsnSort(CADODatabase &db, int aid);

// The width of a list column, kept with its item (table as qz_Items names it).
Status StoreItemWidth(CADODatabase &db, const QString &table, const QString &item, int width);

// The procedures behind these:
//   qz_UpdateDeptParentByID (DID, ParentID, ParentArr): sets the row and replaces its old
//     path at the end of every ParentArr below it with the new one; refuses as above.
//   qz_SwapDeptOrder (DID1, Ord1, DID2, Ord2), qz_DeleteDeptByID (DID),
//   qz_GetPsnCountsByDeptID (DID), qz_GetPsnCountsBySortID (AID): one row, the count;
//   qz_DeletePsnSortByID (AID).
void registerDeptProcedures(db::ProcedureRegistry &registry);

} // namespace vantrel::admin
