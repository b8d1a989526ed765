#pragma once

#include "core/db/errorreport.h"
#include "core/db/queryresult.h"
#include "core/db/schemacatalog.h"
#include "core/db/sqldialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlQuery;

// One database connection (SQLite file or PostgreSQL server) named by an ADO-style
// connection string. Open and Execute never throw: they return false and keep the error
// report (with any password masked) until the next failure overwrites it. A connection
// belongs to the thread that opened it; a worker thread opens its own from the string.
class CADODatabase
{
public:
    CADODatabase();
    virtual ~CADODatabase();

    CADODatabase(const CADODatabase &) = delete;
    CADODatabase &operator=(const CADODatabase &) = delete;

    // Closes first when open. An empty text reopens with the stored connection string.
    bool Open(const QString &connectionString = {});
    bool IsOpen() const;
    void Close();

    // A statement that returns no rows; the values are bound to its '?' placeholders.
    bool Execute(const QString &sql, const QVariantList &values = {});

    // Runs one statement with its values bound to the '?' placeholders and returns its rows
    // whole, or why it failed. The error fields of this object are left alone: the caller
    // decides what to keep and show.
    vantrel::db::QueryResult run(const QString &sql, const QVariantList &values = {});
    // The same for a query that must not change anything (a user's conditions, a report's
    // source): the database refuses any write it attempts, inside or outside a transaction.
    vantrel::db::QueryResult runReadOnly(const QString &sql, const QVariantList &values = {});

    QSqlDatabase GetActiveConnection() const { return m_db; }
    const vantrel::db::SqlDialect &dialect() const { return m_dialect; }
    vantrel::db::SchemaCatalog &catalog() { return m_catalog; }
    vantrel::db::Backend backend() const { return m_dialect.backend(); }

    int GetRecordsAffected() const { return m_recordsAffected; }
    QString GetConnectionString() const { return m_connectionString; }
    QString GetLastErrorString() const { return m_lastError; }
    quint32 GetLastError() const { return m_lastErrorCode; }

    // Nested calls use savepoints: only the outermost commit ends the transaction.
    bool BeginTrans();
    bool CommitTrans();
    bool RollbackTrans();
    int transactionDepth() const { return m_transactionDepth; }

    void StoreError(const vantrel::db::ErrorInfo &error);

    // Prepares (when there are values) and runs one statement with the values bound through
    // the dialect. The query must be built on this connection.
    bool runQuery(QSqlQuery &query, const QString &sql, const QVariantList &values) const;

private:
    bool runControl(const QString &sql);

    QSqlDatabase m_db;
    QString m_connectionName;
    vantrel::db::SqlDialect m_dialect;
    vantrel::db::SchemaCatalog m_catalog;
    QString m_connectionString;
    QString m_lastError;
    quint32 m_lastErrorCode = 0;
    int m_recordsAffected = 0;
    int m_transactionDepth = 0;
};

// The one connection of the session, opened by the login.
extern CADODatabase theDatabase;

namespace vantrel::db {

// Commit explicitly; a transaction still open when this goes out of scope is rolled back.
class DbTransaction
{
public:
    explicit DbTransaction(CADODatabase &db);
    ~DbTransaction();
    DbTransaction(const DbTransaction &) = delete;
    DbTransaction &operator=(const DbTransaction &) = delete;

    bool isActive() const { return m_active; }
    bool commit();
    void rollback();

private:
    CADODatabase &m_db;
    bool m_active = false;
};

} // namespace vantrel::db
