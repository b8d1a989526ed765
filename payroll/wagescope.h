#pragma once

#include "core/payroll/wageviewsource.h"
#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

class CADODatabase;
class CCurrentUser;

namespace vantrel::payroll {

// What the payroll view of one period shows: the wage set's data table, the period, and the
// department pane's department (0 or less: all) and person category (0: all; below 0: none).
struct WageScope
{
    QString table;
    int period = 0;
    int department = 0;
    int category = 0;
};

// " FROM <table> INNER JOIN qz_PsnBase … qz_Dept … qz_PsnSort …" joined on the period row's
// PID, DID and AID; empty when the table is no data table of qz_Table.
QString WageFromClause(const QString &table);

// " WHERE (<table>.fDate=?) AND (<table>.DID IN (the department and below)) AND (<table>.AID=?)"
// and, unless the operator sees every department, " AND (qz_PsnBase.DID IN (the operator's
// departments))": the department and category are those of the period row, the rights test the
// person's department now. A category below 0 gives no row at all. Only bound integers enter
// it. Fails when the department tree cannot be read.
Result<personnel::SqlCondition> BuildWageWhere(CADODatabase &db, const WageScope &scope,
                                               const CCurrentUser &user);

// The table whose item holds the look of a payroll column: the person table for the number and
// name columns ("Number", "Name"), else the wage set's data table.
QString WageColumnTable(const QString &table, const QString &name);

// The scope as a source of rows for COUNT and the aggregates of scripts.
WageViewSource WageScopeSource(const QString &table, const personnel::SqlCondition &where);

} // namespace vantrel::payroll
