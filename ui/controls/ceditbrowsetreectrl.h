#pragma once

#include "ui/controls/cdroplisttree.h"
#include "ui/controls/ceditbrowsedropctrl.h"

// A picker whose list is a tree (CDropListTree). Accepting puts the current item's text into
// the edit; the list is as high as its items, at most the maximum drop height.
class CEditBrowseTreeCtrl : public CEditBrowseDropCtrl
{
    Q_OBJECT

public:
    explicit CEditBrowseTreeCtrl(QWidget *wndWatch = nullptr, QWidget *parent = nullptr);

    void AcceptDropDown() override;

    // The user expanded the item in the dropped tree; pickers that load levels lazily load
    // its children here.
    virtual void OnDropTreeSelect(QTreeWidgetItem *item) { Q_UNUSED(item); }

    CDropListTree *GetDropTree() { return &m_wndDropList; }
    // The item's text; 0 when it is not empty, -1 when it is.
    static int GetTreeItemText(const QTreeWidgetItem *item, QString &text);

protected:
    QWidget *DropWindow() const override;
    QAbstractItemView *DropControl() const override;
    int DropHeight() const override;
    void OnDropShown() override;

    CDropListTree m_wndDropList;
};
