#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "platform/workbook/workbookreader.h"
#include "testdatabase.h"

#include <QTemporaryDir>

#include <QTest>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

class TestRecordset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void largeBlobInChunks();
    void textConversions();
    void fieldsByNameIgnoreCase();
    void writesGoToTheRowByKey();
    void addNewGetsGeneratedKeyAndDefaults();
    void concurrentEditIsRefused();
    void computedColumnsAreReadOnly();
    void deleteRemovesTheRow();
    void openOptions();
    void movesAndFilter();
    void exportsToWorkbook();

private:
    TestDatabase *m_fixture = nullptr;
    CADODatabase m_db;
};

void TestRecordset::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, m_db, false);
    QVERIFY(m_db.Execute(m_db.dialect().ddl(
        u"CREATE TABLE vals (id %IDENTITY%, t VARCHAR(200), big BIGINT, i INTEGER, "
        "d DOUBLE PRECISION, dt %DATETIME%, b %BLOB%, flag INTEGER NOT NULL DEFAULT 0)"_s)));
}

void TestRecordset::cleanup()
{
    m_db.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestRecordset::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("text with quotes and Chinese") << u"t"_s << QVariant(u"O'Brien \"张三\" 工资"_s);
    QTest::newRow("64-bit integer") << u"big"_s << QVariant(qint64(9'007'199'254'740'993LL));
    QTest::newRow("negative integer") << u"i"_s << QVariant(-2147483647);
    QTest::newRow("double") << u"d"_s << QVariant(1234.5678901234);
    QTest::newRow("date and time")
        << u"dt"_s << QVariant(QDateTime(QDate(2024, 3, 1), QTime(8, 30, 15)));
    QTest::newRow("NULL text") << u"t"_s << QVariant();
    QTest::newRow("binary") << u"b"_s << QVariant(QByteArray("\x00\x01\xff\x7f", 4));
}

void TestRecordset::valuesRoundTrip()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    CADORecordset rs(&m_db);
    QVERIFY2(rs.Open(u"SELECT %1 FROM vals"_s.arg(column), CADORecordset::OpenOption::Query),
             qPrintable(rs.GetLastErrorString()));
    QVERIFY(rs.AddNew());
    QVERIFY(rs.SetFieldValueVariant(0, value));
    QVERIFY2(rs.Update(), qPrintable(rs.GetLastErrorString()));

    CADORecordset back(&m_db);
    QVERIFY(back.Open(u"SELECT %1 FROM vals"_s.arg(column), CADORecordset::OpenOption::Query));
    QCOMPARE(back.GetRecordCount(), 1);
    QVariant read;
    QVERIFY(back.GetFieldValueVariant(0, read));
    if (!value.isValid()) {
        QVERIFY(!read.isValid());
        return;
    }
    QCOMPARE(read.typeId() == QMetaType::Int ? QVariant(read.toLongLong()) : read,
             value.typeId() == QMetaType::Int ? QVariant(value.toLongLong()) : value);
}

void TestRecordset::largeBlobInChunks()
{
    QByteArray blob(5 * 1024 * 1024, Qt::Uninitialized);
    for (int i = 0; i < blob.size(); ++i)
        blob[i] = char((i * 31 + i / 7) & 0xff);
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT * FROM vals"_s, CADORecordset::OpenOption::Query));
    QVERIFY(rs.AddNew());
    const qsizetype half = blob.size() / 2;
    QVERIFY(rs.AppendChunkByName(u"B"_s, blob.left(half)));
    QVERIFY(rs.AppendChunkByName(u"b"_s, blob.mid(half)));
    QVERIFY2(rs.Update(), qPrintable(rs.GetLastErrorString()));

    CADORecordset back(&m_db);
    QVERIFY(back.Open(u"SELECT b FROM vals"_s, {}));
    QCOMPARE(back.GetFieldSizeByName(u"b"_s), long(blob.size()));
    QVariant read;
    QVERIFY(back.GetFieldValueVariantByName(u"b"_s, read));
    QVERIFY(read.toByteArray() == blob);

    // A new edit's first chunk replaces the stored bytes.
    back.Edit();
    QVERIFY(back.AppendChunkByName(u"b"_s, "xyz"));
    QVERIFY(back.Update());
    QVERIFY(back.Open(QString(), CADORecordset::OpenOption::Query));
    QCOMPARE(back.GetFieldSizeByName(u"b"_s), 3L);
}

void TestRecordset::textConversions()
{
    QVERIFY(m_db.Execute(
        u"INSERT INTO vals (t, big, i, d, dt) VALUES (?, ?, ?, ?, ?)"_s,
        { u"x"_s, qint64(1) << 40, 42, 0.1 + 0.2, QDateTime(QDate(2024, 3, 1), QTime(8, 30, 0)) }));
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT t, big, i, d, dt, b FROM vals"_s, {}));
    QString text = u"unchanged"_s;
    QVERIFY(rs.GetFieldValueText(1, text));
    QCOMPARE(text, u"1099511627776"_s);
    QVERIFY(rs.GetFieldValueText(3, text));
    QCOMPARE(text, u"0.30000000000000004"_s); // shortest text that reads back the same
    QVERIFY(rs.GetFieldValueText(4, text));
    QCOMPARE(text, u"2024-03-01 08:30:00"_s);
    QVERIFY(rs.GetFieldValueText(4, text, u"%Y年%m月%d日"_s));
    QCOMPARE(text, u"2024年03月01日"_s);
    QVERIFY(rs.GetFieldValueText(5, text)); // NULL
    QCOMPARE(text, QString());
    int i = 0;
    QVERIFY(rs.GetFieldValueIntByName(u"I"_s, i));
    QCOMPARE(i, 42);
    QVERIFY(!rs.GetFieldValueInt(1, i)); // does not fit 32 bits
    double d = 0;
    QVERIFY(rs.GetFieldValueDouble(2, d));
    QCOMPARE(d, 42.0);
    QDateTime date;
    QVERIFY(rs.GetFieldValueDateByName(u"b"_s, date));
    QVERIFY(!date.isValid());
    QVERIFY(!rs.GetFieldValueTextByName(u"nosuch"_s, text));
    QVERIFY(rs.GetLastErrorString().startsWith(u"Query = SELECT t, big"_s));
}

void TestRecordset::fieldsByNameIgnoreCase()
{
    QVERIFY(m_db.Execute(u"INSERT INTO vals (t) VALUES ('a')"_s));
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT t AS \"姓名\", id FROM vals"_s, {}));
    QString text;
    QVERIFY(rs.GetFieldValueTextByName(u"姓名"_s, text));
    QCOMPARE(text, u"a"_s);
    QCOMPARE(rs.GetFieldIndex(u"ID"_s), 1);
    tagADOFIELDINFO info;
    QVERIFY(rs.GetFieldInfo(0, &info));
    QCOMPARE(info.m_strName, u"姓名"_s);

    // GetFieldInfo keeps the first 29 characters of a long name; GetFieldName keeps it whole.
    const QString longName = u"a_column_name_of_forty_characters_long_x"_s;
    QCOMPARE(longName.size(), 40);
    QVERIFY(rs.Open(u"SELECT t AS %1 FROM vals"_s.arg(longName), QVariantList {}));
    QVERIFY(rs.GetFieldInfo(0, &info));
    QCOMPARE(info.m_strName, longName.left(29));
    QCOMPARE(rs.GetFieldName(0), longName);
}

