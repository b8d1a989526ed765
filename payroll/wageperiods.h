#pragma once

#include "payroll/psnchooserlist.h"
#include "payroll/wagesetupqueries.h"
#include "platform/common/result.h"

#include <QString>
#include <QVector>

class CADODatabase;

namespace vantrel::db {
class ProcedureRegistry;
}

namespace vantrel::payroll {

// The procedures of periods, each run by CADOCommand in one transaction (a failure changes
// nothing and reports the database's reason). Arguments are read by name, else by position.
//   qz_CreateWageTable (UserID, SID, nFDate): the period row (open, CreateDate the local time
//     now) and one data row per member of the set, whatever the creator's departments, with
//     the person's current DID and AID and the member's Ord; items with Retain 1 take the
//     person's value of the latest earlier period in which the person has a row. Fails when
//     the set is gone or the period exists.
//   qz_UpdateWageTableCheckOut (SID, nFDate, Stat): closes (1) or opens (0) the period; fails
//     when it is gone.
//   qz_CreateWageTmpTableForAddPsn (TmpTableName, SID, DID, nFDate): the add list of one open
//     dialog (TmpTableName is its work key, NewChooserWorkKey): the set's members in the
//     department and below (0: all) without a row in the period, unticked.
//   qz_AddWagePsnFromTmpTable (TmpTableName, SID, nFDate): rows for the ticked persons.
//   qz_UpdateWageTmpTableForAddPsn (TmpTableName, SID, nFDate, nPreFDate): the ticked persons
//     take every item value of their row of the earlier period (those without one keep theirs).
//   qz_DeleteWagePsnByID (SID, nFDate, PID): the person's row of the period.
//   qz_SelectPsnWageReOrderByDeptID (SID, nFDate, DID): the rows of the department in the
//     period for the reorder dialog: ID at column 0, Ord at column 5.
//   qz_RefreshWageTablePsnOrder (TblName, nFDate, DID): numbers those rows' Ord 1, 2, 3 … in
//     their present order.
void registerWagePeriodProcedures(db::ProcedureRegistry &registry);

// The rows of department did in the period, as the reorder dialog lists them (ID at column 0,
// Ord at column 5), in their order; the table is the checked data table of the wage set.
BoundQuery WageReorderListQuery(const QString &table, int period, int did);

// A period as qz_WageTable has it now.
struct WagePeriodState
{
    bool exists = false;
    bool closed = false;
};
Result<WagePeriodState> ReadWagePeriodState(CADODatabase &db, int sid, int period);

// The checks before every change of a period's data: "" when it may change, else the
// message to show: the period was deleted meanwhile (string 133) or is closed (string 110).
// Fails when the state cannot be read.
Result<QString> PeriodChangeRefusal(CADODatabase &db, int sid, int period);

// qz_CreateWageTable through CADOCommand.
Status CreateWagePeriod(CADODatabase &db, int userId, int sid, int period);
// qz_UpdateWageTableCheckOut through CADOCommand.
Status SetWagePeriodClosed(CADODatabase &db, int sid, int period, bool closed);

// Deletes the data rows and the period rows of wage set sid from `from` to `to` (a range whose
// start lies after its end deletes nothing), in one transaction.
Status DeleteWagePeriodRange(CADODatabase &db, int sid, int from, int to);
// Deletes one period: its data rows and the qz_WageTable row `id` of wage set sid.
Status DeleteWagePeriod(CADODatabase &db, int sid, int id, int period);

// Deletes the persons' rows of the period by qz_DeleteWagePsnByID, all in one transaction:
// the first failure undoes the others and is returned.
Status DeleteWagePersons(CADODatabase &db, int sid, int period, const QVector<int> &pids);

// The earlier periods a take-over may come from, newest first (all other periods of the set).
Result<QVector<int>> OtherWagePeriods(CADODatabase &db, int sid, int period);

// The list of persons that one add dialog offers for one period, kept under its own work key
// in the chooser rows, so two dialogs (also of one operator) never share ticks; the rows go
// with the object. The connection must outlive it.
class WagePeriodAddList : public PsnPickList
{
public:
    WagePeriodAddList(CADODatabase &db, int sid, int period);

    // qz_CreateWageTmpTableForAddPsn for the department (0: all); earlier ticks are gone.
    Status build(int did);
    // Adds the ticked persons and, when prePeriod is above 0, takes over their values of that
    // period, in one transaction. The number of persons added.
    Result<int> add(int prePeriod);

private:
    int m_sid;
    int m_period;
};

} // namespace vantrel::payroll
