#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/db/cadorecordset.h"
#include "core/db/procedureregistry.h"
#include "testdatabase.h"

#include <QTest>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

// Adds Amount to every row of the group, hands back how many rows there were and the
// group's name, returns 1 and lists the rows; fails after writing when Amount is negative.
bool addToGroup(ProcedureContext &ctx)
{
    const int amount = ctx.input(u"Amount"_s).toInt();
    if (!ctx.exec(u"UPDATE grp SET v = v + ? WHERE g = ?"_s, { amount, ctx.input(0) }))
        return false;
    if (amount < 0)
        return ctx.fail(u"negative amounts are refused"_s);
    ctx.setOutput(u"Name"_s, QString(u"组"_s + ctx.input(0).toString()));
    ctx.setReturnValue(ctx.recordsAffected());
    return ctx.select(u"SELECT g, v FROM grp WHERE g = ? ORDER BY v"_s, { ctx.input(0) });
}

bool noResult(ProcedureContext &ctx)
{
    // An empty text arrives as a text, not NULL.
    return ctx.input(0).isNull() ? ctx.fail(u"NULL"_s) : true;
}

int count(CADODatabase &db, const QString &sql)
{
    const vantrel::db::QueryResult result = db.run(sql);
    return result.hasRow() ? result.scalar().toInt() : -1;
}

} // namespace

class TestCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void returnValueOutputAndResultSet();
    void failingProcedureChangesNothing();
    void scalarWithoutResultIsEmpty();
    void unknownProcedureFails();
    void textCommandBindsInOrder();
    void systemLogWritesAndCleansUp();

private:
    TestDatabase *m_fixture = nullptr;
    CADODatabase m_db;
};

void TestCommand::initTestCase()
{
    ProcedureRegistry::instance().add(u"test_AddToGroup"_s, addToGroup);
    ProcedureRegistry::instance().add(u"test_NoResult"_s, noResult);
}

void TestCommand::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, m_db, true);
    QVERIFY(m_db.Execute(u"CREATE TABLE grp (id INTEGER PRIMARY KEY, g INTEGER, v INTEGER)"_s));
    QVERIFY(m_db.Execute(u"INSERT INTO grp VALUES (1, 1, 10), (2, 1, 20), (3, 2, 30)"_s));
}

void TestCommand::cleanup()
{
    m_db.Close();
    delete m_fixture;
}

void TestCommand::returnValueOutputAndResultSet()
{
    CADOCommand command(&m_db, u"TEST_addtogroup"_s, adCmdStoredProc);
    CADOParameter ret(adInteger, 4, adParamReturnValue, u"Return"_s);
    CADOParameter name(adVarChar, 50, adParamOutput, u"Name"_s);
    QVERIFY(command.AddParameterObject(&ret));
    QVERIFY(command.AddParameterInt(u"Group"_s, adInteger, adParamInput, 4, 1));
    QVERIFY(command.AddParameterInt(u"Amount"_s, adInteger, adParamInput, 4, 5));
    QVERIFY(command.AddParameterObject(&name));

    CADORecordset rs(&m_db);
    QVERIFY2(rs.Open(command), qPrintable(rs.GetLastErrorString()));
    int value = 0;
    QVERIFY(ret.GetValueInt(value));
    QCOMPARE(value, 2);
    QString text;
    QVERIFY(name.GetValueText(text));
    QCOMPARE(text, u"组1"_s);
    QCOMPARE(rs.GetRecordCount(), 2L);
    QVERIFY(rs.GetFieldValueIntByName(u"v"_s, value));
    QCOMPARE(value, 15);
    QCOMPARE(command.GetRecordsAffected(), 2);
}