void TestRecordset::writesGoToTheRowByKey()
{
    for (const char *name : { "first", "second", "third" })
        QVERIFY(m_db.Execute(u"INSERT INTO vals (t) VALUES (?)"_s, { QString::fromLatin1(name) }));
    // Sorted and without the key in the select list: the write still finds its row.
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT t FROM vals ORDER BY t DESC"_s, {}));
    QCOMPARE(rs.GetFieldCount(), 1L);
    rs.MoveNext(); // "second"
    rs.Edit();
    QVERIFY(rs.SetFieldValueText(0, u"changed"_s));
    QVERIFY2(rs.Update(), qPrintable(rs.GetLastErrorString()));

    const QueryResult rows = m_db.run(u"SELECT t FROM vals ORDER BY id"_s);
    QStringList stored;
    for (int r = 0; r < rows.rows.rowCount(); ++r)
        stored << rows.rows.text(r, 0);
    QCOMPARE(stored, QStringList({ u"first"_s, u"changed"_s, u"third"_s }));

    // Without AddNew or Edit nothing is written; Update then is a no-op.
    QVERIFY(!rs.SetFieldValueText(0, u"nope"_s));
    QVERIFY(rs.Update());
}

void TestRecordset::addNewGetsGeneratedKeyAndDefaults()
{
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT id, t, flag FROM vals"_s, {}));
    QVERIFY(rs.AddNew());
    QVERIFY(rs.SetFieldValueTextByName(u"t"_s, u"new"_s));
    QVERIFY2(rs.Update(), qPrintable(rs.GetLastErrorString()));
    int id = 0, flag = -1;
    QVERIFY(rs.GetFieldValueInt(0, id));
    QVERIFY(id > 0);
    QVERIFY(rs.GetFieldValueIntByName(u"flag"_s, flag));
    QCOMPARE(flag, 0);
    // An empty text is stored as NULL.
    rs.Edit();
    QVERIFY(rs.SetFieldValueText(1, QString()));
    QVERIFY(rs.Update());
    QVERIFY(rs.Open(QString(), CADORecordset::OpenOption::Query));
    QVERIFY(rs.IsFieldNull(1));
}

