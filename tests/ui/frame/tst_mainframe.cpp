#include "core/app/constants.h"
#include "core/app/currentuser.h"
#include "core/app/purviewtable.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/looktheme.h"
#include "ui/frame/clogobannerpane.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"
#include "ui/frame/mainmenucontroller.h"
#include "ui/frame/mditabcontroller.h"
#include "ui/frame/modulecommands.h"
#include "ui/frame/navigationpane.h"
#include "ui/frame/statususerpane.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QString rightsText(const QList<int> &rights)
{
    quint64 mask = 0;
    for (const int right : rights)
        mask |= PurviewTable[right].mask;
    return QString::number(mask, 16) + u"|||"_s;
}

void logIn(const QString &name, int isSuper, const QList<int> &rights)
{
    theCurrentUser.reset();
    theCurrentUser.UserName = name;
    theCurrentUser.ISuper = isSuper;
    theCurrentUser.ParsePurview(rightsText(rights));
}

// The file menu's entry of a command, searched through its sub-menus.
QAction *menuEntry(CMainFrame &frame, int command)
{
    for (QMenu *menu : frame.menuBar()->findChildren<QMenu *>()) {
        for (QAction *entry : menu->actions()) {
            if (entry->data().toInt() == command)
                return entry;
        }
    }
    return nullptr;
}

QToolButton *navigationButton(CMainFrame &frame, const QString &label)
{
    for (QToolButton *button : frame.navigationPane()->findChildren<QToolButton *>()) {
        if (button->text() == label)
            return button;
    }
    return nullptr;
}

// Answers the next modal message box with its default button and keeps its text.
void answerNextMessage(QString *text)
{
    answerNextModal<QMessageBox>([text](QMessageBox *box) {
        *text = box->text();
        box->done(QMessageBox::Ok);
    });
}

// Closes the next modal dialog and keeps its class name.
void rejectNextDialog(QString *className)
{
    answerNextModal<QDialog>([className](QDialog *dialog) {
        *className = QString::fromLatin1(dialog->metaObject()->className());
        dialog->reject();
    });
}

} // namespace

// The main frame with the real bars, panes and commands, on the session's connection.
class TestMainFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void navigationFollowsRights_data();
    void navigationFollowsRights();
    void reloginRebuildsNavigationAndStatus();
    void statusBarShowsUser();
    void unbuiltModulesStayDisabled();
    void openerRunsAfterRightReRead();
    void sessionCommands();
    void fileMenuPrunedByRights();
    void layoutRoundTrip();
    void maximisedAndLostScreen();
    void looks_data();
    void looks();
    void mdiTabs_data();
    void mdiTabs();
    void viewToggles();
    void tabMenuClosesChild();
    void refusingChildStopsCloseAll();
    void exitClosesFrame();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestMainFrame::initTestCase()
{
    // Never touch a real user's profile.
    QVERIFY(useTestProfile());
}

void TestMainFrame::init()
{
    clearTestProfile();
    // Closing a frame here does not ask first; tst_framecommands covers the exit question.
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    logIn(u"admin"_s, 1, {});
}

