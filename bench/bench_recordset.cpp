// Opening and walking a 100,000-row recordset, and inserting 100,000 rows in one transaction,
// on SQLite (a temporary file) and on PostgreSQL (the server named by VANTREL_PG_HOST/PORT/
// USER/PASSWORD, as ./test.sh starts one; skipped without it).

#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

constexpr int rowCount = 100'000;

QString env(const char *name)
{
    return qEnvironmentVariable(name);
}

// Opens a fresh database of the backend; empty text on success, else why not.
QString openDatabase(CADODatabase &db, Backend backend, QTemporaryDir &dir)
{
    if (backend == Backend::Sqlite) {
        const QString path = dir.filePath(u"bench.db"_s);
        if (const vantrel::Status created = createSqliteDatabase(path); !created)
            return created.error();
        return db.Open(ConnectionString::forSqlite(path)) ? QString() : db.GetLastErrorString();
    }
    if (env("VANTREL_PG_HOST").isEmpty())
        return u"no PostgreSQL server (VANTREL_PG_HOST)"_s;
    const QString admin = ConnectionString::forPostgres(
        env("VANTREL_PG_HOST"), env("VANTREL_PG_PORT").toInt(), env("VANTREL_PG_USER"),
        env("VANTREL_PG_PASSWORD"), u"postgres"_s);
    const QString name = u"vt_bench_%1"_s.arg(QCoreApplication::applicationPid());
    {
        CADODatabase server;
        if (!server.Open(admin))
            return server.GetLastErrorString();
        server.Execute(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(name));
        if (!server.Execute(u"CREATE DATABASE %1"_s.arg(name)))
            return server.GetLastErrorString();
    }
    QString own = admin;
    own.replace(u"Database=postgres"_s, u"Database="_s + name);
    return db.Open(own) ? QString() : db.GetLastErrorString();
}

const QString createTable = u"CREATE TABLE wages (id %IDENTITY%, pid INTEGER, name VARCHAR(50), "
                            "amount DOUBLE PRECISION, paid %DATETIME%)"_s;

bool insertRows(CADODatabase &db)
{
    DbTransaction transaction(db);
    QSqlQuery query(db.GetActiveConnection());
    if (!query.prepare(u"INSERT INTO wages (pid, name, amount, paid) VALUES (?, ?, ?, ?)"_s))
        return false;
    const QString paid = u"2024-05-31 00:00:00"_s;
    for (int i = 0; i < rowCount; ++i) {
        query.bindValue(0, i);
        query.bindValue(1, u"职员%1"_s.arg(i));
        query.bindValue(2, 3000.0 + i % 5000 * 0.25);
        query.bindValue(3, paid);
        if (!query.exec())
            return false;
    }
    return transaction.commit();
}

void insertInOneTransaction(benchmark::State &state, Backend backend)
{
    QTemporaryDir dir;
    CADODatabase db;
    const QString why = openDatabase(db, backend, dir);
    if (!why.isEmpty()) {
        state.SkipWithError(qPrintable(why));
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        db.Execute(u"DROP TABLE IF EXISTS wages"_s);
        db.Execute(db.dialect().ddl(createTable));
        state.ResumeTiming();
        if (!insertRows(db)) {
            state.SkipWithError("insert failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}

void openAndWalk(benchmark::State &state, Backend backend)
{
    QTemporaryDir dir;
    CADODatabase db;
    const QString why = openDatabase(db, backend, dir);
    if (!why.isEmpty() || !db.Execute(db.dialect().ddl(createTable)) || !insertRows(db)) {
        state.SkipWithError(why.isEmpty() ? "setup failed" : qPrintable(why));
        return;
    }
    for (auto _ : state) {
        CADORecordset rs(&db);
        if (!rs.Open(u"SELECT pid, name, amount, paid FROM wages ORDER BY id"_s, {})) {
            state.SkipWithError("open failed");
            return;
        }
        double sum = 0;
        QString name;
        for (; !rs.IsEof(); rs.MoveNext()) {
            double amount = 0;
            rs.GetFieldValueDouble(2, amount);
            rs.GetFieldValueText(1, name);
            sum += amount;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}

} // namespace

BENCHMARK_CAPTURE(insertInOneTransaction, sqlite, Backend::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(insertInOneTransaction, postgres, Backend::Postgres)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openAndWalk, sqlite, Backend::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openAndWalk, postgres, Backend::Postgres)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
