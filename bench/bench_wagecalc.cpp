// The wage calculation over one period of 10,000 persons with 60 items, on SQLite (a temporary
// file) and on PostgreSQL (the server named by VANTREL_PG_HOST/PORT/USER/PASSWORD, as ./test.sh
// starts one; skipped without it): 20 typed items, 30 formulas of 2 to 6 references with IIf,
// one SUM and one GETPRESALARY, and 10 constant formulas in place of standard-table lookups.
// fullCalculation is the 薪资核算 of the whole period; personAfterEdit the recalculation of one
// person after a typed value.

#include "benchsupport.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/schema.h"
#include "core/payroll/wagecalculator.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wagesetschema.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "payroll/wageperiods.h"
#include "payroll/wagescope.h"
#include "wagebenchsupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace vantrel::db;
using namespace vantrel::payroll;
using namespace Qt::StringLiterals;

namespace {

constexpr int personCount = 10'000;
constexpr int typedCount = 20;
constexpr int formulaCount = 30;
constexpr int constantCount = 10;
constexpr int period = 202403;
constexpr int earlier = 202402;

struct Period
{
    int sid = 0;
    QString table;
    QStringList typed;    // the typed items' columns
    QStringList computed; // the formulas' columns, in calculation order
};

// Formula k over the typed columns and the formula before it: 2 to 6 references, IIf.
QString formula(int k, const Period &p)
{
    QStringList refs;
    const int count = 2 + k % 5;
    for (int j = 0; j < count; ++j)
        refs << u"{%1}"_s.arg(j == 0 && k > 0 ? p.computed.last() : p.typed[(k + j) % typedCount]);
    QString sum = refs.join(u'+');
    if (k == 10)
        return u"%1/SUM(\"项目1\")*1000+%2"_s.arg(refs[0], refs[1]);
    if (k == 20)
        return u"GETPRESALARY({Number},SNAME,SDATE,1,\"项目1\")+%1-%2"_s.arg(refs[0], refs[1]);
    return u"IIf(%1>%2,(%3)*0.15,%2-%1)"_s.arg(refs[0], refs[1], sum);
}

bool addItem(CADODatabase &db, Period *p, const QString &alias, const QString &expression,
             QStringList *columns)
{
    WageItemDefinition item;
    item.alias = alias;
    item.property = expression.isEmpty() ? 0 : 1;
    item.formula = expression;
    item.retain = expression.isEmpty();
    const vantrel::Result<int> id = AddWageItem(db, p->sid, item);
    if (!id)
        return false;
    *columns << WageItemColumnName(*id);
    return true;
}

// Sixteen departments, 10,000 persons, all members of one wage set of 60 items, and two
// periods (the earlier one for GETPRESALARY) with every typed value filled.
bool fillPeriods(CADODatabase &db, Period *p)
{
    if (!bench::fillWagePersons(db, personCount))
        return false;
    const vantrel::Result<int> sid = AddWageSet(db, u"月薪"_s);
    if (!sid)
        return false;
    p->sid = *sid;
    p->table = WageSetDataTableName(*sid);
    int n = 1;
    for (int i = 0; i < typedCount; ++i) {
        if (!addItem(db, p, u"项目%1"_s.arg(n++), {}, &p->typed))
            return false;
    }
    for (int k = 0; k < formulaCount; ++k) {
        if (!addItem(db, p, u"项目%1"_s.arg(n++), formula(k, *p), &p->computed))
            return false;
    }
    for (int k = 0; k < constantCount; ++k) {
        if (!addItem(db, p, u"项目%1"_s.arg(n++), QString::number(100 + k), &p->computed))
            return false;
    }
    return bench::fillWagePeriods(db, *sid, p->table, { earlier, period }, p->typed);
}

struct Backends
{
    QTemporaryDir dir;
    QString connection[2];
    QString why[2];
    Period period[2];
};
Backends *g_backends = nullptr;

// Opens the backend's database and publishes its period as the active payroll view.
bool useBackend(benchmark::State &state, int backend, WageCalcScope *scope)
{
    if (!bench::openPrepared(state, g_backends->connection[backend], g_backends->why[backend]))
        return false;
    const Period &p = g_backends->period[backend];
    const auto where = BuildWageWhere(theDatabase, { p.table, period, 0, 0 }, theCurrentUser);
    if (!where) {
        state.SkipWithError(qPrintable(where.error()));
        return false;
    }
    theApp.SID = p.sid;
    theApp.SDate = period;
    theApp.SName = u"月薪"_s;
    theApp.m_wageView = WageScopeSource(p.table, *where);
    *scope = { p.table, period, { where->sql, where->values } };
    return true;
}

void fullCalculation(benchmark::State &state, int backend)
{
    WageCalcScope scope;
    if (!useBackend(state, backend, &scope))
        return;
    CScriptHostProxy host;
    host.CreateEngine();
    WageCalculator calculator(theDatabase, *host.engine());
    for (auto _ : state) {
        const vantrel::Result<WageCalcReport> report = calculator.RecalculateAll(scope, nullptr);
        if (!report || report->rows != personCount || !report->failedItems.isEmpty()
            || report->stored != personCount * (formulaCount + constantCount)) {
            state.SkipWithError(report ? qPrintable(u"failed items: "_s
                                                    + report->failedItems.join(u',')
                                                    + report->skippedMessage())
                                       : qPrintable(report.error()));
            return;
        }
    }
}

void personAfterEdit(benchmark::State &state, int backend)
{
    WageCalcScope scope;
    if (!useBackend(state, backend, &scope))
        return;
    const Period &p = g_backends->period[backend];
    CScriptHostProxy host;
    host.CreateEngine();
    WageCalculator calculator(theDatabase, *host.engine());
    int round = 0;
    for (auto _ : state) {
        // A typed value first, as the cell edit writes it, so that the person's results change.
        state.PauseTiming();
        const int pid = 1 + (round * 997) % personCount;
        theDatabase.Execute(
            u"UPDATE %1 SET %2 = ? WHERE PID = ? AND fDate = ?"_s.arg(p.table, p.typed[0]),
            { 1000 + round++, pid, period });
        state.ResumeTiming();
        const vantrel::Result<WageCalcReport> report
            = calculator.RecalculatePerson(scope, pid, nullptr);
        if (!report || report->rows != 1 || !report->failedItems.isEmpty()) {
            state.SkipWithError(report ? "a formula failed" : qPrintable(report.error()));
            return;
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(fullCalculation, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(personAfterEdit, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK_CAPTURE(fullCalculation, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(personAfterEdit, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(50);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    registerWagePeriodProcedures(ProcedureRegistry::instance());
    registerHostFunctions();
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
    theCurrentUser.ParsePurview(u"ffffffffffffffff|||"_s);
    Backends backends;
    g_backends = &backends;
    for (const Backend backend : { Backend::Sqlite, Backend::Postgres }) {
        const int i = backend == Backend::Sqlite ? 0 : 1;
        const QString connection
            = bench::createDatabase(backend, backends.dir, u"benchcalc"_s, &backends.why[i]);
        if (connection.isEmpty())
            continue;
        theDatabase.Close();
        if (!theDatabase.Open(connection) || !upgradeSchema(theDatabase)
            || !fillPeriods(theDatabase, &backends.period[i])) {
            backends.why[i] = theDatabase.GetLastErrorString();
            continue;
        }
        backends.connection[i] = connection;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDatabase.Close();
    return 0;
}
