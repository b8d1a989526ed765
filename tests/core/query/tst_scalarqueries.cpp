#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "scalaranswertostring.h"
#include "testdatabase.h"

#include <QTest>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

// These helpers work on the session's connection, theDatabase.
namespace {

// One answer as text, so that one table column checks what kind of answer came and its value.
template<typename T> QString describe(const ScalarAnswer<T> &answer)
{
    if (answer.failed())
        return answer.error().isEmpty() ? u"failed without a reason"_s : u"failed"_s;
    if (!answer.hasRow())
        return u"no row"_s;
    return u"="_s + QVariant::fromValue(answer.value()).toString();
}

} // namespace

// These helpers work on the session's connection, theDatabase.
class TestScalarQueries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void threeAnswers_data();
    void threeAnswers();
    void variantKeepsNull();
    void lostConnectionIsAnError();
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

void TestScalarQueries::threeAnswers_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("asInt");
    QTest::addColumn<QString>("asText");
    const QString byName = u"SELECT COUNT(*) FROM qz_Users WHERE UserName = ?"_s;
    QTest::newRow("number") << u"SELECT 42"_s << QVariantList() << u"=42"_s << u"=42"_s;
    QTest::newRow("NULL") << u"SELECT NULL"_s << QVariantList() << u"=0"_s << u"="_s;
    QTest::newRow("no row") << u"SELECT UserID FROM qz_Users WHERE UserName = ?"_s
                            << QVariantList { u"nobody"_s } << u"no row"_s << u"no row"_s;
    QTest::newRow("text") << u"SELECT UserName FROM qz_Users WHERE UserID = ?"_s
                          << QVariantList { 1 } << u"failed"_s << u"=admin"_s;
    QTest::newRow("numeric text") << u"SELECT ' 12 '"_s << QVariantList() << u"=12"_s << u"= 12 "_s;
    QTest::newRow("fraction") << u"SELECT 2.75"_s << QVariantList() << u"=2"_s << u"=2.75"_s;
    QTest::newRow("beyond 32 bits")
        << u"SELECT 3000000000"_s << QVariantList() << u"failed"_s << u"=3000000000"_s;
    QTest::newRow("broken statement")
        << u"SELECT broken FROM"_s << QVariantList() << u"failed"_s << u"failed"_s;
    QTest::newRow("unknown table")
        << u"SELECT 1 FROM qz_Nothing"_s << QVariantList() << u"failed"_s << u"failed"_s;
    // A quote in a value is just a character.
    QTest::newRow("quote in a value")
        << byName << QVariantList { u"a' OR '1'='1"_s } << u"=0"_s << u"=0"_s;
    QTest::newRow("backslash in a value")
        << byName << QVariantList { u"admin\\' --"_s } << u"=0"_s << u"=0"_s;
}

void TestScalarQueries::threeAnswers()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, values);
    QFETCH(QString, asInt);
    QFETCH(QString, asText);
    QCOMPARE(describe(GetScalarInt(sql, values)), asInt);
    QCOMPARE(describe(GetScalarText(sql, values)), asText);
    const ScalarAnswer<QVariant> variant = GetScalarVariant(sql, values);
    QCOMPARE(variant.failed(), asText == u"failed"_s);
    QCOMPARE(variant.hasRow(), asText.startsWith(u'='));
}

void TestScalarQueries::variantKeepsNull()
{
    const ScalarAnswer<QVariant> null = GetScalarVariant(u"SELECT NULL"_s);
    QVERIFY(null.hasRow());
    QVERIFY(!null.value().isValid());
    QCOMPARE(GetScalarVariant(u"SELECT UserName FROM qz_Users WHERE UserID = 1"_s),
             QVariant(u"admin"_s));
    QVERIFY(!GetScalarVariant(u"SELECT 1 FROM qz_Users WHERE 1 = 0"_s).hasRow());
}

void TestScalarQueries::lostConnectionIsAnError()
{
    QCOMPARE(SaveBankExportTemplate(0, 3, u"工行"_s, true, {}, {}, u","_s, u"txt"_s, 0),
             TemplateSave::Saved);
    QCOMPARE(SaveAnnounceTemplate(0, 0, u"工资条"_s, true, u"主题"_s, u"内容"_s),
             TemplateSave::Saved);
    const int eid = GetScalarInt(u"SELECT MAX(EID) FROM qz_WageExport"_s).valueOr(0);
    const int aid = GetScalarInt(u"SELECT MAX(AID) FROM qz_WageAnnounce"_s).valueOr(0);
    QVERIFY(eid > 0 && aid > 0);

    QVERIFY2(m_fixture->loseConnection(theDatabase), qPrintable(m_fixture->error()));
    const QString count = u"SELECT COUNT(*) FROM qz_Users"_s;
    QCOMPARE(describe(GetScalarInt(count)), u"failed"_s);
    QCOMPARE(describe(GetScalarText(count)), u"failed"_s);
    QCOMPARE(describe(GetScalarVariant(count)), u"failed"_s);
    const vantrel::Result<bool> exists = RecordExists(u"qz_Users"_s, u"UserID = ?"_s, { 1 });
    QVERIFY(!exists);
    QVERIFY(!exists.error().isEmpty());

    // The template is not "deleted by another operator": the check itself failed.
    QString error;
    QCOMPARE(SaveBankExportTemplate(eid, 3, u"工行2"_s, true, {}, {}, u","_s, u"txt"_s, 0, &error),
             TemplateSave::Failed);
    QVERIFY(!error.isEmpty());
    error.clear();
    QCOMPARE(SaveAnnounceTemplate(aid, 0, u"x"_s, true, {}, {}, &error), TemplateSave::Failed);
    QVERIFY(!error.isEmpty());
    error.clear();
    QCOMPARE(SaveAnnounceTemplate(0, 0, u"新"_s, true, {}, {}, &error), TemplateSave::Failed);
    QVERIFY(!error.isEmpty());
}

void TestScalarQueries::existenceAndLookups()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Dept (ParentID, Name, Ord, ParentArr) "
                                "VALUES (0, '财务部', 1, '|')"_s));
    const int did
        = GetScalarInt(u"SELECT DID FROM qz_Dept WHERE Name = ?"_s, { u"财务部"_s }).valueOr(0);
    QVERIFY(did > 0);
    QCOMPARE(GetDeptName(did), u"财务部"_s);
    QCOMPARE(GetDeptName(did + 100), QString());
    const auto exists
        = [](const QString &table, const QString &condition, const QVariantList &values) {
              const vantrel::Result<bool> found = RecordExists(table, condition, values);
              return found ? (*found ? u"yes"_s : u"no"_s) : u"failed"_s;
          };
    QCOMPARE(exists(u"qz_Dept"_s, u"DID = ?"_s, { did }), u"yes"_s);
    QCOMPARE(exists(u"qz_Dept"_s, u"DID = ?"_s, { did + 100 }), u"no"_s);
    QCOMPARE(exists(u"qz_Dept; DROP TABLE qz_Dept"_s, u"1 = 1"_s, {}), u"failed"_s);
    QCOMPARE(exists(u"qz_Dept"_s, u"NoSuchColumn = ?"_s, { did }), u"failed"_s);
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
    const int eid
        = GetScalarInt(u"SELECT EID FROM qz_WageExport WHERE Name = ?"_s, { u"工行"_s }).valueOr(0);
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
        = GetScalarInt(u"SELECT AID FROM qz_WageAnnounce WHERE Name = ?"_s, { u"工资条"_s })
              .valueOr(0);
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
