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

Result<QStringList> duplicateUpperValues(CADODatabase &db, const QString &table,
                                         const QString &column)
{
    const QueryResult result
        = db.run(u"SELECT upper(%2) FROM %1 WHERE %2 IS NOT NULL GROUP BY upper(%2)"
                 " HAVING COUNT(*) > 1 ORDER BY upper(%2)"_s.arg(table, column));
    if (!result.ok)
        return Result<QStringList>::failure(result.error.description);
    QStringList values;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        values << result.rows.value(row, 0).toString();
    return values;
}

Result<QStringList> ensureUniqueUpperIndex(CADODatabase &db, const QString &table,
                                           const QString &column, const QString &index)
{
    // Building the index over values held twice would fail the whole upgrade; they are
    // reported instead, and the index waits for a start after they have been put right.
    Result<QStringList> duplicates = duplicateUpperValues(db, table, column);
    if (!duplicates || !duplicates->isEmpty())
        return duplicates;
    if (!db.Execute(
            u"CREATE UNIQUE INDEX IF NOT EXISTS %1 ON %2 (upper(%3))"_s.arg(index, table, column)))
        return Result<QStringList>::failure(db.GetLastErrorString());
    return duplicates;
}

Result<QStringList> duplicatePsnNumbers(CADODatabase &db)
{
    return duplicateUpperValues(db, u"qz_PsnBase"_s, u"Number"_s);
}

Result<QStringList> ensurePsnNumberIndex(CADODatabase &db)
{
    Result<QStringList> duplicates
        = ensureUniqueUpperIndex(db, u"qz_PsnBase"_s, u"Number"_s, u"ux_qz_PsnBase_Number"_s);
    lastDuplicates() = duplicates ? *duplicates : QStringList();
    return duplicates;
}

} // namespace vantrel::db
