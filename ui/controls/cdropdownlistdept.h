#pragma once

#include "ui/controls/ceditbrowsetreectrl.h"

// A read-only picker of the departments the operator may see. A dialog calls Initialize once
// after creating it; an operator with every department gets the root "<全体部门>" (data 0)
// above them.
class CDropDownListDept : public CEditBrowseTreeCtrl
{
    Q_OBJECT

public:
    explicit CDropDownListDept(QWidget *parent = nullptr);

    // Fills the tree and selects the root (or the first department). Returns 1.
    int Initialize();
    // The RefIdRole (DID, 0 for the root) of the tree's current item; -1 without one.
    int GetSelectedDept() const;
};
