#pragma once

#include "personnel/psnhistory.h"
#include "personnel/sqlcondition.h"
#include "ui/dialogs/cdialogexx.h"

#include <QHash>

class CBCGPADOGridCtrl;
class CDateTimeCtrl;
class CMainFrame;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;

// A history list ("调动管理" or "离职管理"): the rows the change wizard wrote, joined to their
// persons and kept to the operator's departments, filtered by name and days or by the advanced
// search; rows are added through the wizard, deleted, exported to a workbook.
class CDlgPsnHistoryManage : public CDialogExx
{
    Q_OBJECT

public:
    // Command ids of the toolbar and the context menu.
    enum Command {
        IdAdd = 32818,
        IdDelete = 32819,
        IdSearch = 33307,
        IdExport = 33303,
        IdPrint = 33304,
        IdRefresh = 32820,
        IdClose = 32817,
    };

    CDlgPsnHistoryManage(const vantrel::personnel::PsnHistoryKind &kind, int formNumber,
                         QWidget *parent = nullptr);

    void ResetFilter();
    // Reads the list with the current filter and order; false (list empty) on failure.
    bool LoadHistory();

    void OnAdd();
    void OnDelete();
    void OnAdvancedSearch();
    void OnExport();
    // Prints the list under the window's title; nothing when it is empty.
    void OnPrint();
    void OnRefresh();
    void OnFind();
    // The path of the next export; asks the operator when empty.
    void SetExportPath(const QString &path) { m_strExportPath = path; }

    CBCGPADOGridCtrl *grid() const { return m_pGrid; }
    QLineEdit *nameEdit() const { return m_pName; }
    CDateTimeCtrl *fromDate() const { return m_pFrom; }
    CDateTimeCtrl *toDate() const { return m_pTo; }
    QLabel *statusLabel() const { return m_pStatus; }
    QAction *action(int id) const { return m_actions.value(id); }

    // Enter does nothing.
    void accept() override { }

private:
    void onColumnResized(int column, int oldWidth, int newWidth);

    const vantrel::personnel::PsnHistoryKind &m_kind;
    CBCGPADOGridCtrl *m_pGrid;
    QToolBar *m_pToolBar;
    QLineEdit *m_pName;
    CDateTimeCtrl *m_pFrom;
    CDateTimeCtrl *m_pTo;
    QLabel *m_pStatus;
    QMenu *m_pMenu;
    QHash<int, QAction *> m_actions;
    QVector<int> m_widths;
    vantrel::personnel::SqlCondition m_where;
    QString m_strOrderBy;
    QString m_strExportPath;
    bool m_bLoading = false;
};

class CDlgPsnRedeployManage : public CDlgPsnHistoryManage
{
    Q_OBJECT

public:
    explicit CDlgPsnRedeployManage(QWidget *parent = nullptr)
        : CDlgPsnHistoryManage(vantrel::personnel::TransferHistory(), 447, parent)
    {
    }
};

class CDlgPsnSortAlterManage : public CDlgPsnHistoryManage
{
    Q_OBJECT

public:
    explicit CDlgPsnSortAlterManage(QWidget *parent = nullptr)
        : CDlgPsnHistoryManage(vantrel::personnel::CategoryHistory(), 522, parent)
    {
    }
};

// Registers the main frame's openers of the two lists (2101 调动管理, 2104 离职管理).
void RegisterPsnHistoryOpeners();
