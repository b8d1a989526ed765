#include "core/db/schemacatalog.h"

#include "core/db/sqlidentifier.h"

#include "core/db/cadodatabase.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

void SchemaCatalog::reset(CADODatabase *db)
{
    m_db = db;
    m_tables.clear();
}

void SchemaCatalog::invalidate()
{
    m_tables.clear();
}

SchemaCatalog::TableInfo &SchemaCatalog::info(const QString &table)
{
    TableInfo &ti = m_tables[table.toLower()];
    if (ti.loaded || !m_db || !m_db->IsOpen() || !IsSqlIdentifier(table))
        return ti;
    ti.loaded = true;
    // Name, declared type, part of the primary key (0 when not), in column order.
    const QueryResult columns = m_db->backend() == Backend::Sqlite
        ? m_db->run(u"SELECT name, type, pk FROM pragma_table_info(?) ORDER BY cid"_s, { table })
        : m_db->run(u"SELECT a.attname, format_type(a.atttypid, a.atttypmod), "
                    "CASE WHEN EXISTS (SELECT 1 FROM pg_index i WHERE i.indrelid = a.attrelid "
                    "AND i.indisprimary AND a.attnum = ANY (i.indkey)) THEN 1 ELSE 0 END "
                    "FROM pg_attribute a WHERE a.attrelid = to_regclass(lower(?)) "
                    "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum"_s,
                    { table });
    if (!columns.ok) {
        ti.loaded = false; // a failed look-up is asked again, not remembered as "no columns"
        return ti;
    }
    int keyColumns = 0;
    QString key;
    for (int r = 0; r < columns.rows.rowCount(); ++r) {
        const QString name = columns.rows.text(r, 0);
        ti.columns << name;
        ti.declaredTypes.insert(name.toLower(), columns.rows.text(r, 1));
        if (columns.rows.value(r, 2).toInt() > 0) {
            ++keyColumns;
            key = name;
        }
    }
    if (keyColumns == 1)
        ti.primaryKey = key;
    return ti;
}

QString SchemaCatalog::declaredType(const QString &table, const QString &column)
{
    return info(table).declaredTypes.value(column.toLower());
}

QString SchemaCatalog::primaryKey(const QString &table)
{
    return info(table).primaryKey;
}

QStringList SchemaCatalog::columns(const QString &table)
{
    return info(table).columns;
}

} // namespace vantrel::db
