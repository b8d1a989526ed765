#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/app/purviewtable.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "modalanswers.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/app/appwindow.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"
#include "ui/frame/frametimers.h"
#include "ui/frame/modulecommands.h"
#include "ui/frame/navigationpane.h"
#include "ui/frame/statususerpane.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QString rightsText(const QList<int> &rights)
{
    quint64 mask = 0;
    for (const int right : rights)
        mask |= PurviewTable[right].mask;
    return QString::number(mask, 16) + u"|||"_s;
}

int addUser(const QString &name, const QString &password, const QList<int> &rights)
{
    return InsertReturningId(u"qz_Users"_s, { u"UserName"_s, u"Pwd"_s, u"Purview"_s, u"ISuper"_s },
                             { name, PasswordDigest::make(password), rightsText(rights), 0 },
                             u"UserID"_s);
}

// Presses a button of the next message box and keeps its text and caption.
struct MessageAnswer
{
    QString text;
    QString caption;
    void press(QMessageBox::StandardButton button)
    {
        answerNextModal<QMessageBox>([this, button](QMessageBox *box) {
            text = box->text();
            caption = box->windowTitle();
            box->button(button)->click();
        });
    }
};

void logIn(const QString &name, const QString &password)
{
    answerNextModal<QDialog>([name, password](QDialog *login) {
        auto *user = login->findChild<QLineEdit *>(u"userName"_s);
        user->setText(name);
        login->findChild<QLineEdit *>(u"password"_s)->clear();
        QTest::keyClicks(login->findChild<QLineEdit *>(u"password"_s), password);
        login->findChild<QPushButton *>(u"okButton"_s)->click();
    });
}

class Stubborn : public QLabel
{
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

int logEntries(const QString &action)
{
    return GetScalarInt(u"SELECT COUNT(*) FROM qz_Log WHERE lAction = ?"_s, { action }).valueOr(-1);
}

} // namespace

// The frame's commands on a real database: rights, re-login, exit and a lost connection.
class TestFrameCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void rightRefusedForARestrictedUser();
    void reloginAsAnotherUser();
    void reloginCancelledOrRefusedKeepsTheUser();
    void exitQuestion_data();
    void exitQuestion();
    void dataStructureClosesTheChildrenFirst();
    void lostConnectionOffersRetry();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestFrameCommands::initTestCase()
{
    QVERIFY(useTestProfile());
    // As start-up does: the watchdog's question comes from the window layer.
    AppWindow::installPresenters();
}

void TestFrameCommands::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    theApp = CVantrelApp();
    theApp.m_strConnection = m_fixture->connectionString();
    theCurrentUser.reset();
    theCurrentUser.UserID = 1;
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
}

void TestFrameCommands::cleanup()
{
    for (const int id : { 2101, 33158, 33174 })
        ModuleCommands::instance().unregisterOpener(id);
    theApp.m_pMainWnd = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestFrameCommands::rightRefusedForARestrictedUser()
{
    // The administrator took right 16 away after this user logged in with it.
    const int id = addUser(u"zhao"_s, u"pw"_s, { 0 });
    QVERIFY(id > 0);
    theCurrentUser.reset();
    theCurrentUser.UserID = id;
    theCurrentUser.UserName = u"zhao"_s;
    theCurrentUser.ParsePurview(rightsText({ 0, 16 }));
    int opened = 0;
    ModuleCommands::instance().registerOpener(33158, [&](CMainFrame &) { ++opened; });
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));

    MessageAnswer refusal;
    refusal.press(QMessageBox::Ok);
    QTest::keyClick(&frame, Qt::Key_F11);
    QCOMPARE(refusal.text, u"抱歉!您没有该项功能操作权限，请与管理员联系!"_s);
    QCOMPARE(refusal.caption, LoadResString(128));
    QCOMPARE(opened, 0);
}

