#pragma once

#include "platform/common/result.h"

#include <QString>

class CADODatabase;
struct WageItemDefinition;

// The tables of a wage set: its row in qz_Table (nType 6) names its data table, which holds
// every period of the set, one row per person and period (key ID, UNIQUE(PID, fDate)); its
// wage items are rows of qz_Items (iSort 1) whose Name is their column in that table.
// Table and column names are generated here from ids, never typed by a user, and checked
// before they enter a statement. Every function runs in one transaction on the connection.
namespace vantrel::payroll {

constexpr int WageSetTableType = 6; // qz_Table.nType of a wage set
constexpr int WageItemSort = 1;     // qz_Items.iSort of a wage item

// The data table name a wage set gets from its id: "qz_WageData12".
QString WageSetDataTableName(int sid);
// The column of a wage item: "F" + its item id.
QString WageItemColumnName(int itemId);

// Adds a wage set (its qz_Table row after the last in order, and its empty data table).
// The new wage-set id.
Result<int> AddWageSet(CADODatabase &db, const QString &title, const QString &description = {});

// Creates the data table that the qz_Table row of wage set sid names, with its index on fDate.
Status CreateWageSetDataTable(CADODatabase &db, int sid);

// Adds a wage item to wage set sid: its qz_Items row, placed last in display and calculation
// order, and its column in the data table (numbers DOUBLE PRECISION, texts VARCHAR, dates a
// date-time). The new item id.
Result<int> AddWageItem(CADODatabase &db, int sid, const WageItemDefinition &item);

// The data table of wage set sid, checked as an identifier; empty when there is none, a
// failure when the metadata cannot be read.
Result<QString> CheckedWageSetTable(CADODatabase &db, int sid);

} // namespace vantrel::payroll
