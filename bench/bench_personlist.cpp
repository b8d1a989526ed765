// The person list window on 100,000 persons with 40 grid columns, on SQLite (a temporary file)
// and on PostgreSQL (the server named by VANTREL_PG_HOST/PORT/USER/PASSWORD, as ./test.sh
// starts one; skipped without it): opening the window with its first fill and drawing the
// first screen, changing the department, and searching a number. Drawing is offscreen. The
// counters give the process's resident memory in MB.

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

QString env(const char *name)
{
    return qEnvironmentVariable(name);
}

int dataTypeOf(int i)
{
    return i % 8 < 3 ? 0 : i % 8 < 7 ? 1 : 2;
}

// A fresh database of the backend; its connection string, or empty with *why.
QString createDatabase(Backend backend, QTemporaryDir &dir, QString *why)
{
    if (backend == Backend::Sqlite) {
        const QString path = dir.filePath(u"bench.db"_s);
        if (const vantrel::Status created = createSqliteDatabase(path); !created) {
            *why = created.error();
            return {};
        }
        return ConnectionString::forSqlite(path);
    }
    if (env("VANTREL_PG_HOST").isEmpty()) {
        *why = u"no PostgreSQL server (VANTREL_PG_HOST)"_s;
        return {};
    }
    const QString admin = ConnectionString::forPostgres(
        env("VANTREL_PG_HOST"), env("VANTREL_PG_PORT").toInt(), env("VANTREL_PG_USER"),
        env("VANTREL_PG_PASSWORD"), u"postgres"_s);
    const QString name = u"vt_benchpsn_%1"_s.arg(QCoreApplication::applicationPid());
    CADODatabase server;
    if (!server.Open(admin)) {
        *why = server.GetLastErrorString();
        return {};
    }
    server.Execute(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(name));
    if (!server.Execute(u"CREATE DATABASE %1"_s.arg(name))) {
        *why = server.GetLastErrorString();
        return {};
    }
    QString own = admin;
    own.replace(u"Database=postgres"_s, u"Database="_s + name);
    return own;
}

// Four top departments with four below each; persons spread over the sixteen below.
bool fillPersons(CADODatabase &db)
{
    for (int i = 1; i <= userColumns; ++i) {
        static const char *types[] = { "DOUBLE PRECISION", "VARCHAR(50)", "%DATETIME%" };
        if (!db.Execute(db.dialect().ddl(u"ALTER TABLE qz_PsnBase ADD COLUMN F%1 %2"_s.arg(i).arg(
                QString::fromLatin1(types[dataTypeOf(i)]))))
            || !db.Execute(
                u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iWid, bShow, Ord)"
                " VALUES ('QZ_PSNBASE', ?, ?, ?, 80, 1, ?)"_s,
                { u"F%1"_s.arg(i), u"项目%1"_s.arg(i), dataTypeOf(i), 10 + i }))
            return false;
    }
    DbTransaction transaction(db);
    for (int d = 1; d <= 20; ++d) {
        const int parent = d <= 4 ? 0 : 1 + (d - 5) / 4;
        const QString path = parent ? u"|%1|%2|"_s.arg(d).arg(parent) : u"|%1|"_s.arg(d);
        if (!db.Execute(u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord, ParentArr)"
                        " VALUES (?, ?, ?, ?, ?)"_s,
                        { d, parent, u"部门%1"_s.arg(d), d, path }))
            return false;
    }
    db.Execute(u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (1, '在职', 1), (2, '退休', 2)"_s);
    QStringList columns { u"DID"_s, u"AID"_s,      u"Number"_s,   u"Name"_s,
                          u"Sex"_s, u"Birthday"_s, u"IDNumber"_s, u"Ord"_s };
    for (int i = 1; i <= userColumns; ++i)
        columns << u"F%1"_s.arg(i);
    QVector<QVariantList> rows;
    rows.reserve(personCount);
    const QDateTime born(QDate(1980, 5, 1), QTime(0, 0));
    for (int p = 0; p < personCount; ++p) {
        QVariantList row { 5 + p % 16,
                           1,
                           u"N%1"_s.arg(p, 6, 10, QChar(u'0')),
                           u"职员%1"_s.arg((p * 7919) % personCount),
                           p % 2 ? u"男"_s : u"女"_s,
                           born.addDays(p % 9000),
                           u"1101011980%1"_s.arg(p, 8, 10, QChar(u'0')),
                           p };
        for (int i = 1; i <= userColumns; ++i) {
            const int type = dataTypeOf(i);
            row << (type == 0       ? QVariant(3000.0 + (p * i) % 5000 * 0.25)
                        : type == 1 ? QVariant(u"值%1-%2"_s.arg(i).arg(p % 977))
                                    : QVariant(born.addDays(i * 30)));
        }
        rows.push_back(row);
    }
    if (!db.runBatch(u"INSERT INTO qz_PsnBase (%1) VALUES (%2)"_s.arg(
                         columns.join(u','), QStringList(columns.size(), u"?"_s).join(u',')),
                     rows)
             .ok)
        return false;
    if (!transaction.commit())
        return false;
    if (db.backend() == Backend::Postgres)
        db.Execute(u"ANALYZE"_s);
    return true;
}

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
    if (g_backends->connection[backend].isEmpty()) {
        state.SkipWithError(qPrintable(g_backends->why[backend]));
        return false;
    }
    theDatabase.Close();
    theApp.m_strConnection = g_backends->connection[backend];
    if (!theDatabase.Open(theApp.m_strConnection)) {
        state.SkipWithError(qPrintable(theDatabase.GetLastErrorString()));
        return false;
    }
    return true;
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
        state.counters["rss_MB"] = memoryMb("VmRSS:");
        frame.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = memoryMb("VmHWM:");
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
        const QString connection = createDatabase(backend, backends.dir, &backends.why[i]);
        if (connection.isEmpty())
            continue;
        CADODatabase builder;
        if (!builder.Open(connection) || !upgradeSchema(builder) || !fillPersons(builder)) {
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
    std::fprintf(stderr, "resident before opening: %.0f MB\n", memoryMb("VmRSS:"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theDatabase.Close();
    return 0;
}
