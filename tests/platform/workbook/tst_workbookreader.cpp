#include "platform/workbook/datestyles.h"
#include "platform/workbook/exceldate.h"
#include "platform/workbook/isolatedxlsfile.h"
#include "platform/workbook/workbookreader.h"
#include "xlsxfixture.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using namespace workbook;

namespace {

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestWorkbookReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void readsXls();
    void readsXlsNamedSheet();
    void readsXlsx();
    void readsXlsxEmptySheet();
    void readsXlsx1904Dates();
    void openFails_data();
    void openFails();
    void readerOutputDamaged_data();
    void readerOutputDamaged();
    void readSheetFails_data();
    void readSheetFails();
    void dateFromSerial_data();
    void dateFromSerial();
    void serialFromDateTime_data();
    void serialFromDateTime();
    void dateFormatCode_data();
    void dateFormatCode();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestWorkbookReader::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

// data/people.xls is written by data/make_people_xls.py with xlwt (Debian's python3-xlwt).
void TestWorkbookReader::readsXls()
{
    const QString fixture = QFINDTESTDATA("data/people.xls");
    QVERIFY(!fixture.isEmpty());
    auto reader = WorkbookReader::open(fixture);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    QCOMPARE(reader->format(), WorkbookReader::Format::Xls);
    QCOMPARE(reader->sheetNames(), QStringList({ u"人员"_s, u"Second"_s }));

    const auto sheet = reader->readFirstSheet();
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    QCOMPARE(sheet->name, u"人员"_s);
    QCOMPARE(sheet->header,
             QStringList({ u"编号"_s, u"姓名"_s, u"F3"_s, u"入职日期"_s, u"工资"_s, u"在职"_s,
                           u"备注"_s }));
    const QVariant empty;
    const QList<QVariantList> rows {
        { 1001.0, u"张三"_s, u"x"_s, QDate(2020, 3, 15), 8500.5, 1.0, u"他说\"你好\""_s },
        { 1002.0, u"李四"_s, empty, QDateTime(QDate(2021, 7, 1), QTime(8, 30)), 12000.0, 0.0,
          empty },
        { empty, empty, empty, empty, empty, empty, empty },
        { 1003.0, u"O'Brien"_s, empty, QDateTime(QDate(1899, 12, 30), QTime(13, 45)), -1.25, empty,
          empty },
    };
    QCOMPARE(sheet->rows, rows);
}

void TestWorkbookReader::readsXlsNamedSheet()
{
    auto reader = WorkbookReader::open(QFINDTESTDATA("data/people.xls"));
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    const auto sheet = reader->readSheet(u"SECOND"_s);
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    QCOMPARE(sheet->name, u"Second"_s);
    QCOMPARE(sheet->header, QStringList({ u"A"_s, u"B"_s }));
    QCOMPARE(sheet->rows, QList<QVariantList>({ { 1.0, u"x"_s } }));
}

void TestWorkbookReader::readsXlsx()
{
    // Named .xls on purpose: the content decides the format.
    const QString file = path(u"handmade.xls"_s);
    QVERIFY(writeZip(file, handmadeXlsxParts()));
    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    QCOMPARE(reader->format(), WorkbookReader::Format::Xlsx);
    QCOMPARE(reader->sheetNames(), QStringList({ u"工资"_s, u"Other"_s }));

    const auto sheet = reader->readFirstSheet();
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    QCOMPARE(sheet->header, QStringList({ u"编号"_s, u"姓名"_s, u"F3"_s, u"日期"_s, u"金额"_s }));
    const QVariant empty;
    const QList<QVariantList> rows {
        { 1001.0, u"张三丰"_s, true, QDate(2020, 1, 1), 1234.5 },
        { empty, empty, empty, empty, empty },
        { u"公式"_s, QDateTime(QDate(2023, 3, 15), QTime(12, 0)), empty,
          QDateTime(QDate(1899, 12, 30), QTime(18, 0)), empty },
    };
    QCOMPARE(sheet->rows, rows);
}

void TestWorkbookReader::readsXlsxEmptySheet()
{
    const QString file = path(u"empty-sheet.xlsx"_s);
    QVERIFY(writeZip(file, handmadeXlsxParts()));
    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    const auto sheet = reader->readSheet(u"Other"_s);
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    QCOMPARE(sheet->name, u"Other"_s);
    QVERIFY(sheet->header.isEmpty());
    QVERIFY(sheet->rows.isEmpty());
}

void TestWorkbookReader::readsXlsx1904Dates()
{
    const QString file = path(u"1904.xlsx"_s);
    QVERIFY(writeZip(file, handmadeXlsxParts(true)));
    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    const auto sheet = reader->readFirstSheet();
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    // Serial 43831 is 2020-01-01 in the 1900 system and four years and a day later in 1904.
    QCOMPARE(sheet->rows.at(0).at(3), QVariant(QDate(2024, 1, 2)));
}

void TestWorkbookReader::openFails_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");

