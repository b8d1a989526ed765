#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration003Payroll()
{
    SchemaMigration migration;
    migration.version = 3;
    migration.description = u"Payroll: the periods and the members of wage sets"_s;
    // Wage sets are qz_Table rows of nType 6 and their items qz_Items rows of iSort 1 (both
    // tables exist since version 1); each set's data table is made when the set is added.
    migration.statements
        // One row per period of a wage set; Stat 1 once the period is closed.
        << uR"sql(CREATE TABLE qz_WageTable (
    ID %IDENTITY%,
    SID INTEGER NOT NULL,
    fDate INTEGER NOT NULL,
    Stat INTEGER NOT NULL DEFAULT 0,
    CreateDate %DATETIME%,
    UNIQUE (SID, fDate)
))sql"_s
        // The persons of a wage set, with their default order, independent of periods.
        << uR"sql(CREATE TABLE qz_WagePsn (
    ID %IDENTITY%,
    SID INTEGER NOT NULL,
    PID INTEGER NOT NULL,
    Ord INTEGER NOT NULL DEFAULT 0
))sql"_s << u"CREATE INDEX ix_qz_WagePsn_SID_PID ON qz_WagePsn (SID, PID)"_s;
    return migration;
}

} // namespace vantrel::db
