#pragma once

#include "personnel/dynform.h"
#include "platform/common/result.h"

#include <QString>
#include <QVariantList>
#include <QVector>

class CADODatabase;
class CCurrentUser;

namespace vantrel::personnel {

// The rows a person owns in the related-archive tables (qz_Table nType 5: columns ID, PID,
// Ord and the table's items) and the person's wage history, without any window. Table names
// are checked against qz_Table before they enter a statement.

// Whether the name is a related-archive table of qz_Table (compared without case), as the
// name is stored there; empty when it is none. A failure when qz_Table cannot be read.
Result<QString> CheckedRelatTable(CADODatabase &db, const QString &table);

// The grid query of a related table: "ID", its items as "<Name> AS "<Alias>"" in item order,
// "Ord"; one width per grid column (the items' iWid, 20 for ID, 0 for Ord).
struct RelatColumns
{
    QString selectList;
    QVector<int> widths;
};
Result<RelatColumns> BuildRelatColumnList(CADODatabase &db, const QString &table);
// "SELECT <list> FROM <table> WHERE PID = ? ORDER BY Ord, ID"; bind the person's PID.
QString BuildRelatSelectSql(const QString &table, const RelatColumns &columns);

// A wage set the operator may see: its id and title, in wage-set order.
struct WageSetTab
{
    int ID = 0;
    QString Title;
};
// All wage sets for a super user, else those of the operator's wage-set list.
Result<QVector<WageSetTab>> LoadVisibleWageSets(CADODatabase &db, const CCurrentUser &user);

// The person's rows of one wage set, newest period first: PID, "薪资期间" (the period), then
// the set's items qualified by the data table, captions as aliases. Bind the values.
struct WageHistoryQuery
{
    QString sql;
    QVariantList values;
};
Result<WageHistoryQuery> BuildWageHistoryQuery(CADODatabase &db, int wageSetId, int pid);

// Saves one row of a related table: key 0 inserts it for the person (its key from the insert,
// Ord = ID in the same transaction, so it comes last); another key updates that row. Messages
// as the form base gives them.
FormSaveResult SaveRelatRecord(CADODatabase &db, const QString &table, int pid, int key,
                               const CItemInfoArray &items, const FieldContents &contents);

// Deletes the person's row; true when it went, false when there was none.
Result<bool> DeleteRelatRow(CADODatabase &db, const QString &table, int id, int pid);

// Adds qz_RefreshPsnRelatOrder (table, PID) to the program's procedures: renumbers the
// person's rows of a related table 1 … n in their present order; fails for a table that
// qz_Table does not list as related.
void registerRelatProcedures();

} // namespace vantrel::personnel
