#include "platform/workbook/workbookreader.h"
#include "platform/workbook/workbookwriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace workbook;

namespace {

vantrel::Status writeSheet(const QString &path, const QString &sheetName, const QStringList &header,
                           const QList<QVariantList> &rows)
{
    WorkbookWriter writer(path, sheetName);
    if (auto status = writer.open(); !status)
        return status;
    if (auto status = writer.writeHeader(header); !status)
        return status;
    for (const QVariantList &row : rows) {
        if (auto status = writer.writeRow(row); !status)
            return status;
    }
    return writer.finish();
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWorkbookWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void validSheetName_data();
    void validSheetName();
    void xlsxPath_data();
    void xlsxPath();
    void roundTripsValue_data();
    void roundTripsValue();
    void roundTripsSheet();
    void writesHeaderOnly();
    void writesManyRows();
    void replacesExistingFile();
    void failedWriteLeavesNoFile_data();
    void failedWriteLeavesNoFile();
    void failsForMissingFolder();
    void abandonedWriteLeavesNoFile();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestWorkbookWriter::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestWorkbookWriter::validSheetName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    const QString thirtyOne(31, u'a');
    QTest::newRow("valid") << u"工资表"_s << u"工资表"_s;
    QTest::newRow("forbidden characters") << u"a[b]c:d*e?f/g\\h"_s << u"a_b_c_d_e_f_g_h"_s;
    QTest::newRow("apostrophes at the ends") << u"'O'Brien'"_s << u"O'Brien"_s;
    QTest::newRow("only apostrophes") << u"''"_s << u"Sheet1"_s;
    QTest::newRow("empty") << QString() << u"Sheet1"_s;
    QTest::newRow("31 characters") << thirtyOne << thirtyOne;
    QTest::newRow("too long") << thirtyOne + u"bcd"_s << thirtyOne;
    QTest::newRow("cut before an apostrophe") << QString(30, u'a') + u"'b"_s << QString(30, u'a');
    QTest::newRow("cut keeps surrogate pairs") << QString(30, u'a') + u"𠀀"_s << QString(30, u'a');
}

void TestWorkbookWriter::validSheetName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(WorkbookWriter::validSheetName(name), expected);
}

void TestWorkbookWriter::xlsxPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow(".xls replaced") << u"/data/工资表.xls"_s << u"/data/工资表.xlsx"_s;
    QTest::newRow(".XLS replaced") << u"/data/a.XLS"_s << u"/data/a.xlsx"_s;
    QTest::newRow(".xlsx kept") << u"/data/a.xlsx"_s << u"/data/a.xlsx"_s;
    QTest::newRow("no extension") << u"/data/a"_s << u"/data/a.xlsx"_s;
    QTest::newRow("other extension") << u"/data/a.csv"_s << u"/data/a.csv.xlsx"_s;
    QTest::newRow("dotted folder") << u"/data/v1.xls/a"_s << u"/data/v1.xls/a.xlsx"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestWorkbookWriter::xlsxPath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(WorkbookWriter::xlsxPath(path), expected);
}

