#pragma once

#include "ui/controls/igridowner.h"

#include <QWidget>

class CMyADOGridCtrl;
class QLabel;

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
    // A footer line under the rows, its text beginning at the left edge of the column (kept
    // there while columns scroll or change width); an empty text hides it.
    void SetFooterText(int fromColumn, const QString &text);
    QString GetFooterText() const;
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

    void placeFooter();

    CMyADOGridCtrl *m_pGrid;
    IGridOwner *m_pOwner = nullptr;
    QLabel *m_pFooter;
    int m_nFooterColumn = 0;
};
