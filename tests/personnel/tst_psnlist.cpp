#include "core/app/currentuser.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/migrations/migrations.h"
#include "core/db/schema.h"
#include "core/query/querybuilders.h"
#include "personnel/psnbatchupdate.h"
#include "personnel/psncolumns.h"
#include "personnel/psndelete.h"
#include "personnel/psnprocedures.h"
#include "personnel/psnscope.h"
#include "psnfixture.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;
using vantrel::Result;

namespace {

QString pidsOf(const vantrel::db::QueryResult &result)
{
    QStringList pids;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        pids << result.rows.value(row, 0).toString();
    return pids.join(u',');
}

// The PIDs the person list shows for the scope, in list order.
QString listed(const SqlCondition &where)
{
    const SqlCondition query
        = SqlCondition { u"SELECT qz_PsnBase.PID"_s + BuildPsnFromClause(false), {} } + where
        + SqlCondition { PsnOrderBy(), {} };
    return pidsOf(theDatabase.run(query.sql, query.values));
}

QString scopeOf(int department)
{
    const Result<SqlCondition> where = BuildPsnWhere(theDatabase, department, 0, theCurrentUser);
    return where ? where->sql : where.error();
}

// A person's value of a user item as the test compares it.
QString itemValue(int pid, const QString &item)
{
    const QVariant value
        = theDatabase.run(u"SELECT %1 FROM qz_PsnBase WHERE PID = ?"_s.arg(item), { pid }).scalar();
    if (!value.isValid() || value.isNull())
        return u"NULL"_s;
    if (item == u"F12")
        return QString::number(value.toDouble(), 'f', 2);
    if (item == u"F14")
        return value.typeId() == QMetaType::QDateTime ? value.toDateTime().toString(u"yyyy-MM-dd"_s)
                                                      : value.toString().left(10);
    return value.toString();
}

int personCount()
{
    return theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnBase"_s).scalar().toInt();
}

} // namespace

class TestPsnList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void scopes_data();
    void scopes();
    void rightsForms();
    void literalText();
    void search_data();
    void search();
    void numberCheck_data();
    void numberCheck();
    void numberRace();
    void numberIndexMigration();
    void batchUpdate_data();
    void batchUpdate();
    void deleteWithFailure();
    void reorderProcedures();
    void widthsAndFormats();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnList::initTestCase()
{
    registerPsnProcedures();
}

void TestPsnList::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    loginAs(u"admin"_s);
}

void TestPsnList::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnList::scopes_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("department");
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("pids");

    QTest::newRow("everyone") << u"admin"_s << 0 << 0 << u"1,2,3,4,7,5,6"_s;
    QTest::newRow("subtree of 2") << u"admin"_s << 2 << 0 << u"2,4,7"_s;
    QTest::newRow("subtree of 3") << u"admin"_s << 3 << 0 << u"3,5,6"_s;
    QTest::newRow("a leaf") << u"admin"_s << 5 << 0 << u"5,6"_s;
    QTest::newRow("category 1") << u"admin"_s << 0 << 1 << u"1,2,4,6"_s;
    QTest::newRow("both") << u"admin"_s << 3 << 2 << u"3,5"_s;
    QTest::newRow("no category") << u"admin"_s << 3 << -1 << QString();
    QTest::newRow("a department gone") << u"admin"_s << 99 << 0 << QString();
    QTest::newRow("restricted, all") << u"dept35"_s << 0 << 0 << u"3,5,6"_s;
    QTest::newRow("restricted, from the top") << u"dept35"_s << 1 << 0 << u"3,5,6"_s;
    QTest::newRow("restricted, not granted") << u"dept35"_s << 2 << 0 << QString();
    QTest::newRow("restricted with category") << u"dept35"_s << 1 << 1 << u"6"_s;
    QTest::newRow("empty list") << u"nodept"_s << 0 << 0 << QString();
    QTest::newRow("empty list, a department") << u"nodept"_s << 3 << 0 << QString();
}