void TestRecordset::concurrentEditIsRefused()
{
    QVERIFY(m_db.Execute(u"INSERT INTO vals (t, d) VALUES ('a', 1.5)"_s));
    CADORecordset mine(&m_db), theirs(&m_db);
    QVERIFY(mine.Open(u"SELECT t, d FROM vals"_s, {}));
    QVERIFY(theirs.Open(u"SELECT t, d FROM vals"_s, {}));
    theirs.Edit();
    QVERIFY(theirs.SetFieldValueText(0, u"theirs"_s));
    QVERIFY(theirs.Update());

    mine.Edit();
    QVERIFY(mine.SetFieldValueText(0, u"mine"_s));
    QVERIFY(!mine.Update());
    QCOMPARE(mine.GetLastError(), ErrorCode::RowConflict);
    QVERIFY(mine.GetLastErrorString().startsWith(
        u"Query = SELECT t, d FROM vals\nCADORecordset Error"_s));
    // The typed values stay pending, for a retry or a cancel.
    QCOMPARE(mine.GetEditMode(), int(CADORecordset::dbEditInProgress));
    QString text;
    QVERIFY(mine.GetFieldValueText(0, text));
    QCOMPARE(text, u"mine"_s);
    QVERIFY(!mine.Update());
    mine.CancelUpdate();
    QCOMPARE(mine.GetEditMode(), int(CADORecordset::dbEditNone));
    QVERIFY(mine.GetFieldValueText(0, text));
    QCOMPARE(text, u"a"_s);
    QCOMPARE(m_db.run(u"SELECT t FROM vals"_s).scalar().toString(), u"theirs"_s);
}

void TestRecordset::computedColumnsAreReadOnly()
{
    QVERIFY(m_db.Execute(u"INSERT INTO vals (t, i) VALUES ('a', 1)"_s));
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT COUNT(*) FROM vals"_s, {}));
    rs.Edit();
    QVERIFY(rs.SetFieldValueInt(0, 5));
    QVERIFY(!rs.Update());
    QCOMPARE(rs.GetLastError(), ErrorCode::NotUpdatable);

    QVERIFY(rs.Open(u"SELECT t, i + 1 AS j FROM vals"_s, {}));
    rs.Edit();
    QVERIFY(!rs.SetFieldValueInt(1, 5));
}

void TestRecordset::deleteRemovesTheRow()
{
    QVERIFY(m_db.Execute(u"INSERT INTO vals (t) VALUES ('a'), ('b')"_s));
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT t FROM vals ORDER BY t"_s, {}));
    QVERIFY(rs.Delete());
    QCOMPARE(rs.GetRecordCount(), 1L);
    QString text;
    QVERIFY(rs.GetFieldValueText(0, text));
    QCOMPARE(text, u"b"_s);
    CADORecordset check(&m_db);
    QVERIFY(check.Open(u"SELECT t FROM vals"_s, {}));
    QCOMPARE(check.GetRecordCount(), 1L);
}

