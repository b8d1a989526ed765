#pragma once

#include "ui/dialogs/cdialogexx.h"

class CDropDownListDept;
class QLabel;
class QLineEdit;

// Asks for the department that a merge goes into or a move goes under ("部门合并",
// "部门移动"). The caller sets the members before exec() and reads the target after
// Accepted; 确定 refuses a target the operation cannot take and keeps the dialog open.
class CDlgDeptMergeMove : public CDialogExx
{
    Q_OBJECT

public:
    enum Mode { Merge = 0, Move = 1 };

    explicit CDlgDeptMergeMove(QWidget *parent = nullptr);

    QString m_strCaption;
    int m_nMode = Merge;
    QString m_strLabel;
    int m_nSourceDID = 0;
    QString m_strSourceName;
    int m_nTargetDID = 0;
    QString m_strTargetName;

    CDropDownListDept *picker() const { return m_pPicker; }
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_pSource;
    QLabel *m_pLabel;
    CDropDownListDept *m_pPicker;
    bool m_bInitialised = false;
};