    QTest::newRow("missing file") << path(u"nowhere.xlsx"_s) << u"找不到文件"_s;

    const QString text = path(u"text.xlsx"_s);
    QVERIFY(writeFile(text, "编号,姓名\n1,张三\n"));
    QTest::newRow("text named .xlsx") << text << u"不是 Excel 工作簿"_s;

    const QString emptyFile = path(u"empty.xls"_s);
    QVERIFY(writeFile(emptyFile, {}));
    QTest::newRow("empty file") << emptyFile << u"不是 Excel 工作簿"_s;

    const QString zip = path(u"no-workbook.xlsx"_s);
    QVERIFY(writeZip(zip, { { u"word/document.xml"_s, "<document/>" } }));
    QTest::newRow("zip without workbook.xml") << zip << u"不是 Excel 工作簿"_s;

    const QString brokenZip = path(u"broken.xlsx"_s);
    QVERIFY(writeFile(brokenZip, QByteArray("PK\x03\x04", 4) + QByteArray(200, 'x')));
    QTest::newRow("broken zip") << brokenZip << u"文件已损坏"_s;

    const QString brokenOle = path(u"broken.xls"_s);
    QVERIFY(writeFile(brokenOle,
                      QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\0')));
    QTest::newRow("broken xls") << brokenOle << u"文件已损坏"_s;

    // Files that crash the .xls library itself: the reader's own process goes down, not ours.
    for (const char *name : { "freexl-heap-read.xls", "freexl-iconv-stack-read.xls" }) {
        const QString input
            = QFINDTESTDATA(u"../../fuzz/unfixed/workbook_xls/"_s + QLatin1String(name));
        QVERIFY(!input.isEmpty());
        QTest::newRow(name) << input << u"文件已损坏"_s;
    }

    ZipEntries noSheetPart = handmadeXlsxParts();
    noSheetPart.removeLast();
    const QString missingPart = path(u"missing-part.xlsx"_s);
    QVERIFY(writeZip(missingPart, noSheetPart));
    QTest::newRow("sheet part missing") << missingPart << u"文件已损坏"_s;
}

void TestWorkbookReader::openFails()
{
    QFETCH(QString, file);
    QFETCH(QString, error);
    const auto reader = WorkbookReader::open(file);
    QVERIFY(!reader.ok());
    QVERIFY2(reader.error().contains(error), qPrintable(reader.error()));
}

// The reader program's output is checked like a file: any damage is a damaged workbook, never
// a crash or an allocation of what the bytes claim.
void TestWorkbookReader::readerOutputDamaged_data()
{
    QTest::addColumn<QByteArray>("output");

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QCOMPARE(writeXlsWorkbook(QFINDTESTDATA("data/people.xls"), buffer), 0);
    const QByteArray whole = buffer.data();
    QVERIFY(IsolatedXlsFile::decode(whole, u"people.xls"_s).ok());

    for (const qsizetype cut :
         { qsizetype(0), qsizetype(3), qsizetype(9), whole.size() / 2, whole.size() - 1 })
        QTest::addRow("cut at %lld", qlonglong(cut)) << whole.left(cut);
    QByteArray hugeCount = whole;
    hugeCount.replace(9, 4, QByteArray("\x7f\xff\xff\xff", 4)); // the sheet names' count
    QTest::newRow("count beyond the bytes") << hugeCount;
    QByteArray badFlag = whole;
    badFlag[4] = 7;
    QTest::newRow("flag neither 0 nor 1") << badFlag;
    const QString oldFormat = QFINDTESTDATA("../../fuzz/workbook_xlsstream/qvariant-bitarray.bin");
    QVERIFY(!oldFormat.isEmpty());
    QFile file(oldFormat);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTest::newRow("QVariant stream that crashed Qt") << file.readAll();
}

void TestWorkbookReader::readerOutputDamaged()
{
    QFETCH(QByteArray, output);
    const auto source = IsolatedXlsFile::decode(output, u"x.xls"_s);
    QVERIFY(!source.ok());
    QVERIFY2(source.error().contains(u"文件已损坏"_s), qPrintable(source.error()));
}

void TestWorkbookReader::readSheetFails_data()
{
    QTest::addColumn<QByteArray>("firstSheet");
    QTest::addColumn<QString>("sheetName");
    QTest::addColumn<QString>("error");

    QTest::newRow("unknown sheet")
        << handmadeFirstSheet() << u"工资表"_s << u"没有名为“工资表”的工作表"_s;
    QTest::newRow("broken XML") << QByteArray("<worksheet><sheetData><row>") << u"工资"_s
                                << u"文件已损坏"_s;
    QTest::newRow("shared string out of range")
        << sheetWithCell(R"(<c r="A1" t="s"><v>9</v></c>)") << u"工资"_s << u"文件已损坏"_s;
    QTest::newRow("bad cell reference")
        << sheetWithCell(R"(<c r="1A"><v>1</v></c>)") << u"工资"_s << u"文件已损坏"_s;
}

void TestWorkbookReader::readSheetFails()
{
    QFETCH(QByteArray, firstSheet);
    QFETCH(QString, sheetName);
    QFETCH(QString, error);
    const QString file = path(QString::fromLatin1(QTest::currentDataTag()) + u".xlsx"_s);
    QVERIFY(writeZip(file, handmadeXlsxParts(false, firstSheet)));
    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    const auto sheet = reader->readSheet(sheetName);
    QVERIFY(!sheet.ok());
    QVERIFY2(sheet.error().contains(error), qPrintable(sheet.error()));
}

void TestWorkbookReader::dateFromSerial_data()
{
    QTest::addColumn<double>("serial");
    QTest::addColumn<bool>("date1904");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("first day") << 1.0 << false << QVariant(QDate(1900, 1, 1));
    QTest::newRow("before the phantom leap day") << 59.0 << false << QVariant(QDate(1900, 2, 28));
    QTest::newRow("the phantom 1900-02-29") << 60.0 << false << QVariant(QDate(1900, 2, 28));
    QTest::newRow("after the phantom leap day") << 61.0 << false << QVariant(QDate(1900, 3, 1));
    QTest::newRow("2020-01-01") << 43831.0 << false << QVariant(QDate(2020, 1, 1));
    QTest::newRow("date and time")
        << 43831.5 << false << QVariant(QDateTime(QDate(2020, 1, 1), QTime(12, 0)));
    QTest::newRow("seconds") << 45000.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0 << false
                             << QVariant(QDateTime(QDate(2023, 3, 15), QTime(13, 45, 30)));
    QTest::newRow("time only") << 0.25 << false
                               << QVariant(QDateTime(QDate(1899, 12, 30), QTime(6, 0)));
    QTest::newRow("rounds up to midnight")
        << 43831.9999999999 << false << QVariant(QDate(2020, 1, 2));
    QTest::newRow("1904 epoch") << 0.0 << true << QVariant(QDate(1904, 1, 1));
    QTest::newRow("1904 no phantom day") << 60.0 << true << QVariant(QDate(1904, 3, 1));
    QTest::newRow("last day") << 2958465.0 << false << QVariant(QDate(9999, 12, 31));
    QTest::newRow("past 9999") << 2958466.0 << false << QVariant();
    QTest::newRow("negative") << -1.0 << false << QVariant();
}

void TestWorkbookReader::dateFromSerial()
{
    QFETCH(double, serial);
    QFETCH(bool, date1904);
    QFETCH(QVariant, expected);
    QCOMPARE(
        workbook::dateFromSerial(serial, date1904 ? DateSystem::Excel1904 : DateSystem::Excel1900),
        expected);
}

void TestWorkbookReader::serialFromDateTime_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<double>("serial");

    QTest::newRow("first day") << QDate(1900, 1, 1) << QTime() << 1.0;
    QTest::newRow("before the phantom leap day") << QDate(1900, 2, 28) << QTime() << 59.0;
    QTest::newRow("after the phantom leap day") << QDate(1900, 3, 1) << QTime() << 61.0;
    QTest::newRow("noon") << QDate(2020, 1, 1) << QTime(12, 0) << 43831.5;
    QTest::newRow("before 1900") << QDate(1899, 12, 31) << QTime() << -1.0;
}

void TestWorkbookReader::serialFromDateTime()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(double, serial);
    const std::optional<double> result = workbook::serialFromDateTime(date, time);
    QCOMPARE(result.value_or(-1.0), serial);
}

