#include "core/db/cadodatabase.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>
#include <QSqlError>
#include <QSqlQuery>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

CADODatabase theDatabase;

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return u"vantrel-connection-"_s + QString::number(counter.fetchAndAddRelaxed(1) + 1);
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
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    m_catalog.reset(m_db);
    QSqlDatabase::removeDatabase(m_connectionName);
    m_transactionDepth = 0;
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
            StoreError(ErrorInfo::make(ErrorCode::FileNotFound,
                                       u"The database file %1 does not exist."_s.arg(cs.filePath())));
            Close();
            return false;
        }
        m_db.setDatabaseName(inMemory ? cs.filePath()
                                      : QUrl::fromLocalFile(cs.filePath()).toString(
                                            QUrl::FullyEncoded)
                                          + u"?mode=rw"_s);
        m_db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_URI"_s);
    } else {
        m_db.setHostName(cs.host());
        if (cs.port() > 0)
            m_db.setPort(cs.port());
        m_db.setDatabaseName(cs.databaseName());
        if (!cs.integratedSecurity()) {
            m_db.setUserName(cs.userName());
            m_db.setPassword(cs.password());
        }
        m_db.setConnectOptions(u"connect_timeout=10"_s);
    }

    if (!m_db.open()) {
        StoreError(ErrorInfo::fromSqlError(m_db.lastError(), m_dialect.qtDriverName()));
        Close();
        return false;
    }
    QString error;
    if (!m_dialect.prepareConnection(m_db, &error)) {
        StoreError(ErrorInfo::make(ErrorCode::Failed, error, m_dialect.qtDriverName()));
        Close();
        return false;
    }
    m_catalog.reset(m_db);
    return true;
}

bool CADODatabase::runQuery(QSqlQuery &query, const QString &sql, const QVariantList &values) const
{
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (values.isEmpty())
        return query.exec(sql);
    QString inlined;
    if (m_dialect.inlineValues(m_db.driver(), sql, values, &inlined))
        return query.exec(inlined);
    if (!query.prepare(sql))
        return false;
    for (const QVariant &value : values)
        query.addBindValue(m_dialect.toDatabase(value));
    return query.exec();
}

bool CADODatabase::Execute(const QString &sql, const QVariantList &values)
{
    m_recordsAffected = 0;
    if (!IsOpen()) {
        StoreError(ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
        return false;
    }
    QSqlQuery query(m_db);
    if (!runQuery(query, sql, values)) {
        StoreError(ErrorInfo::fromSqlError(query.lastError(), m_dialect.qtDriverName()));
        return false;
    }
    m_recordsAffected = qMax(0, query.numRowsAffected());
    if (isStructureChange(sql))
        m_catalog.invalidate();
    return true;
}

QueryResult CADODatabase::run(const QString &sql, const QVariantList &values)
{
    if (!IsOpen())
        return QueryResult::failure(
            ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
    QSqlQuery query(m_db);
    if (!runQuery(query, sql, values))
        return QueryResult::failure(
            ErrorInfo::fromSqlError(query.lastError(), m_dialect.qtDriverName()));
    QueryResult result;
    result.ok = true;
    result.returnsRows = query.isSelect();
    if (result.returnsRows)
        result.rows = RowSet::fromQuery(*this, query);
    else
        result.rowsAffected = qMax(0, query.numRowsAffected());
    if (isStructureChange(sql))
        m_catalog.invalidate();
    return result;
}

QueryResult CADODatabase::runReadOnly(const QString &sql, const QVariantList &values)
{
    if (!IsOpen())
        return QueryResult::failure(
            ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
    if (backend() == Backend::Sqlite) {
        // query_only holds for the connection until switched off again.
        if (const QueryResult on = run(u"PRAGMA query_only = ON"_s); !on.ok)
            return on;
        QueryResult result = run(sql, values);
        run(u"PRAGMA query_only = OFF"_s);
        return result;
    }
    // SET LOCAL inside a savepoint ends with it, so the session keeps its own mode.
    const bool own = m_transactionDepth == 0;
    if (own && !BeginTrans())
        return QueryResult::failure(ErrorInfo::make(m_lastErrorCode, m_lastError));
    run(u"SAVEPOINT vt_readonly"_s);
    QueryResult result = run(u"SET LOCAL transaction_read_only = on"_s);
    if (result.ok)
        result = run(sql, values);
    run(u"ROLLBACK TO SAVEPOINT vt_readonly"_s);
    run(u"RELEASE SAVEPOINT vt_readonly"_s);
    if (own)
        RollbackTrans();
    return result;
}

void CADODatabase::StoreError(const ErrorInfo &error)
{
    m_lastError = u"Connection String = "_s + ConnectionString::masked(m_connectionString) + u'\n'
        + error.report("CADODataBase");
    m_lastErrorCode = error.code;
}

bool CADODatabase::runControl(const QString &sql)
{
    QSqlQuery query(m_db);
    if (!query.exec(sql)) {
        StoreError(ErrorInfo::fromSqlError(query.lastError(), m_dialect.qtDriverName()));
        return false;
    }
    return true;
}

bool CADODatabase::BeginTrans()
{
    if (!IsOpen()) {
        StoreError(ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
        return false;
    }
    const bool ok = m_transactionDepth == 0
        ? runControl(u"BEGIN"_s)
        : runControl(u"SAVEPOINT vt_sp"_s + QString::number(m_transactionDepth));
    if (ok)
        ++m_transactionDepth;
    return ok;
}

bool CADODatabase::CommitTrans()
{
    if (m_transactionDepth <= 0)
        return false;
    const int level = m_transactionDepth - 1;
    const bool ok = level == 0 ? runControl(u"COMMIT"_s)
                               : runControl(u"RELEASE SAVEPOINT vt_sp"_s + QString::number(level));
    if (ok)
        --m_transactionDepth;
    return ok;
}

bool CADODatabase::RollbackTrans()
{
    if (m_transactionDepth <= 0)
        return false;
    const int level = m_transactionDepth - 1;
    bool ok;
    if (level == 0) {
        ok = runControl(u"ROLLBACK"_s);
    } else {
        // Rolling back to a savepoint keeps it; release it so the names stay balanced.
        ok = runControl(u"ROLLBACK TO SAVEPOINT vt_sp"_s + QString::number(level))
            && runControl(u"RELEASE SAVEPOINT vt_sp"_s + QString::number(level));
    }
    --m_transactionDepth;
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
