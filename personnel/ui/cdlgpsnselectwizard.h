#pragma once

#include "personnel/cpersonbase.h"

#include <QWidget>

class CBCGPADOGridCtrl;
class CDropDownListDept;
class QLabel;
class QLineEdit;

// The wizards' first page: the persons of a department's subtree (all the operator may see at
// first) in a grid where several rows can be chosen, and a find by number, name, or a part of
// either.
class CDlgPsnSelectWizard : public QWidget
{
    Q_OBJECT

public:
    explicit CDlgPsnSelectWizard(QWidget *parent = nullptr);

    // Fills the department picker and the list. False when the picker cannot be filled.
    bool Initialize();
    // Lists the persons of the chosen department (0: all); false (list empty) on failure.
    bool QueryPersons();
    void OnFindPerson();
    // The chosen rows' persons into the map (emptied first); "请选择人员！" and false when no
    // row is current.
    bool CollectSelectedPersons(CPersonMap *persons);

    void SetDeptId(int did) { m_nDeptId = did; }
    CBCGPADOGridCtrl *grid() const { return m_pGrid; }
    CDropDownListDept *deptPicker() const { return m_pDept; }
    QLineEdit *findEdit() const { return m_pFind; }
    QLabel *countLabel() const { return m_pCount; }

private:
    CDropDownListDept *m_pDept;
    CBCGPADOGridCtrl *m_pGrid;
    QLineEdit *m_pFind;
    QLabel *m_pCount;
    int m_nDeptId = 0;
};