void TestMainFrame::cleanup()
{
    for (const int id : { 2100, 2101, 33158 })
        ModuleCommands::instance().unregisterOpener(id);
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestMainFrame::navigationFollowsRights_data()
{
    QTest::addColumn<int>("isSuper");
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("buttons");

    QTest::newRow("super user sees all fifteen, whatever the mask")
        << 1 << QList<int>() << QStringList { u"人事管理"_s, u"薪资管理"_s, u"系统管理"_s }
        << QStringList {
               u"人员档案"_s, u"调动管理"_s, u"离职管理"_s, u"统计分析"_s, u"人事提醒"_s,
               u"薪资档案"_s, u"薪资汇总"_s, u"帐套设置"_s, u"组织机构"_s, u"人员类别"_s,
               u"数据结构"_s, u"基础档案"_s, u"系统设置"_s, u"操作员"_s,   u"系统日志"_s
           };
    QTest::newRow("personnel rights only")
        << 0 << QList<int> { 0, 11, 14 } << QStringList { u"人事管理"_s }
        << QStringList { u"人员档案"_s, u"调动管理"_s, u"统计分析"_s };
    QTest::newRow("payroll without 31")
        << 0 << QList<int> { 16, 32 } << QStringList { u"薪资管理"_s }
        << QStringList { u"薪资档案"_s, u"帐套设置"_s };
    QTest::newRow("children without their root")
        << 0 << QList<int> { 11, 12, 31, 34 } << QStringList() << QStringList();
    QTest::newRow("administration, never the operators or the log")
        << 0 << QList<int> { 33, 34, 38 } << QStringList { u"系统管理"_s }
        << QStringList { u"组织机构"_s, u"系统设置"_s };
    QTest::newRow("no rights") << 0 << QList<int>() << QStringList() << QStringList();
}

void TestMainFrame::navigationFollowsRights()
{
    QFETCH(int, isSuper);
    QFETCH(QList<int>, rights);
    QFETCH(QStringList, groups);
    QFETCH(QStringList, buttons);

    logIn(u"li"_s, isSuper, rights);
    CMainFrame frame;
    const NavigationPane *pane = frame.navigationPane();
    QCOMPARE(pane->windowTitle(), u"功能导航"_s);
    QCOMPARE(pane->groupNames(), groups);
    QStringList shown;
    for (int g = 0; g < groups.size(); ++g)
        shown << pane->buttonLabels(g);
    QCOMPARE(shown, buttons);
}

void TestMainFrame::reloginRebuildsNavigationAndStatus()
{
    CMainFrame frame;
    frame.ShowUserInStatusBar();
    QCOMPARE(frame.navigationPane()->groupNames().size(), 3);

    logIn(u"wang"_s, 0, { 16, 31 });
    QVERIFY(frame.BuildNavigationGroups());
    frame.ShowUserInStatusBar();
    QCOMPARE(frame.navigationPane()->groupNames(), QStringList { u"薪资管理"_s });
    QCOMPARE(frame.navigationPane()->buttonLabels(0),
             (QStringList { u"薪资档案"_s, u"薪资汇总"_s }));
    QCOMPARE(frame.userPane()->text(), u"wang"_s);
    QVERIFY(!frame.userPane()->showsSuperUser());
}

void TestMainFrame::statusBarShowsUser()
{
    CMainFrame frame;
    QCOMPARE(frame.userPane()->parentWidget(), frame.statusBar());
    QCOMPARE(frame.userPane()->text(), u"当前用户:"_s);

    theCurrentUser.UserName = u"张三"_s;
    frame.ShowUserInStatusBar();
    QCOMPARE(frame.userPane()->text(), u"张三"_s);
    QVERIFY(frame.userPane()->showsSuperUser());
    QCOMPARE(frame.userPane()->minimumWidth(), 100);
}

void TestMainFrame::unbuiltModulesStayDisabled()
{
    CMainFrame frame;
    FrameCommands &commands = frame.commands();
    for (const int id : { 2100, 2101, 33158, 2201, 33188, 2300, 2301, 2302, 32776 }) {
        QVERIFY2(!commands.action(id)->isEnabled(), qPrintable(QString::number(id)));
        QVERIFY(!menuEntry(frame, id)->isEnabled());
    }
    QVERIFY(!navigationButton(frame, u"人员档案"_s)->isEnabled());
    for (const int id : { 57664, 33231, 57665, 33236, 32796, 59393 })
        QVERIFY2(commands.action(id)->isEnabled(), qPrintable(QString::number(id)));
    QCOMPARE(commands.action(2100)->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(commands.action(33158)->shortcut(), QKeySequence(Qt::Key_F11));

    int opened = 0;
    CMainFrame *openedIn = nullptr;
    ModuleCommands::instance().registerOpener(2100, [&](CMainFrame &f) {
        ++opened;
        openedIn = &f;
    });
    QVERIFY(commands.action(2100)->isEnabled());
    QVERIFY(menuEntry(frame, 2100)->isEnabled());
    QToolButton *button = navigationButton(frame, u"人员档案"_s);
    QVERIFY(button->isEnabled());
    button->click();
    QCOMPARE(opened, 1);
    QCOMPARE(openedIn, &frame);
    menuEntry(frame, 2100)->trigger();
    QCOMPARE(opened, 2);

    ModuleCommands::instance().unregisterOpener(2100);
    QVERIFY(!button->isEnabled());
    commands.action(2100)->trigger();
    QCOMPARE(opened, 2);
}

void TestMainFrame::openerRunsAfterRightReRead()
{
    const QString granted = rightsText({ 0, 11 });
    const int id
        = InsertReturningId(u"qz_Users"_s, { u"UserName"_s, u"Pwd"_s, u"Purview"_s, u"ISuper"_s },
                            { u"zhao"_s, QString(), granted, 0 }, u"UserID"_s);
    QVERIFY(id > 0);
    logIn(u"zhao"_s, 0, { 0, 11 });
    theCurrentUser.UserID = id;
    int opened = 0;
    ModuleCommands::instance().registerOpener(2101, [&](CMainFrame &) { ++opened; });
    CMainFrame frame;
    theApp.m_pMainWnd = &frame;
    frame.commands().run(2101);
    QCOMPARE(opened, 1);

    // An administrator takes the right away: the next use is refused, though the menu still
    // offered it from the rights in memory.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Users SET Purview = ? WHERE UserID = ?"_s,
                                { rightsText({ 0 }), id }));
    QVERIFY(frame.commands().action(2101)->isEnabled());
    QString message;
    answerNextMessage(&message);
    frame.commands().run(2101);
    QCOMPARE(opened, 1);
    QCOMPARE(message, u"抱歉!您没有该项功能操作权限，请与管理员联系!"_s);
    QVERIFY(!frame.commands().action(2101)->isEnabled());
}