void TestWorkbookWriter::roundTripsValue_data()
{
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QVariant>("read");

    const QString quoted = u"他说\"你好\" <a&b> 'x'"_s;
    QTest::newRow("text with quotes") << QVariant(quoted) << QVariant(quoted);
    QTest::newRow("spaces kept") << QVariant(u"  两端空格  "_s) << QVariant(u"  两端空格  "_s);
    QTest::newRow("line break") << QVariant(u"第一行\n第二行"_s) << QVariant(u"第一行\n第二行"_s);
    QTest::newRow("int") << QVariant(42) << QVariant(42.0);
    QTest::newRow("64-bit integer")
        << QVariant(qlonglong(1234567890123)) << QVariant(1234567890123.0);
    QTest::newRow("double") << QVariant(-0.1) << QVariant(-0.1);
    QTest::newRow("true") << QVariant(true) << QVariant(true);
    QTest::newRow("false") << QVariant(false) << QVariant(false);
    QTest::newRow("date") << QVariant(QDate(2024, 2, 29)) << QVariant(QDate(2024, 2, 29));
    const QDateTime dateTime(QDate(2024, 1, 5), QTime(8, 30, 15));
    QTest::newRow("date and time") << QVariant(dateTime) << QVariant(dateTime);
    QTest::newRow("midnight reads as date")
        << QVariant(QDateTime(QDate(2024, 1, 5), QTime(0, 0))) << QVariant(QDate(2024, 1, 5));
    QTest::newRow("time") << QVariant(QTime(13, 45))
                          << QVariant(QDateTime(QDate(1899, 12, 30), QTime(13, 45)));
    QTest::newRow("date before 1900 as text")
        << QVariant(QDate(1899, 1, 1)) << QVariant(u"1899-01-01"_s);
    QTest::newRow("null") << QVariant() << QVariant();
    QTest::newRow("typed null") << QVariant(QMetaType::fromType<int>()) << QVariant();
    QTest::newRow("empty text") << QVariant(QString()) << QVariant();
}

void TestWorkbookWriter::roundTripsValue()
{
    QFETCH(QVariant, written);
    QFETCH(QVariant, read);
    const QString file = path(u"value.xlsx"_s);
    // The first column keeps the row from being empty.
    const auto status = writeSheet(file, u"值"_s, { u"行"_s, u"值"_s }, { { 1, written } });
    QVERIFY2(status.ok(), qPrintable(status.error()));
    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    const auto sheet = reader->readFirstSheet();
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    QCOMPARE(sheet->rows.size(), 1);
    QCOMPARE(sheet->rows.at(0).at(1), read);
}

void TestWorkbookWriter::roundTripsSheet()
{
    const QString file = WorkbookWriter::xlsxPath(path(u"工资表.xls"_s));
    const QString sheetName = WorkbookWriter::validSheetName(QFileInfo(file).completeBaseName());
    const QStringList header { u"编号"_s, u"姓名"_s, u"入职日期"_s, u"工资"_s, u"在职"_s };
    const QVariant null;
    const QList<QVariantList> rows {
        { u"001"_s, u"张三"_s, QDate(2020, 3, 15), 8500.5, true },
        { u"002"_s, null, null, null, false },
        { u"003"_s, u"O'Brien"_s, QDate(2021, 7, 1), 0, null },
    };
    const auto status = writeSheet(file, sheetName, header, rows);
    QVERIFY2(status.ok(), qPrintable(status.error()));

    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    QCOMPARE(reader->sheetNames(), QStringList { u"工资表"_s });
    const auto sheet = reader->readFirstSheet();
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    QCOMPARE(sheet->header, header);
    const QList<QVariantList> expected {
        { u"001"_s, u"张三"_s, QDate(2020, 3, 15), 8500.5, true },
        { u"002"_s, null, null, null, false },
        { u"003"_s, u"O'Brien"_s, QDate(2021, 7, 1), 0.0, null },
    };
    QCOMPARE(sheet->rows, expected);
    QCOMPARE(QDir(m_dir.path()).entryList({ u"*工资表*"_s }, QDir::Files | QDir::Hidden),
             QStringList { u"工资表.xlsx"_s });
}

void TestWorkbookWriter::writesHeaderOnly()
{
    const QString file = path(u"header-only.xlsx"_s);
    const QStringList header { u"编号"_s, u"姓名"_s };
    const auto status = writeSheet(file, u"空表"_s, header, {});
    QVERIFY2(status.ok(), qPrintable(status.error()));
    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    const auto sheet = reader->readFirstSheet();
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    QCOMPARE(sheet->header, header);
    QVERIFY(sheet->rows.isEmpty());
}

