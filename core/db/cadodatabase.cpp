#include "core/db/cadodatabase.h"

#include "core/db/pgrunner.h"
#include "core/db/rowcursor.h"
#include "core/db/sqliterunner.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

#include <limits>
#include <QSqlDriver>
#include <QSqlError>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

CADODatabase theDatabase;

namespace {

QString nextConnectionName()
{
    // The report library carries its own copy of this code in the same process: the counter's
    // address keeps the two sets of names apart.
    static QAtomicInt counter;
    return u"vantrel-connection-"_s + QString::number(quintptr(&counter), 16) + u'-'
        + QString::number(counter.fetchAndAddRelaxed(1) + 1);
}

bool isStructureChange(const QString &sql)
{
    const QString head = sql.trimmed().left(6).toUpper();
    return head == u"CREATE" || head == u"ALTER " || head.startsWith(u"DROP");
}

} // namespace

CADODatabase::CADODatabase() : m_connectionName(nextConnectionName()) { }

CADODatabase::~CADODatabase()
{
    // At process exit the global connection may outlive Qt's own registry.
    if (QCoreApplication::instance())
        Close();
}

bool CADODatabase::IsOpen() const
{
    return m_db.isValid() && m_db.isOpen();
}

void CADODatabase::Close()
{
    if (m_streamingCursor)
        m_streamingCursor->close();
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    m_handle = nullptr;
    m_catalog.reset(nullptr);
    QSqlDatabase::removeDatabase(m_connectionName);
    m_failedLevels.clear();
}

bool CADODatabase::OpenReadOnly(const QString &connectionString)
{
    m_readOnly = true;
    const bool opened = Open(connectionString);
    m_readOnly = false;
    return opened;
}

bool CADODatabase::Open(const QString &connectionString)
{
    if (IsOpen())
        Close();
    if (!connectionString.isEmpty())
        m_connectionString = connectionString;

    const ConnectionString cs = ConnectionString::parse(m_connectionString);
    m_dialect = SqlDialect(cs.backend());
    if (cs.backend() == Backend::Unknown) {
        StoreError(ErrorInfo::make(ErrorCode::InvalidArgument,
                                   u"The connection string names no known provider."_s));
        return false;
    }

    m_db = QSqlDatabase::addDatabase(m_dialect.qtDriverName(), m_connectionName);
    if (cs.backend() == Backend::Sqlite) {
        // Opening never creates: a missing file (an unplugged share, a typo) must not turn
        // into a new, empty database.
        const bool inMemory = cs.filePath() == u":memory:";
        if (!inMemory && !QFileInfo::exists(cs.filePath())) {
            StoreError(
                ErrorInfo::make(ErrorCode::FileNotFound,
                                u"The database file %1 does not exist."_s.arg(cs.filePath())));
            Close();
            return false;
        }
        m_db.setDatabaseName(inMemory
                                 ? cs.filePath()
                                 : QUrl::fromLocalFile(cs.filePath()).toString(QUrl::FullyEncoded)
                                     + (m_readOnly ? u"?mode=ro"_s : u"?mode=rw"_s));
        m_db.setConnectOptions(
            m_readOnly ? u"QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"_s
                       : u"QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_URI"_s);
    } else {
        m_db.setHostName(cs.host());
        if (cs.port() > 0)
            m_db.setPort(cs.port());
        m_db.setDatabaseName(cs.databaseName());
        if (!cs.integratedSecurity()) {
            m_db.setUserName(cs.userName());
            m_db.setPassword(cs.password());
        }
        // Keepalives and a send timeout: a dropped network is noticed in about a minute
        // instead of the operating system's many minutes.
        QString options = u"connect_timeout=10;keepalives=1;keepalives_idle=30;"
                          "keepalives_interval=10;keepalives_count=3;tcp_user_timeout=60000"_s;
        if (const QString ssl = cs.sslMode(); !ssl.isEmpty()) {
            static const QStringList known { u"disable"_s, u"allow"_s,     u"prefer"_s,
                                             u"require"_s, u"verify-ca"_s, u"verify-full"_s };
            if (!known.contains(ssl)) {
                StoreError(ErrorInfo::make(ErrorCode::InvalidArgument,
                                           u"Unknown SSL mode '%1'."_s.arg(ssl)));
                Close();
                return false;
            }
            options += u";sslmode="_s + ssl;
        }
        m_db.setConnectOptions(options);
    }

    if (!m_db.open()) {
        StoreError(ErrorInfo::fromSqlError(m_db.lastError(), m_dialect.qtDriverName()));
        Close();
        return false;
    }
    const QVariant handle = m_db.driver()->handle();
    m_handle = handle.isValid() ? *static_cast<void *const *>(handle.constData()) : nullptr;
    QString error;
    if (!m_handle || !m_dialect.prepareConnection(m_db, &error)) {
        StoreError(
            ErrorInfo::make(ErrorCode::Failed,
                            error.isEmpty() ? u"The driver gives no connection handle."_s : error,
                            m_dialect.qtDriverName()));
        Close();
        return false;
    }
    for (const QString &setting : m_dialect.sessionSettings()) {
        if (const QueryResult r = runStatement(setting, {}); !r.ok) {
            StoreError(r.error);
            Close();
            return false;
        }
    }
    m_catalog.reset(this);
    return true;
}

