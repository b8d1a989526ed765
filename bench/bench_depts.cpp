// The department tree with 5,055 departments in four levels (five at the top, ten below each,
// ten below those, nine below those), on SQLite (a temporary file) and on PostgreSQL (the
// server named by VANTREL_PG_HOST/PORT/USER/PASSWORD, skipped without it): the manager's tree
// loaded, and a top-level subtree of 1,011 departments moved under another parent with all
// its paths rewritten.

#include "admin/adminprocedures.h"
#include "admin/deptstore.h"
#include "admin/ui/cdlgdeptmanager.h"
#include "benchsupport.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/schema.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

QString g_connection[2];
QString g_why[2];
int g_tops[2][2] = {}; // the first two top-level departments

bool useBackend(benchmark::State &state, int backend)
{
    theDatabase.Close();
    if (g_connection[backend].isEmpty() || !theDatabase.Open(g_connection[backend])) {
        state.SkipWithError(qPrintable(g_why[backend]));
        return false;
    }
    return true;
}

// Adds the children of parent down to the given depth, paths included; false on failure.
bool addLevel(CADODatabase &db, int parentId, const QString &parentPath, int depth, int *count)
{
    static const int fanOut[] = { 5, 10, 10, 9 };
    if (depth == 4)
        return true;
    for (int i = 0; i < fanOut[depth]; ++i) {
        const QString name = u"部门%1"_s.arg((*count)++);
        if (!db.Execute(u"INSERT INTO qz_Dept (Name, ParentID, Ord) VALUES (?, ?, ?)"_s,
                        { name, parentId, i }))
            return false;
        const int did
            = db.run(u"SELECT DID FROM qz_Dept WHERE Name = ?"_s, { name }).scalar().toInt();
        const QString path = vantrel::admin::DeptPathUnder(did, parentPath);
        if (!db.Execute(u"UPDATE qz_Dept SET ParentArr = ? WHERE DID = ?"_s, { path, did })
            || !addLevel(db, did, path, depth + 1, count))
            return false;
    }
    return true;
}

void loadTree(benchmark::State &state, int backend)
{
    if (!useBackend(state, backend))
        return;
    for (auto _ : state) {
        CDlgDeptManager manager;
        if (manager.model()->rowCount() != 5)
            state.SkipWithError("the tree is not all there");
    }
}

void moveSubtree(benchmark::State &state, int backend)
{
    if (!useBackend(state, backend))
        return;
    const int first = g_tops[backend][0];
    bool under = false;
    for (auto _ : state) {
        // Under the second top-level department and back again, by turns.
        if (!vantrel::admin::UpdateDeptParent(theDatabase, first, under ? 0 : g_tops[backend][1]))
            state.SkipWithError("the move failed");
        under = !under;
    }
}

} // namespace

BENCHMARK_CAPTURE(loadTree, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(moveSubtree, sqlite, 0)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(loadTree, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(moveSubtree, postgres, 1)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vantrel::admin::registerAdminProcedures(ProcedureRegistry::instance());
    QTemporaryDir dir;
    for (const Backend backend : { Backend::Sqlite, Backend::Postgres }) {
        const int i = backend == Backend::Sqlite ? 0 : 1;
        const QString connection = bench::createDatabase(backend, dir, u"benchdept"_s, &g_why[i]);
        if (connection.isEmpty())
            continue;
        CADODatabase builder;
        int count = 0;
        if (!builder.Open(connection) || !upgradeSchema(builder)
            || !builder.Execute(u"DELETE FROM qz_Dept"_s)) {
            g_why[i] = builder.GetLastErrorString();
            continue;
        }
        builder.BeginTrans();
        if (!addLevel(builder, 0, {}, 0, &count) || !builder.CommitTrans()) {
            g_why[i] = builder.GetLastErrorString();
            continue;
        }
        const RowSet tops
            = builder.run(u"SELECT DID FROM qz_Dept WHERE ParentID = 0 ORDER BY DID"_s).rows;
        g_tops[i][0] = tops.value(0, 0).toInt();
        g_tops[i][1] = tops.value(1, 0).toInt();
        g_connection[i] = connection;
    }
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDatabase.Close();
    return 0;
}
