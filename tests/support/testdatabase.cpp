#include "testdatabase.h"

#include "core/app/passworddigest.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"
#include "core/db/schema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

QString env(const char *name)
{
    return qEnvironmentVariable(name);
}

} // namespace

TestDatabase::TestDatabase()
{
    // Each fixture seeds its administrator: at full strength that digest alone would cost a
    // tenth of a second. Tests of the strength itself set the rounds back.
    PasswordDigest::setRoundsForTesting(1000);
}

TestDatabase::~TestDatabase()
{
    if (!m_postgresName.isEmpty())
        runAdmin(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(m_postgresName));
}

Backend TestDatabase::backend()
{
    return env("VANTREL_TEST_BACKEND").compare(u"postgres"_s, Qt::CaseInsensitive) == 0
        ? Backend::Postgres
        : Backend::Sqlite;
}

QString TestDatabase::backendName()
{
    return backend() == Backend::Postgres ? u"postgres"_s : u"sqlite"_s;
}

bool TestDatabase::runAdmin(const QString &sql)
{
    const QString name = u"vantrel-test-admin"_s;
    bool ok = false;
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        admin.setHostName(env("VANTREL_PG_HOST"));
        admin.setPort(env("VANTREL_PG_PORT").toInt());
        admin.setUserName(env("VANTREL_PG_USER"));
        admin.setPassword(env("VANTREL_PG_PASSWORD"));
        admin.setDatabaseName(u"postgres"_s);
        if (!admin.open()) {
            m_error = admin.lastError().text();
        } else {
            QSqlQuery query(admin);
            ok = query.exec(sql);
            if (!ok)
                m_error = query.lastError().text();
            admin.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool TestDatabase::createPostgresDatabase()
{
    if (env("VANTREL_PG_HOST").isEmpty()) {
        if (env("VANTREL_REQUIRE_PG") == u"1") {
            m_error = u"VANTREL_PG_HOST is not set"_s;
            return false;
        }
        m_skipReason = u"No PostgreSQL server for tests (run ./test.sh)"_s;
        return false;
    }
    static QAtomicInt counter;
    const QString name = u"vt_test_%1_%2"_s.arg(QCoreApplication::applicationPid())
                             .arg(counter.fetchAndAddRelaxed(1));
    if (!runAdmin(u"CREATE DATABASE %1 ENCODING 'UTF8'"_s.arg(name)))
        return false;
    m_postgresName = name;
    m_connectionString
        = ConnectionString::forPostgres(env("VANTREL_PG_HOST"), env("VANTREL_PG_PORT").toInt(),
                                        env("VANTREL_PG_USER"), env("VANTREL_PG_PASSWORD"), name);
    return true;
}

bool TestDatabase::open(CADODatabase &db, bool withSchema)
{
    if (backend() == Backend::Postgres) {
        if (m_connectionString.isEmpty() && !createPostgresDatabase())
            return false;
    } else if (m_connectionString.isEmpty()) {
        if (!m_dir.isValid()) {
            m_error = u"No temporary folder"_s;
            return false;
        }
        const QString path = m_dir.filePath(u"test.db"_s);
        if (const vantrel::Status created = createSqliteDatabase(path); !created) {
            m_error = created.error();
            return false;
        }
        m_connectionString = ConnectionString::forSqlite(path);
    }
    if (!db.Open(m_connectionString)) {
        m_error = db.GetLastErrorString();
        return false;
    }
    if (withSchema) {
        const vantrel::Status status = upgradeSchema(db);
        if (!status) {
            m_error = status.error();
            return false;
        }
    }
    return true;
}

bool TestDatabase::loseConnection(CADODatabase &db)
{
    if (backend() != Backend::Postgres) {
        db.Close();
        return true;
    }
    const QueryResult pid = db.run(u"SELECT pg_backend_pid()"_s);
    if (!pid.hasRow()) {
        m_error = pid.error.description;
        return false;
    }
    CADODatabase admin;
    if (!admin.Open(m_connectionString)) {
        m_error = admin.GetLastErrorString();
        return false;
    }
    const QueryResult ended = admin.run(u"SELECT pg_terminate_backend(?)"_s, { pid.scalar() });
    if (!ended.ok || !ended.scalar().toBool()) {
        m_error = ended.ok ? u"The server did not end the session."_s : ended.error.description;
        return false;
    }
    return true;
}
