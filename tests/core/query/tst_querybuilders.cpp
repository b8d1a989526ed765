#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/querybuilders.h"
#include "testdatabase.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Thirty characters: more than PostgreSQL's 63 bytes in UTF-8; 21 of them fit.
const QString LongCaption = QString(30, QChar(0x5DE5));

QStringList fieldNames(CADORecordset &rs, int from)
{
    QStringList names;
    for (int i = from; i < rs.GetFieldCount(); ++i)
        names << rs.GetFieldName(i);
    return names;
}

// The caption as the field name comes back: Qt's SQLite driver drops double quotes.
QString textOf(CADORecordset &rs, const QString &field)
{
    QString text;
    rs.GetFieldValueTextByName(field, text);
    return text;
}

} // namespace

// The builders' text run as queries against persons, a category, a department and a wage
// table whose captions hold quotes, brackets, repeats and more bytes than a name may have.
class TestQueryBuilders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fromClauses();
    void quoting_data();
    void quoting();
    void personSelectRunsWithDistinctCaptions();
    void detailSelectJoinsTheRowsOwnDepartment();
    void personBaseListShowsLinkedNames();
    void tableListFollowsCallersColumns();
    void doubleQuotesSurvive();
    void emptyMetadata();

private:
    void execAll(const QStringList &statements);
    TestDatabase *m_fixture = nullptr;
};

void TestQueryBuilders::execAll(const QStringList &statements)
{
    for (const QString &sql : statements)
        QVERIFY2(theDatabase.Execute(sql), qPrintable(theDatabase.GetLastErrorString()));
}

void TestQueryBuilders::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    execAll({
        u"ALTER TABLE qz_PsnBase ADD F100 VARCHAR(50)"_s,
        u"ALTER TABLE qz_PsnBase ADD F101 VARCHAR(50)"_s,
        u"ALTER TABLE qz_PsnBase ADD F102 VARCHAR(50)"_s,
        u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord) VALUES (1, 0, '总部', 1), (2, 0, '分部', 2)"_s,
        u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (1, '在职', 1)"_s,
        u"INSERT INTO qz_PsnBase (PID, DID, AID, Number, Name, F100, F101, Ord) VALUES"
        " (1, 1, 1, 'A1', '张三', 'x', 'y', 1), (2, 99, 1, 'A2', '李四', NULL, NULL, 2)"_s,
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, Ord) VALUES"
        " ('QZ_PSNBASE', 'F100', '他说''好''', 1, 8), ('QZ_PSNBASE', 'F101', '[备注]x]', 1, 9),"
        " ('QZ_PSNBASE', 'F102', '隐藏', 5, 10)"_s,
        u"CREATE TABLE qz_Wage_1 (ID INTEGER PRIMARY KEY, PID INTEGER, DID INTEGER,"
        " AID INTEGER, Name VARCHAR(50), F1 DOUBLE PRECISION, F2 VARCHAR(20), F3 DOUBLE PRECISION,"
        " Ord INTEGER)"_s,
        // Paid in department 2 while the person now belongs to department 1.
        u"INSERT INTO qz_Wage_1 VALUES (1, 1, 2, 1, '张三(工资)', 5000.5, 'z', 4000, 1)"_s,
        u"INSERT INTO qz_Table (ID, TblName, Title, nType, Ord) VALUES"
        " (10, 'QZ_WAGE_1', '工资表', 6, 4)"_s,
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, Ord) VALUES"
        " ('QZ_WAGE_1', 'Name', '姓名', 1, 1), ('QZ_WAGE_1', 'F1', '应发\"工资\"', 0, 2),"
        " ('QZ_WAGE_1', 'F2', 'long', 1, 3), ('QZ_WAGE_1', 'F3', '应发工资', 0, 4)"_s,
    });
    QVERIFY(
        theDatabase.Execute(u"UPDATE qz_Items SET Alias = ? WHERE Name = 'F2'"_s, { LongCaption }));
}

