#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/query/itemmetadata.h"
#include "personnel/psnimport.h"
#include "platform/workbook/workbookwriter.h"
#include "psnfixture.h"
#include "testdatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

// n persons numbered N0001 …, every one in row order.
QList<QVariantList> numberedRows(int n)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows.append({ u"N%1"_s.arg(i, 4, 10, QChar(u'0')), u"人%1"_s.arg(i), double(i),
                      QDate(2020, 1, 1).addDays(i) });
    return rows;
}

const QStringList numberedHeader { u"编号"_s, u"姓名"_s, u"数额"_s, u"入职日期"_s };

CItemInfoArray personItems()
{
    CItemInfoArray items;
    LoadItemInfos(items, u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s);
    return items;
}

int itemId(const CItemInfoArray &items, const QString &alias)
{
    for (const tagVANTRELITEMINFO &item : items) {
        if (item.Alias == alias)
            return item.ItemID;
    }
    return 0;
}

// Matches each source column to the item of the same alias, as the dialog does at first.
PsnImportRequest requestFor(const QString &path, const CItemInfoArray &items)
{
    const vantrel::Result<ImportSource> source = ReadImportSource(path);
    QVector<ImportGridRow> rows;
    if (source) {
        for (const ImportColumn &column : source->columns)
            rows.append({ column.title, column.numeric, itemId(items, column.title) });
    }
    return { path, 2, 1, ImportMatches(items, rows) };
}

int personCount()
{
    return theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnBase"_s).scalar().toInt();
}

} // namespace

class TestPsnImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void convertCell_data();
    void convertCell();
    void checks_data();
    void checks();
    void readSource();
    void importsXlsx();
    void importsXls();
    void refusedRowsLeaveTableUnchanged_data();
    void refusedRowsLeaveTableUnchanged();
    void cancelRollsBack();

private:
    TestDatabase *m_fixture = nullptr;
    QTemporaryDir m_dir;
};

void TestPsnImport::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    loginAs(u"admin"_s);
}

void TestPsnImport::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnImport::convertCell_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<int>("dataType");
    QTest::addColumn<QVariant>("expected"); // invalid with an error: refused
    QTest::addColumn<bool>("refused");
    const QDateTime may10(QDate(2024, 5, 10), QTime(0, 0));
    QTest::newRow("number") << QVariant(12.5) << 0 << QVariant(12.5) << false;
    QTest::newRow("numeric text into number") << QVariant(u" 7 "_s) << 0 << QVariant(7.0) << false;
    QTest::newRow("text into number") << QVariant(u"abc"_s) << 0 << QVariant() << true;
    QTest::newRow("date into number") << QVariant(QDate(2024, 5, 10)) << 0 << QVariant() << true;
    QTest::newRow("whole number into text")
        << QVariant(1001.0) << 1 << QVariant(u"1001"_s) << false;
    QTest::newRow("fraction into text") << QVariant(8500.5) << 1 << QVariant(u"8500.5"_s) << false;
    // A workbook keeps such a number as a double: its digits past the 17th are gone already.
    QTest::newRow("long digits into text")
        << QVariant(110101199001011234.0) << 1 << QVariant(u"110101199001011230"_s) << false;
    QTest::newRow("long digit text kept")
        << QVariant(u"110101199001011234"_s) << 1 << QVariant(u"110101199001011234"_s) << false;
    QTest::newRow("date into text")
        << QVariant(QDate(2024, 5, 10)) << 1 << QVariant(u"2024-05-10"_s) << false;
    QTest::newRow("date cell") << QVariant(QDate(2024, 5, 10)) << 2 << QVariant(may10) << false;
    QTest::newRow("date serial") << QVariant(45422.0) << 2 << QVariant(may10) << false;
    QTest::newRow("slashed text") << QVariant(u"2024/5/10"_s) << 2 << QVariant(may10) << false;
    QTest::newRow("text with time")
        << QVariant(u"2024-05-10 08:30"_s) << 2
        << QVariant(QDateTime(QDate(2024, 5, 10), QTime(8, 30))) << false;
    QTest::newRow("bad date text") << QVariant(u"2024/13/10"_s) << 2 << QVariant() << true;
    QTest::newRow("empty into date") << QVariant() << 2 << QVariant() << false;
    QTest::newRow("empty text into number") << QVariant(u""_s) << 0 << QVariant() << false;
    QTest::newRow("dictionary value") << QVariant(3.0) << 3 << QVariant(u"3"_s) << false;
}

