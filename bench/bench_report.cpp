// A 10,000-row report of about 1,000 pages, run and written to PDF: pages per second and the
// process's peak memory, once with narrow rows and once with rows of about 4 KB each.
#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"
#include "platform/reportengine/pdfexport.h"
#include "platform/reportengine/report.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace vantrel::report;

namespace {

QString g_connection;
QString g_pdf;
constexpr int Rows = 10000;

bool fillDatabase(const QString &path)
{
    if (!vantrel::db::createSqliteDatabase(path))
        return false;
    CADODatabase db;
    if (!db.Open(vantrel::db::ConnectionString::forSqlite(path))
        || !db.Execute(u"CREATE TABLE W (ID INTEGER, Number TEXT, Name TEXT, Dept TEXT, Base "
                       "DOUBLE PRECISION, Bonus DOUBLE PRECISION)"_s))
        return false;
    const QStringList names { u"王伟"_s, u"李芳"_s, u"张秀英"_s, u"刘敏"_s, u"陈静"_s };
    QVector<QVariantList> rows;
    for (int i = 1; i <= Rows; ++i)
        rows.append(QVariantList { i, QString(u"P"_s + QString::number(i)), names[i % 5],
                                   QString(u"部门"_s + QString::number(i % 7)), 3000.0 + i % 97,
                                   i % 13 * 10.5 });
    // Each row also carries a note of 2,000 characters that only the wide report selects;
    // made in SQL, so the fill itself adds nothing to the process's peak.
    return db.runBatch(u"INSERT INTO W (ID, Number, Name, Dept, Base, Bonus) "
                       "VALUES (?, ?, ?, ?, ?, ?)"_s,
                       rows)
               .ok
        && db.Execute(u"ALTER TABLE W ADD COLUMN Note TEXT"_s)
        && db.Execute(u"UPDATE W SET Note = replace(hex(zeroblob(1000)), '00', '备注') || ID"_s);
}

ReportControl &field(ReportLayout &layout, Section &s, const QString &dataField, int left,
                     int width)
{
    ReportControl *c = layout.addControl(s, u"DDActiveReports2.Field"_s);
    c->left = left;
    c->width = width;
    c->height = 285;
    c->props.set(u"DataField"_s, dataField);
    return *c;
}

// A4, a page header and a page line; the detail is sized for ten rows to a page. The wide
// source also reads each row's long note, which the page does not show.
ReportLayout wageList(bool wide)
{
    ReportLayout layout;
    for (int type : { SectionType::PageHeader, SectionType::Detail, SectionType::PageFooter }) {
        Section s;
        s.type = type;
        s.name = type == SectionType::Detail ? u"Detail"_s : u"Page"_s + QString::number(type);
        s.height = type == SectionType::Detail ? 1370 : 600;
        layout.sections.append(s);
    }
    ReportControl *title = layout.addControl(layout.sections[0], u"DDActiveReports2.Label"_s);
    title->width = 6000;
    title->height = 400;
    title->props.set(u"Caption"_s, u"工资表"_s);
    Section &detail = layout.sections[1];
    ReportControl *data
        = layout.addControl(detail, u"DDActiveReports2.DataControl"_s, u"DataControl"_s);
    data->props.set(u"ConnectionString"_s, g_connection);
    data->props.set(u"Source"_s,
                    wide ? u"SELECT * FROM W ORDER BY ID"_s
                         : u"SELECT ID, Number, Name, Dept, Base, Bonus FROM W ORDER BY ID"_s);
    field(layout, detail, u"Number"_s, 0, 1200);
    field(layout, detail, u"Name"_s, 1300, 1500);
    field(layout, detail, u"Dept"_s, 2900, 1500);
    field(layout, detail, u"Base"_s, 4500, 1500).props.set(u"OutputFormat"_s, u"#,##0.00"_s);
    field(layout, detail, u"=FormatNumber(rpt.DataControl.Recordset(\"Bonus\").Value, 2)"_s, 6100,
          1500);
    field(layout, layout.sections[2], u"=\"第 \" & rpt.PageNumber & \" 页\""_s, 4000, 1500);
    return layout;
}

// Arguments: 0 the wage list, 1 the same with every row's note read too.
void BM_ReportToPdf(benchmark::State &state)
{
    qint64 pages = 0;
    for (auto _ : state) {
        Report report;
        report.layout() = wageList(state.range(0) == 1);
        if (!report.run() || !writePdf(report.pages(), g_pdf)) {
            state.SkipWithError(qPrintable(report.lastError()));
            return;
        }
        pages += qint64(report.pages().pages.size());
        state.counters["pages"] = double(report.pages().pages.size());
    }
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak MB"] = double(usage.ru_maxrss) / 1024;
}
// The narrow run first: the process's peak only ever grows.
BENCHMARK(BM_ReportToPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bench.db"_s);
    if (!fillDatabase(path)) {
        std::fprintf(stderr, "the benchmark's database cannot be made\n");
        return 1;
    }
    g_connection = vantrel::db::ConnectionString::forSqlite(path);
    g_pdf = dir.filePath(u"bench.pdf"_s);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