void TestPsnList::scopes()
{
    QFETCH(QString, user);
    QFETCH(int, department);
    QFETCH(int, category);
    QFETCH(QString, pids);
    loginAs(user);
    const Result<SqlCondition> where
        = BuildPsnWhere(theDatabase, department, category, theCurrentUser);
    QVERIFY2(where, qPrintable(where.error()));
    QCOMPARE(listed(*where), pids);
    // A subtree is a list of ids, never a text search per row.
    QVERIFY(!where->sql.contains(u"CHARINDEX"_s, Qt::CaseInsensitive));
}

void TestPsnList::rightsForms()
{
    QCOMPARE(scopeOf(0), QString());
    QCOMPARE(scopeOf(-1), QString());
    QVERIFY(DeptRightsCondition(theCurrentUser).isEmpty());
    loginAs(u"dept35"_s);
    // Restricted operators always get the condition, alone when nothing else filters.
    QCOMPARE(scopeOf(0), u" WHERE (qz_PsnBase.DID IN (?,?))"_s);
    QCOMPARE(scopeOf(2), u" WHERE (qz_PsnBase.DID IN (?,?)) AND (qz_PsnBase.DID IN (?,?))"_s);
    QCOMPARE(DeptRightsClause(theCurrentUser, RightsForm::AndClause).literalText(),
             u" AND (qz_PsnBase.DID IN (3,5))"_s);
    QCOMPARE(
        DeptRightsClause(theCurrentUser, RightsForm::WhereClause, {}, u"P.DID"_s).literalText(),
        u" WHERE (P.DID IN (3,5))"_s);
    QCOMPARE(DeptRightsClause(theCurrentUser, RightsForm::Joined, u" WHERE (a=1)"_s).sql,
             u" AND (qz_PsnBase.DID IN (?,?))"_s);
    loginAs(u"nodept"_s);
    QCOMPARE(DeptRightsCondition(theCurrentUser).sql, u"(1=0)"_s);
}

void TestPsnList::literalText()
{
    const SqlCondition condition { u" WHERE (a=?) AND (b=?) AND (c=?) AND (d=?)"_s,
                                   { u"O'Brien"_s, 3, 2.5, QDateTime(QDate(2024, 2, 29), {}) } };
    QCOMPARE(condition.literalText(),
             u" WHERE (a='O''Brien') AND (b=3) AND (c=2.5) AND (d='2024-02-29 00:00:00')"_s);
}

void TestPsnList::search_data()
{
    QTest::addColumn<int>("department");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pid");

    QTest::newRow("number, other case") << 0 << u"a001"_s << 1;
    QTest::newRow("stored lower, typed upper") << 0 << u"A004"_s << 4;
    QTest::newRow("a name") << 0 << u"张三"_s << 3;
    QTest::newRow("a name with a quote") << 0 << u"o'brien"_s << 7;
    QTest::newRow("part of a number") << 0 << u"A00"_s << 0;
    QTest::newRow("outside the scope") << 2 << u"A003"_s << 0;
    QTest::newRow("inside the scope") << 2 << u"b007"_s << 7;
}

void TestPsnList::search()
{
    QFETCH(int, department);
    QFETCH(QString, text);
    QFETCH(int, pid);
    const Result<SqlCondition> where = BuildPsnWhere(theDatabase, department, 0, theCurrentUser);
    QVERIFY(where);
    const Result<int> found = FindPersonInScope(theDatabase, *where, text);
    QVERIFY2(found, qPrintable(found.error()));
    QCOMPARE(*found, pid);
}

