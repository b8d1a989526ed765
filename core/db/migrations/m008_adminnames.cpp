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
        // Two administrators adding one name at once: the second insert is refused.
        << u"DROP INDEX ix_qz_Users_UserName"_s
        << u"CREATE UNIQUE INDEX ux_qz_Users_UserName ON qz_Users (upper(UserName))"_s
        // With '' instead of NULL the unique code index guards top-level codes too.
        << u"UPDATE qz_DictItem SET ParentValue='' WHERE ParentValue IS NULL"_s;
    return migration;
}

} // namespace vantrel::db
