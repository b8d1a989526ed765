#pragma once

#include "ui/controls/privatemessages.h"

#include <QTreeWidget>

// A tree that tells its owner of the user's moves: the selection moving to an item, an item
// being opened (not closed), and a right click on an item, which selects it first (a right
// click on empty space tells nothing). The item data is the item's Qt::UserRole value, where the
// tree fillers put the row id. Signals are sent during the event: item pointers are valid
// only then.
class CMyTreeView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CMyTreeView(QWidget *parent = nullptr);

Q_SIGNALS:
    void treeSelChanged(const TreeItemNotify &notify);    // WM_TREE_SELCHANGED
    void treeItemExpanding(const TreeItemNotify &notify); // WM_TREE_ITEMEXPANDING
    void itemRClick(QTreeWidgetItem *item);               // WM_ITEM_RCLICK

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
