#pragma once

#include "personnel/ui/cdlgdynctlformrecord.h"

class IPsnSortFormOwner;

// The form of one person category (qz_PsnSort) that the category manager opens ("添加类别",
// "类别设置"). A save refuses a name another category holds. m_pOwnerWnd, when it is an
// IPsnSortFormOwner, reloads its grid after an added category, which is then selected; a
// modified one is read again in the grid.
class CDlgDynCtlFormForPsnSort : public CDlgDynCtlFormRecord
{
    Q_OBJECT

public:
    explicit CDlgDynCtlFormForPsnSort(QWidget *parent = nullptr);

    QString m_strOldName;

    bool OnSave() override;

protected:
    void TakeRow(int row) override;
};
