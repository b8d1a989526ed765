#pragma once

#include "personnel/ui/cdlgdynctlformrecord.h"

class IDeptFormOwner;

// The form of one department (qz_Dept) that the department manager opens ("添加部门",
// "部门设置"). A save refuses a name another department holds and, when modifying, a parent
// inside the department's own subtree; the row and the rewrite of the paths under a new
// parent are written together or not at all. m_pOwnerWnd, when it is an IDeptFormOwner, is
// refreshed after a save.
class CDlgDynCtlFormForDept : public CDlgDynCtlFormRecord
{
    Q_OBJECT

public:
    explicit CDlgDynCtlFormForDept(QWidget *parent = nullptr);

    int m_nOldParentID = 0;
    QString m_strOldName;

    bool OnSave() override;

protected:
    void TakeRow(int row) override;

private:
    IDeptFormOwner *owner() const;
    bool refuse(const QString &text);
};
