#include "ui/controls/cmytreectrl.h"

#include <QDropEvent>

CMyTreeCtrl::CMyTreeCtrl(QWidget *parent) : QTreeWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A copy drop leaves the source rows where they are: moving is the owner's business.
    setDefaultDropAction(Qt::CopyAction);
}

void CMyTreeCtrl::BeginDrag(QTreeWidgetItem *item)
{
    m_bDragging = item != nullptr;
    m_pDragged = item;
    m_pDropTarget = nullptr;
}

void CMyTreeCtrl::startDrag(Qt::DropActions)
{
    BeginDrag(currentItem());
    if (m_bDragging)
        QTreeWidget::startDrag(Qt::CopyAction);
    m_bDragging = false;
    m_pDragged = nullptr;
}

void CMyTreeCtrl::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_bDragging)
        event->acceptProposedAction();
    else
        event->ignore();
}

void CMyTreeCtrl::dragMoveEvent(QDragMoveEvent *event)
{
    if (!m_bDragging) {
        event->ignore();
        return;
    }
    if (QTreeWidgetItem *item = itemAt(event->position().toPoint()))
        m_pDropTarget = item;
    QTreeWidget::dragMoveEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CMyTreeCtrl::dropEvent(QDropEvent *event)
{
    if (!m_bDragging) {
        event->ignore();
        return;
    }
    if (QTreeWidgetItem *item = itemAt(event->position().toPoint()))
        m_pDropTarget = item;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    endDrag();
}

void CMyTreeCtrl::endDrag()
{
    QTreeWidgetItem *dragged = m_pDragged;
    QTreeWidgetItem *target = m_pDropTarget;
    m_bDragging = false;
    m_pDragged = nullptr;
    Q_EMIT treeDrop(dragged, target);
    if (target)
        target->setExpanded(true);
    m_pDropTarget = nullptr;
}
