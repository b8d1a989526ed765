#pragma once

#include "personnel/psnsortformowner.h"
#include "ui/dialogs/cdialogexx.h"

#include <QStringList>

class CBCGPADOGridCtrl;
class QToolBar;

// The person categories ("人员类别管理") in a grid on a connection of its own, one column per
// category item (AID and Ord hidden). Add and modify go through the category form; delete
// refuses a category that still has persons; up and down exchange the order with the
// neighbour; refresh renumbers the order 1..n.
class CDlgPsnSortManager : public CDialogExx, public IPsnSortFormOwner
{
    Q_OBJECT

public:
    explicit CDlgPsnSortManager(QWidget *parent = nullptr);

    CBCGPADOGridCtrl *grid() const { return m_pGrid; }
    QToolBar *toolBar() const { return m_pToolBar; }

    // IPsnSortFormOwner
    void LoadSortGrid() override;
    int SortNameColumn() const override { return m_nNameColumn; }

    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnMoveUp() { moveRow(-1); }
    void OnMoveDown() { moveRow(1); }
    void OnRefresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveRow(int step);
    void storeChangedWidths();

    QToolBar *m_pToolBar;
    CBCGPADOGridCtrl *m_pGrid;
    QStringList m_itemNames; // per grid column; empty for AID and Ord
    QVector<int> m_widths;
    int m_nNameColumn = 1;
};
