// Opening and walking a 100,000-row recordset, reading 100,000 rows of 40 columns whole,
// inserting 100,000 rows and updating 100,000 values by key in one transaction (row by row and
// as one batch), on SQLite (a temporary file) and on PostgreSQL (the server named by
// VANTREL_PG_HOST/PORT/USER/PASSWORD, as ./test.sh starts one; skipped without it).

#include "benchsupport.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

constexpr int rowCount = 100'000;

// Opens a fresh database of the backend; empty text on success, else why not.
QString openDatabase(CADODatabase &db, Backend backend, QTemporaryDir &dir)
{
    QString why;
    const QString connection = bench::createDatabase(backend, dir, u"bench"_s, &why);
    if (connection.isEmpty())
        return why;
    return db.Open(connection) ? QString() : db.GetLastErrorString();
}

const QString createTable = u"CREATE TABLE wages (id %IDENTITY%, pid INTEGER, name VARCHAR(50), "
                            "amount DOUBLE PRECISION, paid %DATETIME%)"_s;

const QString insertSql = u"INSERT INTO wages (pid, name, amount, paid) VALUES (?, ?, ?, ?)"_s;

QVariantList wageRow(int i)
{
    static const QDateTime paid(QDate(2024, 5, 31), QTime(0, 0));
    return { i, u"职员%1"_s.arg(i), 3000.0 + i % 5000 * 0.25, paid };
}

// One statement per row, as a loop over Execute does.
bool insertRowByRow(CADODatabase &db)
{
    DbTransaction transaction(db);
    for (int i = 0; i < rowCount; ++i) {
        if (!db.Execute(insertSql, wageRow(i)))
            return false;
    }
    return transaction.commit();
}

bool insertBatch(CADODatabase &db)
{
    QVector<QVariantList> rows;
    rows.reserve(rowCount);
    for (int i = 0; i < rowCount; ++i)
        rows.push_back(wageRow(i));
    return db.runBatch(insertSql, rows).ok;
}

bool freshTable(CADODatabase &db)
{
    db.Execute(u"DROP TABLE IF EXISTS wages"_s);
    return db.Execute(db.dialect().ddl(createTable));
}

void insert(benchmark::State &state, Backend backend, bool (*write)(CADODatabase &))
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
        freshTable(db);
        state.ResumeTiming();
        if (!write(db)) {
            state.SkipWithError(qPrintable(db.GetLastErrorString()));
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}

// A database with the wages table of 100,000 rows; false (and the benchmark skipped) when
// the backend is not there or the rows cannot be written.
bool openWages(benchmark::State &state, Backend backend, CADODatabase &db, QTemporaryDir &dir)
{
    const QString why = openDatabase(db, backend, dir);
    if (!why.isEmpty() || !freshTable(db) || !insertBatch(db)) {
        state.SkipWithError(why.isEmpty() ? "setup failed" : qPrintable(why));
        return false;
    }
    return true;
}

const QString updateSql = u"UPDATE wages SET amount = ? WHERE id = ?"_s;

bool updateRowByRow(CADODatabase &db)
{
    DbTransaction transaction(db);
    for (int id = 1; id <= rowCount; ++id) {
        if (!db.Execute(updateSql, { id * 0.5, id }))
            return false;
    }
    return transaction.commit();
}

bool updateBatch(CADODatabase &db)
{
    QVector<QVariantList> rows;
    rows.reserve(rowCount);
    for (int id = 1; id <= rowCount; ++id)
        rows.push_back({ id * 0.5, id });
    return db.runBatch(updateSql, rows).ok;
}

void updateByKey(benchmark::State &state, Backend backend, bool (*write)(CADODatabase &))
{
    QTemporaryDir dir;
    CADODatabase db;
    if (!openWages(state, backend, db, dir))
        return;
    for (auto _ : state) {
        if (!write(db)) {
            state.SkipWithError(qPrintable(db.GetLastErrorString()));
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * rowCount);
}

// What the heap holds now; freed memory that the allocator keeps does not count.
double heapMb()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// 40 columns as a person or wage table has them: ten each of integers, amounts, texts and
// dates.
constexpr int wideColumns = 40;

bool fillWideTable(CADODatabase &db)
{
    QStringList columns, marks;
    for (int c = 0; c < wideColumns; ++c) {
        static const char *types[] = { "INTEGER", "DOUBLE PRECISION", "VARCHAR(50)", "%DATETIME%" };
        columns << u"c%1 %2"_s.arg(c).arg(QLatin1String(types[c % 4]));
        marks << u"?"_s;
    }
    db.Execute(u"DROP TABLE IF EXISTS wide"_s);
    if (!db.Execute(db.dialect().ddl(u"CREATE TABLE wide (id %IDENTITY%, "_s + columns.join(u", "_s)
                                     + u')')))
        return false;
    QStringList names;
    for (int c = 0; c < wideColumns; ++c)
        names << u"c%1"_s.arg(c);
    QVector<QVariantList> rows;
    rows.reserve(rowCount);
    const QDateTime day(QDate(2024, 1, 1), QTime(8, 0));
    for (int i = 0; i < rowCount; ++i) {
        QVariantList row;
        for (int c = 0; c < wideColumns; ++c) {
            switch (c % 4) {
            case 0:
                row << i + c;
                break;
            case 1:
                row << 1000.0 + i * 0.01 + c;
                break;
            case 2:
                row << u"张三%1-%2"_s.arg(i).arg(c);
                break;
            default:
                row << day.addDays(i % 3650 + c);
                break;
            }
        }
        rows.push_back(row);
    }
    return db
        .runBatch(
            u"INSERT INTO wide (%1) VALUES (%2)"_s.arg(names.join(u", "_s), marks.join(u", "_s)),
            rows)
        .ok;
}

void readWide(benchmark::State &state, Backend backend)
{
    QTemporaryDir dir;
    CADODatabase db;
    const QString why = openDatabase(db, backend, dir);
    if (!why.isEmpty() || !fillWideTable(db)) {
        state.SkipWithError(why.isEmpty() ? qPrintable(db.GetLastErrorString()) : qPrintable(why));
        return;
    }
    double held = 0;
    for (auto _ : state) {
        const double before = heapMb();
        CADORecordset rs(&db);
        if (!rs.Open(u"SELECT * FROM wide ORDER BY id"_s, {}) || rs.GetRecordCount() != rowCount) {
            state.SkipWithError("open failed");
            return;
        }
        held = heapMb() - before;
    }
    state.counters["held_MB"] = held;
    state.SetItemsProcessed(state.iterations() * rowCount);
}

void openAndWalk(benchmark::State &state, Backend backend)
{
    QTemporaryDir dir;
    CADODatabase db;
    if (!openWages(state, backend, db, dir))
        return;
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

BENCHMARK_CAPTURE(insert, rowByRowSqlite, Backend::Sqlite, insertRowByRow)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(insert, batchSqlite, Backend::Sqlite, insertBatch)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(insert, rowByRowPostgres, Backend::Postgres, insertRowByRow)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(insert, batchPostgres, Backend::Postgres, insertBatch)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(updateByKey, rowByRowSqlite, Backend::Sqlite, updateRowByRow)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(updateByKey, batchSqlite, Backend::Sqlite, updateBatch)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(updateByKey, rowByRowPostgres, Backend::Postgres, updateRowByRow)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(updateByKey, batchPostgres, Backend::Postgres, updateBatch)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readWide, sqlite, Backend::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readWide, postgres, Backend::Postgres)->Unit(benchmark::kMillisecond);
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
