#pragma once

#include <QObject>

#include <initializer_list>

class FrameCommands;
class QMainWindow;
class QMenu;
class QMenuBar;

// Builds the main frame's menu bar (文件, 视图, 工具, 帮助) from the frame commands and keeps
// it in step with the user: whenever a menu opens, the commands are re-enabled by the rights
// in memory and the entries the user may not use are removed from view. The View menu's
// "工具栏和停靠窗口(&T)" lists the frame's docking panes.
class MainMenuController : public QObject
{
    Q_OBJECT

public:
    MainMenuController(QMainWindow &frame, FrameCommands &commands);

    // Shows or hides the module sub-menus and entries by the current user's rights.
    void applyRights();

    QMenu *fileMenu() const { return m_fileMenu; }

private:
    QMenu *addMenu(QMenuBar *bar, const QString &title);
    QMenu *addSubMenu(QMenu *menu, const QString &title, std::initializer_list<int> commands);
    void addCommands(QMenu *menu, std::initializer_list<int> commands);
    void buildFileMenu(QMenuBar *bar);
    void buildViewMenu(QMenuBar *bar);
    void fillPanesMenu();

    QMainWindow &m_frame;
    FrameCommands &m_commands;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_panesMenu = nullptr;
    QMenu *m_personnelMenu = nullptr;
    QMenu *m_payrollMenu = nullptr;
    QMenu *m_systemMenu = nullptr;
};