void TestQueryBuilders::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
}

void TestQueryBuilders::fromClauses()
{
    const QString plain = BuildPsnFromClause(false);
    QVERIFY(plain.startsWith(u" FROM qz_PsnBase "_s));
    QVERIFY(plain.endsWith(u"qz_PsnBase.DID=qz_Dept.DID "_s));
    QVERIFY(!plain.contains(u"qz_PsnAdj"_s));
    QCOMPARE(BuildPsnFromClause(true),
             plain + u"LEFT JOIN qz_PsnAdj ON qz_PsnAdj.PID=qz_PsnBase.PID "_s);

    QCOMPARE(BuildDetailFromClause(u"QZ_WAGE_1"_s, false).count(u"QZ_WAGE_1"_s), 4);
    QCOMPARE(BuildDetailFromClause(u"QZ_WAGE_1"_s, true).count(u"QZ_WAGE_1"_s), 5);
    QTest::ignoreMessage(QtWarningMsg, "BuildDetailFromClause: not a data table: \"qz_Missing\"");
    QCOMPARE(BuildDetailFromClause(u"qz_Missing"_s, false), QString());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"^BuildDetailFromClause: not a data table"_s));
    QCOMPARE(BuildDetailFromClause(u"QZ_WAGE_1 x; DELETE FROM qz_Users"_s, false), QString());
}

void TestQueryBuilders::quoting_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("alias");
    QTest::newRow("plain") << u"姓名"_s << u"\"姓名\""_s;
    QTest::newRow("quotes doubled") << u"a\"b\""_s << u"\"a\"\"b\"\"\""_s;
    QTest::newRow("brackets kept") << u"[x]]"_s << u"\"[x]]\""_s;
    QTest::newRow("single quote kept") << u"it's"_s << u"\"it's\""_s;
}

void TestQueryBuilders::quoting()
{
    QFETCH(QString, caption);
    QFETCH(QString, alias);
    QCOMPARE(QuoteCaption(caption), alias);
}

void TestQueryBuilders::personSelectRunsWithDistinctCaptions()
{
    CADORecordset rs(&theDatabase);
    QVERIFY2(rs.Open(u"SELECT "_s + BuildPsnSelect(10, true)
                         + BuildDetailFromClause(u"QZ_WAGE_1"_s, true)
                         + u" ORDER BY qz_Dept.Ord, QZ_WAGE_1.Ord"_s,
                     QVariantList {}),
             qPrintable(rs.GetLastErrorString()));
    QCOMPARE(rs.GetFieldName(0).toUpper(), u"PID"_s);
    QCOMPARE(
        fieldNames(rs, 1),
        QStringList({ u"编号"_s, u"姓名"_s, u"性别"_s, u"出生日期"_s, u"身份证号"_s, u"他说'好'"_s,
                      u"[备注]x]"_s, u"类别名称"_s, u"部门名称"_s, u"相片"_s, u"姓名(2)"_s,
                      u"应发\"工资\""_s, LongCaption.left(21), u"应发工资(2)"_s }));
    QCOMPARE(rs.GetRecordCount(), 1L);
    QCOMPARE(textOf(rs, u"姓名"_s), u"张三"_s);
    QCOMPARE(textOf(rs, u"姓名(2)"_s), u"张三(工资)"_s);
    QCOMPARE(textOf(rs, u"他说'好'"_s), u"x"_s);
    QCOMPARE(textOf(rs, u"[备注]x]"_s), u"y"_s);
    QCOMPARE(textOf(rs, u"应发\"工资\""_s).toDouble(), 5000.5);
    QCOMPARE(textOf(rs, u"应发工资(2)"_s).toDouble(), 4000.0);
}

