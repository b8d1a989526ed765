#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration008AdminNames()
{
    SchemaMigration migration;
    migration.version = 8;
    migration.description = u"One operator per name without regard to case; top-level "
                            u"dictionary items under the parent code ''"_s;
    migration.statements
        // The unique index on upper(UserName) follows after the steps (the schema's
        // ensureUniqueUpperIndex), once no name is held twice.
        << u"DROP INDEX ix_qz_Users_UserName"_s
        << u"CREATE INDEX ix_qz_Users_UpperName ON qz_Users (upper(UserName))"_s
        // With '' instead of NULL the unique code index guards top-level codes too.
        << u"UPDATE qz_DictItem SET ParentValue='' WHERE ParentValue IS NULL"_s;
    return migration;
}

} // namespace vantrel::db