QueryResult CADODatabase::runStatement(const QString &sql, const QVariantList &values)
{
    if (!IsOpen() || !m_handle)
        return QueryResult::failure(
            ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
    if (m_streamingCursor)
        return QueryResult::failure(ErrorInfo::make(
            ErrorCode::Failed, u"The connection is busy reading the rows of an open cursor."_s));
    if (backend() == Backend::Postgres)
        return postgres::run(static_cast<PGconn *>(m_handle), sql, values);
    return sqlite::run(static_cast<sqlite3 *>(m_handle), sql, values);
}

void CADODatabase::markFailed()
{
    if (!m_failedLevels.isEmpty())
        m_failedLevels.last() = true;
}

QueryResult CADODatabase::run(const QString &sql, const QVariantList &values)
{
    QueryResult result = runStatement(sql, values);
    if (!result.ok)
        markFailed();
    else if (isStructureChange(sql))
        m_catalog.invalidate();
    return result;
}

bool CADODatabase::Execute(const QString &sql, const QVariantList &values)
{
    m_recordsAffected = 0;
    const QueryResult result = run(sql, values);
    if (!result.ok) {
        StoreError(result.error);
        return false;
    }
    m_recordsAffected = int(qMin<qint64>(result.rowsAffected, std::numeric_limits<int>::max()));
    return true;
}

QueryResult CADODatabase::runBatch(const QString &sql, const QVector<QVariantList> &rows)
{
    if (!IsOpen() || !m_handle)
        return QueryResult::failure(
            ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
    DbTransaction transaction(*this);
    if (!transaction.isActive())
        return QueryResult::failure(ErrorInfo::make(m_lastErrorCode, m_lastError));
    QueryResult result = backend() == Backend::Postgres
        ? postgres::runBatch(static_cast<PGconn *>(m_handle), sql, rows)
        : sqlite::runBatch(static_cast<sqlite3 *>(m_handle), sql, rows);
    if (!result.ok) {
        markFailed();
        return result;
    }
    if (!transaction.commit())
        return QueryResult::failure(ErrorInfo::make(m_lastErrorCode, m_lastError));
    return result;
}

QueryResult CADODatabase::runReadOnly(const QString &sql, const QVariantList &values)
{
    if (!IsOpen())
        return QueryResult::failure(
            ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
    // A level of its own, always rolled back: on PostgreSQL SET LOCAL ends with it; SQLite's
    // query_only holds for the connection until it is switched off again.
    if (!BeginTrans())
        return QueryResult::failure(ErrorInfo::make(m_lastErrorCode, m_lastError));
    const bool sqlite = backend() == Backend::Sqlite;
    QueryResult result = runStatement(
        sqlite ? u"PRAGMA query_only = ON"_s : u"SET LOCAL transaction_read_only = on"_s, {});
    if (result.ok) {
        if (sqlite)
            sqlite::setReadOnly(static_cast<sqlite3 *>(m_handle), true);
        result = runStatement(sql, values);
        if (sqlite)
            sqlite::setReadOnly(static_cast<sqlite3 *>(m_handle), false);
    }
    if (sqlite)
        runStatement(u"PRAGMA query_only = OFF"_s, {});
    RollbackTrans();
    return result;
}

std::unique_ptr<RowCursor> CADODatabase::openReadOnlyCursor(const QString &sql,
                                                            const QVariantList &values,
                                                            ErrorInfo *error)
{
    std::unique_ptr<RowCursor> cursor(new RowCursor(*this, sql, values));
    if (cursor->start())
        return cursor;
    if (error)
        *error = cursor->error();
    return nullptr;
}

void CADODatabase::StoreError(const ErrorInfo &error)
{
    m_lastError = u"Connection String = "_s + ConnectionString::masked(m_connectionString) + u'\n'
        + error.report("CADODataBase");
    m_lastErrorCode = error.code;
}

bool CADODatabase::runControl(const QString &sql)
{
    const QueryResult result = runStatement(sql, {});
    if (!result.ok)
        StoreError(result.error);
    return result.ok;
}

namespace {

QString savepointName(int level)
{
    return u"vt_sp"_s + QString::number(level);
}

} // namespace

bool CADODatabase::BeginTrans()
{
    if (!IsOpen()) {
        StoreError(ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
        return false;
    }
    const int depth = transactionDepth();
    if (!runControl(depth == 0 ? u"BEGIN"_s : u"SAVEPOINT "_s + savepointName(depth)))
        return false;
    m_failedLevels.push_back(false);
    return true;
}

bool CADODatabase::CommitTrans()
{
    if (m_failedLevels.isEmpty())
        return false;
    const int level = transactionDepth() - 1;
    const bool aborted = m_failedLevels.last()
        || (level == 0 && backend() == Backend::Postgres
            && postgres::transactionAborted(static_cast<PGconn *>(m_handle)));
    if (aborted) {
        RollbackTrans();
        markFailed();
        StoreError(ErrorInfo::make(ErrorCode::Failed,
                                   u"The transaction was rolled back: a statement inside it "
                                   "failed."_s));
        return false;
    }
    if (!runControl(level == 0 ? u"COMMIT"_s : u"RELEASE SAVEPOINT "_s + savepointName(level)))
        return false;
    m_failedLevels.removeLast();
    return true;
}

bool CADODatabase::RollbackTrans()
{
    if (m_failedLevels.isEmpty())
        return false;
    const int level = transactionDepth() - 1;
    bool ok;
    if (level == 0) {
        ok = runControl(u"ROLLBACK"_s);
    } else {
        // Rolling back to a savepoint keeps it; release it so the names stay balanced.
        ok = runControl(u"ROLLBACK TO SAVEPOINT "_s + savepointName(level))
            && runControl(u"RELEASE SAVEPOINT "_s + savepointName(level));
    }
    m_failedLevels.removeLast();
    return ok;
}

namespace vantrel::db {

DbTransaction::DbTransaction(CADODatabase &db) : m_db(db), m_active(db.BeginTrans()) { }

DbTransaction::~DbTransaction()
{
    if (m_active)
        rollback();
}

bool DbTransaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (m_db.CommitTrans())
        return true;
    // A failed commit leaves nothing to keep.
    m_db.RollbackTrans();
    return false;
}

void DbTransaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_db.RollbackTrans();
}

} // namespace vantrel::db
