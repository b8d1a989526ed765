// ferrolyn-render LAYOUT.rpx CONNECTION [--sql TEXT] -o OUT.pdf
// ferrolyn-render --report ID --export pdf|xlsx|tif CONNECTION [--sql TEXT] -o OUT
#include "reportlib/creport.h"
#include "reportlib/renderjob.h"
#include "reportlib/reportpreview.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The library's ExportReport on a stored report, as the program calls it.
int exportStored(const QString &connection, const QString &sql, const QString &id,
                 const QString &kind, const QString &path)
{
    const QStringList kinds { u"pdf"_s, u"xlsx"_s, u"tif"_s };
    const int type = int(kinds.indexOf(kind.isEmpty() ? u"pdf"_s : kind.toLower()));
    bool numeric = false;
    const int reportId = id.toInt(&numeric);
    if (type < 0 || !numeric) {
        std::fprintf(stderr,
                     "ferrolyn-render: --report takes a number, --export pdf, xlsx or tif\n");
        return 2;
    }
    ferrolyn::CReport report;
    const int outcome = report.ExportReport(connection, sql, reportId, qint16(type), path);
    static const char *const reasons[]
        = { "done", "unknown export type", "printing is denied", "the report did not load or run",
            "the file was not written" };
    if (outcome != ferrolyn::OutcomeDone) {
        std::fprintf(stderr, "ferrolyn-render: report %d: %s\n", reportId, reasons[outcome]);
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Rendering needs fonts, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"ferrolyn-render"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Renders a report layout against a database to PDF."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"layout"_s, u"The layout file (.rpx)."_s);
    parser.addPositionalArgument(
        u"connection"_s,
        u"The connection string, e.g. \"Provider=QSQLITE;Data Source=vantrel.db\"."_s);
    const QCommandLineOption sql(u"sql"_s, u"Record-source SQL instead of the layout's."_s,
                                 u"text"_s);
    const QCommandLineOption out(QStringList { u"o"_s, u"output"_s }, u"The PDF file to write."_s,
                                 u"file"_s);
    const QCommandLineOption report(
        u"report"_s, u"A stored report (qz_Report ID) instead of a layout file."_s, u"id"_s);
    const QCommandLineOption exportAs(
        u"export"_s, u"With --report: the output, pdf, xlsx or tif (default pdf)."_s, u"kind"_s);
    parser.addOption(sql);
    parser.addOption(out);
    parser.addOption(report);
    parser.addOption(exportAs);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (parser.isSet(report)) {
        if (args.size() != 1 || !parser.isSet(out)) {
            std::fputs(qPrintable(parser.helpText()), stderr);
            return 2;
        }
        return exportStored(args[0], parser.value(sql), parser.value(report),
                            parser.value(exportAs), parser.value(out));
    }
    if (args.size() != 2 || !parser.isSet(out)) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    const ferrolyn::RenderJob job { args[0], args[1], parser.value(sql), parser.value(out) };
    const auto outcome = ferrolyn::renderToPdf(job);
    if (!outcome) {
        std::fprintf(stderr, "ferrolyn-render: %s\n", qPrintable(outcome.error()));
        return 1;
    }
    if (outcome->noData)
        std::fprintf(stderr, "ferrolyn-render: %s\n", qPrintable(u"记录集中没有数据！"_s));
    std::printf("%s: %d pages\n", qPrintable(job.pdfPath), outcome->pages);
    return 0;
}
