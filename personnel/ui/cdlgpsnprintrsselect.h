#pragma once

#include "ui/dialogs/cdialogexx.h"

class QRadioButton;

// Asks whether a report prints the current person (choice 0, preset) or the whole list (1).
class CDlgPsnPrintRSSelect : public CDialogExx
{
    Q_OBJECT

public:
    enum Choice { CurrentPerson = 0, WholeList = 1 };

    explicit CDlgPsnPrintRSSelect(QWidget *parent = nullptr);

    int GetChoice() const;
    void SetChoice(int choice);

private:
    QRadioButton *m_pPerson;
    QRadioButton *m_pList;
};
