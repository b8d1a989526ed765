#include "core/db/schemacatalog.h"

#include "core/db/sqlidentifier.h"

#include <QSqlDriver>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace vantrel::db {

void SchemaCatalog::reset(const QSqlDatabase &db)
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
    if (ti.loaded || !m_db.isValid() || !m_db.isOpen())
        return ti;
    ti.loaded = true;
    if (m_db.driverName() == u"QSQLITE") {
        QSqlQuery q(m_db);
        // table_info takes no bound values; the name is checked to be an identifier first.
        if (IsSqlIdentifier(table) && q.exec(u"PRAGMA table_info("_s + table + u')')) {
            int keyColumns = 0;
            QString key;
            while (q.next()) {
                const QString name = q.value(1).toString();
                ti.columns << name;
                ti.declaredTypes.insert(name.toLower(), q.value(2).toString());
                if (q.value(5).toInt() > 0) {
                    ++keyColumns;
                    key = name;
                }
            }
            if (keyColumns == 1)
                ti.primaryKey = key;
        }
        return ti;
    }
    const QSqlRecord record = m_db.record(table.toLower());
    for (int i = 0; i < record.count(); ++i)
        ti.columns << record.fieldName(i);
    const QSqlIndex index = m_db.primaryIndex(table.toLower());
    if (index.count() == 1)
        ti.primaryKey = index.fieldName(0);
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
