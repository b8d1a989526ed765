#include "ui/app/popupmenus.h"

#include <QHash>
#include <QMenu>

namespace PopupMenus {

namespace {

QHash<int, Builder> &registry()
{
    static QHash<int, Builder> menus;
    return menus;
}

} // namespace

void registerMenu(int menuId, Builder builder)
{
    registry().insert(menuId, std::move(builder));
}

} // namespace PopupMenus

QMenu *ShowPopupMenu(int menuId, int subIndex, QWidget *owner, const QPoint &globalPos)
{
    const PopupMenus::Builder builder = PopupMenus::registry().value(menuId);
    if (!builder)
        return nullptr;
    const QList<QMenu *> menus = builder(owner);
    QMenu *chosen = nullptr;
    for (int i = 0; i < menus.size(); ++i) {
        if (i == subIndex)
            chosen = menus.at(i);
        else
            delete menus.at(i);
    }
    if (!chosen)
        return nullptr;
    chosen->setAttribute(Qt::WA_DeleteOnClose);
    chosen->popup(globalPos);
    return chosen;
}