void TestPsnList::numberCheck_data()
{
    QTest::addColumn<QString>("oldNumber");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("unchanged") << u"A001"_s << u"A001"_s << true;
    QTest::newRow("own number, other case") << u"A001"_s << u"a001"_s << false;
    QTest::newRow("another's, other case") << u"A001"_s << u"A004"_s << false;
    QTest::newRow("free") << u"A001"_s << u"C100"_s << true;
    QTest::newRow("a quote") << u"A001"_s << u"C'1"_s << true;
    QTest::newRow("50 characters") << u"A001"_s << QString(50, u'x') << true;
    QTest::newRow("51 characters") << u"A001"_s << QString(51, u'x') << false;
    QTest::newRow("empty") << u"A001"_s << QString() << false;
}

void TestPsnList::numberCheck()
{
    QFETCH(QString, oldNumber);
    QFETCH(QString, typed);
    QFETCH(bool, allowed);
    QCOMPARE(IsPsnNumberEditAllowed(oldNumber, typed), allowed);
}

void TestPsnList::numberRace()
{
    // Both operators checked the number while it was free; the second write loses.
    CADODatabase second;
    QVERIFY2(second.Open(m_fixture->connectionString()), qPrintable(second.GetLastErrorString()));
    QVERIFY(IsPsnNumberEditAllowed(u"A001"_s, u"Z9"_s));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET Number=? WHERE PID=?"_s, { u"Z9"_s, 1 }));
    QVERIFY(!second.Execute(u"UPDATE qz_PsnBase SET Number=? WHERE PID=?"_s, { u"z9"_s, 2 }));
    QCOMPARE(itemValue(2, u"Number"_s), u"A002"_s);
}

void TestPsnList::numberIndexMigration()
{
    QVERIFY(
        !theDatabase.Execute(u"INSERT INTO qz_PsnBase (DID, AID, Number) VALUES (1, 1, 'a002')"_s));
    // A database whose numbers repeat gets no index; the log names them at each start.
    QVERIFY(theDatabase.Execute(u"DROP INDEX ux_qz_PsnBase_Number"_s));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnBase (DID, AID, Number) VALUES (1, 1, 'a002'),"
                                " (1, 1, 'B007')"_s));
    QVERIFY(vantrel::db::upgradeSchema(theDatabase));
    const Result<QStringList> duplicates = vantrel::db::duplicatePsnNumbers(theDatabase);
    QVERIFY(duplicates);
    QCOMPARE(*duplicates, QStringList({ u"A002"_s, u"B007"_s }));
    QCOMPARE(vantrel::db::lastPsnNumberDuplicates(), *duplicates);
    QCOMPARE(theDatabase.run(u"SELECT lAction FROM qz_Log"_s).scalar().toString(),
             u"人员档案[编号重复:'A002','B007']"_s);
    QVERIFY(
        theDatabase.Execute(u"INSERT INTO qz_PsnBase (DID, AID, Number) VALUES (1, 1, 'A001')"_s));

    // Once they are put right, the next start makes the index.
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnBase WHERE PID > 7"_s));
    QVERIFY(vantrel::db::upgradeSchema(theDatabase));
    QVERIFY(
        !theDatabase.Execute(u"INSERT INTO qz_PsnBase (DID, AID, Number) VALUES (1, 1, 'b007')"_s));
    QVERIFY(vantrel::db::lastPsnNumberDuplicates().isEmpty());
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_Log"_s).scalar().toInt(), 1);
}

