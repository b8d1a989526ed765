#pragma once

#include <QPoint>

#include <functional>

class QMenu;
class QWidget;

// Context menus by id, each with its sub-menus, registered by the module that owns them.
namespace PopupMenus {

// The builder makes the menu's sub-menus (owned by the parent it is given), in order.
using Builder = std::function<QList<QMenu *>(QWidget *parent)>;
void registerMenu(int menuId, Builder builder);

} // namespace PopupMenus

// Shows the sub-menu of a registered menu at a screen position for the owner; the menu goes
// when it closes. Null (and nothing shown) when there is no such menu or sub-menu.
QMenu *ShowPopupMenu(int menuId, int subIndex, QWidget *owner, const QPoint &globalPos);
