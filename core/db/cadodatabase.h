#pragma once

#include "core/db/errorreport.h"
#include "core/db/queryresult.h"
#include "core/db/schemacatalog.h"
#include "core/db/sqldialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <QVector>

#include <memory>

namespace vantrel::db {
class RowCursor;
}

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
    // The same for a connection that only reads: an embedded database file is opened
    // read-only (the driver refuses every write); a server connection opens as usual.
    bool OpenReadOnly(const QString &connectionString);
    bool IsOpen() const;
    void Close();

    // A statement that returns no rows; the values are bound to its '?' placeholders.
    bool Execute(const QString &sql, const QVariantList &values = {});

    // Runs one statement with its values bound to the '?' placeholders (on PostgreSQL sent as
    // parameters, never as text) and returns its rows whole, or why it failed. The error
    // fields of this object are left alone: the caller decides what to keep and show. A
    // failure inside a transaction marks it failed (see CommitTrans).
    vantrel::db::QueryResult run(const QString &sql, const QVariantList &values = {});
    // The same for a query that must not change anything (a user's conditions, a report's
    // source): the database refuses any write it attempts, inside or outside a transaction.
    vantrel::db::QueryResult runReadOnly(const QString &sql, const QVariantList &values = {});
    // The same query read forward row by row, a few hundred rows in memory at a time (see
    // RowCursor). While the statement runs, the cursor has the connection to itself: other
    // statements on it fail until the last row is read or the cursor is closed. Closing the
    // connection closes the cursor. Null when the query cannot run, with *error saying why.
    std::unique_ptr<vantrel::db::RowCursor> openReadOnlyCursor(const QString &sql,
                                                               const QVariantList &values = {},
                                                               vantrel::db::ErrorInfo *error
                                                               = nullptr);
    // One statement for many value lists (an import, a calculation pass, a new period):
    // prepared once, in one transaction of its own unless one is open, pipelined on
    // PostgreSQL. All rows or none: the first failing row is named in the error.
    vantrel::db::QueryResult runBatch(const QString &sql, const QVector<QVariantList> &rows);

    QSqlDatabase GetActiveConnection() const { return m_db; }
    const vantrel::db::SqlDialect &dialect() const { return m_dialect; }
    vantrel::db::SchemaCatalog &catalog() { return m_catalog; }
    vantrel::db::Backend backend() const { return m_dialect.backend(); }

    int GetRecordsAffected() const { return m_recordsAffected; }
    QString GetConnectionString() const { return m_connectionString; }
    QString GetLastErrorString() const { return m_lastError; }
    quint32 GetLastError() const { return m_lastErrorCode; }

    // Nested calls use savepoints: only the outermost commit ends the transaction. A statement
    // that failed inside a level makes its commit fail on both backends (PostgreSQL aborts such
    // a transaction): the level is rolled back, CommitTrans returns false, and the enclosing
    // level counts as failed too. Rolling a level back clears its failure.
    bool BeginTrans();
    bool CommitTrans();
    bool RollbackTrans();
    int transactionDepth() const { return int(m_failedLevels.size()); }

    void StoreError(const vantrel::db::ErrorInfo &error);

private:
    friend class vantrel::db::RowCursor;
    bool runControl(const QString &sql);
    vantrel::db::QueryResult runStatement(const QString &sql, const QVariantList &values);
    void markFailed();

    QSqlDatabase m_db;
    void *m_handle = nullptr; // sqlite3* or PGconn*, owned by the driver
    QString m_connectionName;
    vantrel::db::SqlDialect m_dialect;
    vantrel::db::SchemaCatalog m_catalog;
    QString m_connectionString;
    bool m_readOnly = false;
    QString m_lastError;
    quint32 m_lastErrorCode = 0;
    int m_recordsAffected = 0;
    QVector<bool> m_failedLevels; // one per open transaction level, innermost last
    vantrel::db::RowCursor *m_streamingCursor = nullptr; // whose statement is running
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
