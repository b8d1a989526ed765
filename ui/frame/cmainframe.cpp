#include "ui/frame/cmainframe.h"

#include "core/app/constants.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "ui/app/appwindow.h"
#include "ui/app/dlgchangepwd.h"
#include "ui/app/dlglogin.h"
#include "ui/app/launchers.h"
#include "ui/app/messagebox.h"
#include "ui/app/popupmenus.h"
#include "ui/controls/resources.h"
#include "ui/frame/clogobannerpane.h"
#include "ui/frame/framecommands.h"
#include "ui/frame/framelayout.h"
#include "ui/frame/frametimers.h"
#include "ui/frame/idlelockcontroller.h"
#include "ui/frame/mainmenucontroller.h"
#include "ui/frame/mdibackground.h"
#include "ui/frame/mditabcontroller.h"
#include "ui/frame/navigationpane.h"
#include "ui/frame/remindercontroller.h"
#include "ui/frame/statususerpane.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {

QString name(const char16_t *constant)
{
    return QString::fromUtf16(constant);
}

} // namespace

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
    , m_mdiArea(new QMdiArea(this))
    , m_tabs(new MdiTabController(*m_mdiArea))
    , m_commands(new FrameCommands(this))
{
    InitVantrelResources();
    setObjectName(u"MainFrame"_s);
    setWindowTitle(LoadResString(128));
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    resize(1024, 720);
    setCentralWidget(m_mdiArea);

    readLookSettings();
    OnApplicationLook(theApp.m_nAppLook);
    ApplyMDITabs();
    // Its default colour is the look's workspace colour.
    m_background = new MdiBackground(*m_mdiArea);
    m_background->LoadBkSettings();

    wireCommands();
    menuBar()->setObjectName(u"MenuBar"_s);
    m_menus = new MainMenuController(*this, *m_commands);
    createStatusBar();
    createBannerPane();
    createNavigationPane();
    registerTabMenu();
    restorePanes();
    createTimers();
}

CMainFrame::~CMainFrame()
{
    if (theApp.m_pMainWnd == this)
        theApp.m_pMainWnd = nullptr;
}

void CMainFrame::readLookSettings()
{
    theApp.m_nAppLook = Profile::getInt({}, name(strApplicationLook), 213);
    theApp.m_nMDITabsType = Profile::getInt({}, name(strMDITabsType), 1);
    theApp.m_nMDITabsLocation = Profile::getInt({}, name(strMDITabsLocation), 0);
}

void CMainFrame::createTimers()
{
    m_idle = new IdleLockController(*this);
    m_reminders = new ReminderController(*this);
    connect(m_idle, &IdleLockController::locking, m_reminders, &ReminderController::suspend);
    connect(m_idle, &IdleLockController::unlocked, m_reminders,
            &ReminderController::RestartWakeupTimer);
    m_timers = new FrameTimers(*m_idle, *m_reminders, this);
}

void CMainFrame::createStatusBar()
{
    statusBar()->setObjectName(u"StatusBar"_s);
    m_userPane = new StatusUserPane(statusBar());
    statusBar()->addPermanentWidget(m_userPane);
}

void CMainFrame::createBannerPane()
{
    // The banner spans the whole width above the navigation pane and the child windows.
    setCorner(Qt::TopLeftCorner, Qt::TopDockWidgetArea);
    setCorner(Qt::TopRightCorner, Qt::TopDockWidgetArea);
    auto *banner = new CLogoBannerPane(this);
    if (!banner->Create(this)) {
        delete banner;
        return;
    }
    m_banner = banner;
    connect(m_banner, &CLogoBannerPane::changePasswordRequested, this,
            [this] { m_commands->run(2303); });
    wireToggle(BannerPaneId, m_banner);
}

void CMainFrame::createNavigationPane()
{
    m_navigation = new NavigationPane(*m_commands, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_navigation);
    wireToggle(NavigationPaneId, m_navigation);
}

void CMainFrame::wireCommands()
{
    m_commands->setHandler(57665, [this] { close(); });
    m_commands->setHandler(57664, [] { AppWindow::OnAppAbout(); });
    m_commands->setHandler(33231, [] { AppWindow::OnHelpTopics(); });
    m_commands->setHandler(2303, [this] {
        if (!theApp.CheckConnection())
            return;
        CDlgPassWordModify dialog(this);
        dialog.exec();
    });
    m_commands->setHandler(33242, [] { LaunchCalculator(); });
    m_commands->setHandler(33243, [] { LaunchTirlo(); });
    m_commands->setHandler(57602, [this] { m_mdiArea->closeActiveSubWindow(); });
    m_commands->setHandler(32871, [this] { CloseAllChildren(); });
    m_commands->setHandler(33230, [this] { LockForIdle(); });
    m_commands->setHandler(33301, [this] { OnRelogin(); });
    // F1 anywhere in the frame: the help pages' first topic.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [] { AppWindow::OnHelpTopics(); });
    m_commands->setToggle(
        33236, [this] { return !menuBar()->isHidden(); },
        [this] { menuBar()->setVisible(menuBar()->isHidden()); });
    m_commands->setToggle(
        StatusBarId, [this] { return !statusBar()->isHidden(); },
        [this] { statusBar()->setVisible(statusBar()->isHidden()); });
}

void CMainFrame::wireToggle(int id, QWidget *pane)
{
    if (!pane)
        return; // no pane, no command
    m_commands->setToggle(
        id, [pane] { return !pane->isHidden(); }, [pane] { pane->setVisible(pane->isHidden()); });
}

