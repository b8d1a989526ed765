#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration006WageRound()
{
    SchemaMigration migration;
    migration.version = 6;
    migration.description = u"Payroll: wage_round for batch changes of wage items"_s;
    // SQLite gets the function with every connection; a server keeps its own copy.
    migration.serverFunctions = true;
    return migration;
}

} // namespace vantrel::db
