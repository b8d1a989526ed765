#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration010WakeupTable()
{
    SchemaMigration migration;
    migration.version = 10;
    migration.description = u"Reminders: the person table is offered for date reminders"_s;
    // A reminder names a date item of a table of nType 4; databases seeded before the person
    // table had that type would offer none.
    migration.statements << u"UPDATE qz_Table SET nType=4 WHERE upper(TblName)='QZ_PSNBASE'"
                            " AND (nType IS NULL OR nType<>4)"_s;
    return migration;
}

} // namespace vantrel::db
