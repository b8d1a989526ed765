#pragma once

#include "core/db/cadodatabase.h"

#include <QString>
#include <QTemporaryDir>

// A fresh, empty database for one test on the backend that VANTREL_TEST_BACKEND names
// (sqlite, the default, or postgres with the server of VANTREL_PG_HOST/PORT/USER/PASSWORD).
// A PostgreSQL database is dropped again when the fixture goes.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();

    static vantrel::db::Backend backend();
    static QString backendName();

    // Opens db on a new database; with the schema when asked. On failure the reason is kept:
    // skipReason() when the backend is not available here, error() otherwise.
    bool open(CADODatabase &db, bool withSchema = true);

    // Takes the open connection db away under the program, as a lost network or a server
    // restart would: PostgreSQL ends its session from a second connection; an embedded
    // database is closed. False, with the reason in error(), when that does not work.
    bool loseConnection(CADODatabase &db);

    QString connectionString() const { return m_connectionString; }
    QString skipReason() const { return m_skipReason; }
    QString error() const { return m_error; }

private:
    bool createPostgresDatabase();
    bool runAdmin(const QString &sql);

    QTemporaryDir m_dir;
    QString m_connectionString;
    QString m_postgresName;
    QString m_skipReason;
    QString m_error;
};

// Opens DB on a fresh test database or ends the test (skipped when the backend is missing).
#define VANTREL_OPEN_TEST_DB(fixture, db, withSchema) \
    do { \
        if (!(fixture).open((db), (withSchema))) { \
            if (!(fixture).skipReason().isEmpty()) \
                QSKIP(qPrintable((fixture).skipReason())); \
            QFAIL(qPrintable((fixture).error())); \
        } \
    } while (false)
