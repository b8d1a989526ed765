#pragma once

#include "payroll/ui/iwagesetpage.h"

#include <QWidget>

class CBCGPADOGridCtrl;
class CMyTreeView;
class QAction;
class QKeyEvent;
class QLabel;
class QToolBar;

// "所属人员": the members of the wage set, department by department (the tree on the left, 0
// all departments), with commands to add (through the chooser), delete, move and restore the
// default order. A department with two or more sub-departments lists its members in the
// grid's virtual mode and allows no moves.
class CDlgTabWagePSN : public QWidget, public IWageSetPage
{
    Q_OBJECT

public:
    explicit CDlgTabWagePSN(QWidget *parent = nullptr);

    int LoadWageSet(int sid) override { return LoadMembers(sid); }
    int LoadedSid() const override { return m_nSID; }
    // (Re)loads the members of wage set sid in the current department; 1 on success.
    int LoadMembers(int sid);

    int CurrentDept() const { return m_nDID; }
    bool HasSeveralSubDepts() const { return m_bSeveralSubDepts; }
    CBCGPADOGridCtrl *Grid() const { return m_pGrid; }
    CMyTreeView *DeptTree() const { return m_pTree; }
    QToolBar *ToolBar() const { return m_pToolBar; }
    QString FooterText() const;

    void OnAdd();
    void OnDelete();
    void OnMoveUp() { move(-1); }
    void OnMoveDown() { move(1); }
    void OnRefresh();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onTreeSelection();
    void move(int step);
    int currentRow() const;

    int m_nSID = 0;
    int m_nDID = 0;
    bool m_bSeveralSubDepts = true;
    QToolBar *m_pToolBar;
    QAction *m_pUp;
    QAction *m_pDown;
    CMyTreeView *m_pTree;
    CBCGPADOGridCtrl *m_pGrid;
    QLabel *m_pFooter;
};
