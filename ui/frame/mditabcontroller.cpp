#include "ui/frame/mditabcontroller.h"

#include "ui/app/popupmenus.h"

#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>

MdiTabController::MdiTabController(QMdiArea &area) : QObject(&area), m_area(area) { }

void MdiTabController::apply(int tabsType, int tabsLocation)
{
    if (tabsType == 0) {
        m_area.setViewMode(QMdiArea::SubWindowView);
    } else if (tabsType == 1) {
        if (QMdiSubWindow *active = m_area.activeSubWindow())
            active->raise();
        m_area.setViewMode(QMdiArea::TabbedView);
        m_area.setTabsClosable(true);
        m_area.setTabsMovable(true);
        m_area.setDocumentMode(true);
        m_area.setTabShape(QTabWidget::Rounded);
        m_area.setTabPosition(tabsLocation == 1 ? QTabWidget::North : QTabWidget::South);
        // The area makes a new tab bar each time it switches to tabs.
        if (QTabBar *bar = tabBar())
            bar->installEventFilter(this);
    }
}

QTabBar *MdiTabController::tabBar() const
{
    if (m_area.viewMode() != QMdiArea::TabbedView)
        return nullptr;
    return m_area.findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly);
}

bool MdiTabController::eventFilter(QObject *watched, QEvent *event)
{
    auto *bar = qobject_cast<QTabBar *>(watched);
    if (!bar || event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
    const int index = bar->tabAt(menuEvent->pos());
    if (index < 0)
        return false;
    bar->setCurrentIndex(index);
    ShowPopupMenu(396, 0, m_area.window(), menuEvent->globalPos());
    return true;
}
