#pragma once

#include "ui/dialogs/cdialogexx.h"

class QComboBox;
class QDateEdit;

// "新建薪资表": chooses a wage set and a month and creates that period (qz_CreateWageTable).
// A refused or failing creation is shown and the dialog stays open.
class CDlgWageTableNew : public CDialogExx
{
    Q_OBJECT

public:
    // title: the wage set to preselect (the first when no entry has that text).
    explicit CDlgWageTableNew(const QString &title, QWidget *parent = nullptr);

    QString title() const { return m_strTitle; }
    QString tableName() const { return m_strTable; }
    int wageSetId() const { return m_nSid; }
    int period() const { return m_nPeriod; }

    QDateEdit *periodPicker() const { return m_pPicker; }

    void accept() override;

private:
    QComboBox *m_pCombo;
    QDateEdit *m_pPicker;
    QString m_strTitle;
    QString m_strTable;
    int m_nSid = -1;
    int m_nPeriod = 0;
};
