// ferrolyn-render LAYOUT.rpx CONNECTION [--sql TEXT] -o OUT.pdf
#include "reportlib/renderjob.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

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
    parser.addOption(sql);
    parser.addOption(out);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
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