void TestRecordset::openOptions()
{
    QVERIFY(m_db.Execute(u"INSERT INTO vals (t) VALUES ('a')"_s));
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"  SELECT t FROM vals"_s, CADORecordset::OpenOption::Unknown));
    QCOMPARE(rs.GetQuery(), u"SELECT t FROM vals"_s);
    QVERIFY(rs.Open(QString(), CADORecordset::OpenOption::Query));
    QCOMPARE(rs.GetRecordCount(), 1L);
    QVERIFY(rs.Open(u"vals"_s, CADORecordset::OpenOption::Table));
    QCOMPARE(rs.GetFieldCount(), 8L);
    QVERIFY(!rs.Open(u"vals"_s, static_cast<CADORecordset::OpenOption>(5)));
    QVERIFY(!rs.IsOpen());
    QVERIFY(!rs.Open(u"SELECT nothing FROM nowhere"_s, CADORecordset::OpenOption::Query));
    QVERIFY(rs.GetLastErrorString().startsWith(
        u"Query = SELECT nothing FROM nowhere\nCADORecordset Error"_s));
    QVERIFY(rs.OpenSchemaTables());
    QCOMPARE(rs.GetRecordCount(), 1L);
    QString name, type;
    QVERIFY(rs.GetFieldValueTextByName(u"TABLE_NAME"_s, name));
    QVERIFY(rs.GetFieldValueTextByName(u"table_type"_s, type));
    QCOMPARE(name.toLower(), u"vals"_s);
    QCOMPARE(type, u"TABLE"_s);

    // One integer in braces is a value for the placeholder, not an option.
    const int id = m_db.run(u"SELECT id FROM vals"_s).scalar().toInt();
    QVERIFY2(rs.Open(u"SELECT t FROM vals WHERE id = ?"_s, { id }),
             qPrintable(rs.GetLastErrorString()));
    QCOMPARE(rs.GetRecordCount(), 1L);
}

void TestRecordset::movesAndFilter()
{
    QVERIFY(
        m_db.Execute(u"INSERT INTO vals (t, i) VALUES ('张三', 1), ('李四', 2), ('王五', 3)"_s));
    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT t, i FROM vals ORDER BY i"_s, {}));
    QCOMPARE(rs.GetRecordCount(), 3L);
    rs.MoveLast();
    int i = 0;
    QVERIFY(rs.GetFieldValueInt(1, i));
    QCOMPARE(i, 3);
    rs.MoveNext();
    QVERIFY(rs.IsEof());
    QVERIFY(rs.SetFilter(u"i >= 2 AND t <> '王五'"_s));
    QCOMPARE(rs.GetRecordCount(), 1L);
    QString text;
    QVERIFY(rs.GetFieldValueText(0, text));
    QCOMPARE(text, u"李四"_s);
    QVERIFY(!rs.SetFilter(u"nosuch = 1"_s));
    QCOMPARE(rs.GetRecordCount(), 3L);
    QVERIFY(rs.SetFilter(QString()));
    QCOMPARE(rs.GetRecordCount(), 3L);
}

void TestRecordset::exportsToWorkbook()
{
    QTemporaryDir dir;
    const QString requested = dir.filePath(u"工资表.xls"_s);
    const QString written = dir.filePath(u"工资表.xlsx"_s);
    QFile old(written);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();

    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT t AS \"姓名\", d, dt FROM vals"_s, {}));
    QVERIFY2(rs.ExportToExcel(requested), qPrintable(rs.GetLastErrorString()));
    auto empty = workbook::WorkbookReader::open(written);
    QVERIFY2(empty.ok(), qPrintable(empty.error()));
    QCOMPARE(empty->sheetNames(), QStringList { u"工资表"_s });
    auto header = empty->readFirstSheet();
    QVERIFY(header.ok());
    QCOMPARE(header->header, QStringList({ u"姓名"_s, u"d"_s, u"dt"_s }));
    QVERIFY(header->rows.isEmpty());

    QVERIFY(m_db.Execute(u"INSERT INTO vals (t, d, dt) VALUES (?, ?, ?), (NULL, 2, NULL)"_s,
                         { u"张三"_s, 8000.5, QDateTime(QDate(2024, 5, 31), QTime(0, 0)) }));
    QVERIFY(rs.Open(u"SELECT t AS \"姓名\", d, dt FROM vals ORDER BY d DESC"_s, {}));
    QVERIFY(rs.ExportToExcel(requested));
    QVERIFY(rs.IsEof());
    auto book = workbook::WorkbookReader::open(written);
    QVERIFY(book.ok());
    auto sheet = book->readFirstSheet();
    QVERIFY(sheet.ok());
    QCOMPARE(sheet->rows.size(), 2);
    QCOMPARE(sheet->rows.at(0).at(0).toString(), u"张三"_s);
    QCOMPARE(sheet->rows.at(0).at(1).toDouble(), 8000.5);
    QCOMPARE(sheet->rows.at(0).at(2).toDate(), QDate(2024, 5, 31));
    QVERIFY(!sheet->rows.at(1).at(0).isValid());

    QVERIFY(!rs.ExportToExcel(dir.filePath(u"missing-folder/x.xlsx"_s)));
    QVERIFY(rs.GetLastErrorString().startsWith(u"Query = "_s));
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
