// A stored report with a subreport printed and exported without a window, as the program's
// ExportReport and PrintReport calls run it.
#include "core/db/cadodatabase.h"
#include "platform/reportengine/layoutxml.h"
#include "platform/workbook/workbookreader.h"
#include "reportlib/creport.h"
#include "reportlib/modmain.h"
#include "reportlib/reportpreview.h"
#include "reportlib/reportstorage.h"
#include "tests/platform/reportengine/reportfixture.h"
#include "tests/support/testdatabase.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QLibrary>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <tiffio.h>

using namespace Qt::StringLiterals;
using namespace vantrel::report;
using ferrolyn::modMain;

namespace {

QString runTool(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return u"<%1 failed>"_s.arg(tool);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString &path)
{
    const QString info = runTool(u"pdfinfo"_s, { path });
    for (const QString &line : info.split(u'\n')) {
        if (line.startsWith(u"Pages:"_s))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

int tiffPages(const QString &path)
{
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tiff)
        return -1;
    const int n = TIFFNumberOfDirectories(tiff);
    TIFFClose(tiff);
    return n;
}

// 25 persons, ten to a page: three pages; the report footer holds the subreport "明细" and the
// page header a label the script counts runs on.
ReportLayout mainLayout()
{
    ReportLayout layout
        = reportfixture::listLayout({}, u"SELECT Name, Amount FROM P ORDER BY ID"_s);
    Section &detail = reportfixture::section(layout, SectionType::Detail);
    ReportControl &amount = reportfixture::addField(layout, detail, u"Amount"_s, 3100, 0, 1500);
    amount.props.set(u"OutputFormat"_s, u"#,##0.00"_s);
    Section &header = reportfixture::section(layout, SectionType::PageHeader);
    ReportControl *runs = layout.addControl(header, u"DDActiveReports2.Label"_s, u"Runs"_s);
    runs->left = 3000;
    runs->width = 1500;
    runs->height = 240;
    runs->props.set(u"Caption"_s, u"runs 0"_s);
    Section footer;
    footer.type = SectionType::ReportFooter;
    footer.name = u"ReportFooter"_s;
    footer.height = 300;
    layout.sections.insert(layout.sections.size() - 1, footer);
    Section &f = reportfixture::section(layout, SectionType::ReportFooter);
    ReportControl *sub = layout.addControl(f, u"DDActiveReports2.SubReport"_s, u"Sub1"_s);
    sub->width = 4000;
    sub->height = 300;
    sub->props.set(u"reportName"_s, u"明细"_s);
    return layout;
}

ReportLayout subLayout()
{
    ReportLayout layout;
    Section detail;
    detail.type = SectionType::Detail;
    detail.name = u"Detail"_s;
    detail.height = 240;
    layout.sections.append(detail);
    Section &d = layout.sections.last();
    ReportControl *data = layout.addControl(d, u"DDActiveReports2.DataControl"_s, u"DataControl"_s);
    data->props.set(u"Source"_s, u"SELECT 'sub-' || Name AS Name FROM P WHERE ID=2"_s);
    reportfixture::addField(layout, d, u"Name"_s, 0, 0, 3000);
    return layout;
}

const QString CountRuns
    = u"Sub OnReportStart()\r\n"
      u"  rpt.Runs.Caption = \"runs \" & (CLng(Mid(rpt.Runs.Caption, 6)) + 1)\r\n"
      u"End Sub\r\n"_s;

} // namespace

class TestReportLibraryOutput : public QObject
{
    Q_OBJECT

private:
    TestDatabase m_fixture;
    CADODatabase m_db;
    QString m_cn;
    QTemporaryDir m_dir;
    int m_reportId = 0;

