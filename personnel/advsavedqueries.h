#pragma once

#include "personnel/advsearch.h"
#include "platform/common/result.h"

#include <QString>
#include <QVector>

class CADODatabase;

namespace vantrel::personnel {

// The window a saved query belongs to (qz_Research.iType).
enum AdvQueryType { AdvPersonData = 0, AdvWageData = 1, AdvTransfers = 2, AdvCategoryChanges = 3 };

struct SavedQueryEntry
{
    int rid = 0;
    QString name;
};

// Adds the saved queries' procedures to the program's registry (again is harmless):
//   qz_AddAdvResearch (ID, iType, UserID, Name, OrdCol): ID 0 inserts a query and returns its
//     RID as the first value of its one row; another ID rewrites that query's Name and OrdCol
//     (fails when there is no such query).
//   qz_AddAdvResearchDetail (ID, Flag, RID, AndOr, TblName, ItemName, OpSgn, sValue, Ord):
//     ID 0 inserts a condition row, another rewrites that row (fails when it is gone).
void registerAdvSearchProcedures();

// The operator's saved queries of one window type, in the order they were made.
Result<QVector<SavedQueryEntry>> ListSavedQueries(CADODatabase &db, int userId, int type);

// A saved query's condition rows (main and related, in their order, with their ids) and its
// sort rows.
Result<AdvQuery> LoadSavedQuery(CADODatabase &db, int rid);

// The stored sort list: "column,direction" entries joined by '|', rows without a column left
// out; and back (empty entries skipped, a missing direction left empty).
QString SortListText(const QVector<AdvSortRow> &rows);
QVector<AdvSortRow> ParseSortList(const QString &text);

// Saves a query in one transaction: rid 0 inserts a new one named `name`, otherwise that
// query's rows are rewritten (rows with id 0 added). An empty sort list keeps the stored one.
// Returns the query's RID; on failure nothing is changed.
Result<int> SaveQuery(CADODatabase &db, int rid, int type, int userId, const QString &name,
                      const AdvQuery &query);

// Gives a saved query a new name; its sort list stays.
Result<void> RenameQuery(CADODatabase &db, int rid, int type, int userId, const QString &name);

// A saved query with all its rows; or one condition row (id 0: nothing to delete).
Result<void> DeleteSavedQuery(CADODatabase &db, int rid);
Result<void> DeleteConditionRow(CADODatabase &db, int id);

// "人事数据", "薪资数据", "部门调动", "类别异动".
QString AdvQueryTypeWord(int type);

} // namespace vantrel::personnel
