#include "core/db/migrations/migrations.h"

#include "core/db/cadodatabase.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

SchemaMigration migration004PersonList()
{
    SchemaMigration migration;
    migration.version = 4;
    migration.description = u"Person list: persons read department by department in order"_s;
    migration.statements << u"CREATE INDEX ix_qz_PsnBase_DID_Ord ON qz_PsnBase (DID, Ord)"_s;
    return migration;
}

namespace {

QStringList &lastDuplicates()
{
    static QStringList numbers;
    return numbers;
}

} // namespace

QStringList lastPsnNumberDuplicates()
{
    return lastDuplicates();
}

Result<QStringList> duplicatePsnNumbers(CADODatabase &db)
{
    const QueryResult result
        = db.run(u"SELECT upper(Number) FROM qz_PsnBase WHERE Number IS NOT NULL"
                 " GROUP BY upper(Number) HAVING COUNT(*) > 1 ORDER BY upper(Number)"_s);
    if (!result.ok)
        return Result<QStringList>::failure(result.error.description);
    QStringList numbers;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        numbers << result.rows.value(row, 0).toString();
    return numbers;
}

Result<QStringList> ensurePsnNumberIndex(CADODatabase &db)
{
    // Building the index over numbers held twice would fail the whole upgrade; they are
    // reported instead, and the index waits for a start after they have been put right.
    Result<QStringList> duplicates = duplicatePsnNumbers(db);
    lastDuplicates() = duplicates ? *duplicates : QStringList();
    if (!duplicates || !duplicates->isEmpty())
        return duplicates;
    if (!db.Execute(u"CREATE UNIQUE INDEX IF NOT EXISTS ux_qz_PsnBase_Number"
                    " ON qz_PsnBase (upper(Number))"_s))
        return Result<QStringList>::failure(db.GetLastErrorString());
    return duplicates;
}

} // namespace vantrel::db
