#pragma once

#include "ui/dialogs/cdialogexx.h"

class QDateEdit;
class QRadioButton;

// "删除薪资表": the selected period (mode 0) or a range of months (mode 1). The range is
// taken as given, also when it runs backwards.
class CDlgWageTableDelete : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgWageTableDelete(QWidget *parent = nullptr);

    int mode() const { return m_nMode; }
    int from() const { return m_nFrom; }
    int to() const { return m_nTo; }

    QRadioButton *rangeButton() const { return m_pRange; }
    QDateEdit *fromPicker() const { return m_pFrom; }
    QDateEdit *toPicker() const { return m_pTo; }

    void accept() override;

private:
    QRadioButton *m_pSelected;
    QRadioButton *m_pRange;
    QDateEdit *m_pFrom;
    QDateEdit *m_pTo;
    int m_nMode = 0;
    int m_nFrom = 0;
    int m_nTo = 0;
};
