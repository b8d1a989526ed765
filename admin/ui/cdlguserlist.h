#pragma once

#include "ui/dialogs/cdialogexx.h"

class CBCGPADOGridCtrl;
class QMenu;
class QStatusBar;
class QToolBar;

// The operator list: every operator from qz_SelectSystemUsers with add, change, delete and
// refresh, and the number of operators in the status bar. For super users only (the main
// frame offers it to no one else).
class CDlgUserList : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgUserList(QWidget *parent = nullptr);

    CBCGPADOGridCtrl *grid() const { return m_pGrid; }
    QStatusBar *statusBar() const { return m_pStatus; }

    void LoadUserGrid();
    void OnAdd();
    void OnModify();
    void OnDelete();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    CBCGPADOGridCtrl *m_pGrid;
    QToolBar *m_pToolBar;
    QStatusBar *m_pStatus;
};
