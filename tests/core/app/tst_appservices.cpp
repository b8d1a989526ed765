#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "testdatabase.h"

#include <QSqlDatabase>
#include <QTest>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

// Stands in for the window layer's retry question: answers from a list, counting the questions.
struct RetryAnswers
{
    QList<bool> answers;
    int asked = 0;
    void install()
    {
        CVantrelApp::setConnectionLostPresenter([this] {
            ++asked;
            return answers.isEmpty() ? false : answers.takeFirst();
        });
    }
};

int logRows()
{
    return GetScalarInt(u"SELECT COUNT(*) FROM qz_Log"_s).valueOr(-1);
}

} // namespace

class TestAppServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void preludeQuotesTexts();
    void logRetention();
    void watchdogAsksWhileTheConnectionIsDown();
    void watchdogRetriesUntilTheServerAnswers();
    void missingReportLibraryIsSaidClearly();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestAppServices::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    theApp = CVantrelApp();
    theApp.m_strConnection = m_fixture->connectionString();
    theCurrentUser.reset();
}

void TestAppServices::cleanup()
{
    CVantrelApp::setConnectionLostPresenter({});
    theDatabase.Close();
    delete m_fixture;
}

void TestAppServices::preludeQuotesTexts()
{
    theCurrentUser.UserName = u"O\"Neil"_s;
    theApp.SName = u"工资\"A\""_s;
    theApp.SDate = 202405;
    const auto prelude = theApp.GetScriptPrelude();
    QVERIFY2(prelude, qPrintable(prelude.error()));
    QCOMPARE(*prelude,
             u"Function UserName()\n  UserName = \"O\"\"Neil\" \nEnd Function\n"
             "Function SDate()\n  SDate = 202405 \nEnd Function\n"
             "Function SName()\n  SName = \"工资\"\"A\"\"\" \nEnd Function\n"_s);
    QVERIFY(theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = ? WHERE nType = 1"_s,
                                { u"Function Tax(x)\n Tax = x * 0.1\nEnd Function\n"_s }));
    const auto withGlobal = theApp.GetScriptPrelude();
    QVERIFY2(withGlobal, qPrintable(withGlobal.error()));
    QVERIFY(
        withGlobal->endsWith(u"End Function\nFunction Tax(x)\n Tax = x * 0.1\nEnd Function\n"_s));
}

void TestAppServices::logRetention()
{
    theApp.LoadRecentDays();
    QCOMPARE(theApp.RecentDays, 60);
    theApp.WriteSystemLog(u"登录系统[计算机名：test]"_s, 0);
    QCOMPARE(logRows(), 1);

    QVERIFY(theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = '15' WHERE nType = 2"_s));
    theApp.LoadRecentDays();
    QCOMPARE(theApp.RecentDays, 15);

    // A missing row or a failed query keeps what is in force; an explicit 0 switches logging off.
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_SysOption WHERE nType = 2"_s));
    theApp.LoadRecentDays();
    QCOMPARE(theApp.RecentDays, 15);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_SysOption (nType, sContent) VALUES (2, '0')"_s));
    theApp.LoadRecentDays();
    QCOMPARE(theApp.RecentDays, 0);
    theApp.WriteSystemLog(u"not written"_s, 0);
    QCOMPARE(logRows(), 1);
}

void TestAppServices::watchdogAsksWhileTheConnectionIsDown()
{
    RetryAnswers retry;
    retry.install();
    QVERIFY(theApp.CheckConnection());
    QCOMPARE(retry.asked, 0);

    // Given up: the connection stays closed.
    theDatabase.Close();
    QVERIFY(!theApp.CheckConnection());
    QCOMPARE(retry.asked, 1);
    QVERIFY(!theDatabase.IsOpen());

    // Retry reopens with the session's connection string.
    retry.answers = { true };
    QVERIFY(theApp.CheckConnection());
    QCOMPARE(retry.asked, 2);
    QVERIFY(theDatabase.IsOpen());

    // Nobody to ask: no answer is no retry.
    CVantrelApp::setConnectionLostPresenter({});
    theDatabase.Close();
    QVERIFY(!theApp.CheckConnection());
}

void TestAppServices::watchdogRetriesUntilTheServerAnswers()
{
    if (TestDatabase::backend() != Backend::Postgres)
        QSKIP("Only a server connection can be lost under the program");
    QVERIFY(theApp.CheckConnection());

    // The server drops our session, as a restart would.
    const int backend = theDatabase.run(u"SELECT pg_backend_pid()"_s).scalar().toInt();
    QVERIFY(backend > 0);
    {
        CADODatabase admin;
        QVERIFY(admin.Open(m_fixture->connectionString()));
        QVERIFY(admin.Execute(u"SELECT pg_terminate_backend(?)"_s, { backend }));
    }
    RetryAnswers retry;
    retry.answers = { true };
    retry.install();
    QVERIFY(theApp.CheckConnection());
    QCOMPARE(retry.asked, 1);
    QCOMPARE(GetScalarInt(u"SELECT COUNT(*) FROM qz_Users"_s), 1);
}

void TestAppServices::missingReportLibraryIsSaidClearly()
{
    // No report library is built beside the tests.
    QVERIFY(!theApp.BindReportEntryPoints());
    QVERIFY(!theApp.OpenReport && !theApp.CreateReport && !theApp.PrintReport
            && !theApp.ExportReport);
    QVERIFY(theApp.m_strReportLibraryError.startsWith(u"报表组件未安装(ferrolyn)"_s));
}

QTEST_GUILESS_MAIN(TestAppServices)
#include "tst_appservices.moc"