void TestQueryBuilders::detailSelectJoinsTheRowsOwnDepartment()
{
    CADORecordset rs(&theDatabase);
    QVERIFY2(rs.Open(u"SELECT "_s + BuildPsnSelect(10, false)
                         + BuildDetailFromClause(u"qz_wage_1"_s, false),
                     QVariantList {}),
             qPrintable(rs.GetLastErrorString()));
    QCOMPARE(rs.GetFieldIndex(u"相片"_s), -1);
    QCOMPARE(textOf(rs, u"部门名称"_s), u"分部"_s);

    // Without a detail table, persons without a department row stay in.
    QVERIFY(rs.Open(u"SELECT "_s + BuildPsnSelect(0, false) + BuildPsnFromClause(false)
                        + u"ORDER BY qz_PsnBase.Ord"_s,
                    QVariantList {}));
    QCOMPARE(rs.GetRecordCount(), 2L);
    QCOMPARE(rs.GetFieldIndex(u"姓名(2)"_s), -1);
    rs.MoveLast();
    QCOMPARE(textOf(rs, u"姓名"_s), u"李四"_s);
    QVERIFY(rs.IsFieldNull(rs.GetFieldIndex(u"部门名称"_s)));
}

void TestQueryBuilders::personBaseListShowsLinkedNames()
{
    // A link that names no table stays out instead of breaking the statement.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, IdRef,"
                                " Ord) VALUES ('QZ_PSNBASE', 'F103', '坏链接', 4, 'DID', 11)"_s));
    QTest::ignoreMessage(QtWarningMsg, "BuildPsnBaseSelectList: link without a table: \"F103\"");
    CADORecordset rs(&theDatabase);
    QVERIFY2(rs.Open(u"SELECT "_s + BuildPsnBaseSelectList() + BuildPsnFromClause(false)
                         + u"ORDER BY qz_PsnBase.Ord"_s,
                     QVariantList {}),
             qPrintable(rs.GetLastErrorString()));
    QCOMPARE(fieldNames(rs, 0),
             QStringList({ u"编号"_s, u"姓名"_s, u"性别"_s, u"出生日期"_s, u"身份证号"_s, u"部门"_s,
                           u"人员类别"_s, u"他说'好'"_s, u"[备注]x]"_s, u"隐藏"_s }));
    QCOMPARE(textOf(rs, u"部门"_s), u"总部"_s);
    QCOMPARE(textOf(rs, u"人员类别"_s), u"在职"_s);
}

void TestQueryBuilders::tableListFollowsCallersColumns()
{
    const QString list = BuildTableSelectList(u"qz_wage_1"_s);
    QVERIFY(list.startsWith(u','));
    QVERIFY(!list.endsWith(u','));
    CADORecordset rs(&theDatabase);
    QVERIFY2(rs.Open(u"SELECT ID"_s + list + u" FROM qz_Wage_1"_s, QVariantList {}),
             qPrintable(rs.GetLastErrorString()));
    QCOMPARE(fieldNames(rs, 1),
             QStringList({ u"姓名"_s, u"应发\"工资\""_s, LongCaption.left(21), u"应发工资(2)"_s }));
    QCOMPARE(BuildTableSelectList(u"qz_Missing"_s), QString());
}

void TestQueryBuilders::doubleQuotesSurvive()
{
    CADORecordset rs(&theDatabase);
    QVERIFY(rs.Open(u"SELECT ID"_s + BuildTableSelectList(u"QZ_WAGE_1"_s) + u" FROM qz_Wage_1"_s,
                    QVariantList {}));
    QCOMPARE(rs.GetFieldName(2), u"应发\"工资\""_s);
}

void TestQueryBuilders::emptyMetadata()
{
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_Items"_s));
    QCOMPARE(BuildPsnSelect(10, true), u"qz_PsnBase.PID"_s);
    QCOMPARE(BuildPsnBaseSelectList(), QString());
}

QTEST_GUILESS_MAIN(TestQueryBuilders)
#include "tst_querybuilders.moc"
