#pragma once

#include <QObject>

class QMdiArea;
class QTabBar;

// The MDI tabs of the main frame. Type 0 shows the child windows as overlapping windows,
// type 1 as tabs (with icons and close buttons, movable) on top for location 1 and at the
// bottom otherwise; other types change nothing. A right click on a tab activates its window
// and offers the context menu 396 ("关闭(&C)", "关闭所有子窗口(&L)").
class MdiTabController : public QObject
{
    Q_OBJECT

public:
    explicit MdiTabController(QMdiArea &area);

    void apply(int tabsType, int tabsLocation);
    // The area's tab bar; null while the windows are not tabbed.
    QTabBar *tabBar() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMdiArea &m_area;
};