void TestFrameCommands::reloginAsAnotherUser()
{
    QVERIFY(addUser(u"wang"_s, u"pw"_s, { 16, 31 }) > 0);
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.ShowUserInStatusBar();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QPointer<QMdiSubWindow> child = frame.mdiArea()->addSubWindow(new QLabel(u"一"_s));
    child->show();
    QCOMPARE(frame.navigationPane()->groupNames().size(), 3);

    logIn(u"wang"_s, u"pw"_s);
    frame.commands().run(33301);
    QCOMPARE(theCurrentUser.UserName, u"wang"_s);
    QTRY_VERIFY(child.isNull());
    QCOMPARE(frame.navigationPane()->groupNames(), QStringList { u"薪资管理"_s });
    QCOMPARE(frame.navigationPane()->buttonLabels(0),
             (QStringList { u"薪资档案"_s, u"薪资汇总"_s }));
    QCOMPARE(frame.userPane()->text(), u"wang"_s);
    QVERIFY(!frame.userPane()->showsSuperUser());
    QVERIFY(!frame.commands().action(2300)->isEnabled());
}

void TestFrameCommands::reloginCancelledOrRefusedKeepsTheUser()
{
    QVERIFY(addUser(u"wang"_s, u"pw"_s, { 16 }) > 0);
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    answerNextModal<QDialog>([](QDialog *login) { login->reject(); });
    frame.commands().run(33301);
    QCOMPARE(theCurrentUser.UserName, u"admin"_s);

    // A child that will not close (its work unsaved) stops the re-login: no loop, and the
    // previous user stays with it.
    frame.mdiArea()->addSubWindow(new Stubborn)->show();
    logIn(u"wang"_s, u"pw"_s);
    frame.commands().run(33301);
    QCOMPARE(theCurrentUser.UserName, u"admin"_s);
    QVERIFY(theCurrentUser.ISuper);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame.navigationPane()->groupNames().size(), 3);
}

void TestFrameCommands::exitQuestion_data()
{
    QTest::addColumn<int>("exitYesNo");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");

    QTest::newRow("asked, No keeps it running") << 1 << int(QMessageBox::No) << false;
    QTest::newRow("asked, Yes ends it") << 1 << int(QMessageBox::Yes) << true;
    QTest::newRow("ExitYesNO 0 ends it without asking") << 0 << -1 << true;
}

void TestFrameCommands::exitQuestion()
{
    QFETCH(int, exitYesNo);
    QFETCH(int, answer);
    QFETCH(bool, closes);

    Profile::writeInt({}, u"ExitYesNO"_s, exitYesNo);
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    MessageAnswer question;
    if (answer >= 0)
        question.press(QMessageBox::StandardButton(answer));
    frame.commands().run(57665);

    QCOMPARE(question.text, answer >= 0 ? u"确定要退出系统吗?"_s : QString());
    if (answer >= 0)
        QCOMPARE(question.caption, u"提示"_s);
    QCOMPARE(frame.isVisible(), !closes);
    QCOMPARE(logEntries(u"登出系统"_s), closes ? 1 : 0);
    QCOMPARE(frame.timers().isStartPending(), !closes);
}

void TestFrameCommands::dataStructureClosesTheChildrenFirst()
{
    int opened = 0;
    ModuleCommands::instance().registerOpener(
        33174, [&](CMainFrame &f) { opened += f.mdiArea()->subWindowList().isEmpty() ? 1 : 100; });
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.mdiArea()->addSubWindow(new QLabel(u"一"_s))->show();
    frame.commands().run(33174);
    QCOMPARE(opened, 1);

    QMdiSubWindow *stubborn = frame.mdiArea()->addSubWindow(new Stubborn);
    stubborn->show();
    frame.commands().run(33174);
    QCOMPARE(opened, 1);
}

void TestFrameCommands::lostConnectionOffersRetry()
{
    if (TestDatabase::backend() != vantrel::db::Backend::Postgres)
        QSKIP("Only a server connection can be lost under the program");
    int opened = 0;
    ModuleCommands::instance().registerOpener(2101, [&](CMainFrame &) { ++opened; });
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    // The server ends our session, as a restart would; the other tests' server keeps running.
    QVERIFY2(m_fixture->loseConnection(theDatabase), qPrintable(m_fixture->error()));
    MessageAnswer watchdog;
    watchdog.press(QMessageBox::Retry);
    frame.commands().run(2101);
    QVERIFY(watchdog.text.startsWith(u"数据库连接异常!"_s));
    QCOMPARE(watchdog.caption, u"告警"_s);
    QCOMPARE(opened, 1);
    QVERIFY(frame.isVisible());
    QCOMPARE(GetScalarInt(u"SELECT COUNT(*) FROM qz_Users"_s), 1);
}

QTEST_MAIN(TestFrameCommands)
#include "tst_framecommands.moc"
