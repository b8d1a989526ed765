#pragma once

#include "platform/common/result.h"

#include <QString>

class CADODatabase;

namespace vantrel::db {
class ProcedureRegistry;
}

namespace vantrel::payroll {

// The payroll procedures that the host functions of scripts call:
// qz_GetAggregeWageValue (SID, FromWhereSql, FromWhereValues, ItmAlias, AgFun): SUM, AVG, MAX
//   or MIN of the number item ItmAlias of wage set SID over the rows that the FROM/WHERE text
//   (a rendered WageViewSource, checked again by CheckWageViewSql) selects with its values
//   bound, read-only;
// qz_GetPSNWageValue (PsnNumber, nFDate, ItmAlias, SortName): the value of item ItmAlias for
//   the person with that number in the wage set titled SortName, period nFDate;
// qz_GetPSNPreWageValue (PsnNumber, nFDate, nPer, ItmAlias, SortName): the same for the
//   period nPer calendar months before nFDate.
// Each returns one value as its result set, or no row when the wage set, the item, the person
// or the row is missing; a failing statement fails the procedure.
void registerPayrollProcedures(db::ProcedureRegistry &registry);

// Where a wage item's values are kept: its set's data table and its column, both checked as
// identifiers; both empty when no wage set has that title or it has no item of that alias
// (both matched without regard to case).
struct WageItemColumn
{
    QString table;
    QString column;
    bool isEmpty() const { return table.isEmpty(); }
};
Result<WageItemColumn> FindWageItemByTitle(CADODatabase &db, const QString &wageSetTitle,
                                           const QString &itemAlias);

} // namespace vantrel::payroll