void TestWorkbookWriter::writesManyRows()
{
    constexpr int rowCount = 30000;
    const QString file = path(u"many.xlsx"_s);
    WorkbookWriter writer(file, u"many"_s);
    QVERIFY(writer.open().ok());
    QVERIFY(writer.writeHeader({ u"n"_s, u"text"_s, u"date"_s }).ok());
    for (int i = 0; i < rowCount; ++i) {
        const auto status = writer.writeRow({ i, u"行%1"_s.arg(i), QDate(2020, 1, 1).addDays(i) });
        QVERIFY2(status.ok(), qPrintable(status.error()));
    }
    QVERIFY(writer.finish().ok());

    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    const auto sheet = reader->readFirstSheet();
    QVERIFY2(sheet.ok(), qPrintable(sheet.error()));
    QCOMPARE(sheet->rows.size(), rowCount);
    for (int i : { 0, 12345, rowCount - 1 }) {
        const QVariantList expected { double(i), u"行%1"_s.arg(i), QDate(2020, 1, 1).addDays(i) };
        QCOMPARE(sheet->rows.at(i), expected);
    }
}

void TestWorkbookWriter::replacesExistingFile()
{
    const QString file = path(u"existing.xlsx"_s);
    {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file, not a workbook");
    }
    const auto status = writeSheet(file, u"新"_s, { u"a"_s }, { { 1 } });
    QVERIFY2(status.ok(), qPrintable(status.error()));
    auto reader = WorkbookReader::open(file);
    QVERIFY2(reader.ok(), qPrintable(reader.error()));
    QCOMPARE(reader->sheetNames(), QStringList { u"新"_s });
}

void TestWorkbookWriter::failedWriteLeavesNoFile_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("oldFile");
    QTest::addColumn<QString>("error");

    const QVariant tooLong(QString(32768, u'字'));
    QTest::newRow("text too long") << tooLong << false << u"32767"_s;
    QTest::newRow("text too long, old file kept") << tooLong << true << u"32767"_s;
    QTest::newRow("binary") << QVariant(QByteArray("\x01\x02", 2)) << false << u"QByteArray"_s;
}

void TestWorkbookWriter::failedWriteLeavesNoFile()
{
    QFETCH(QVariant, value);
    QFETCH(bool, oldFile);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"failed.xlsx"_s);
    if (oldFile) {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content");
    }

    WorkbookWriter writer(file, u"失败"_s);
    QVERIFY(writer.open().ok());
    QVERIFY(writer.writeRow({ 1, u"ok"_s }).ok());
    const auto failed = writer.writeRow({ 2, value });
    QVERIFY(!failed.ok());
    QVERIFY2(failed.error().contains(error), qPrintable(failed.error()));
    QVERIFY2(failed.error().contains(u"第 2 行第 2 列"_s), qPrintable(failed.error()));
    QCOMPARE(writer.writeRow({ 3 }).error(), failed.error());
    QCOMPARE(writer.finish().error(), failed.error());

    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, oldFile ? QStringList { u"failed.xlsx"_s } : QStringList());
    if (oldFile)
        QCOMPARE(contentOf(file), QByteArray("old content"));
}

void TestWorkbookWriter::failsForMissingFolder()
{
    const QString file = path(u"no/such/folder/a.xlsx"_s);
    WorkbookWriter writer(file, u"a"_s);
    const auto status = writer.open();
    QVERIFY(!status.ok());
    QVERIFY2(status.error().contains(u"无法写入文件"_s), qPrintable(status.error()));
    QVERIFY(!writer.finish().ok());
    QVERIFY(!QFileInfo::exists(file));
}

void TestWorkbookWriter::abandonedWriteLeavesNoFile()
{
    QTemporaryDir dir;
    {
        WorkbookWriter writer(dir.filePath(u"abandoned.xlsx"_s), u"a"_s);
        QVERIFY(writer.open().ok());
        QVERIFY(writer.writeRow({ 1, u"x"_s }).ok());
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(TestWorkbookWriter)
#include "tst_workbookwriter.moc"
