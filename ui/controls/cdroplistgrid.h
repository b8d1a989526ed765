#pragma once

#include <QFrame>

class CBCGPADOGridCtrl;
class CEditBrowseGridCtrl;

// The window that a grid picker drops below its edit: a frameless window of its own, never
// focused, filled by a read-only grid over a recordset (whole rows, one at a time). A double-
// click on a row tells the owner picker (CBN_DBLCLK), which then accepts.
class CDropListGrid : public QFrame
{
    Q_OBJECT

public:
    // The owner is not owned and must outlive the window.
    explicit CDropListGrid(CEditBrowseGridCtrl *owner);
    ~CDropListGrid() override;

    CBCGPADOGridCtrl *GetGrid() const { return m_pGrid; }

private:
    CEditBrowseGridCtrl *m_pOwner;
    CBCGPADOGridCtrl *m_pGrid;
};
