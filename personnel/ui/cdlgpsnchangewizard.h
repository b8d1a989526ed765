#pragma once

#include "personnel/cpersonbase.h"
#include "personnel/psnwizard.h"
#include "personnel/ui/cdlgdynctlformbase.h"
#include "ui/dialogs/cdialogexx.h"

class CDlgPsnSelectWizard;
class CDlgScrollable;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableWidget;

// The wizards' second page: the chosen persons, and a form generated from the history table's
// items whose values every person's history row gets.
class CDlgPsnChangeForm : public QWidget
{
    Q_OBJECT

public:
    CDlgPsnChangeForm(const vantrel::personnel::PsnChangeKind &kind, QWidget *parent = nullptr);

    void FillSelectedList(const CPersonMap &persons);
    // Checks every value and the new department or category, then changes every person in one
    // transaction. False (with the message shown) when a check or the database refuses.
    bool SaveRecord(const CPersonMap &persons);
    // The field of an item by column name (without case); null when there is none.
    CEditlblCtl *FindItemEditor(const QString &name) const;

    QTableWidget *personList() const { return m_pList; }
    QLabel *listLabel() const { return m_pLabel; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    const vantrel::personnel::PsnChangeKind &m_kind;
    QLabel *m_pLabel;
    QTableWidget *m_pList;
    CDlgScrollable *m_pHost;
    CItemCtrlArray m_items;
};

// The two-page wizard that moves chosen persons to another department or category and
// records each move. The caller may fill Persons() and open it on page 2 ("上一步" then stays
// disabled); it ends accepted once the change is written and logged.
class CDlgPsnChangeWizard : public CDialogExx
{
    Q_OBJECT

public:
    CDlgPsnChangeWizard(const vantrel::personnel::PsnChangeKind &kind, QWidget *parent = nullptr);

    void SetTitle(const QString &title) { setWindowTitle(title); }
    void SetCurrentPage(int page) { m_nCurPage = page; }
    int CurrentPage() const { return m_nCurPage; }
    CPersonMap &Persons() { return m_persons; }

    void OnPrevPage();
    void OnNextPage();
    void OnFinish();

    CDlgPsnSelectWizard *selectPage() const { return m_pSelect; }
    CDlgPsnChangeForm *formPage() const { return m_pForm; }
    QPushButton *prevButton() const { return m_pPrev; }
    QPushButton *nextButton() const { return m_pNext; }
    QPushButton *finishButton() const { return m_pFinish; }

    // Enter does nothing.
    void accept() override { }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ShowPage(int page);

    const vantrel::personnel::PsnChangeKind &m_kind;
    QStackedWidget *m_pPages;
    CDlgPsnSelectWizard *m_pSelect;
    CDlgPsnChangeForm *m_pForm;
    QPushButton *m_pPrev;
    QPushButton *m_pNext;
    QPushButton *m_pFinish;
    CPersonMap m_persons;
    int m_nCurPage = 1;
    bool m_bInitialised = false;
};

class CDlgWizardByPsnRedeploy : public CDlgPsnChangeWizard
{
    Q_OBJECT

public:
    explicit CDlgWizardByPsnRedeploy(QWidget *parent = nullptr)
        : CDlgPsnChangeWizard(vantrel::personnel::TransferChange(), parent)
    {
    }
};

class CDlgWizardBySortAlter : public CDlgPsnChangeWizard
{
    Q_OBJECT

public:
    explicit CDlgWizardBySortAlter(QWidget *parent = nullptr)
        : CDlgPsnChangeWizard(vantrel::personnel::CategoryChange(), parent)
    {
    }
};
