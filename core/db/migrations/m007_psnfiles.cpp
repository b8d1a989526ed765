#include "core/db/migrations/migrations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration007PsnFiles()
{
    SchemaMigration migration;
    migration.version = 7;
    migration.description = u"Personnel: files attached to persons (qz_PsnFiles)"_s;
    // FileSize is the size as shown ("1.20 KB"), kept as it was when the file was added.
    migration.statements << uR"sql(CREATE TABLE qz_PsnFiles (
    ID %IDENTITY%,
    PID INTEGER NOT NULL,
    Name VARCHAR(260),
    FileSize VARCHAR(64),
    AddDate %DATETIME%,
    FileData %BLOB%
))sql"_s << u"CREATE INDEX ix_qz_PsnFiles_PID ON qz_PsnFiles (PID)"_s;
    return migration;
}

} // namespace vantrel::db
