#pragma once

#include "ui/controls/cdroplistgrid.h"
#include "ui/controls/ceditbrowsedropctrl.h"

// A picker whose list is a grid (CDropListGrid), at most the maximum drop height and never
// more than 400 pixels high. While the list is shown the row keys (Up, Down, Page Up, Page
// Down) move the grid's row; the other keys edit the text, which derived pickers search.
// Accepting only hides the list here; derived pickers take the row first.
class CEditBrowseGridCtrl : public CEditBrowseDropCtrl
{
    Q_OBJECT

public:
    explicit CEditBrowseGridCtrl(QWidget *wndWatch = nullptr, QWidget *parent = nullptr);

    void AcceptDropDown() override;

    CBCGPADOGridCtrl *GetGrid() const { return m_wndDropList.GetGrid(); }

protected:
    QWidget *DropWindow() const override;
    QAbstractItemView *DropControl() const override;
    int DropHeight() const override;
    bool ForwardKey(QKeyEvent *event) override;

    CDropListGrid m_wndDropList;
};
