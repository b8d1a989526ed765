#pragma once

#include "core/db/schemamigration.h"
#include "platform/common/result.h"

class CADODatabase;

namespace vantrel::db {

// Version 1: the tables the application core reads and writes, with the rows a new
// installation needs that take no code to compute (options, metadata of the built-in tables).
// The administrator is seeded elsewhere, since its password digest is made in C++.
SchemaMigration migration001CoreTables();

// Version 2: the personnel reminder definitions (qz_PsnCaseWakeup).
SchemaMigration migration002Reminders();

// Version 3: the payroll periods (qz_WageTable) and wage-set members (qz_WagePsn).
SchemaMigration migration003Payroll();

// Version 4: the person list's index over (DID, Ord).
SchemaMigration migration004PersonList();

// The person numbers (upper-cased) that more than one person holds; none when all are unique.
Result<QStringList> duplicatePsnNumbers(CADODatabase &db);
// The values (upper-cased) of a column of the program's own schema that more than one row
// holds, and the unique index on upper(column) made only when there are none.
Result<QStringList> duplicateUpperValues(CADODatabase &db, const QString &table,
                                         const QString &column);
Result<QStringList> ensureUniqueUpperIndex(CADODatabase &db, const QString &table,
                                           const QString &column, const QString &index);
// The unique index on upper(Number), made when no number is held twice. Returns the numbers
// held twice (the index then waits for a later start), or why the check or index failed.
Result<QStringList> ensurePsnNumberIndex(CADODatabase &db);
// The numbers held twice that the last schema upgrade of this run found (none before one).
QStringList lastPsnNumberDuplicates();
// Version 5: one membership per person and wage set, the standard tables of wage sets
// (qz_WageStdTable, qz_WageStdTblItem) and the chooser lists (qz_PsnPickWork).
SchemaMigration migration005WageSetup();

// Version 6: wage_round, the rounding of wage items, on a PostgreSQL server made before it.
SchemaMigration migration006WageRound();

// Version 7: the files attached to persons (qz_PsnFiles).
SchemaMigration migration007PsnFiles();

// Version 8: operator names unique without regard to case; top-level dictionary items keep
// the parent code '' instead of NULL.
SchemaMigration migration008AdminNames();

// Version 9: saved advanced queries (qz_Research, qz_ResearchDetail) and the transfer and
// category-change histories (qz_PsnRedeploy, qz_PsnSortAlter) with their items.
SchemaMigration migration009SearchHistory();

// Version 10: the person table's qz_Table row has nType 4, so reminders can name its dates.
SchemaMigration migration010WakeupTable();

// Version 11: statistic definitions (qz_Stat) with their ranges (qz_StatItmFilter); the person
// table and the related archives are offered to statistics (qz_Table.bStat).
SchemaMigration migration011Statistics();

} // namespace vantrel::db