void TestPsnList::batchUpdate_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("inScope"); // the item's value for persons 3, 5 and 6 after

    QTest::newRow("assign") << u"F12"_s << 0 << u"5"_s << QString() << u"5.00"_s;
    QTest::newRow("add") << u"F12"_s << 1 << u"5"_s << QString() << u"15.00"_s;
    QTest::newRow("subtract") << u"F12"_s << 2 << u"2.5"_s << QString() << u"7.50"_s;
    QTest::newRow("multiply") << u"F12"_s << 3 << u"1.5"_s << QString() << u"15.00"_s;
    QTest::newRow("divide, rounded") << u"F12"_s << 4 << u"3"_s << QString() << u"3.33"_s;
    QTest::newRow("add .xx5") << u"F12"_s << 1 << u"0.005"_s << QString() << u"10.01"_s;
    QTest::newRow("assign .xx5") << u"F12"_s << 0 << u"2.675"_s << QString() << u"2.68"_s;
    QTest::newRow("divide by 0") << u"F12"_s << 4 << u"0"_s << u"除数不能为零!"_s << u"10.00"_s;
    QTest::newRow("statement as number")
        << u"F12"_s << 0 << u"1;DELETE FROM qz_PsnBase"_s << u"值只能是数字!"_s << u"10.00"_s;
    QTest::newRow("statement as text") << u"F13"_s << 0 << u"1;DELETE FROM qz_PsnBase"_s
                                       << QString() << u"1;DELETE FROM qz_PsnBase"_s;
    QTest::newRow("a quote") << u"F13"_s << 0 << u"O'Neil"_s << QString() << u"O'Neil"_s;
    QTest::newRow("text ignores the mode") << u"F13"_s << 1 << u"5"_s << QString() << u"5"_s;
    QTest::newRow("a date") << u"F14"_s << 0 << u"2024-02-29"_s << QString() << u"2024-02-29"_s;
    QTest::newRow("no date") << u"F14"_s << 0 << QString() << QString() << u"NULL"_s;
    QTest::newRow("a wrong date") << u"F14"_s << 0 << u"2023-02-30"_s
                                  << u"'2023-02-30'不是有效日期!"_s << u"NULL"_s;
    QTest::newRow("the number") << u"Number"_s << 0 << u"X"_s << u"'Number'不能批量修改!"_s
                                << QString();
    QTest::newRow("not an item") << u"F12=0,F13"_s << 0 << u"1"_s << u"'F12=0,F13'不能批量修改!"_s
                                 << QString();
}

void TestPsnList::batchUpdate()
{
    QFETCH(QString, item);
    QFETCH(int, mode);
    QFETCH(QString, value);
    QFETCH(QString, error);
    QFETCH(QString, inScope);
    const QString before = itemValue(1, item == u"Number" ? u"Number"_s : item);
    const Result<SqlCondition> where = BuildPsnWhere(theDatabase, 3, 0, theCurrentUser);
    QVERIFY(where);
    const Result<int> changed = RunPsnBatchUpdate(theDatabase, { item, mode, value }, *where);
    QCOMPARE(changed ? QString() : changed.error(), error);
    QCOMPARE(personCount(), 7);
    if (!changed)
        return;
    QCOMPARE(*changed, 3);
    for (const int pid : { 3, 5, 6 })
        QCOMPARE(itemValue(pid, item), inScope);
    // Outside the scope nothing changed.
    for (const int pid : { 1, 2, 4, 7 })
        QCOMPARE(itemValue(pid, item), before);
}

void TestPsnList::deleteWithFailure()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnAdj (PID) VALUES (2), (3)"_s));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_WagePsn (SID, PID, Ord) VALUES (1, 2, 1), (1, 3, 2)"_s));
    QVERIFY(theDatabase.Execute(u"CREATE TABLE qz_Rel1 (ID INTEGER, PID INTEGER)"_s));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Rel1 (ID, PID) VALUES (1, 2), (2, 3)"_s));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Table (TblName, Title, nType) VALUES ('qz_Rel1', '履历', 5)"_s));

    const PsnDeleteOutcome outcome = DeletePersons(theDatabase, { 2, 999, 4 });
    QCOMPARE(outcome.deleted, 2);
    QCOMPARE(outcome.failures.size(), 1);
    QVERIFY(outcome.failures.first().startsWith(u"999: "_s));
    QCOMPARE(PsnDeleteLogText(outcome.deleted), u"人员档案[人员删除2个]"_s);
    QCOMPARE(pidsOf(theDatabase.run(u"SELECT PID FROM qz_PsnBase ORDER BY PID"_s)), u"1,3,5,6,7"_s);
    for (const QString &table : { u"qz_PsnAdj"_s, u"qz_WagePsn"_s, u"qz_Rel1"_s })
        QCOMPARE(pidsOf(theDatabase.run(u"SELECT PID FROM %1 ORDER BY PID"_s.arg(table))), u"3"_s);
}

