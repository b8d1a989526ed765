#pragma once

#include "platform/common/result.h"

#include <QString>

class CADODatabase;

// The name tests of the set-up: names are compared trimmed and without regard to case, over
// every wage set (or every wage item of every set), leaving out the row being renamed. A
// failed query is a failure, never "free".
namespace vantrel::payroll {

Result<bool> IsWageSetNameTaken(CADODatabase &db, const QString &name, int exceptSid = 0);
Result<bool> IsWageItemAliasTaken(CADODatabase &db, const QString &alias, int exceptItemId = 0);

} // namespace vantrel::payroll
