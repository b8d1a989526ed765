#pragma once

#include "platform/common/result.h"

#include <QString>
#include <QVariant>

class CADODatabase;

namespace vantrel::payroll {

// One typed-in value of one person's wage item in an open period.
struct WageCellEdit
{
    int sid = 0;
    QString table; // the wage set's data table
    int period = 0;
    int pid = 0;
    QString itemName; // the item's column
    QString text;     // as typed
};

// Why a cell edit did not reach the database, for the view to show.
enum class WageCellRefusal {
    None,
    Gone,    // the period or the person's row was deleted meanwhile (string 133): grey the row
    Closed,  // the period is closed (string 110): the view turns read-only
    Invalid, // the value does not fit the item: the message names the column
    Failed,  // the database refused the write
};

struct WageCellOutcome
{
    WageCellRefusal refusal = WageCellRefusal::None;
    QString message;
    QVariant stored; // the value written (NULL for an empty text)
};

// The checks of a begin-edit: the period's state read again, then the person's row.
WageCellOutcome CheckWageCellEditable(CADODatabase &db, int sid, const QString &table, int period,
                                      int pid);

// Checks as CheckWageCellEditable, then the value by the item's type, and writes it to the
// row of the person and period (by key), in one transaction.
WageCellOutcome WriteWageCell(CADODatabase &db, const WageCellEdit &edit);

// "薪资管理[修改个人薪资数据'<set>:<period>|<name>>:<heading>(<value>)']".
QString WageCellLogText(const QString &wageSet, int period, const QString &personName,
                        const QString &heading, const QString &shown);

} // namespace vantrel::payroll
