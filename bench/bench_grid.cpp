// The person list in the data grid: 100,000 persons with 40 columns on SQLite (a temporary
// file). Opening the person query into the grid and drawing the first screen, scrolling to the
// last row, and sorting by name. Drawing is offscreen (QT_QPA_PLATFORM=offscreen is set when
// nothing else is). The counters give the process's resident memory in MB.

#include "benchsupport.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"
#include "core/db/schema.h"
#include "core/query/querybuilders.h"
#include "ui/controls/cmyadogridctrl.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

constexpr int personCount = 100'000;
constexpr int userColumns = 32; // with PID, the five built-in items and two names: 40

QString g_query;

QString personQuery()
{
    return u"SELECT "_s + BuildPsnSelect(0, false) + BuildPsnFromClause(false)
        + u"ORDER BY qz_Dept.Ord, qz_PsnBase.Ord"_s;
}

// The person list's grid: rows read by person id a page at a time.
void openPersons(CMyADOGridCtrl &grid)
{
    grid.resize(1280, 800);
    grid.SetVirtualMode(true);
    grid.SetKeyField(u"PID"_s);
    grid.AttachConnection(&theDatabase);
}

// The query alone, read whole into a recordset: what the grid costs on top of it is the difference.
void openRecordset(benchmark::State &state)
{
    for (auto _ : state) {
        CADORecordset rs(&theDatabase);
        if (!rs.Open(g_query, QVariantList {})) {
            state.SkipWithError(qPrintable(rs.GetLastErrorString()));
            return;
        }
        benchmark::DoNotOptimize(rs.GetRecordCount());
    }
}

void openFirstScreen(benchmark::State &state)
{
    for (auto _ : state) {
        CMyADOGridCtrl grid;
        openPersons(grid);
        if (!grid.OpenSQL(g_query) || grid.GetRowCount() != personCount
            || grid.GetGridModel()->columnCount() != 40) {
            state.SkipWithError(qPrintable(grid.GetLastErrorString()));
            return;
        }
        const QPixmap screen = grid.grab();
        benchmark::DoNotOptimize(screen.cacheKey());
        state.PauseTiming();
        state.counters["rss_MB"] = bench::memoryMb("VmRSS:");
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = bench::memoryMb("VmHWM:");
}

void scrollToEnd(benchmark::State &state)
{
    CMyADOGridCtrl grid;
    openPersons(grid);
    grid.OpenSQL(g_query);
    grid.grab();
    for (auto _ : state) {
        grid.scrollToBottom();
        benchmark::DoNotOptimize(grid.grab().cacheKey());
        state.PauseTiming();
        grid.scrollToTop();
        state.ResumeTiming();
    }
}

void sortByName(benchmark::State &state)
{
    CMyADOGridCtrl grid;
    openPersons(grid);
    grid.OpenSQL(g_query);
    for (auto _ : state) {
        grid.sortByColumn(2, Qt::AscendingOrder);
        benchmark::DoNotOptimize(grid.grab().cacheKey());
        state.PauseTiming();
        grid.sortByColumn(-1, Qt::AscendingOrder);
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(openFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(scrollToEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(sortByName)->Unit(benchmark::kMillisecond)->Iterations(5);
// Last, so that its memory does not count in the grid's figures.
BENCHMARK(openRecordset)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QString why;
    const QString connection = bench::createDatabase(Backend::Sqlite, dir, u"bench"_s, &why);
    {
        CADODatabase builder;
        if (connection.isEmpty() || !builder.Open(connection) || !upgradeSchema(builder)
            || !bench::fillPersons(builder, personCount, userColumns)) {
            std::fprintf(stderr, "fixture failed: %s%s\n", qPrintable(why),
                         qPrintable(builder.GetLastErrorString()));
            return 1;
        }
    }
    if (!theDatabase.Open(connection)) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(theDatabase.GetLastErrorString()));
        return 1;
    }
    g_query = personQuery();
    std::fprintf(stderr, "resident before opening: %.0f MB\n", bench::memoryMb("VmRSS:"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDatabase.Close();
    return 0;
}