void TestPsnList::reorderProcedures()
{
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET Ord = 10 WHERE PID = 5"_s));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET Ord = 3 WHERE PID = 6"_s));
    CADOCommand list(&theDatabase, u"qz_SelectPsnbaseReOrderByDeptID"_s);
    list.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, 5);
    QVERIFY2(list.Execute(), qPrintable(list.GetLastErrorString()));
    const vantrel::db::RowSet rows = list.TakeResultSet();
    QCOMPARE(rows.rowCount(), 2);
    QCOMPARE(rows.value(0, 0).toInt(), 6);
    QCOMPARE(rows.value(0, 1).toString(), u"A006"_s);
    QCOMPARE(rows.value(0, 3).toString(), u"二组"_s);
    QCOMPARE(rows.value(0, 4).toString(), u"在职"_s);
    QCOMPARE(rows.value(0, 5).toInt(), 3);
    QCOMPARE(rows.value(1, 5).toInt(), 10);

    CADOCommand renumber(&theDatabase, u"qz_RefreshPsnBaseOrder"_s);
    renumber.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, 5);
    QVERIFY2(renumber.Execute(), qPrintable(renumber.GetLastErrorString()));
    QCOMPARE(pidsOf(theDatabase.run(u"SELECT Ord FROM qz_PsnBase WHERE DID = 5 ORDER BY PID"_s)),
             u"2,1"_s);
    QCOMPARE(pidsOf(theDatabase.run(u"SELECT Ord FROM qz_PsnBase WHERE DID <> 5 ORDER BY PID"_s)),
             u"1,2,3,4,7"_s);
}

void TestPsnList::widthsAndFormats()
{
    const auto itemOf = [](const QString &table, const QString &column) {
        return theDatabase
            .run(u"SELECT %1 FROM qz_Items WHERE TblName = ? AND Name = 'Name'"_s.arg(column),
                 { table })
            .scalar()
            .toString();
    };
    QVERIFY(SavePsnColumnWidth(theDatabase, u"Name"_s, 77));
    QVERIFY(SavePsnColumnFormat(theDatabase, u"Name"_s, u"1;255;65535"_s));
    QCOMPARE(itemOf(u"QZ_PSNBASE"_s, u"iWid"_s), u"77"_s);
    QCOMPARE(itemOf(u"QZ_PSNBASE"_s, u"ColFmt"_s), u"1;255;65535"_s);
    QCOMPARE(itemOf(u"QZ_DEPT"_s, u"iWid"_s), u"200"_s);
    QCOMPARE(itemOf(u"QZ_DEPT"_s, u"ColFmt"_s), QString());

    PsnColumnFormat format;
    QVERIFY(ParseColumnFormat(u"1;255;65535"_s, &format));
    QVERIFY(format.bold);
    QCOMPARE(format.text, QColor(Qt::red));
    QCOMPARE(format.background, QColor(Qt::yellow));
    QCOMPARE(ColumnFormatText(format), u"1;255;65535"_s);
    QVERIFY(ParseColumnFormat(u"0;-1;255"_s, &format));
    QVERIFY(!format.bold);
    QVERIFY(!format.text.isValid());
    QCOMPARE(ColumnFormatText(format), u"0;-1;255"_s);
    QVERIFY(!ParseColumnFormat(u"1;255"_s, &format));
    QVERIFY(!ParseColumnFormat(u"1;red;0"_s, &format));
}

QTEST_GUILESS_MAIN(TestPsnList)
#include "tst_psnlist.moc"
