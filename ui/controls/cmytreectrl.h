#pragma once

#include <QTreeWidget>

// A tree whose items the user drags onto other items. The tree changes nothing itself: at the
// end of a drag it tells its owner which item went where (treeDrop) and opens the target. The
// target is the item under the cursor, or the last one the drag passed over (null if none).
// Every label edit is accepted.
class CMyTreeCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CMyTreeCtrl(QWidget *parent = nullptr);

    // A drag of the item starts (called by the view when the user drags it).
    void BeginDrag(QTreeWidgetItem *item);
    bool IsDragging() const { return m_bDragging; }
    QTreeWidgetItem *dropTarget() const { return m_pDropTarget; }

Q_SIGNALS:
    void treeDrop(QTreeWidgetItem *dragged, QTreeWidgetItem *target); // WM_TREE_DROP (0x8111)

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void endDrag();

    bool m_bDragging = false;
    QTreeWidgetItem *m_pDragged = nullptr;
    QTreeWidgetItem *m_pDropTarget = nullptr;
};
