#pragma once

#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

#include <QString>
#include <QVariant>

class CADODatabase;

namespace vantrel::payroll {

// A wage item as the checks and batch changes need it.
struct WageItemInfo
{
    QString name;  // its column
    QString alias; // its heading
    int dataType = 0;
    int decimals = 2;
    int rounding = 0; // iChoice
    QString dictionaryCode;
};

// The item of the data table whose column is `name` (without regard to case); fails when there
// is none or its column is no valid name.
Result<WageItemInfo> ReadWageItem(CADODatabase &db, const QString &table, const QString &name);

// The typed text as the value to bind for the item: a number (read the same in every locale),
// a date (yyyy-MM-dd, or with a time), a title of the item's dictionary, or a text that fits
// its column; empty is NULL. Fails with a message that names the item's heading.
Result<QVariant> CheckWageValue(CADODatabase &db, const WageItemInfo &item, const QString &text);

// One change of one wage item over the rows a payroll view shows.
struct WageBatchUpdate
{
    QString itemName;
    int mode = 0; // 0 赋值, 1 统加, 2 统减, 3 统乘, 4 统除 (numbers only)
    QString value;
};

// Changes the item for every row of FROM/WHERE (WageFromClause and BuildWageWhere) in one
// statement in one transaction. Numbers are computed by the mode and rounded by the item's
// rule (wage_round); other items are assigned the checked value. Returns the rows changed, or
// why nothing was: a bad value, 统除 by 0, or the database's text. Nothing is recalculated.
Result<int> RunWageBatchUpdate(CADODatabase &db, const QString &table,
                               const WageBatchUpdate &update, const personnel::SqlCondition &where);

// "薪资管理['<set>:<period>'薪资批量修改'<heading>|<mode>|<value>(<condition>)']".
QString WageBatchLogText(const QString &wageSet, int period, const QString &heading,
                         const WageBatchUpdate &update, int dataType,
                         const personnel::SqlCondition &where);

} // namespace vantrel::payroll
