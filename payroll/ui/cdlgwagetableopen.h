#pragma once

#include "ui/dialogs/cdialogexx.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class QTableWidget;

// "薪资档案": the periods of a wage set, newest first, from which the user opens one, creates,
// deletes (one or a range) and reopens closed ones. On OK the creator reads the wage set, its
// data table, the period and its closed flag.
class CDlgWageTableOpen : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgWageTableOpen(QWidget *parent = nullptr);

    int wageSetId() const { return m_nSid; }
    QString title() const { return m_strTitle; }
    QString tableName() const { return m_strTable; }
    int period() const { return m_nPeriod; }
    int closed() const { return m_nClosed; }

    // Refills the list with the periods of the wage set (the newest N while "仅显示前" is on).
    void LoadPeriods(int sid);

    QComboBox *wageSetCombo() const { return m_pCombo; }
    QTableWidget *grid() const { return m_pGrid; }
    QCheckBox *limitBox() const { return m_pLimit; }
    QSpinBox *monthCount() const { return m_pMonths; }
    QPushButton *reopenButton() const { return m_pReopen; }

    void accept() override;
    void OnNew();
    void OnDelete();
    void OnReopen();

private:
    void onWageSetChanged();
    void onRowChanged();
    // The selected row's period, 0 when none is selected.
    int selectedPeriod() const;
    int selectedId() const;

    QComboBox *m_pCombo;
    QTableWidget *m_pGrid;
    QCheckBox *m_pLimit;
    QSpinBox *m_pMonths;
    QPushButton *m_pReopen;
    int m_nSid = -1;
    QString m_strTitle;
    QString m_strTable;
    int m_nPeriod = 0;
    int m_nClosed = 0;
};
