#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CADODatabase;

namespace bench {

// For the payroll benchmarks, on a wage set with its items: every person a member of the set,
// the periods made as qz_CreateWageTable makes them, and in each the columns filled with
// PID * 0.25 + their position; then fresh statistics on PostgreSQL.
bool fillWagePeriods(CADODatabase &db, int sid, const QString &table, const QList<int> &periods,
                     const QStringList &columns);

} // namespace bench
