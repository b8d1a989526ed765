#pragma once

#include "core/db/schemamigration.h"

namespace vantrel::db {

// Version 1: the tables the application core reads and writes, with the rows a new
// installation needs that take no code to compute (options, metadata of the built-in tables).
// The administrator is seeded elsewhere, since its password digest is made in C++.
SchemaMigration migration001CoreTables();

// Version 2: the personnel reminder definitions (qz_PsnCaseWakeup).
SchemaMigration migration002Reminders();

// Version 3: the payroll periods (qz_WageTable) and wage-set members (qz_WagePsn).
SchemaMigration migration003Payroll();

// Version 5: one membership per person and wage set, the standard tables of wage sets
// (qz_WageStdTable, qz_WageStdTblItem) and the chooser lists (qz_PsnPickWork).
SchemaMigration migration005WageSetup();

// Version 8: operator names unique without regard to case; top-level dictionary items keep
// the parent code '' instead of NULL.
SchemaMigration migration008AdminNames();

} // namespace vantrel::db