void CMainFrame::registerTabMenu()
{
    PopupMenus::registerMenu(396, [](QWidget *owner) {
        auto *menu = new QMenu(owner);
        if (auto *frame = qobject_cast<CMainFrame *>(owner)) {
            menu->addAction(frame->commands().createProxy(57602, menu));
            menu->addSeparator();
            menu->addAction(frame->commands().createProxy(32871, menu));
        }
        return QList<QMenu *> { menu };
    });
}

void CMainFrame::restorePanes()
{
    const bool restored = FrameLayout::restoreDockState(*this);
    RestorePaneVisibility(menuBar(), MenuBarId, restored);
    RestorePaneVisibility(m_banner, BannerPaneId, restored);
    RestorePaneVisibility(m_navigation, NavigationPaneId, restored);
    RestorePaneVisibility(statusBar(), StatusBarId, restored);
    m_commands->updateStates();
}

void CMainFrame::RestorePaneVisibility(QWidget *pane, int controlId, bool layoutRestored)
{
    if (!pane)
        return;
    if (!layoutRestored)
        pane->setVisible(true);
    else if (pane != menuBar()) // the menu bar keeps the visibility it has
        pane->setVisible(FrameLayout::paneVisibility(controlId));
}

void CMainFrame::saveLayout() const
{
    FrameLayout::savePlacement(*this);
    FrameLayout::saveDockState(*this);
    if (m_banner)
        FrameLayout::savePaneVisibility(BannerPaneId, !m_banner->isHidden());
    FrameLayout::savePaneVisibility(NavigationPaneId, !m_navigation->isHidden());
    FrameLayout::savePaneVisibility(StatusBarId, !statusBar()->isHidden());
}

void CMainFrame::OnApplicationLook(int lookId)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    theApp.m_nAppLook = lookId;
    AppWindow::ApplyLook();
    update();
    Profile::writeInt({}, name(strApplicationLook), lookId);
    for (QMdiSubWindow *child : m_mdiArea->subWindowList()) {
        if (QWidget *content = child->widget())
            content->updateGeometry();
        child->update();
    }
    AppWindow::SetupFonts();
    QGuiApplication::restoreOverrideCursor();
}

void CMainFrame::ApplyMDITabs()
{
    m_tabs->apply(theApp.m_nMDITabsType, theApp.m_nMDITabsLocation);
    m_mdiArea->update();
    Profile::writeInt({}, name(strMDITabsType), theApp.m_nMDITabsType);
    Profile::writeInt({}, name(strMDITabsLocation), theApp.m_nMDITabsLocation);
}

bool CMainFrame::BuildNavigationGroups()
{
    m_navigation->BuildNavigationGroups();
    return true;
}

void CMainFrame::ShowUserInStatusBar()
{
    m_userPane->showUser(theCurrentUser.UserName, theCurrentUser.ISuper != 0);
    m_commands->updateStates();
}

bool CMainFrame::CloseAllChildren()
{
    // The active child first, then back through the activation history. Each is asked once:
    // one that refuses ends the walk instead of being asked forever.
    const QList<QMdiSubWindow *> children
        = m_mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    QList<QPointer<QMdiSubWindow>> order(children.crbegin(), children.crend());
    for (const QPointer<QMdiSubWindow> &child : order) {
        if (child && !child->isHidden() && !child->close())
            return false;
    }
    return true;
}

void CMainFrame::ActivateChildFrame(QMdiSubWindow *child)
{
    if (!child)
        return;
    child->show();
    m_mdiArea->setActiveSubWindow(child);
}

void CMainFrame::OnRelogin()
{
    const CCurrentUser previous = theCurrentUser;
    CDlgLogin login(CDlgLogin::ReLogin, this);
    if (login.exec() != QDialog::Accepted)
        return;
    if (!CloseAllChildren()) {
        // The window that would not close keeps its work, and the operator it belongs to.
        theCurrentUser = previous;
        return;
    }
    BuildNavigationGroups();
    ShowUserInStatusBar();
}

void CMainFrame::LockForIdle()
{
    m_idle->LockForIdle();
}

void CMainFrame::RestartIdleLockTimer()
{
    m_idle->RestartIdleLockTimer();
}

void CMainFrame::RestartWakeupTimer()
{
    m_reminders->RestartWakeupTimer();
}

void CMainFrame::ShowReminderAlert()
{
    m_reminders->ShowReminderAlert();
}

void CMainFrame::setReminderManagerOpen(bool open)
{
    m_reminders->setManagerOpen(open);
}

void CMainFrame::LoadBkSettings()
{
    m_background->LoadBkSettings();
}

void CMainFrame::ResetBackground()
{
    m_background->ResetBackground();
}

bool CMainFrame::SetBkPicture(const QString &path)
{
    return m_background->SetBkPicture(path);
}

void CMainFrame::SaveBkSettings()
{
    m_background->SaveBkSettings(m_banner ? m_banner->bannerHeight() : 0);
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        FrameLayout::restorePlacement(*this);
    }
}

bool CMainFrame::confirmExit()
{
    if (Profile::getInt({}, u"ExitYesNO"_s, 1) == 0)
        return true;
    return ShowMessage(this, u"确定要退出系统吗?"_s, LoadResString(117), QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // The log says the operator left only once the program really ends: a child window that
    // refuses to close keeps it running.
    if (!confirmExit() || !CloseAllChildren()) {
        event->ignore();
        return;
    }
    theApp.WriteSystemLog(u"登出系统"_s, 1);
    m_timers->stopAll();
    saveLayout();
    QMainWindow::closeEvent(event);
}
