#include "ui/controls/cmytreeview.h"

#include <QMouseEvent>

namespace {

TreeItemNotify notifyOf(QTreeWidgetItem *item, QTreeWidgetItem *previous)
{
    return { item, previous, item->data(0, Qt::UserRole).toInt() };
}

} // namespace

CMyTreeView::CMyTreeView(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *previous) {
                if (current)
                    Q_EMIT treeSelChanged(notifyOf(current, previous));
            });
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem *item) { Q_EMIT treeItemExpanding(notifyOf(item, nullptr)); });
}

void CMyTreeView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::RightButton)
        return;
    if (QTreeWidgetItem *item = itemAt(event->position().toPoint())) {
        setCurrentItem(item);
        Q_EMIT itemRClick(item);
    }
}
