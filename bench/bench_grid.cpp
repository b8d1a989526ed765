// The person list in the data grid: 100,000 persons with 40 columns on SQLite (a temporary
// file). Opening the person query into the grid and drawing the first screen, scrolling to the
// last row, and sorting by name. Drawing is offscreen (QT_QPA_PLATFORM=offscreen is set when
// nothing else is). The counters give the process's resident memory in MB.

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

// Resident memory of the process, and its peak, in MB.
double memoryMb(const char *key)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Item kind of user column i: numbers, texts and dates mixed as a person table has them.
int dataTypeOf(int i)
{
    return i % 8 < 3 ? 0 : i % 8 < 7 ? 1 : 2;
}

bool addUserColumns(CADODatabase &db)
{
    for (int i = 1; i <= userColumns; ++i) {
        static const char *types[] = { "DOUBLE PRECISION", "VARCHAR(50)", "%DATETIME%" };
        const QString type = QString::fromLatin1(types[dataTypeOf(i)]);
        if (!db.Execute(
                db.dialect().ddl(u"ALTER TABLE qz_PsnBase ADD COLUMN F%1 %2"_s.arg(i).arg(type)))
            || !db.Execute(u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iWid, Ord)"
                           " VALUES ('QZ_PSNBASE', ?, ?, ?, 80, ?)"_s,
                           { u"F%1"_s.arg(i), u"项目%1"_s.arg(i), dataTypeOf(i), 10 + i }))
            return false;
    }
    return true;
}

bool insertPersons(CADODatabase &db)
{
    DbTransaction transaction(db);
    for (int d = 1; d <= 20; ++d)
        db.Execute(u"INSERT INTO qz_Dept (ParentID, Name, Ord) VALUES (0, ?, ?)"_s,
                   { u"部门%1"_s.arg(d), d });
    for (int a = 1; a <= 5; ++a)
        db.Execute(u"INSERT INTO qz_PsnSort (Name, Ord) VALUES (?, ?)"_s,
                   { u"类别%1"_s.arg(a), a });
    QStringList columns { u"DID"_s, u"AID"_s,      u"Number"_s,   u"Name"_s,
                          u"Sex"_s, u"Birthday"_s, u"IDNumber"_s, u"Ord"_s };
    for (int i = 1; i <= userColumns; ++i)
        columns << u"F%1"_s.arg(i);
    QVector<QVariantList> rows;
    rows.reserve(personCount);
    for (int p = 0; p < personCount; ++p) {
        QVariantList row { 1 + p % 20,
                           1 + p % 5,
                           u"%1"_s.arg(p, 6, 10, QChar(u'0')),
                           u"职员%1"_s.arg((p * 7919) % personCount),
                           p % 2 ? u"男"_s : u"女"_s,
                           u"19%1-0%2-1%3 00:00:00"_s.arg(60 + p % 40).arg(1 + p % 9).arg(p % 10),
                           u"1101011980%1"_s.arg(p, 8, 10, QChar(u'0')),
                           p };
        for (int i = 1; i <= userColumns; ++i) {
            const int type = dataTypeOf(i);
            row << (type == 0 ? QVariant(3000.0 + (p * i) % 5000 * 0.25)
                        : type == 1
                        ? QVariant(u"值%1-%2"_s.arg(i).arg(p % 977))
                        : QVariant(u"2020-0%1-2%2 00:00:00"_s.arg(1 + i % 9).arg(p % 8)));
        }
        rows.push_back(row);
    }
    if (!db.runBatch(u"INSERT INTO qz_PsnBase (%1) VALUES (%2)"_s.arg(
                         columns.join(u','), QStringList(columns.size(), u"?"_s).join(u',')),
                     rows)
             .ok)
        return false;
    return transaction.commit();
}

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
        state.counters["rss_MB"] = memoryMb("VmRSS:");
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = memoryMb("VmHWM:");
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
    const QString path = dir.filePath(u"bench.db"_s);
    {
        CADODatabase builder;
        if (!createSqliteDatabase(path) || !builder.Open(ConnectionString::forSqlite(path))
            || !upgradeSchema(builder) || !addUserColumns(builder) || !insertPersons(builder)) {
            std::fprintf(stderr, "fixture failed: %s\n", qPrintable(builder.GetLastErrorString()));
            return 1;
        }
    }
    if (!theDatabase.Open(ConnectionString::forSqlite(path))) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(theDatabase.GetLastErrorString()));
        return 1;
    }
    g_query = personQuery();
    std::fprintf(stderr, "resident before opening: %.0f MB\n", memoryMb("VmRSS:"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDatabase.Close();
    return 0;
}