    QString file(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        VANTREL_OPEN_TEST_DB(m_fixture, m_db, true);
        m_cn = m_fixture.connectionString();
        QVERIFY(m_db.Execute(
            u"CREATE TABLE P (ID INTEGER, Name VARCHAR(20), Amount DOUBLE PRECISION)"_s));
        for (int i = 1; i <= 25; ++i)
            QVERIFY(m_db.Execute(u"INSERT INTO P (ID, Name, Amount) VALUES (?, ?, ?)"_s,
                                 { i, u"R%1"_s.arg(i), 1000.5 * i }));
        // Stored as the designer stores them.
        auto &m = modMain();
        m.gConnectionString = m_cn;
        m.gReadOnly = false;
        m.gReportExists = 0;
        m.gReportID = 0;
        m.gReportType = 2;
        m.gReportName = u"名单"_s;
        m.settings = ferrolyn::ExportSettings();
        m.settings.ExcelMultiSheet = -1;
        QVERIFY(ferrolyn::SaveReportLayout(mainLayout()));
        m_reportId = m.gReportID;
        QVERIFY(ferrolyn::SaveSubReportRecord(subLayout(), u"明细"_s));
        m.settings = ferrolyn::ExportSettings();
    }
    void init()
    {
        modMain().gDeny2Print = false;
        modMain().gPreviewOnly = false;
        modMain().gScript = CountRuns;
    }

    void exportPdf()
    {
        ferrolyn::CReport report;
        report.setScript(CountRuns);
        const QString pdf = file(u"list.pdf"_s);
        QCOMPARE(report.ExportReport(m_cn, {}, m_reportId, 0, pdf), 0);
        QCOMPARE(pdfPages(pdf), 3);
        const QString text = runTool(u"pdftotext"_s, { u"-layout"_s, pdf, u"-"_s });
        QVERIFY2(text.contains(u"R25"_s), qPrintable(text));
        QVERIFY(text.contains(u"25,012.50"_s));
        QVERIFY2(text.contains(u"sub-R2"_s), qPrintable(text));
        // One run per export: the script's counter stands at 1 on every page.
        QCOMPARE(text.count(u"runs 1"_s), 3);
        QVERIFY(!text.contains(u"runs 2"_s));
    }

    void exportTiff()
    {
        ferrolyn::CReport report;
        report.setScript(CountRuns);
        const QString tif = file(u"list.tif"_s);
        QCOMPARE(report.ExportReport(m_cn, {}, m_reportId, 2, tif), 0);
        QCOMPARE(tiffPages(tif), 3);
        QImage page1(tif);
        QCOMPARE(page1.width(), qRound(6000 * 200 / 1440.0));
        const QString golden = QStringLiteral(REPORTLIB_GOLDEN_DIR) + u"/list-page1.png"_s;
        if (qEnvironmentVariableIsSet("REPORTLIB_REFRESH_GOLDEN"))
            QVERIFY(page1.convertToFormat(QImage::Format_RGB32).save(golden));
        QImage expected(golden);
        QVERIFY2(!expected.isNull(), "golden page missing: run with REPORTLIB_REFRESH_GOLDEN=1");
        QCOMPARE(page1.convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
    }

    void exportExcel()
    {
        // The stored settings: one sheet per page.
        QVERIFY(m_db.Execute(u"UPDATE qz_Report SET EPara=? WHERE ID=?"_s,
                             { u"8|-1|28|-1|0|850|113|-1|-1|-1"_s, m_reportId }));
        ferrolyn::CReport report;
        const QString xlsx = file(u"list.xlsx"_s);
        QCOMPARE(report.ExportReport(m_cn, {}, m_reportId, 1, xlsx), 0);
        QCOMPARE(modMain().settings.ExcelMultiSheet, qint16(-1));
        auto book = workbook::WorkbookReader::open(xlsx);
        QVERIFY2(book, qPrintable(book.error()));
        QCOMPARE(book->sheetNames(), (QStringList { u"Sheet1"_s, u"Sheet2"_s, u"Sheet3"_s }));
        auto sheet = book->readFirstSheet();
        QVERIFY(sheet);
        // The top margin stays as an empty first row (the left one is narrower than a column);
        // then the page header's title and one row per person, name and amount.
        QVERIFY(sheet->header.filter(QRegularExpression(u"^F\\d+$"_s)).size()
                == sheet->header.size());
        QCOMPARE(sheet->rows.value(0).value(0), QVariant(u"名单"_s));
        QCOMPARE(sheet->rows.size(), 12);
        bool found = false;
        for (const QVariantList &row : sheet->rows) {
            const int at = int(row.indexOf(QVariant(u"R1"_s)));
            if (at < 0)
                continue;
            found = true;
            // The amount is the next filled cell to the right.
            QVariant amount;
            for (qsizetype c = at + 1; c < row.size() && !amount.isValid(); ++c)
                amount = row[c];
            QCOMPARE(amount.typeId(), QMetaType::Double);
            QCOMPARE(amount.toDouble(), 1000.5);
        }
        QVERIFY(found);

        // One sheet for all pages when the row says so.
        QVERIFY(m_db.Execute(u"UPDATE qz_Report SET EPara=? WHERE ID=?"_s,
                             { u"8|-1|28|-1|-1|850|113|0|-1|-1"_s, m_reportId }));
        ferrolyn::CReport again;
        QCOMPARE(again.ExportReport(m_cn, {}, m_reportId, 1, xlsx), 0);
        auto single = workbook::WorkbookReader::open(xlsx);
        QVERIFY(single);
        QCOMPARE(single->sheetNames(), QStringList { u"Sheet1"_s });
        QVERIFY(m_db.Execute(u"UPDATE qz_Report SET EPara=NULL WHERE ID=?"_s, { m_reportId }));
    }

    void deny2Print_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("PDF") << 0;
        QTest::newRow("Excel") << 1;
        QTest::newRow("TIFF") << 2;
    }
    void deny2Print()
    {
        QFETCH(int, type);
        ferrolyn::CReport report;
        report.setDeny2Print(true);
        const QString out = file(u"denied-%1"_s.arg(type));
        QCOMPARE(report.ExportReport(m_cn, {}, m_reportId, qint16(type), out), 2);
        QVERIFY(!QFile::exists(out));
        QCOMPARE(report.PrintReport(m_cn, {}, m_reportId, false), 2);
    }

