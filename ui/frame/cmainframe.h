#pragma once

#include <QMainWindow>

class CLogoBannerPane;
class FrameCommands;
class FrameTimers;
class IdleLockController;
class MainMenuController;
class MdiBackground;
class MdiTabController;
class NavigationPane;
class QMdiArea;
class QMdiSubWindow;
class ReminderController;
class StatusUserPane;

// The one main window of the program: menu bar, the navigation pane "功能导航" on the left,
// the banner pane across the top, the child windows in an MDI area (as tabs or overlapping
// windows, as the profile says) and the status bar with the current user.
//
// Start-up creates it after the login (`new CMainFrame`), makes it theApp.m_pMainWnd, shows
// it and then calls ShowUserInStatusBar(). The first show puts the window where the user left
// it (on a visible screen); closing it saves its place and the panes' layout in the profile.
// Module windows are opened through the openers registered in ModuleCommands.
//
// Two seconds after it is made, the frame starts its idle lock and its reminder alert
// (FrameTimers). Closing it asks "确定要退出系统吗?" unless the profile's "ExitYesNO" is 0,
// closes the child windows (one that refuses keeps the program running) and logs "登出系统".
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    // Control ids of the bars and panes, as the View menu and the profile know them.
    static constexpr int MenuBarId = 59398;
    static constexpr int StatusBarId = 59393;
    static constexpr int BannerPaneId = 322;
    static constexpr int NavigationPaneId = 32796;

    // Reads "ApplicationLook" (213), "MDITabsType" (1) and "MDITabsLocation" (0) into theApp,
    // applies them and builds the bars and panes for the current user.
    explicit CMainFrame(QWidget *parent = nullptr);
    ~CMainFrame() override;

    // Stores the look id in theApp and in the profile, and restyles the program (210 to 218;
    // any other id keeps the Office 2007 look in its current colour).
    void OnApplicationLook(int lookId);
    // Applies theApp's MDITabsType and MDITabsLocation and writes both to the profile.
    void ApplyMDITabs();
    // The navigation groups again for the current user (after another user logs in).
    bool BuildNavigationGroups();
    // The current user's name and picture (super user or not) in the status bar.
    void ShowUserInStatusBar();
    // Closes the child windows, the active one first; false when one refuses to close.
    bool CloseAllChildren();
    // Shows the child window and makes it the active one.
    void ActivateChildFrame(QMdiSubWindow *child);
    // Another user logs in: the child windows close (one that refuses keeps the previous user
    // logged in) and the navigation and status bar follow the new user. Cancel changes nothing.
    void OnRelogin();

    // The lock (Ctrl+L); see IdleLockController.
    void LockForIdle();
    // After the options page wrote "EnableIdleLocked" and "IdleLockTime".
    void RestartIdleLockTimer();
    // After the reminder settings changed ("EnableWakeup", "WakeupPerTime").
    void RestartWakeupTimer();
    void ShowReminderAlert();
    // The reminder manager tells the frame while it is open: no alert shows meanwhile.
    void setReminderManagerOpen(bool open);

    // The background behind the child windows (options page): see MdiBackground.
    void LoadBkSettings();
    void ResetBackground();
    bool SetBkPicture(const QString &path);
    // Also writes "BannerHeight": the banner's height, 0 without a banner pane.
    void SaveBkSettings();

    QMdiArea *mdiArea() const { return m_mdiArea; }
    FrameCommands &commands() const { return *m_commands; }
    MainMenuController &menus() const { return *m_menus; }
    NavigationPane *navigationPane() const { return m_navigation; }
    // Null when the banner pane could not be docked.
    CLogoBannerPane *bannerPane() const { return m_banner; }
    StatusUserPane *userPane() const { return m_userPane; }
    IdleLockController &idleLock() const { return *m_idle; }
    ReminderController &reminders() const { return *m_reminders; }
    MdiBackground &background() const { return *m_background; }
    FrameTimers &timers() const { return *m_timers; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    static void readLookSettings();
    void createStatusBar();
    void createBannerPane();
    void createNavigationPane();
    void wireCommands();
    void wireToggle(int id, QWidget *pane);
    static void registerTabMenu();
    void restorePanes();
    void RestorePaneVisibility(QWidget *pane, int controlId, bool layoutRestored);
    void saveLayout() const;
    void createTimers();
    bool confirmExit();

    QMdiArea *m_mdiArea;
    MdiTabController *m_tabs;
    FrameCommands *m_commands;
    MainMenuController *m_menus = nullptr;
    NavigationPane *m_navigation = nullptr;
    CLogoBannerPane *m_banner = nullptr;
    StatusUserPane *m_userPane = nullptr;
    MdiBackground *m_background = nullptr;
    IdleLockController *m_idle = nullptr;
    ReminderController *m_reminders = nullptr;
    FrameTimers *m_timers = nullptr;
    bool m_placed = false;
};
