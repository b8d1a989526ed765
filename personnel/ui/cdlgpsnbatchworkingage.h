#pragma once

#include "personnel/sqlcondition.h"
#include "ui/dialogs/cdialogexx.h"

#include <QDate>

class QComboBox;
class QDateEdit;

// Fills a number item of every person of the list from a date item, a computation date and a
// counting method, in one statement. The caller sets the list's scope; accepted after a run.
class CDlgPsnBatchWorkingAge : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgPsnBatchWorkingAge(QWidget *parent = nullptr);

    void SetCondition(const vantrel::personnel::SqlCondition &where) { m_condition = where; }

    void OnOK();

    QDateEdit *dateEdit() const { return m_pDate; }
    QComboBox *methodCombo() const { return m_pMethod; }
    QComboBox *dateItemCombo() const { return m_pDateItem; }
    QComboBox *numberItemCombo() const { return m_pNumberItem; }

private:
    void fillItemCombo(QComboBox *combo, int dataType);

    vantrel::personnel::SqlCondition m_condition;
    QDateEdit *m_pDate;
    QComboBox *m_pMethod;
    QComboBox *m_pDateItem;
    QComboBox *m_pNumberItem;
};
