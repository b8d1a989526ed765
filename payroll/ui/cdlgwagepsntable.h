#pragma once

#include "payroll/wageperiods.h"

#include <QDialog>

#include <memory>

class CBCGPADOGridCtrl;
class CDropDownListDept;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "添加人员": the members of the wage set in one department who have no row in the open
// period, with a tick each (a click in the tick column or Space). "添加(&A)" gives the ticked
// persons rows in the period and, with "同时导入以往薪资数据", the values of their rows of the
// earlier period chosen, all in one transaction; a failure is shown and the dialog stays. The
// list and its ticks belong to this dialog alone and go when it closes.
class CDlgWagePsnTable : public QDialog
{
    Q_OBJECT

public:
    explicit CDlgWagePsnTable(QWidget *parent = nullptr);
    ~CDlgWagePsnTable() override;

    // The department first chosen, the wage set and the period; builds the list.
    void SetTarget(int did, int sid, int period);

    CBCGPADOGridCtrl *Grid() const { return m_pGrid; }
    CDropDownListDept *DeptPicker() const { return m_pDept; }
    QCheckBox *TakeOverBox() const { return m_pTakeOver; }
    QComboBox *EarlierPeriods() const { return m_pEarlier; }
    QPushButton *AddButton() const { return m_pAdd; }
    QString FooterText() const;
    const vantrel::payroll::WagePeriodAddList *List() const { return m_pList.get(); }

    void BuildFor(int did);
    void OnSearch();
    void OnTickAll() { tickAll(true); }
    void OnUntickAll() { tickAll(false); }
    void ToggleCurrent();
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshList(int keepRow = -1);
    void tickAll(bool ticked);
    void fillEarlierPeriods();

    int m_nSid = 0;
    int m_nPeriod = 0;
    std::unique_ptr<vantrel::payroll::WagePeriodAddList> m_pList;
    CDropDownListDept *m_pDept;
    QLineEdit *m_pSearch;
    CBCGPADOGridCtrl *m_pGrid;
    QLabel *m_pFooter;
    QCheckBox *m_pTakeOver;
    QComboBox *m_pEarlier;
    QPushButton *m_pAdd;
};
