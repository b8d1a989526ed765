#pragma once

#include <QTreeWidget>

class CEditBrowseTreeCtrl;

// The tree that a tree picker drops below its edit: a frameless window of its own that never
// takes the focus (the picker passes it the keys) and reports every user action to its owner
// picker, which notifies the dialog and closes the list. Expanding an item (its expand button,
// or Right on an item with children) tells the owner (OnDropTreeSelect), which loads missing
// children then. Cut-off item texts show whole in the shared tip.
class CDropListTree : public QTreeWidget
{
    Q_OBJECT

public:
    // The owner is not owned and must outlive the tree.
    explicit CDropListTree(CEditBrowseTreeCtrl *owner);

    // Depth first through the first item, its following siblings and their subtrees: the
    // first item whose RefIdRole equals the value; null when none (or no first item).
    QTreeWidgetItem *FindItemByData(int value, QTreeWidgetItem *first) const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    CEditBrowseTreeCtrl *m_pOwner;
};