void TestMainFrame::sessionCommands()
{
    CMainFrame frame;
    for (const int id : { 2303, 33242, 33243 })
        QVERIFY2(frame.commands().action(id)->isEnabled(), qPrintable(QString::number(id)));
    QString shown;
    rejectNextDialog(&shown);
    menuEntry(frame, 2303)->trigger();
    QCOMPARE(shown, u"CDlgPassWordModify"_s);
}

void TestMainFrame::fileMenuPrunedByRights()
{
    logIn(u"li"_s, 0, { 0, 16 });
    ModuleCommands::instance().registerOpener(33158, [](CMainFrame &) {});
    CMainFrame frame;
    QMenu *file = frame.menus().fileMenu();
    Q_EMIT file->aboutToShow();
    QStringList subMenus;
    for (QAction *entry : file->actions()) {
        if (entry->menu() && entry->isVisible())
            subMenus << entry->text();
    }
    QCOMPARE(subMenus, (QStringList { u"人事管理(&E)"_s, u"薪资管理(&P)"_s }));
    // Right 16 without 17: no menu entry, yet the button and F11 still open the archive.
    QVERIFY(!menuEntry(frame, 33158)->isVisible());
    QVERIFY(navigationButton(frame, u"薪资档案"_s)->isEnabled());
    QVERIFY(frame.commands().action(33158)->isEnabled());
    QVERIFY(!menuEntry(frame, 2101)->isVisible());
    QVERIFY(menuEntry(frame, 2100)->isVisible());
    QVERIFY(!menuEntry(frame, 2301)->isVisible());
    QVERIFY(menuEntry(frame, 57665)->isVisible());
    QCOMPARE(menuEntry(frame, 2100)->text(), u"人员档案(&P)\tF2"_s);

    logIn(u"admin"_s, 1, {});
    Q_EMIT file->aboutToShow();
    QVERIFY(menuEntry(frame, 2301)->isVisible());
    QVERIFY(menuEntry(frame, 33158)->isVisible());
}

void TestMainFrame::layoutRoundTrip()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect placed;
    {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.setGeometry(screen.left() + 30, screen.top() + 40, 700, 500);
        placed = frame.frameGeometry();
        frame.commands().run(CMainFrame::NavigationPaneId);
        frame.commands().run(CMainFrame::StatusBarId);
        QVERIFY(frame.navigationPane()->isHidden());
        frame.close();
    }
    QCOMPARE(Profile::getInt(u"MDIForm"_s, u"Maximize"_s, -1), 0);
    QCOMPARE(Profile::getInt(u"BasePane-327960"_s, u"IsVisible"_s, -1), 0);

    CMainFrame again;
    QVERIFY(again.navigationPane()->isHidden());
    QVERIFY(again.statusBar()->isHidden());
    QVERIFY(!again.bannerPane()->isHidden());
    QVERIFY(!again.commands().action(CMainFrame::NavigationPaneId)->isChecked());
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(again.frameGeometry(), placed);
}

void TestMainFrame::maximisedAndLostScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    Profile::writeInt(u"MDIForm"_s, u"Left"_s, screen.right() + 4000);
    Profile::writeInt(u"MDIForm"_s, u"Top"_s, screen.bottom() + 4000);
    Profile::writeInt(u"MDIForm"_s, u"Width"_s, 640);
    Profile::writeInt(u"MDIForm"_s, u"Height"_s, 480);
    {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(screen.contains(frame.frameGeometry()));
        QCOMPARE(frame.frameGeometry().size(), QSize(640, 480));
        frame.showMaximized();
        QTRY_VERIFY(frame.isMaximized());
        frame.close();
    }
    QCOMPARE(Profile::getInt(u"MDIForm"_s, u"Maximize"_s, 0), 1);
    CMainFrame again;
    again.show();
    QTRY_VERIFY(again.isMaximized());
}

void TestMainFrame::looks_data()
{
    QTest::addColumn<int>("look");
    QTest::addColumn<int>("shown");

    QTest::newRow("Windows 2000") << 210 << 210;
    QTest::newRow("Office 2003") << 213 << 213;
    QTest::newRow("Office 2007 black") << 216 << 216;
    QTest::newRow("unknown keeps the last Office 2007 colour") << 219 << 216;
}