    void printToPdfPrinter()
    {
        const QString pdf = file(u"printed.pdf"_s);
        ferrolyn::ReportPreview::setPrinterSetup([pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        });
        ferrolyn::CReport report;
        report.setScript(CountRuns);
        report.setPreviewOnly(true);
        QCOMPARE(report.PrintReport(m_cn, {}, m_reportId, false), 0);
        QVERIFY(!QFile::exists(pdf));
        report.setPreviewOnly(false);
        QCOMPARE(report.PrintReport(m_cn, {}, m_reportId, false), 0);
        QCOMPARE(pdfPages(pdf), 3);
        const QString text = runTool(u"pdftotext"_s, { pdf, u"-"_s });
        QVERIFY(text.contains(u"sub-R2"_s));
        QCOMPARE(text.count(u"runs 1"_s), 3);
        ferrolyn::ReportPreview::setPrinterSetup({});
    }

    // Pictures go into the PDF at PdfJPGQuality.
    void pdfPictureQuality()
    {
        QImage noise(300, 300, QImage::Format_RGB32);
        quint32 seed = 12345;
        for (int y = 0; y < noise.height(); ++y) {
            for (int x = 0; x < noise.width(); ++x) {
                seed = seed * 1103515245u + 12345u;
                noise.setPixel(x, y, 0xff000000u | (seed >> 8));
            }
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(noise.save(&buffer, "PNG"));
        ReportLayout layout = reportfixture::listLayout({}, u"SELECT Name FROM P WHERE ID=1"_s);
        ReportControl *picture = layout.addControl(
            reportfixture::section(layout, SectionType::PageHeader), u"DDActiveReports2.Image"_s);
        picture->width = 3000;
        picture->height = 3000;
        picture->props.set(u"Picture"_s, QString::fromLatin1(png.toBase64()));
        const auto r = m_db.run(u"INSERT INTO qz_Report (ParentID, Type, Name, Data) VALUES "
                                u"(0, 1, '图片', ?) RETURNING ID"_s,
                                { LayoutXml::write(layout) });
        QVERIFY(r.hasRow());
        qint64 sizes[2] = {};
        const int qualities[2] = { 5, 100 };
        for (int i = 0; i < 2; ++i) {
            ferrolyn::CReport report;
            report.setScript({});
            report.setPdfJPGQuality(qualities[i]);
            const QString pdf = file(u"picture-%1.pdf"_s.arg(qualities[i]));
            QCOMPARE(report.ExportReport(m_cn, {}, r.scalar().toInt(), 0, pdf), 0);
            sizes[i] = QFileInfo(pdf).size();
        }
        QVERIFY2(sizes[0] * 2 < sizes[1], qPrintable(u"%1 vs %2"_s.arg(sizes[0]).arg(sizes[1])));
    }

    void unwritableFile()
    {
        ferrolyn::CReport report;
        QCOMPARE(report.ExportReport(m_cn, {}, m_reportId, 0, u"/nonexistent/dir/x.pdf"_s), 4);
    }

    // The viewer's events without its window: no rows, a script error, a subreport without a row.
    void previewEvents()
    {
        auto &m = modMain();
        ferrolyn::CReport report;
        m.gReportID = m_reportId;
        m.gConnectionString = m_cn;
        m.gHasRecordSource = true;
        m.gRecordSourceSQL = u"SELECT Name, Amount FROM P WHERE 1=0"_s;
        ferrolyn::ReportPreview preview;
        QVERIFY(preview.DoOpenReport());
        QVERIFY(preview.run());
        QCOMPARE(preview.statusText(), u"记录集中没有数据！"_s);

        m.gScript = u"Sub OnReportStart()\r\n  Err.Raise 5, , \"坏脚本\"\r\nEnd Sub\r\n"_s;
        ferrolyn::ReportPreview failing;
        QVERIFY(failing.DoOpenReport());
        QCOMPARE(failing.DoExport2PDF(file(u"failing.pdf"_s)), 3);
        QVERIFY2(failing.statusText().startsWith(u"Error: "_s), qPrintable(failing.statusText()));
        QVERIFY(failing.statusText().contains(u"坏脚本"_s));
        QVERIFY(!QFile::exists(file(u"failing.pdf"_s)));

        m.gScript = CountRuns;
        m.gHasRecordSource = false;
        QVERIFY(
            m_db.Execute(u"UPDATE qz_Report SET Name='别名' WHERE ParentID=?"_s, { m_reportId }));
        ferrolyn::ReportPreview unbound;
        QVERIFY(unbound.DoOpenReport());
        QCOMPARE(m.gRecordSourceSQL, u"SELECT Name, Amount FROM P ORDER BY ID"_s);
        QCOMPARE(unbound.DoExport2PDF(file(u"unbound.pdf"_s)), 0);
        QVERIFY(
            m_db.Execute(u"UPDATE qz_Report SET Name='明细' WHERE ParentID=?"_s, { m_reportId }));
        const QString text = runTool(u"pdftotext"_s, { file(u"unbound.pdf"_s), u"-"_s });
        QVERIFY(text.contains(u"R25"_s));
        QVERIFY(!text.contains(u"sub-R2"_s));
    }

    // Until the program's menus call it, ferrolyn-render exports a stored report the same way.
    void renderTool_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("magic");
        QTest::newRow("pdf") << u"pdf"_s << QByteArray("%PDF");
        QTest::newRow("xlsx") << u"xlsx"_s << QByteArray("PK");
        QTest::newRow("tif") << u"tif"_s << QByteArray("II*");
    }
    void renderTool()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, magic);
        const QString out = file(u"tool."_s + kind);
        QProcess tool;
        tool.start(QStringLiteral(RENDER_TOOL),
                   { u"--report"_s, QString::number(m_reportId), u"--export"_s, kind, m_cn, u"-o"_s,
                     out });
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.read(4).startsWith(magic));

        tool.start(
            QStringLiteral(RENDER_TOOL),
            { u"--report"_s, u"999999"_s, u"--export"_s, kind, m_cn, u"-o"_s, out + u"x"_s });
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains(u"did not load"_s));
    }

    // The entry point the program binds: texts as UTF-16, the prelude as the script.
    void entryPoint()
    {
        using ExportFn = int (*)(const char16_t *, const char16_t *, int, short, const char16_t *,
                                 const char16_t *);
        QLibrary library(u"ferrolyn"_s);
        library.setFileName(QStringLiteral(FERROLYN_LIBRARY));
        const auto exportReport = reinterpret_cast<ExportFn>(library.resolve("ExportReport"));
        QVERIFY2(exportReport, qPrintable(library.errorString()));
        const QString pdf = file(u"entry.pdf"_s);
        const auto u16
            = [](const QString &s) { return reinterpret_cast<const char16_t *>(s.utf16()); };
        QCOMPARE(exportReport(u16(m_cn), u"", m_reportId, 0, u16(pdf), u16(CountRuns)), 0);
        QCOMPARE(pdfPages(pdf), 3);
        QCOMPARE(exportReport(u16(m_cn), u"", m_reportId, 3, u16(pdf), nullptr), 1);
    }
};

QTEST_MAIN(TestReportLibraryOutput)
#include "tst_reportlibraryoutput.moc"
