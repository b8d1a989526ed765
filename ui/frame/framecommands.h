#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class CMainFrame;
class QAction;
class QAbstractButton;

// The frame's commands as actions, one per id of FrameCommandTable, each carrying its id
// (QAction::data) and its key. The actions live on the frame, so their keys work whether or
// not a menu shows them; menus and navigation buttons show proxies that follow them.
//
// A command acts through the frame's own handler for it, else through the opener a module
// registered in ModuleCommands (after the connection watchdog for the module commands and the
// command's right check; 数据结构 closes every child window first).
// A command with neither is disabled, as is one whose enabled rule the user does not meet.
class FrameCommands : public QObject
{
    Q_OBJECT

public:
    explicit FrameCommands(CMainFrame *frame);

    // Null for an id outside the table.
    QAction *action(int id) const;

    // A command the frame carries out itself.
    void setHandler(int id, std::function<void()> handler);
    // A check-mark command: state tells whether its mark shows, the handler flips it.
    void setToggle(int id, std::function<bool()> state, std::function<void()> handler);

    // Enables, disables and checks every command by the current user's rights in memory and
    // the handlers and openers there are. Cheap; called whenever a menu opens.
    void updateStates();

    // Runs a command as if the user chose it (a disabled one does nothing).
    void run(int id);

    // A menu entry for the command that shows its menu text and follows its state.
    QAction *createProxy(int id, QObject *parent) const;
    // Lets a button run the command and follow its enabled state.
    void bind(QAbstractButton *button, int id) const;

private:
    void runModuleOpener(int id);

    CMainFrame *m_frame;
    QHash<int, QAction *> m_actions;
    QHash<int, std::function<void()>> m_handlers;
    QHash<int, std::function<bool()>> m_toggleStates;
};