void TestMainFrame::looks()
{
    QFETCH(int, look);
    QFETCH(int, shown);

    CMainFrame frame;
    QCOMPARE(theApp.m_nAppLook, 213); // nothing saved yet
    frame.OnApplicationLook(216);
    frame.OnApplicationLook(look);
    QCOMPARE(theApp.m_nAppLook, look);
    QCOMPARE(LookTheme::current(), shown);
    QCOMPARE(Profile::getInt({}, u"ApplicationLook"_s, 0), look);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    CMainFrame next;
    QCOMPARE(theApp.m_nAppLook, look);
}

void TestMainFrame::mdiTabs_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("location");
    QTest::addColumn<int>("viewMode");
    QTest::addColumn<int>("position");

    QTest::newRow("tabs on top") << 1 << 1 << int(QMdiArea::TabbedView) << int(QTabWidget::North);
    QTest::newRow("tabs at the bottom")
        << 1 << 0 << int(QMdiArea::TabbedView) << int(QTabWidget::South);
    QTest::newRow("other location at the bottom")
        << 1 << 7 << int(QMdiArea::TabbedView) << int(QTabWidget::South);
    QTest::newRow("no tabs") << 0 << 1 << int(QMdiArea::SubWindowView) << int(QTabWidget::North);
    QTest::newRow("other type changes nothing")
        << 5 << 0 << int(QMdiArea::TabbedView) << int(QTabWidget::North);
}

void TestMainFrame::mdiTabs()
{
    QFETCH(int, type);
    QFETCH(int, location);
    QFETCH(int, viewMode);
    QFETCH(int, position);

    CMainFrame frame;
    QCOMPARE(frame.mdiArea()->viewMode(), QMdiArea::TabbedView); // the default type 1
    theApp.m_nMDITabsLocation = 1;
    frame.ApplyMDITabs();
    theApp.m_nMDITabsType = type;
    theApp.m_nMDITabsLocation = location;
    frame.ApplyMDITabs();
    QCOMPARE(int(frame.mdiArea()->viewMode()), viewMode);
    QCOMPARE(int(frame.mdiArea()->tabPosition()), position);
    QCOMPARE(Profile::getInt({}, u"MDITabsType"_s, -1), type);
    QCOMPARE(Profile::getInt({}, u"MDITabsLocation"_s, -1), location);
}

void TestMainFrame::viewToggles()
{
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    FrameCommands &commands = frame.commands();
    QVERIFY(commands.action(33236)->isChecked());
    QTest::keyClick(&frame, Qt::Key_F12);
    QVERIFY(frame.menuBar()->isHidden());
    QVERIFY(!commands.action(33236)->isChecked());
    QTest::keyClick(&frame, Qt::Key_F12); // the key works while the menu bar is hidden
    QVERIFY(!frame.menuBar()->isHidden());

    // The banner pane takes no room without its page, yet its entry still toggles it.
    QAction *banner = menuEntry(frame, CMainFrame::BannerPaneId);
    QVERIFY(banner->isEnabled());
    QVERIFY(banner->isChecked());
    banner->trigger();
    QVERIFY(frame.bannerPane()->isHidden());
    QVERIFY(!banner->isChecked());
}

void TestMainFrame::tabMenuClosesChild()
{
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QMdiSubWindow *first = frame.mdiArea()->addSubWindow(new QLabel(u"一"_s));
    QMdiSubWindow *second = frame.mdiArea()->addSubWindow(new QLabel(u"二"_s));
    first->show();
    second->show();
    QPointer<QMdiSubWindow> watched(first);

    QTabBar *bar = frame.mdiArea()->findChild<QTabBar *>();
    QVERIFY(bar);
    QCOMPARE(bar->count(), 2);
    const QPoint at = bar->tabRect(0).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar, &click);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QList<QAction *> entries = menu->actions();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0)->text(), u"关闭(&C)"_s);
    QCOMPARE(entries.at(2)->text(), u"关闭所有子窗口(&L)"_s);
    entries.at(0)->trigger();
    menu->close();
    QTRY_VERIFY(watched.isNull());
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
}

namespace {

class Stubborn : public QWidget
{
protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

void TestMainFrame::refusingChildStopsCloseAll()
{
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.mdiArea()->addSubWindow(new Stubborn)->show();
    frame.mdiArea()->addSubWindow(new QLabel(u"一"_s))->show();
    QVERIFY(!frame.CloseAllChildren());
    QTRY_COMPARE(frame.mdiArea()->subWindowList().size(), 1);
}

void TestMainFrame::exitClosesFrame()
{
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    menuEntry(frame, 57665)->trigger();
    QVERIFY(!frame.isVisible());
    QVERIFY(Profile::contains(u"MDIForm"_s, u"Width"_s));
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
