#include "ui/frame/mainmenucontroller.h"

#include "ui/frame/framecommands.h"
#include "ui/frame/framecommandtable.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace {

constexpr int separator = 0;

} // namespace

MainMenuController::MainMenuController(QMainWindow &frame, FrameCommands &commands)
    : QObject(&frame), m_frame(frame), m_commands(commands)
{
    QMenuBar *bar = frame.menuBar();
    buildFileMenu(bar);
    buildViewMenu(bar);
    addCommands(addMenu(bar, u"工具(&T)"_s), { 33242, 33243 });
    addCommands(addMenu(bar, u"帮助(&H)"_s), { 33231, 57664 });
}

QMenu *MainMenuController::addMenu(QMenuBar *bar, const QString &title)
{
    QMenu *menu = bar->addMenu(title);
    connect(menu, &QMenu::aboutToShow, this, &MainMenuController::applyRights);
    return menu;
}

QMenu *MainMenuController::addSubMenu(QMenu *menu, const QString &title,
                                      std::initializer_list<int> commands)
{
    QMenu *sub = menu->addMenu(title);
    connect(sub, &QMenu::aboutToShow, this, &MainMenuController::applyRights);
    addCommands(sub, commands);
    return sub;
}

void MainMenuController::addCommands(QMenu *menu, std::initializer_list<int> commands)
{
    for (const int id : commands) {
        if (id == separator)
            menu->addSeparator();
        else
            menu->addAction(m_commands.createProxy(id, menu));
    }
}

void MainMenuController::buildFileMenu(QMenuBar *bar)
{
    m_fileMenu = addMenu(bar, u"文件(&F)"_s);
    m_personnelMenu = addSubMenu(m_fileMenu, u"人事管理(&E)"_s, { 2100, 2101, 2104, 33249, 33222 });
    m_payrollMenu = addSubMenu(m_fileMenu, u"薪资管理(&P)"_s, { 33158, 2201, 2202 });
    m_systemMenu = addSubMenu(m_fileMenu, u"系统管理(&S)"_s,
                              { 33188, 33189, 33174, 33171, 2300, 2301, 2302 });
    addCommands(m_fileMenu, { separator, 33230, separator, 2303, 33301, separator, 57665 });
}

void MainMenuController::buildViewMenu(QMenuBar *bar)
{
    QMenu *view = addMenu(bar, u"视图(&V)"_s);
    addCommands(view, { 32776 });
    m_panesMenu = view->addMenu(u"工具栏和停靠窗口(&T)"_s);
    connect(m_panesMenu, &QMenu::aboutToShow, this, &MainMenuController::fillPanesMenu);
    addCommands(view, { separator, 33236, 32796, 322, 59393 });
}

void MainMenuController::fillPanesMenu()
{
    m_panesMenu->clear();
    for (QDockWidget *pane : m_frame.findChildren<QDockWidget *>())
        m_panesMenu->addAction(pane->toggleViewAction());
}

void MainMenuController::applyRights()
{
    m_commands.updateStates();
    using FrameCommandTable::userHolds;
    m_personnelMenu->menuAction()->setVisible(userHolds(0));
    m_payrollMenu->menuAction()->setVisible(userHolds(16));
    m_systemMenu->menuAction()->setVisible(userHolds(33));
    for (QMenu *menu : m_frame.menuBar()->findChildren<QMenu *>()) {
        for (QAction *entry : menu->actions()) {
            bool ok = false;
            const int id = entry->data().toInt(&ok);
            const FrameCommandTable::Command *command = ok ? FrameCommandTable::find(id) : nullptr;
            if (command)
                entry->setVisible(userHolds(command->menuRule));
        }
    }
}
