#include "admin/ui/admintoolbar.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>

QToolBar *CreateAdminToolBar(QWidget *owner, const QVector<AdminCommand> &commands)
{
    auto *toolBar = new QToolBar(owner);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(16, 16));
    for (const AdminCommand &command : commands) {
        QAction *action
            = toolBar->addAction(owner->style()->standardIcon(command.icon), command.toolText);
        action->setToolTip(command.tip);
        action->setData(command.menuText);
        QObject::connect(action, &QAction::triggered, owner, command.run);
        if (command.separatorAfter)
            toolBar->addSeparator();
    }
    return toolBar;
}

void ShowAdminToolBarMenu(QToolBar *toolBar, QWidget *owner, const QPoint &globalPos)
{
    QMenu menu(owner);
    for (QAction *action : toolBar->actions()) {
        if (action->isSeparator())
            menu.addSeparator();
        else
            menu.addAction(action->data().toString(), action, &QAction::trigger);
    }
    menu.exec(globalPos);
}

int AdminMoveKeyStep(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return 0;
    const auto *key = static_cast<const QKeyEvent *>(event);
    const auto both = Qt::ControlModifier | Qt::ShiftModifier;
    if ((key->modifiers() & both) != both)
        return 0;
    return key->key() == Qt::Key_Up ? -1 : (key->key() == Qt::Key_Down ? 1 : 0);
}
