#pragma once

#include "payroll/psnchooserlist.h"

#include <QDialog>

class CBCGPADOGridCtrl;
class CDlgTabWagePSN;
class CDropDownListDept;
class QLabel;
class QLineEdit;

// "人员列表": the persons of one department who are not yet members of the wage set, with a
// tick each (a click in the tick column or Space). "添加(&O)" makes the ticked persons members,
// a double click one person at once. The list and its ticks belong to this dialog alone and go
// when it closes.
class CDlgWagePsnSelect : public QDialog
{
    Q_OBJECT

public:
    CDlgWagePsnSelect(int sid, CDlgTabWagePSN *owner, QWidget *parent = nullptr);

    CBCGPADOGridCtrl *Grid() const { return m_pGrid; }
    CDropDownListDept *DeptPicker() const { return m_pDept; }
    QLineEdit *SearchEdit() const { return m_pSearch; }
    const vantrel::payroll::PsnChooserList &List() const { return m_list; }
    QString FooterText() const;

    // A department chosen in the picker (DID 0: all).
    void BuildFor(int did);
    void OnSearch();
    void OnTickAll() { tickAll(true); }
    void OnUntickAll() { tickAll(false); }
    void OnAddTicked();
    // The tick of the grid's current row switched.
    void ToggleCurrent();
    void AddCurrent();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshList(int keepRow = -1);
    void tickAll(bool ticked);
    void reloadOwner();

    int m_nSID;
    CDlgTabWagePSN *m_pOwner;
    vantrel::payroll::PsnChooserList m_list;
    CDropDownListDept *m_pDept;
    QLineEdit *m_pSearch;
    CBCGPADOGridCtrl *m_pGrid;
    QLabel *m_pFooter;
};