void TestPsnImport::convertCell()
{
    QFETCH(QVariant, cell);
    QFETCH(int, dataType);
    QFETCH(QVariant, expected);
    QFETCH(bool, refused);
    const vantrel::Result<QVariant> value = ConvertImportCell(cell, dataType);
    QCOMPARE(!value, refused);
    if (!refused) {
        // An empty cell becomes NULL, never a day of 1899.
        QCOMPARE(value->isValid(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(*value, expected);
    }
}

void TestPsnImport::checks_data()
{
    QTest::addColumn<QStringList>("matches"); // "<title>|<numeric 0/1>|<alias or #id>"
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("statementColumns");
    QTest::newRow("nothing matched")
        << QStringList { u"编号|0|"_s } << u"还没有进行导入字段匹配！"_s << 0;
    QTest::newRow("text column to number item")
        << QStringList { u"编号|0|编号"_s, u"姓名|0|姓名"_s, u"金额|0|数额"_s }
        << u"源数据列 '金额' 与目标列 '数额' 数据类型不匹配！"_s << 3;
    QTest::newRow("numeric column to text item")
        << QStringList { u"编号|1|编号"_s, u"姓名|0|姓名"_s, u"金额|1|数额"_s } << QString() << 3;
    QTest::newRow("no number") << QStringList { u"姓名|0|姓名"_s } << u"'编号'必须有匹配项！"_s
                               << 1;
    QTest::newRow("no name") << QStringList { u"编号|0|编号"_s, u"备注|0|备注"_s }
                             << u"'姓名'必须有匹配项！"_s << 2;
    QTest::newRow("vanished item counts but adds nothing")
        << QStringList { u"编号|0|编号"_s, u"姓名|0|姓名"_s, u"旧|0|#9999"_s } << QString() << 2;
    QTest::newRow("only a vanished item")
        << QStringList { u"旧|0|#9999"_s } << u"'编号'必须有匹配项！"_s << 0;
}

void TestPsnImport::checks()
{
    QFETCH(QStringList, matches);
    QFETCH(QString, message);
    QFETCH(int, statementColumns);
    const CItemInfoArray items = personItems();
    QVector<ImportGridRow> rows;
    for (const QString &match : matches) {
        const QStringList parts = match.split(u'|');
        const int id
            = parts[2].startsWith(u'#') ? parts[2].mid(1).toInt() : itemId(items, parts[2]);
        rows.append({ parts[0], parts[1] == u"1", id });
    }
    QCOMPARE(CheckImportMatches(items, rows).message, message);
    QCOMPARE(ImportMatches(items, rows).size(), statementColumns);
}

void TestPsnImport::readSource()
{
    const QString path = m_dir.filePath(u"source.xlsx"_s);
    // The third title is empty, the second row empty; 金额 has a text in its 9th data row,
    // past the rows the type is guessed from.
    QList<QVariantList> rows { { u"A1"_s, u"张 一"_s, QVariant(), 1.0, u"x"_s }, {} };
    for (int i = 2; i <= 9; ++i)
        rows.append({ u"A%1"_s.arg(i), u"n"_s, QVariant(), i == 9 ? QVariant(u"t"_s) : i, 2.0 });
    QVERIFY(writeTestWorkbook(
        path, { u"编号"_s, u"Long title of many words"_s, QString(), u"金额"_s, u"混合"_s }, rows));
    const vantrel::Result<ImportSource> source = ReadImportSource(path);
    QVERIFY2(source, qPrintable(source.error()));
    QCOMPARE(source->sheetName, u"人员"_s);
    QStringList titles;
    QList<bool> numeric;
    for (const ImportColumn &column : source->columns) {
        titles << column.title;
        numeric << column.numeric;
    }
    QCOMPARE(
        titles,
        QStringList({ u"编号"_s, u"Long title of many words"_s, u"F3"_s, u"金额"_s, u"混合"_s }));
    QCOMPARE(numeric, QList<bool>({ false, false, true, true, false }));
    QCOMPARE(source->columns[1].first, QVariant(u"张 一"_s));

    const QString empty = m_dir.filePath(u"empty.xlsx"_s);
    QVERIFY(writeTestWorkbook(empty, { u"编号"_s }, {}));
    QVERIFY(ReadImportSource(empty)->columns.isEmpty());
    QVERIFY(!ReadImportSource(m_dir.filePath(u"missing.xlsx"_s)));
}

void TestPsnImport::importsXlsx()
{
    const QString path = m_dir.filePath(u"persons.xlsx"_s);
    QList<QVariantList> rows = numberedRows(3);
    rows[1][3] = QVariant();              // an empty date
    rows[2][3] = u"2024/5/10"_s;          // a date typed as text
    rows.append({ 1005.0, u"数字号"_s }); // a number as a person number
    QVERIFY(writeTestWorkbook(path, numberedHeader, rows));
    const CItemInfoArray items = personItems();
    int lastProgress = -1;
    const PsnImportOutcome outcome = RunPsnImport(theDatabase, requestFor(path, items), [&](int n) {
        lastProgress = n;
        return true;
    });
    QVERIFY2(outcome.ok(), qPrintable(outcome.error));
    QCOMPARE(outcome.imported, 4);
    QCOMPARE(lastProgress, 4);
    QCOMPARE(ImportSuccessText(4), u"成功导入 4 条记录！"_s);
    QCOMPARE(ImportLogText(4, u"/tmp/a b.xlsx"_s),
             u"人员档案[数据导入：成功导入 4 条记录！|/tmp/a b.xlsx]"_s);

    const vantrel::db::QueryResult stored
        = theDatabase.run(u"SELECT Number, Name, DID, AID, F12, F14 FROM qz_PsnBase"
                          " WHERE PID>7 ORDER BY PID"_s);
    QVERIFY(stored.ok);
    QCOMPARE(stored.rows.rowCount(), 4);
    QCOMPARE(stored.rows.text(0, 0), u"N0001"_s);
    QCOMPARE(stored.rows.value(0, 2).toInt(), 2);
    QCOMPARE(stored.rows.value(0, 3).toInt(), 1);
    QCOMPARE(stored.rows.value(1, 4).toDouble(), 2.0);
    QVERIFY(stored.rows.value(1, 5).isNull());
    QCOMPARE(stored.rows.value(2, 5).toDateTime().date(), QDate(2024, 5, 10));
    QCOMPARE(stored.rows.text(3, 0), u"1005"_s);
}

void TestPsnImport::importsXls()
{
    // 编号 1001, 1002, 1003 as numbers; 入职日期 a date, a date and time, a bare time.
    const PsnImportOutcome outcome
        = RunPsnImport(theDatabase, requestFor(QStringLiteral(PEOPLE_XLS), personItems()));
    QVERIFY2(outcome.ok(), qPrintable(outcome.error));
    QCOMPARE(outcome.imported, 3);
    const vantrel::db::QueryResult stored = theDatabase.run(
        u"SELECT Number, Name, F13, F14 FROM qz_PsnBase WHERE PID>7 ORDER BY PID"_s);
    QCOMPARE(stored.rows.text(0, 0), u"1001"_s);
    QCOMPARE(stored.rows.text(0, 2), u"他说\"你好\""_s);
    QCOMPARE(stored.rows.value(0, 3).toDateTime().date(), QDate(2020, 3, 15));
    QCOMPARE(stored.rows.text(2, 1), u"O'Brien"_s);
}

void TestPsnImport::refusedRowsLeaveTableUnchanged_data()
{
    QTest::addColumn<int>("row"); // the data row (1-based) that is spoilt
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("number used in the sheet")
        << 500 << 0 << QVariant(u"n0003"_s)
        << u"导入数据出错!\n第 501 行 '编号'：编号 'n0003' 已存在"_s;
    QTest::newRow("number used in the table")
        << 500 << 0 << QVariant(u"A004"_s)
        << u"导入数据出错!\n第 501 行 '编号'：编号 'A004' 已存在"_s;
    QTest::newRow("empty number") << 2 << 0 << QVariant()
                                  << u"导入数据出错!\n第 3 行 '编号'：编号不能为空"_s;
    QTest::newRow("long number") << 7 << 0 << QVariant(QString(51, u'9'))
                                 << u"导入数据出错!\n第 8 行 '编号'：编号超过 50 个字符"_s;
    QTest::newRow("bad date")
        << 500 << 3 << QVariant(u"2024-02-30"_s)
        << u"导入数据出错!\n第 501 行 '入职日期'：'2024-02-30' 不是有效日期"_s;
    QTest::newRow("text in a number column")
        << 600 << 2 << QVariant(u"多"_s) << u"导入数据出错!\n第 601 行 '数额'：'多' 不是数字"_s;
}

void TestPsnImport::refusedRowsLeaveTableUnchanged()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    QList<QVariantList> rows = numberedRows(700);
    rows[row - 1][column] = value;
    const QString path = m_dir.filePath(u"spoilt.xlsx"_s);
    QVERIFY(writeTestWorkbook(path, numberedHeader, rows));
    const PsnImportOutcome outcome = RunPsnImport(theDatabase, requestFor(path, personItems()));
    QCOMPARE(outcome.error, message);
    QCOMPARE(personCount(), 7);
}

void TestPsnImport::cancelRollsBack()
{
    const QString path = m_dir.filePath(u"many.xlsx"_s);
    QVERIFY(writeTestWorkbook(path, numberedHeader, numberedRows(1200)));
    const PsnImportOutcome outcome
        = RunPsnImport(theDatabase, requestFor(path, personItems()), [](int n) { return n < 700; });
    QVERIFY(outcome.cancelled);
    QVERIFY(!outcome.ok());
    QCOMPARE(personCount(), 7);
    QCOMPARE(theDatabase.transactionDepth(), 0);
}

QTEST_GUILESS_MAIN(TestPsnImport)
#include "tst_psnimport.moc"
