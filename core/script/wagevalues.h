#pragma once

#include "platform/common/result.h"

#include <QString>
#include <QVariant>

struct ScriptSession;

// The wage values that the host functions of scripts read, on the session's connection and
// with its payroll context. Missing data (no active wage view, an unknown wage set, item or
// person, no row, NULL) gives 0 or an invalid value; a failed database call, or a wage view
// source that is refused, gives the failure with its reason, which the host function raises
// as a script error. COUNT and the aggregates only read: the database refuses any write.

// COUNT: the number of rows of the active wage view.
vantrel::Result<double> ScriptCount(const ScriptSession &session);

// SUM, AVG, MAX or MIN of a wage item over those rows (qz_GetAggregeWageValue).
vantrel::Result<double> ScriptAggregate(const ScriptSession &session, const QString &function,
                                        const QString &itemAlias);

// A person's value of an item in the wage set of that name (qz_GetPSNWageValue), or for the
// period monthsBefore calendar months earlier (qz_GetPSNPreWageValue); invalid when missing.
vantrel::Result<QVariant> PersonWageValue(const ScriptSession &session, const QString &number,
                                          const QString &wageSetName, int period,
                                          const QString &itemAlias);
vantrel::Result<QVariant> PersonPreviousWageValue(const ScriptSession &session,
                                                  const QString &number, const QString &wageSetName,
                                                  int period, int monthsBefore,
                                                  const QString &itemAlias);
