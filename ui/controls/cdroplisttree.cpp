#include "ui/controls/cdroplisttree.h"

#include "ui/controls/widgetfillers.h"
#include "ui/controls/ceditbrowsetreectrl.h"
#include "ui/controls/combotreetip.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

CDropListTree::CDropListTree(CEditBrowseTreeCtrl *owner) : QTreeWidget(nullptr), m_pOwner(owner)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                   | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::Box);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setExpandsOnDoubleClick(false);
    InstallTreeTip(this, new ComboTreeTip);
}

namespace {

QTreeWidgetItem *findIn(QTreeWidgetItem *item, int data)
{
    if (item->data(0, RefIdRole).toInt() == data)
        return item;
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem *found = findIn(item->child(i), data))
            return found;
    }
    return nullptr;
}

} // namespace

QTreeWidgetItem *CDropListTree::FindItemByData(int value, QTreeWidgetItem *first) const
{
    if (!first)
        return nullptr;
    QTreeWidgetItem *parent = first->parent();
    const int count = parent ? parent->childCount() : topLevelItemCount();
    const int start = parent ? parent->indexOfChild(first) : indexOfTopLevelItem(first);
    for (int i = start; i < count; ++i) {
        if (QTreeWidgetItem *found = findIn(parent ? parent->child(i) : topLevelItem(i), value))
            return found;
    }
    return nullptr;
}

void CDropListTree::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    // Left of the item's own rectangle lies its expand button.
    const bool onButton = event->position().x() < visualRect(index).x();
    QTreeWidgetItem *item = itemFromIndex(index);
    if (!onButton && item != currentItem())
        m_pOwner->Notify(CEditBrowseTreeCtrl::CBN_SELCHANGE);
    QTreeWidget::mousePressEvent(event);
    if (onButton && event->button() == Qt::LeftButton)
        m_pOwner->OnDropTreeSelect(item);
}

void CDropListTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!indexAt(event->position().toPoint()).isValid())
        return;
    m_pOwner->Notify(CEditBrowseTreeCtrl::CBN_DBLCLK);
    m_pOwner->AcceptDropDown();
}

void CDropListTree::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space)
        return;
    QTreeWidgetItem *before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem *item = currentItem();
    if (item != before)
        m_pOwner->Notify(CEditBrowseTreeCtrl::CBN_SELCHANGE);
    if (event->key() == Qt::Key_Right && item
        && (item->childCount() > 0
            || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator))
        m_pOwner->OnDropTreeSelect(item);
}
