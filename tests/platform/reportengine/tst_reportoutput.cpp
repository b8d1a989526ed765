#include "platform/reportengine/barcode.h"
#include "platform/reportengine/fonttable.h"

#include <QFontDatabase>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::report;

// The pieces of output that do not need a run: the font substitution table and bar codes.
class TestReportOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontSubstitution_data();
    void fontSubstitution();
    void installedFontStays();
    void barcodes_data();
    void barcodes();
};

void TestReportOutput::fontSubstitution_data()
{
    QTest::addColumn<QString>("family");
    for (const char16_t *name : { u"宋体", u"黑体", u"楷体", u"仿宋", u"SimSun", u"simhei",
                                  u"Arial", u"Times New Roman", u"Noto Sans CJK SC Missing", u"" })
        QTest::newRow(QString::fromUtf16(name).toUtf8().constData()) << QString::fromUtf16(name);
}

void TestReportOutput::fontSubstitution()
{
    QFETCH(QString, family);
    QCOMPARE(FontTable::substitute(family), u"WenQuanYi Micro Hei"_s);
}

void TestReportOutput::installedFontStays()
{
    const QStringList families = QFontDatabase::families();
    const QString other = u"DejaVu Sans"_s;
    if (!families.contains(other))
        QSKIP("DejaVu Sans is not installed");
    QCOMPARE(FontTable::substitute(other), other);
}

void TestReportOutput::barcodes_data()
{
    QTest::addColumn<QString>("symbology");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<int>("modules");
    QTest::addColumn<int>("bars");

    // Code 39: start and stop '*' around the text, one narrow space between characters.
    QTest::newRow("code 39") << u"39"_s << u"AB-12"_s << u"100101101101"_s << u"100101101101"_s
                             << 13 * 7 - 1 << 5 * 7;
    QTest::newRow("code 39, lower case read as upper")
        << u"39"_s << u"a"_s << u"1001011011010110101001011"_s << u"100101101101"_s << 13 * 3 - 1
        << 5 * 3;
    QTest::newRow("code 39, not encodable")
        << u"39"_s << u"编号"_s << QString() << QString() << 0 << 0;
    // Code 128 B: start B, the characters, the check symbol, the stop pattern.
    QTest::newRow("code 128") << u"128"_s << u"PJJ123C"_s << u"11010010000"_s << u"1100011101011"_s
                              << 11 * 9 + 13 << 3 * 9 + 4;
    QTest::newRow("code 128, not encodable")
        << u"128"_s << u"编号"_s << QString() << QString() << 0 << 0;
}

void TestReportOutput::barcodes()
{
    QFETCH(QString, symbology);
    QFETCH(QString, text);
    QFETCH(QString, head);
    QFETCH(QString, tail);
    QFETCH(int, modules);
    QFETCH(int, bars);

    const QString pattern = symbology == u"39" ? Barcode::code39(text) : Barcode::code128(text);
    QCOMPARE(pattern.size(), modules);
    QVERIFY(pattern.startsWith(head));
    QVERIFY(pattern.endsWith(tail));
    int runs = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'1' && (i == 0 || pattern[i - 1] == u'0'))
            ++runs;
    }
    QCOMPARE(runs, bars);
}

QTEST_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
