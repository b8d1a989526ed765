#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "personnel/psnscope.h"
#include "personnel/psnseniority.h"
#include "psnfixture.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

const QDate may10(2024, 5, 10);

bool setEntryDates(const QVariant &date)
{
    return theDatabase.Execute(u"UPDATE qz_PsnBase SET F14=?"_s, { date });
}

// F12 of the persons in PID order, "10" where untouched.
QString years()
{
    const vantrel::db::QueryResult result
        = theDatabase.run(u"SELECT F12 FROM qz_PsnBase ORDER BY PID"_s);
    QStringList values;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        values << QString::number(result.rows.value(row, 0).toDouble());
    return values.join(u',');
}

} // namespace

class TestPsnSeniority : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void methods_data();
    void methods();
    void scopes_data();
    void scopes();
    void failingUpdateChangesNothing();
    void logText();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnSeniority::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    loginAs(u"admin"_s);
}

void TestPsnSeniority::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnSeniority::methods_data()
{
    QTest::addColumn<QVariant>("entry");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("expected"); // 10: unchanged
    const QDateTime anniversary(QDate(2010, 5, 10), QTime(0, 0));
    const QDateTime dayBefore(QDate(2010, 5, 9), QTime(0, 0));
    QTest::newRow("anniversary by month") << QVariant(anniversary) << int(ByMonth) << 13;
    QTest::newRow("anniversary by day") << QVariant(anniversary) << int(ByDay) << 13;
    QTest::newRow("anniversary by years") << QVariant(anniversary) << int(ByFullYears) << 14;
    QTest::newRow("anniversary nominal") << QVariant(anniversary) << int(ByNominalYears) << 15;
    QTest::newRow("day before by day") << QVariant(dayBefore) << int(ByDay) << 14;
    QTest::newRow("day before by month") << QVariant(dayBefore) << int(ByMonth) << 13;
    QTest::newRow("timed anniversary by day")
        << QVariant(QDateTime(QDate(2010, 5, 10), QTime(14, 30))) << int(ByDay) << 13;
    QTest::newRow("april by month")
        << QVariant(QDateTime(QDate(2010, 4, 30), QTime(23, 59))) << int(ByMonth) << 14;
    QTest::newRow("same year") << QVariant(QDateTime(QDate(2024, 1, 1), QTime(0, 0)))
                               << int(ByFullYears) << 10;
    QTest::newRow("no date") << QVariant() << int(ByFullYears) << 10;
    QTest::newRow("empty workbook date")
        << QVariant(QDateTime(QDate(1899, 12, 30), QTime(0, 0))) << int(ByFullYears) << 10;
}

void TestPsnSeniority::methods()
{
    QFETCH(QVariant, entry);
    QFETCH(int, method);
    QFETCH(int, expected);
    QVERIFY(setEntryDates(entry));
    const vantrel::Result<int> changed
        = RunBatchSeniority(theDatabase, { may10, u"F14"_s, u"F12"_s, method }, {});
    QVERIFY2(changed, qPrintable(changed.error()));
    QCOMPARE(*changed, expected == 10 ? 0 : 7);
    QCOMPARE(years(), QStringList(7, QString::number(expected)).join(u','));
}

void TestPsnSeniority::scopes_data()
{
    QTest::addColumn<int>("department");
    QTest::addColumn<QString>("search"); // an advanced search's condition on the scope
    QTest::addColumn<QString>("expected");
    QTest::newRow("everyone") << 0 << QString() << u"14,14,14,14,14,14,14"_s;
    QTest::newRow("department 3 and below") << 3 << QString() << u"10,10,14,10,14,14,10"_s;
    QTest::newRow("advanced search")
        << 3 << u"qz_PsnBase.Number LIKE ?"_s << u"10,10,10,10,14,10,10"_s;
}

void TestPsnSeniority::scopes()
{
    QFETCH(int, department);
    QFETCH(QString, search);
    QFETCH(QString, expected);
    QVERIFY(setEntryDates(QDateTime(QDate(2010, 1, 1), QTime(0, 0))));
    const vantrel::Result<SqlCondition> where
        = BuildPsnWhere(theDatabase, department, 0, theCurrentUser);
    QVERIFY(where);
    SqlCondition scope = *where;
    if (!search.isEmpty())
        scope += SqlCondition { u" AND ("_s + search + u")"_s, { u"%5"_s } };
    QVERIFY(RunBatchSeniority(theDatabase, { may10, u"F14"_s, u"F12"_s, ByFullYears }, scope));
    QCOMPARE(years(), expected);
}

void TestPsnSeniority::failingUpdateChangesNothing()
{
    QVERIFY(setEntryDates(QDateTime(QDate(2010, 1, 1), QTime(0, 0))));
    const vantrel::Result<int> changed
        = RunBatchSeniority(theDatabase, { may10, u"F14"_s, u"F99"_s, ByFullYears }, {});
    QVERIFY(!changed);
    QVERIFY(!changed.error().isEmpty());
    QCOMPARE(years(), u"10,10,10,10,10,10,10"_s);
}

void TestPsnSeniority::logText()
{
    QCOMPARE(SeniorityLogText(may10, u"入职日期"_s, u"按日核算"_s, u"数额"_s, {}),
             u"人员档案[批量工龄核算：2024-05-10|入职日期|按日核算|数额 ()]"_s);
    QCOMPARE(
        SeniorityLogText(may10, u"入职日期"_s, u"按月核算"_s, u"数额"_s,
                         { u" WHERE (qz_PsnBase.DID IN (?,?))"_s, { 3, 5 } }),
        u"人员档案[批量工龄核算：2024-05-10|入职日期|按月核算|数额 (条件： (qz_PsnBase.DID IN (3,5)))]"_s);
}

QTEST_GUILESS_MAIN(TestPsnSeniority)
#include "tst_psnseniority.moc"
