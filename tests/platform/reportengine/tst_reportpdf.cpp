#include "platform/reportengine/pdfexport.h"
#include "reportfixture.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::report;
using namespace reportfixture;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return u"<%1 failed: %2>"_s.arg(program, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Goldens are refreshed on purpose only: VANTREL_UPDATE_GOLDEN=1 (golden/regenerate.sh).
bool updating()
{
    return qEnvironmentVariableIntValue("VANTREL_UPDATE_GOLDEN") == 1;
}

QString goldenPath(const QString &name)
{
    return QStringLiteral(REPORT_GOLDEN_DIR) + u'/' + name;
}

// The share of pixels that differ by more than a quarter of the range in any channel.
double differingShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (std::abs(qRed(p[col]) - qRed(q[col])) > 64
                || std::abs(qGreen(p[col]) - qGreen(q[col])) > 64
                || std::abs(qBlue(p[col]) - qBlue(q[col])) > 64)
                ++differing;
        }
    }
    return double(differing) / (double(x.width()) * x.height());
}

} // namespace

// A three-page report with Chinese and digits to PDF, checked with poppler's tools.
class TestReportPdf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void severalPages();

private:
    QTemporaryDir m_dir;
};

void TestReportPdf::initTestCase()
{
    for (const char *tool : { "pdfinfo", "pdffonts", "pdftotext", "pdftoppm" }) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("poppler-utils is not installed");
    }
}

void TestReportPdf::severalPages()
{
    PersonsDb db(25);
    QVERIFY(db.ok());
    Report report;
    ReportLayout layout = listLayout(db.connectionString(), u"SELECT * FROM P ORDER BY ID"_s);
    Section &detail = section(layout, SectionType::Detail);
    detail.controls.last().props.set(
        u"DataField"_s, u"=\"人员 \" & rpt.DataControl.Recordset(\"ID\").Value & \" 号\""_s);
    addField(layout, detail, u"Dept"_s, 3000, 0, 1500).props.set(u"Alignment"_s, 1);
    Section &header = section(layout, SectionType::PageHeader);
    ReportControl *rule = layout.addControl(header, u"DDActiveReports2.Line"_s);
    rule->top = 260;
    rule->width = 5000;
    report.layout() = layout;
    QVERIFY2(report.run(), qPrintable(report.lastError()));
    QCOMPARE(int(report.pages().pages.size()), 3);

    const QString pdf = m_dir.filePath(u"list.pdf"_s);
    const auto written = writePdf(report.pages(), pdf, u"名单"_s);
    QVERIFY2(written.ok(), qPrintable(written.error()));

    const QString info = run(u"pdfinfo"_s, { pdf });
    QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+3\\n"_s)), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(u"Page size:\\s+300 x 200 pts"_s)), qPrintable(info));

    // Every font is the substitute, embedded: the lines of pdffonts after its two header lines.
    const QStringList fonts = run(u"pdffonts"_s, { pdf }).split(u'\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString &font : fonts) {
        QVERIFY2(font.contains(u"WenQuanYi"_s), qPrintable(font));
        QVERIFY2(font.contains(QRegularExpression(u"\\byes\\b"_s)), qPrintable(font));
    }

    const QString text = run(u"pdftotext"_s, { u"-layout"_s, pdf, u"-"_s });
    QVERIFY2(text.contains(u"人员 17 号"_s), qPrintable(text));
    // pdftotext drops the narrow blanks between Chinese characters.
    QVERIFY2(QString(text).remove(u' ').contains(u"第2页共3页"_s), qPrintable(text));
    QFile textGolden(goldenPath(u"list.txt"_s));
    if (updating()) {
        QVERIFY(textGolden.open(QIODevice::WriteOnly));
        textGolden.write(text.toUtf8());
    } else {
        QVERIFY2(textGolden.open(QIODevice::ReadOnly),
                 "golden/list.txt is missing: run golden/regenerate.sh");
        QCOMPARE(text, QString::fromUtf8(textGolden.readAll()));
    }

    QCOMPARE(run(u"pdftoppm"_s, { u"-r"_s, u"50"_s, u"-png"_s, pdf, m_dir.filePath(u"list"_s) }),
             QString());
    for (int page = 1; page <= 3; ++page) {
        const QString name = u"list-%1.png"_s.arg(page);
        const QImage image(m_dir.filePath(name));
        QVERIFY(!image.isNull());
        if (updating()) {
            QVERIFY(image.save(goldenPath(name)));
            continue;
        }
        const QImage golden(goldenPath(name));
        QVERIFY2(!golden.isNull(), qPrintable(name + u" is missing: run golden/regenerate.sh"_s));
        const double share = differingShare(image, golden);
        QVERIFY2(share < 0.005,
                 qPrintable(u"%1 differs in %2% of its pixels"_s.arg(name).arg(share * 100)));
    }
}

QTEST_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
