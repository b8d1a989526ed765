#pragma once

#include <QPoint>
#include <QString>
#include <QStyle>
#include <QVector>

#include <functional>

class QToolBar;
class QWidget;

// One command of an administration list: its button text, its context-menu text, its tip.
struct AdminCommand
{
    QString toolText;
    QString menuText;
    QString tip;
    QStyle::StandardPixmap icon;
    std::function<void()> run;
    bool separatorAfter = false;
};

// The flat toolbar of an administration list: texts under 16×16 icons, in the given order.
QToolBar *CreateAdminToolBar(QWidget *owner, const QVector<AdminCommand> &commands);

// The toolbar's commands as a context menu at a screen position, under their menu texts.
void ShowAdminToolBarMenu(QToolBar *toolBar, QWidget *owner, const QPoint &globalPos);

class QEvent;
// -1 for Ctrl+Shift+Up, 1 for Ctrl+Shift+Down (the lists' up and down keys), else 0.
int AdminMoveKeyStep(const QEvent *event);

// The add, modify and delete commands of a list (the add button's text differs by list).
QVector<AdminCommand> AdminEditCommands(const QString &addText, std::function<void()> add,
                                        std::function<void()> modify, std::function<void()> remove);
// The up, down, refresh and exit commands that an ordered list ends with.
QVector<AdminCommand> AdminOrderCommands(std::function<void()> up, std::function<void()> down,
                                         std::function<void()> refresh, std::function<void()> exit);
// The toolbar above the list, filling the owner.
void LayOutAdminList(QWidget *owner, QToolBar *toolBar, QWidget *list);
