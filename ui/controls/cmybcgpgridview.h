#pragma once

#include "ui/controls/igridowner.h"

#include <QWidget>

class CMyADOGridCtrl;

// A view that fills its place with a data-entry grid and passes what happens in the grid on to
// its owner: double click, current cell and right button as the signals below; begin-edit,
// item-changed and after-edit to the owner interface, with the default answers while no owner
// is set (0, 0 and 1).
class CMyBCGPGridView : public QWidget, private IGridOwner
{
    Q_OBJECT

public:
    explicit CMyBCGPGridView(QWidget *parent = nullptr);

    CMyADOGridCtrl *GetGridCtrl() const { return m_pGrid; }
    void SetOwner(IGridOwner *owner) { m_pOwner = owner; }
    IGridOwner *GetOwner() const { return m_pOwner; }

Q_SIGNALS:
    void gridDblClk(const GridItemInfo &info);     // WM_GRID_DBLCLK
    void gridSelChanged(const GridItemInfo &info); // WM_GRID_SELCHANGED
    void gridRButtonUp(const GridMouseInfo &info); // WM_GRID_RBUTTONUP

private:
    int OnGridBeginEdit(const GridItemInfo &info) override;
    int OnGridItemChanged(const GridItemInfo &info) override;
    int OnGridAfterEdit(const GridItemInfo &info) override;

    CMyADOGridCtrl *m_pGrid;
    IGridOwner *m_pOwner = nullptr;
};