void TestCommand::failingProcedureChangesNothing()
{
    CADOCommand command(&m_db, u"test_AddToGroup"_s);
    command.AddParameterInt(u"Group"_s, adInteger, adParamInput, 4, 1);
    command.AddParameterInt(u"Amount"_s, adInteger, adParamInput, 4, -100);
    QVERIFY(!command.Execute());
    QVERIFY(command.GetLastErrorString().contains(u"negative amounts are refused"_s));
    QCOMPARE(count(m_db, u"SELECT SUM(v) FROM grp"_s), 60);

    // Inside the caller's transaction the procedure only rolls back to its savepoint.
    DbTransaction outer(m_db);
    QVERIFY(m_db.Execute(u"INSERT INTO grp VALUES (4, 3, 1)"_s));
    QVERIFY(!command.Execute());
    QVERIFY(outer.commit());
    QCOMPARE(count(m_db, u"SELECT SUM(v) FROM grp"_s), 61);
}

void TestCommand::scalarWithoutResultIsEmpty()
{
    CADOCommand command(&m_db, u"test_NoResult"_s);
    command.AddParameterText(u"Text"_s, adVarChar, adParamInput, 10, QString());
    QVERIFY(!command.ExecuteScalar().isValid());
    QVERIFY(command.GetLastErrorString().isEmpty());

    CADOCommand empty(&m_db, u"SELECT v FROM grp WHERE g = ?"_s, adCmdText);
    empty.AddParameterInt(u"g"_s, adInteger, adParamInput, 4, 99);
    QVERIFY(!empty.ExecuteScalar().isValid());
}

void TestCommand::unknownProcedureFails()
{
    CADOCommand command(&m_db, u"qz_NoSuchProcedure"_s);
    QVERIFY(!command.Execute());
    QVERIFY(command.GetLastErrorString().startsWith(u"CADOCommand Error"_s));
}

void TestCommand::textCommandBindsInOrder()
{
    CADOCommand command(&m_db, u"UPDATE grp SET v = ? WHERE g = ?"_s, adCmdText);
    command.AddParameterInt(u"v"_s, adInteger, adParamInput, 4, 0);
    command.AddParameterInt(u"g"_s, adInteger, adParamInput, 4, 1);
    QVERIFY(command.Execute());
    QCOMPARE(command.GetRecordsAffected(), 2);
}

void TestCommand::systemLogWritesAndCleansUp()
{
    auto log = [this](const QString &text, bool cleanup, int days) {
        CADOCommand command(&m_db, u"qz_AddSystemLog"_s);
        command.AddParameterText(u"UserName"_s, adVarChar, adParamInput, 50, u"admin"_s);
        command.AddParameterText(u"Content"_s, adVarChar, adParamInput, 2000, text);
        command.AddParameterVariant(u"Cleanup"_s, adBoolean, adParamInput, 1, cleanup);
        command.AddParameterInt(u"RecentDays"_s, adInteger, adParamInput, 4, days);
        command.ExecuteScalar();
        return command.GetLastErrorString();
    };
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QCOMPARE(log(u"登录系统[admin]"_s, false, 60), QString());
    QVERIFY(m_db.Execute(u"INSERT INTO qz_Log (lDate, lUser, lAction) VALUES (?, 'x', 'old')"_s,
                         { QDateTime::currentDateTime().addDays(-61) }));
    // A text longer than the column is cut, not lost.
    QCOMPARE(log(QString(2500, u'长'), true, 60), QString());

    CADORecordset rs(&m_db);
    QVERIFY(rs.Open(u"SELECT lDate, lUser, lAction FROM qz_Log ORDER BY id"_s, {}));
    QCOMPARE(rs.GetRecordCount(), 2L);
    QDateTime stamp;
    QVERIFY(rs.GetFieldValueDateByName(u"lDate"_s, stamp));
    QVERIFY(stamp >= before && stamp <= QDateTime::currentDateTime().addSecs(1));
    rs.MoveLast();
    QString action;
    QVERIFY(rs.GetFieldValueText(2, action));
    QCOMPARE(action.size(), 2000);
}

QTEST_GUILESS_MAIN(TestCommand)
#include "tst_command.moc"
