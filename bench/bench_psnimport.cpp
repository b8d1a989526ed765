// The person import on 10,000 rows × 50 columns (number, name and 48 user items of every kind)
// from an .xlsx file, on SQLite (a temporary file) and on PostgreSQL (the server named by
// VANTREL_PG_HOST/PORT/USER/PASSWORD, as ./test.sh starts one; skipped without it). The
// counter gives the process's peak resident memory in MB.

#include "benchsupport.h"
#include "core/db/cadodatabase.h"
#include "core/db/schema.h"
#include "personnel/psnimport.h"
#include "platform/workbook/workbookwriter.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

constexpr int rowCount = 10'000;
constexpr int userColumns = 48;

struct Setup
{
    QTemporaryDir dir;
    QString workbook;
    QString connection[2];
    QString why[2];
    QVector<ImportMatch> matches;
};
Setup *g_setup = nullptr;

bool writeWorkbook(const QString &path)
{
    workbook::WorkbookWriter writer(path, u"人员"_s);
    QStringList header { u"编号"_s, u"姓名"_s };
    for (int i = 1; i <= userColumns; ++i)
        header << u"F%1"_s.arg(i);
    if (!writer.open() || !writer.writeHeader(header))
        return false;
    for (int row = 1; row <= rowCount; ++row) {
        QVariantList cells { u"IMP%1"_s.arg(row), u"导入人员%1"_s.arg(row) };
        for (int i = 1; i <= userColumns; ++i) {
            switch (bench::userColumnType(i)) {
            case 0:
                cells << row * 1.5 + i;
                break;
            case 2:
                cells << QDate(1990, 1, 1).addDays(row % 9000 + i);
                break;
            default:
                cells << u"文本%1-%2"_s.arg(row).arg(i);
            }
        }
        if (!writer.writeRow(cells))
            return false;
    }
    return bool(writer.finish());
}

void import(benchmark::State &state, int backend)
{
    if (g_setup->connection[backend].isEmpty()) {
        state.SkipWithError(qPrintable(g_setup->why[backend]));
        return;
    }
    CADODatabase db;
    if (!db.Open(g_setup->connection[backend])) {
        state.SkipWithError(qPrintable(db.GetLastErrorString()));
        return;
    }
    const PsnImportRequest request { g_setup->workbook, 1, 1, g_setup->matches };
    for (auto _ : state) {
        const PsnImportOutcome outcome = RunPsnImport(db, request);
        if (!outcome.ok() || outcome.imported != rowCount) {
            state.SkipWithError(qPrintable(outcome.error));
            return;
        }
        state.PauseTiming();
        db.Execute(u"DELETE FROM qz_PsnBase"_s);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = bench::memoryMb("VmHWM:");
}

void importSqlite(benchmark::State &state)
{
    import(state, 0);
}
void importPostgres(benchmark::State &state)
{
    import(state, 1);
}

bool prepare(Setup &setup)
{
    setup.workbook = setup.dir.filePath(u"persons.xlsx"_s);
    if (!writeWorkbook(setup.workbook))
        return false;
    const vantrel::db::Backend backends[]
        = { vantrel::db::Backend::Sqlite, vantrel::db::Backend::Postgres };
    for (int b = 0; b < 2; ++b) {
        const QString connection
            = bench::createDatabase(backends[b], setup.dir, u"import"_s, &setup.why[b]);
        CADODatabase db;
        if (connection.isEmpty())
            continue;
        if (!db.Open(connection) || !vantrel::db::upgradeSchema(db)
            || !bench::fillPersons(db, 0, userColumns)) {
            setup.why[b] = db.GetLastErrorString();
            continue;
        }
        setup.connection[b] = connection;
        if (!setup.matches.isEmpty())
            continue;
        const vantrel::db::QueryResult items = db.run(
            u"SELECT ItemID, Name, Alias, iDataType FROM qz_Items WHERE upper(TblName)='QZ_PSNBASE'"
            " AND (Name IN ('Number','Name') OR Name LIKE 'F%') ORDER BY ItemID"_s);
        for (int row = 0; row < items.rows.rowCount(); ++row) {
            tagVANTRELITEMINFO item;
            item.ItemID = items.rows.value(row, 0).toInt();
            item.Name = items.rows.text(row, 1);
            item.Alias = items.rows.text(row, 2);
            item.iDataType = short(items.rows.value(row, 3).toInt());
            const int column = item.Name == u"Number" ? 0
                : item.Name == u"Name"                ? 1
                                                      : item.Name.mid(1).toInt() + 1;
            setup.matches.append({ column, item });
        }
    }
    return true;
}

} // namespace

BENCHMARK(importSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(importPostgres)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    Setup setup;
    g_setup = &setup;
    if (!prepare(setup))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
