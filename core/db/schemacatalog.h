#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class CADODatabase;

namespace vantrel::db {

// What the data layer needs to know of the tables on one connection, looked up once:
// the declared types of columns (SQLite reports only storage classes) and the key column
// that writes go through. Cleared whenever the structure may have changed.
class SchemaCatalog
{
public:
    // The connection the catalog asks; null when it is closed.
    void reset(CADODatabase *db);
    void invalidate();

    // Empty when the table or column is unknown, or the name is not an identifier (names are
    // checked before any query).
    QString declaredType(const QString &table, const QString &column);
    // The single-column primary key of the table, matched without regard to case;
    // empty when the table has none or a composite one.
    QString primaryKey(const QString &table);
    // The table's columns in their declared order.
    QStringList columns(const QString &table);

private:
    struct TableInfo
    {
        bool loaded = false;
        QStringList columns;
        QHash<QString, QString> declaredTypes; // lower-case column -> type
        QString primaryKey;
    };
    TableInfo &info(const QString &table);

    CADODatabase *m_db = nullptr;
    QHash<QString, TableInfo> m_tables; // lower-case table name
};

} // namespace vantrel::db
