#pragma once

#include "personnel/cpersonbase.h"
#include "personnel/ui/cdlgdynctlformrecord.h"

// What the related-archive form asks of the window that opened it: the person's rows read
// again after a new row was saved.
class IRelatFormOwner
{
public:
    virtual ~IRelatFormOwner() = default;
    virtual void ReloadRelatRows() = 0;
};

// The form of one row of a related-archive table of the current person. A new row is saved
// with the person's PID and put last in the person's order; "保存出错!" when the save fails,
// and nothing is logged then. m_pOwnerWnd, when it is an IRelatFormOwner, reloads its rows
// after an added row, which is then selected in the owner grid.
class CDlgDynCtlFormForRelatArc : public CDlgDynCtlFormRecord
{
    Q_OBJECT

public:
    explicit CDlgDynCtlFormForRelatArc(QWidget *parent = nullptr);

    CPersonBase m_person;
    QString m_strTitle;

    bool SaveRecord() override;
    bool OnSave() override;
};
