#include "platform/reportengine/pdfexport.h"
#include "reportfixture.h"

#include <QBuffer>
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
    void everyControlClass();

private:
    void comparePages(const QString &pdf, const QString &stem, int count, int dpi);

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

    comparePages(pdf, u"list"_s, 3, 50);
}

void TestReportPdf::everyControlClass()
{
    // No data control: the detail shows once.
    ReportLayout layout;
    layout.name = u"控件"_s;
    layout.page = { u"Custom"_s, false, 6000, 4000, 300, 300, 300, 300, 5400 };
    Section detail;
    detail.type = SectionType::Detail;
    detail.name = u"Detail"_s;
    detail.height = 3400;
    layout.sections.append(detail);
    Section &s = layout.sections.last();
    auto add
        = [&](const char16_t *cls, int left, int top, int width, int height) -> ReportControl & {
        ReportControl *c = layout.addControl(s, u"DDActiveReports2."_s + QString::fromUtf16(cls));
        c->left = left;
        c->top = top;
        c->width = width;
        c->height = height;
        return *c;
    };
    ReportControl &label = add(u"Label", 0, 0, 2000, 285);
    label.props.set(u"Caption"_s, u"标签 Label"_s);
    label.font.bold = true;
    add(u"Field", 2100, 0, 2000, 285).props.set(u"DataField"_s, u"=\"表达式 \" & (6 * 7)"_s);
    ReportControl &checked = add(u"CheckBox", 0, 400, 1500, 285);
    checked.props.set(u"Caption"_s, u"已婚"_s);
    checked.props.set(u"Value"_s, u"1"_s);
    add(u"CheckBox", 1600, 400, 1500, 285).props.set(u"Caption"_s, u"党员"_s);
    add(u"BarCode", 0, 800, 2400, 500).props.set(u"Text"_s, u"AB-12"_s);
    ReportControl &code128 = add(u"BarCode", 2600, 800, 2800, 500);
    code128.props.set(u"Text"_s, u"Ferrolyn 6"_s);
    code128.props.set(u"Style"_s, u"Code128"_s);
    add(u"Line", 0, 1400, 5400, 0).props.set(u"LineWeight"_s, 2);
    add(u"Shape", 0, 1500, 1200, 700);
    ReportControl &ellipse = add(u"Shape", 1400, 1500, 1200, 700);
    ellipse.props.set(u"Shape"_s, 1);
    ellipse.props.set(u"BackColor"_s, u"#ffd966"_s);
    add(u"Shape", 2800, 1500, 1200, 700).props.set(u"Shape"_s, 2);
    QImage image(60, 35, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 4, 120, y * 7));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    add(u"Image", 4200, 1500, 1200, 700)
        .props.set(u"Picture"_s, QString::fromLatin1(png.toBase64()));
    add(u"RichEdit", 0, 2300, 3000, 900)
        .props.set(
            u"Html"_s,
            u"<b>加粗</b> 普通 <i>斜体</i><br/><span style=\"color:#c00000\">红色 123</span>"_s);
    add(u"Frame", 3200, 2300, 1000, 900);
    add(u"OLE", 4400, 2300, 1000, 900);

    Report report;
    report.layout() = layout;
    QVERIFY2(report.run(), qPrintable(report.lastError()));
    QCOMPARE(int(report.pages().pages.size()), 1);
    const QString pdf = m_dir.filePath(u"classes.pdf"_s);
    QVERIFY(writePdf(report.pages(), pdf).ok());
    const QString text = run(u"pdftotext"_s, { u"-layout"_s, pdf, u"-"_s }).remove(u' ');
    for (const QString &t :
         { u"标签Label"_s, u"表达式42"_s, u"已婚"_s, u"党员"_s, u"加粗普通斜体"_s, u"红色123"_s })
        QVERIFY2(text.contains(t), qPrintable(t + u" not in:\n"_s + text));
    comparePages(pdf, u"classes"_s, 1, 100);
}

void TestReportPdf::comparePages(const QString &pdf, const QString &stem, int count, int dpi)
{
    QCOMPARE(
        run(u"pdftoppm"_s, { u"-r"_s, QString::number(dpi), u"-png"_s, pdf, m_dir.filePath(stem) }),
        QString());
    for (int page = 1; page <= count; ++page) {
        const QString name = u"%1-%2.png"_s.arg(stem).arg(page);
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
