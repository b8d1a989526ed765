// Statistics over 100,000 persons, on SQLite (a temporary file) and on PostgreSQL (the server
// named by VANTREL_PG_HOST/PORT/USER/PASSWORD, as ./test.sh starts one; skipped without it):
// crosses of 10 × 10 buckets computed for the whole company, ranges of a number item against
// the values of a dictionary item, and ranges against ranges (100 conditional sums); and the
// persons behind one cell listed.

#include "benchsupport.h"
#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/db/schema.h"
#include "personnel/psnprocedures.h"
#include "personnel/psnstat.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace vantrel::db;
using namespace vantrel::personnel;

namespace {

constexpr int personCount = 100'000;
constexpr int userColumns = 8; // F1–F3 numbers 3000…4249.75

struct Setup
{
    QTemporaryDir dir;
    QString connection[2];
    QString why[2];
    int rangesByValues = 0;
    int rangesByRanges = 0;
};
Setup *g_setup = nullptr;

// Ten ranges of 125 over a number item's 3000…4250.
QVector<StatRange> tenRanges()
{
    QVector<StatRange> ranges;
    for (int k = 0; k < 10; ++k)
        ranges.append({ 0, u"段%1"_s.arg(k + 1), QString::number(3000 + k * 125),
                        QString::number(3000 + k * 125 + 124.75) });
    return ranges;
}

// A dictionary item 职级 of ten values, and the statistics: F1 and F2 by ranges, 职级 by
// value, and their crosses. False with the reason in *why.
bool defineStatistics(CADODatabase &db, Setup *setup, QString *why)
{
    const auto one = [&db, why](const QString &caption, const QString &field, int type,
                                const QVector<StatRange> &ranges) {
        const vantrel::Result<int> tid
            = SaveStat1D(db, { 0, caption, 1, false, u"QZ_PSNBASE"_s, field, 0 }, type, ranges);
        if (!tid)
            *why = tid.error();
        return tid ? *tid : 0;
    };
    if (!db.Execute(u"ALTER TABLE qz_PsnBase ADD COLUMN FGrade VARCHAR(20)"_s)
        || !db.Execute(u"UPDATE qz_PsnBase SET FGrade = 'G' || CAST(PID % 10 AS VARCHAR(2))"_s)
        || !db.Execute(u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, Ord)"
                       " VALUES ('QZ_PSNBASE', 'FGrade', '职级', 3, 99)"_s)) {
        *why = db.GetLastErrorString();
        return false;
    }
    const int first = one(u"数额一"_s, u"F1"_s, 0, tenRanges());
    const int second = one(u"数额二"_s, u"F2"_s, 0, tenRanges());
    const int grade = one(u"职级"_s, u"FGrade"_s, 3, {});
    const vantrel::Result<int> byValues = SaveStat2D(db, 0, u"数额×职级"_s, first, grade);
    const vantrel::Result<int> byRanges = SaveStat2D(db, 0, u"数额×数额"_s, first, second);
    if (!first || !second || !grade)
        return false;
    if (!byValues || !byRanges) {
        *why = byValues ? byRanges.error() : byValues.error();
        return false;
    }
    setup->rangesByValues = *byValues;
    setup->rangesByRanges = *byRanges;
    return true;
}

void computeCross(benchmark::State &state, int backend, bool ranges)
{
    if (!bench::openPrepared(state, g_setup->connection[backend], g_setup->why[backend]))
        return;
    const int tid = ranges ? g_setup->rangesByRanges : g_setup->rangesByValues;
    for (auto _ : state) {
        const auto table = ComputeStat(theDatabase, tid, {}, theCurrentUser);
        if (!table || !table->has_value()) {
            state.SkipWithError(table ? "the statistic is gone" : qPrintable(table.error()));
            return;
        }
        if ((*table)->rowLabels.size() != 10 || (*table)->headers.size() != 11) {
            state.SkipWithError("the cross is not 10 × 10");
            return;
        }
        benchmark::DoNotOptimize((*table)->totals.constData());
    }
}

void listCell(benchmark::State &state, int backend)
{
    if (!bench::openPrepared(state, g_setup->connection[backend], g_setup->why[backend]))
        return;
    const auto table = ComputeStat(theDatabase, g_setup->rangesByValues, {}, theCurrentUser);
    if (!table || !table->has_value()) {
        state.SkipWithError("the statistic could not be computed");
        return;
    }
    const SqlCondition query = StatCellQuery(**table, 4, 5);
    for (auto _ : state) {
        const QueryResult rows = theDatabase.run(query.sql, query.values);
        if (!rows.ok || rows.rows.rowCount() != (*table)->counts.at(4).at(4)) {
            state.SkipWithError("the cell's persons do not match its count");
            return;
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(computeCross, sqlite_ranges_by_values, 0, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(computeCross, sqlite_ranges_by_ranges, 0, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(listCell, sqlite, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(computeCross, postgres_ranges_by_values, 1, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(computeCross, postgres_ranges_by_ranges, 1, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(listCell, postgres, 1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    registerPsnProcedures();
    Setup setup;
    g_setup = &setup;
    for (const Backend backend : { Backend::Sqlite, Backend::Postgres }) {
        const int i = backend == Backend::Sqlite ? 0 : 1;
        const QString connection
            = bench::createDatabase(backend, setup.dir, u"benchstat"_s, &setup.why[i]);
        if (connection.isEmpty())
            continue;
        CADODatabase builder;
        if (!builder.Open(connection) || !upgradeSchema(builder)
            || !bench::fillPersons(builder, personCount, userColumns)) {
            setup.why[i] = builder.GetLastErrorString();
            continue;
        }
        if (!defineStatistics(builder, &setup, &setup.why[i]))
            continue;
        setup.connection[i] = connection;
    }
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
    theCurrentUser.ParsePurview(u"ffffffffffffffff|||"_s);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDatabase.Close();
    return 0;
}
