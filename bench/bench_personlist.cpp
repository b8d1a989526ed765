// The person list window on 100,000 persons with 40 grid columns, on SQLite (a temporary file)
// and on PostgreSQL (the server named by VANTREL_PG_HOST/PORT/USER/PASSWORD, as ./test.sh
// starts one; skipped without it): opening the window with its first fill and drawing the
// first screen, changing the department, and searching a number. Drawing is offscreen. The
// counters give the process's resident memory in MB.

#include "benchsupport.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"
#include "core/db/schema.h"
#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cviewpsn.h"
#include "ui/controls/cdeptpane.h"
#include "ui/controls/cmyadogridctrl.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>
#include <memory>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

constexpr int personCount = 100'000;
constexpr int userColumns = 30; // with the three keys and the seven built-in items: 40

struct Backends
{
    QTemporaryDir dir;
    QString connection[2];
    QString why[2];
};
Backends *g_backends = nullptr;

// Opens theDatabase on the backend's prepared database; false and the benchmark skipped.
bool useBackend(benchmark::State &state, int backend)
{
    return bench::openPrepared(state, g_backends->connection[backend], g_backends->why[backend]);
}

std::unique_ptr<CChildFramePsn> openWindow()
{
    auto frame = std::make_unique<CChildFramePsn>();
    frame->resize(1280, 800);
    frame->show();
    frame->OnInitialUpdate();
    return frame;
}

void openFirstScreen(benchmark::State &state, int backend)
{
    if (!useBackend(state, backend))
        return;
    for (auto _ : state) {
        std::unique_ptr<CChildFramePsn> frame = openWindow();
        if (frame->GetView()->GetGridCtrl()->GetRowCount() != personCount
            || frame->GetView()->GetGridCtrl()->GetGridModel()->columnCount() != 40) {
            state.SkipWithError("the window did not list every person");
            return;
        }
        benchmark::DoNotOptimize(frame->grab().cacheKey());
        state.PauseTiming();
        state.counters["rss_MB"] = bench::memoryMb("VmRSS:");
        frame.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = bench::memoryMb("VmHWM:");
}

void changeDepartment(benchmark::State &state, int backend)
{
    if (!useBackend(state, backend))
        return;
    std::unique_ptr<CChildFramePsn> frame = openWindow();
    QTreeWidget *tree = frame->GetDeptPane()->GetDeptTree();
    const QList<QTreeWidgetItem *> top
        = tree->findItems(u"部门1"_s, Qt::MatchExactly | Qt::MatchRecursive);
    const QList<QTreeWidgetItem *> leaf
        = tree->findItems(u"部门6"_s, Qt::MatchExactly | Qt::MatchRecursive);
    if (top.isEmpty() || leaf.isEmpty()) {
        state.SkipWithError("departments missing");
        return;
    }
    bool toTop = true;
    for (auto _ : state) {
        tree->setCurrentItem(toTop ? top.first() : leaf.first());
        benchmark::DoNotOptimize(frame->grab().cacheKey());
        toTop = !toTop;
    }
}

void searchNumber(benchmark::State &state, int backend)
{
    if (!useBackend(state, backend))
        return;
    std::unique_ptr<CChildFramePsn> frame = openWindow();
    CViewPsn *view = frame->GetView();
    int n = 0;
    for (auto _ : state) {
        frame->GetSearchBox()->lineEdit()->setText(
            u"n%1"_s.arg(97'000 - n * 7, 6, 10, QChar(u'0')));
        view->Search();
        if (view->GetCurrentPerson().PID <= 0) {
            state.SkipWithError("the number was not found");
            return;
        }
        ++n;
    }
}

} // namespace

BENCHMARK_CAPTURE(openFirstScreen, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(changeDepartment, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(searchNumber, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(openFirstScreen, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(changeDepartment, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(searchNumber, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Backends backends;
    g_backends = &backends;
    for (const Backend backend : { Backend::Sqlite, Backend::Postgres }) {
        const int i = backend == Backend::Sqlite ? 0 : 1;
        const QString connection
            = bench::createDatabase(backend, backends.dir, u"benchpsn"_s, &backends.why[i]);
        if (connection.isEmpty())
            continue;
        CADODatabase builder;
        if (!builder.Open(connection) || !upgradeSchema(builder)
            || !bench::fillPersons(builder, personCount, userColumns)) {
            backends.why[i] = builder.GetLastErrorString();
            continue;
        }
        backends.connection[i] = connection;
    }
    // The fixture's rows are gone; their memory must not count as the window's.
    malloc_trim(0);
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
    theCurrentUser.ParsePurview(u"ffffffffffffffff|||"_s);
    std::fprintf(stderr, "resident before opening: %.0f MB\n", bench::memoryMb("VmRSS:"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDatabase.Close();
    return 0;
}
