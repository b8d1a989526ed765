#pragma once

#include <QDockWidget>

class FrameCommands;
class QToolBox;

// The navigation pane "功能导航" on the left of the main frame: one group per module the
// current user may use (personnel, payroll, system administration), each with the buttons of
// the commands the user holds. A button runs its frame command and is disabled with it.
class NavigationPane : public QDockWidget
{
    Q_OBJECT

public:
    NavigationPane(FrameCommands &commands, QWidget *parent = nullptr);

    // (Re)builds the groups and buttons by the current user's rights in memory; called at
    // creation and after another user logs in.
    void BuildNavigationGroups();

    // What the user sees: the group names in order, and the button labels of one group.
    QStringList groupNames() const;
    QStringList buttonLabels(int group) const;

private:
    QWidget *createGroupPage(int group);

    FrameCommands &m_commands;
    QToolBox *m_groups;
};