void TestWorkbookReader::dateFormatCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("isDate");

    QTest::newRow("iso date") << u"yyyy-mm-dd"_s << true;
    QTest::newRow("chinese date") << u"yyyy\"年\"m\"月\"d\"日\""_s << true;
    QTest::newRow("locale and date") << u"[$-804]yyyy/m/d;@"_s << true;
    QTest::newRow("time with am/pm") << u"h:mm AM/PM"_s << true;
    QTest::newRow("elapsed hours") << u"[h]:mm"_s << true;
    QTest::newRow("General") << u"General"_s << false;
    QTest::newRow("decimal") << u"#,##0.00"_s << false;
    QTest::newRow("scientific") << u"0.00E+00"_s << false;
    QTest::newRow("colour bracket") << u"[Red]0.00"_s << false;
    QTest::newRow("quoted letters") << u"0.00\" days\""_s << false;
    QTest::newRow("escaped letter") << u"0\\d"_s << false;
    QTest::newRow("padding letter") << u"0_m"_s << false;
    QTest::newRow("date only in second section") << u"0;yyyy"_s << false;
    QTest::newRow("text") << u"@"_s << false;
    QTest::newRow("builtin id 14 is not a code") << u"14"_s << false;
}

void TestWorkbookReader::dateFormatCode()
{
    QFETCH(QString, code);
    QFETCH(bool, isDate);
    QCOMPARE(DateStyles::isDateFormatCode(code), isDate);
}

QTEST_GUILESS_MAIN(TestWorkbookReader)
#include "tst_workbookreader.moc"
