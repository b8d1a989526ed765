// One payroll period of 10,000 persons with 60 number items, on SQLite (a temporary file) and
// on PostgreSQL (the server named by VANTREL_PG_HOST/PORT/USER/PASSWORD, as ./test.sh starts
// one; skipped without it): the period query with the payroll scope opened in the grid view
// with its footer totals and the first screen drawn (offscreen), and a batch 统加 over every
// row of the period. The counters give the process's resident memory in MB.

#include "benchsupport.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"
#include "core/db/procedureregistry.h"
#include "core/db/schema.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wagesetschema.h"
#include "payroll/wagebatchupdate.h"
#include "payroll/wageperiods.h"
#include "payroll/wagescope.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/cmybcgpgridview.h"
#include "wagebenchsupport.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>
#include <memory>

using namespace vantrel::db;
using namespace vantrel::payroll;
using namespace Qt::StringLiterals;

namespace {

constexpr int personCount = 10'000;
constexpr int itemCount = 60;
constexpr int period = 202403;

struct Period
{
    QString table;
    QStringList columns; // the items' columns, in order
};

// Sixteen departments, 10,000 persons, all members of one wage set of 60 items, and the
// period made by qz_CreateWageTable with every value filled.
bool fillPeriod(CADODatabase &db, Period *made)
{
    if (!bench::fillWagePersons(db, personCount))
        return false;
    const vantrel::Result<int> sid = AddWageSet(db, u"月薪"_s);
    if (!sid)
        return false;
    made->table = WageSetDataTableName(*sid);
    for (int i = 1; i <= itemCount; ++i) {
        WageItemDefinition item;
        item.alias = u"项目%1"_s.arg(i);
        const vantrel::Result<int> id = AddWageItem(db, *sid, item);
        if (!id)
            return false;
        made->columns << WageItemColumnName(*id);
    }
    return bench::fillWagePeriods(db, *sid, made->table, { period }, made->columns);
}

struct Backends
{
    QTemporaryDir dir;
    QString connection[2];
    QString why[2];
    Period period[2];
};
Backends *g_backends = nullptr;

bool useBackend(benchmark::State &state, int backend)
{
    return bench::openPrepared(state, g_backends->connection[backend], g_backends->why[backend]);
}

// The grid view over the period as the payroll view opens it: keys first, the joined query
// with the items under quoted aliases, and the footer's sums from one query.
std::unique_ptr<CMyBCGPGridView> openPeriod(const Period &p,
                                            const vantrel::personnel::SqlCondition &where)
{
    auto view = std::make_unique<CMyBCGPGridView>();
    view->resize(1280, 800);
    view->show();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    if (!grid->OpenConnection(theApp.m_strConnection))
        return nullptr;
    QStringList items;
    QStringList sums;
    for (int i = 0; i < p.columns.size(); ++i) {
        items << uR"(%1 AS "项目%2")"_s.arg(p.columns[i]).arg(i + 1);
        sums << u"SUM(%1)"_s.arg(p.columns[i]);
    }
    const QString scope
        = WageFromClause(p.table) + where.sql + u" ORDER BY qz_Dept.Ord,%1.Ord"_s.arg(p.table);
    grid->SetKeyQuery(u"SELECT qz_PsnBase.PID"_s + scope);
    if (!grid->OpenSQL(
            uR"(SELECT qz_PsnBase.PID,qz_PsnBase.Number AS "编号",qz_PsnBase.Name AS "姓名",)"_s
                + items.join(u',') + scope,
            where.values))
        return nullptr;
    const QueryResult totals = theDatabase.run(u"SELECT COUNT(*),"_s + sums.join(u',')
                                                   + WageFromClause(p.table) + where.sql,
                                               where.values);
    if (!totals.ok)
        return nullptr;
    view->SetFooterText(1, u"合计：%1人"_s.arg(totals.scalar().toInt()));
    return view;
}

vantrel::personnel::SqlCondition periodWhere(const Period &p)
{
    const vantrel::Result<vantrel::personnel::SqlCondition> where
        = BuildWageWhere(theDatabase, { p.table, period, 0, 0 }, theCurrentUser);
    return where ? *where : vantrel::personnel::SqlCondition {};
}

void openFirstScreen(benchmark::State &state, int backend)
{
    if (!useBackend(state, backend))
        return;
    const Period &p = g_backends->period[backend];
    const vantrel::personnel::SqlCondition where = periodWhere(p);
    for (auto _ : state) {
        std::unique_ptr<CMyBCGPGridView> view = openPeriod(p, where);
        if (!view || view->GetGridCtrl()->GetRowCount() != personCount) {
            state.SkipWithError("the period did not open with every person");
            return;
        }
        benchmark::DoNotOptimize(view->grab().cacheKey());
        state.PauseTiming();
        state.counters["rss_MB"] = bench::memoryMb("VmRSS:");
        view.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = bench::memoryMb("VmHWM:");
}

void batchAdd(benchmark::State &state, int backend)
{
    if (!useBackend(state, backend))
        return;
    const Period &p = g_backends->period[backend];
    const vantrel::personnel::SqlCondition where = periodWhere(p);
    for (auto _ : state) {
        const vantrel::Result<int> changed
            = RunWageBatchUpdate(theDatabase, p.table, { p.columns.value(5), 1, u"100"_s }, where);
        if (!changed || *changed != personCount) {
            state.SkipWithError(changed ? "not every row changed" : qPrintable(changed.error()));
            return;
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(openFirstScreen, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(batchAdd, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(openFirstScreen, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(batchAdd, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerWagePeriodProcedures(ProcedureRegistry::instance());
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
    theCurrentUser.ParsePurview(u"ffffffffffffffff|||"_s);
    Backends backends;
    g_backends = &backends;
    for (const Backend backend : { Backend::Sqlite, Backend::Postgres }) {
        const int i = backend == Backend::Sqlite ? 0 : 1;
        const QString connection
            = bench::createDatabase(backend, backends.dir, u"benchwage"_s, &backends.why[i]);
        if (connection.isEmpty())
            continue;
        theDatabase.Close();
        if (!theDatabase.Open(connection) || !upgradeSchema(theDatabase)
            || !fillPeriod(theDatabase, &backends.period[i])) {
            backends.why[i] = theDatabase.GetLastErrorString();
            continue;
        }
        backends.connection[i] = connection;
    }
    theDatabase.Close();
    malloc_trim(0);
    std::fprintf(stderr, "resident before opening: %.0f MB\n", bench::memoryMb("VmRSS:"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDatabase.Close();
    return 0;
}
