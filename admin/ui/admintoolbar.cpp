#include "admin/ui/admintoolbar.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

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

QVector<AdminCommand> AdminEditCommands(const QString &addText, std::function<void()> add,
                                        std::function<void()> modify, std::function<void()> remove)
{
    using SP = QStyle::StandardPixmap;
    return { { addText, u"添加(&A)"_s, u"添加"_s, SP::SP_FileIcon, std::move(add) },
             { u"修改"_s, u"修改(&E)"_s, u"修改"_s, SP::SP_FileDialogDetailedView,
               std::move(modify) },
             { u"删除"_s, u"删除(&D)"_s, u"删除"_s, SP::SP_TrashIcon, std::move(remove), true } };
}

QVector<AdminCommand> AdminOrderCommands(std::function<void()> up, std::function<void()> down,
                                         std::function<void()> refresh, std::function<void()> exit)
{
    using SP = QStyle::StandardPixmap;
    return {
        { u"向上"_s, u"上移(Ctrl+Shift+Up)"_s, u"向上移动(Ctrl+Shift+Up)"_s, SP::SP_ArrowUp,
          std::move(up) },
        { u"向下"_s, u"下移(Ctrl+Shift+Down)"_s, u"向下移动(Ctrl+Shift+Down)"_s, SP::SP_ArrowDown,
          std::move(down), true },
        { u"刷新"_s, u"刷新(&R)"_s, u"刷新列表"_s, SP::SP_BrowserReload, std::move(refresh), true },
        { u"退出"_s, u"退出(&C)"_s, u"关闭窗口"_s, SP::SP_DialogCloseButton, std::move(exit) }
    };
}

void LayOutAdminList(QWidget *owner, QToolBar *toolBar, QWidget *list)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(toolBar);
    layout->addWidget(list, 1);
}
