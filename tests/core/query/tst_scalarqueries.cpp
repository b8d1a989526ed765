#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "testdatabase.h"

#include <QTest>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

// These helpers work on the session's connection, theDatabase.
class TestScalarQueries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void scalarsAndDefaults();
    void existenceAndLookups();
    void dictionaryTitles();
    void personNumberAvailability();
    void templateSavers();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestScalarQueries::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
}

void TestScalarQueries::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
}

void TestScalarQueries::scalarsAndDefaults()
{
    QCOMPARE(GetScalarInt(u"SELECT NULL"_s), 0);
    QCOMPARE(GetScalarInt(u"SELECT UserID FROM qz_Users WHERE UserName = ?"_s, { u"nobody"_s }), 0);
    QCOMPARE(GetScalarText(u"SELECT UserName FROM qz_Users WHERE UserID = ?"_s, { 1 }), u"admin"_s);
    QCOMPARE(GetScalarText(u"SELECT broken FROM"_s), QString());
    QVERIFY(!GetScalarVariant(u"SELECT 1 FROM qz_Users WHERE 1 = 0"_s).isValid());
    // A quote in a value is just a character.
    QCOMPARE(
        GetScalarInt(u"SELECT COUNT(*) FROM qz_Users WHERE UserName = ?"_s, { u"a' OR '1'='1"_s }),
        0);
}

void TestScalarQueries::existenceAndLookups()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Dept (ParentID, Name, Ord, ParentArr) "
                                "VALUES (0, '财务部', 1, '|')"_s));
    const int did = GetScalarInt(u"SELECT DID FROM qz_Dept WHERE Name = ?"_s, { u"财务部"_s });
    QVERIFY(did > 0);
    QCOMPARE(GetDeptName(did), u"财务部"_s);
    QCOMPARE(GetDeptName(did + 100), QString());
    QVERIFY(RecordExists(u"qz_Dept"_s, u"DID = ?"_s, { did }));
    QVERIFY(!RecordExists(u"qz_Dept"_s, u"DID = ?"_s, { did + 100 }));
    QVERIFY(!RecordExists(u"qz_Dept; DROP TABLE qz_Dept"_s, u"1 = 1"_s));
    QVERIFY(TableExists(u"qz_dept"_s));

    const int id
        = InsertReturningId(u"qz_PsnSort"_s, { u"Name"_s, u"Ord"_s }, { u"在职"_s, 1 }, u"AID"_s);
    QVERIFY(id > 0);
    QCOMPARE(GetPsnSortName(id), u"在职"_s);
}

void TestScalarQueries::dictionaryTitles()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Dict (DictId, Title) VALUES ('XL', '学历')"_s));
    QCOMPARE(GetDictTitleList(u"XL"_s, false), QString());
    QVERIFY(
        theDatabase.Execute(u"INSERT INTO qz_DictItem (DictId, DictValue, Title, Active) VALUES "
                            "('XL', '02', '本科', 1), ('XL', '01', '大专', 1), "
                            "('XL', '03', '停用', 0)"_s));
    QCOMPARE(GetDictTitleList(u"XL"_s, false), u"|大专|本科"_s);
    QCOMPARE(GetDictTitleList(u"XL"_s, true), u"大专|本科"_s);
}

void TestScalarQueries::personNumberAvailability()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnBase (DID, AID, Number, Name, Ord) "
                                "VALUES (1, 1, 'ab-001', '张三', 1)"_s));
    QVERIFY(!IsPsnNumberFree(u"AB-001"_s));
    QVERIFY(IsPsnNumberFree(u"AB-002"_s));
    QVERIFY(!IsPsnNumberFree(QString()));
    QVERIFY(!IsPsnNumberFree(QString(51, u'1')));

    // A failed query is not "free", and says why.
    theDatabase.Close();
    QString error;
    QVERIFY(!IsPsnNumberFree(u"AB-003"_s, &error));
    QVERIFY(!error.isEmpty());
}

void TestScalarQueries::templateSavers()
{
    QString error;
    QCOMPARE(
        SaveBankExportTemplate(0, 3, u"工行"_s, true, u"H"_s, u"F"_s, u","_s, u"txt"_s, 0, &error),
        TemplateSave::Saved);
    const int eid = GetScalarInt(u"SELECT EID FROM qz_WageExport WHERE Name = ?"_s, { u"工行"_s });
    QVERIFY(eid > 0);
    QCOMPARE(SaveBankExportTemplate(eid, 3, u"工行2"_s, false, QString(), QString(), u"|"_s,
                                    u"csv"_s, 100),
             TemplateSave::Saved);
    QCOMPARE(GetScalarText(u"SELECT Name FROM qz_WageExport WHERE EID = ?"_s, { eid }), u"工行2"_s);
    QCOMPARE(SaveBankExportTemplate(eid + 50, 3, u"x"_s, true, {}, {}, {}, {}, 0),
             TemplateSave::Vanished);

    QCOMPARE(SaveAnnounceTemplate(0, 0, u"工资条"_s, true, u"主题"_s, u"<p>[姓名]</p>"_s),
             TemplateSave::Saved);
    const int aid
        = GetScalarInt(u"SELECT AID FROM qz_WageAnnounce WHERE Name = ?"_s, { u"工资条"_s });
    QCOMPARE(SaveAnnounceTemplate(aid + 9, 0, u"x"_s, true, {}, {}), TemplateSave::Vanished);
    QCOMPARE(GetScalarInt(u"SELECT COUNT(*) FROM qz_WageAnnounce"_s), 1);

    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Report (Type, SID, Name, Ord) VALUES "
                                "(0, 3, 'b', 7), (0, 3, 'a', 2), (1, 0, 'p', 9)"_s));
    QVERIFY(RefreshPrintTemplateOrder(3, 0));
    QCOMPARE(GetScalarText(u"SELECT Name FROM qz_Report WHERE SID = 3 AND Ord = 1"_s), u"a"_s);
    QCOMPARE(GetScalarInt(u"SELECT Ord FROM qz_Report WHERE Name = 'p'"_s), 9);
}

QTEST_GUILESS_MAIN(TestScalarQueries)
#include "tst_scalarqueries.moc"
