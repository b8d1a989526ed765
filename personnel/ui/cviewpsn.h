#pragma once

#include "core/script/cscripthostproxy.h"
#include "personnel/cpersonbase.h"
#include "personnel/psngridcolumns.h"
#include "personnel/sqlcondition.h"
#include "ui/controls/cmybcgpgridview.h"

#include <QHash>
#include <QTimer>
#include <QVector>

#include <functional>

class CDlgPsnChangeWizard;
class IPersonPane;
class PsnRecordWriter;
class QAction;
class QComboBox;
class QMenu;

// The person list of the personnel frame: one grid row per person of the scope (department
// subtree, category, the operator's departments), columns from the person items, department
// by department in the persons' order. It keeps the current person and hands it to the
// frame's panes, searches, edits cells in place with the checks of the person form, and
// carries the person commands as actions (the frame's toolbar shows them; their enabled
// state follows the selection and the rights).
//
// The grid reads through a connection of its own, opened at the first fill and kept while
// the view lives; every change goes through theDatabase.
class CViewPsn : public CMyBCGPGridView
{
    Q_OBJECT

public:
    // Command ids of the actions.
    enum Command {
        IdAdd = 32876,
        IdModify = 32783,
        IdDelete = 32873,
        IdReorder = 33160,
        IdBatchUpdate = 32910,
        IdFreeze = 33326,
        IdColumnFormat = 33370,
        IdRefresh = 33306,
        IdSelectAll = 32965,
        IdCopy = 57634,
        IdExport = 32941,
        IdFilter = 1298,
        IdTransfer = 32958,
        IdSortChange = 32959,
        IdSeniority = 33317,
        IdImport = 32968,
    };

    explicit CViewPsn(QWidget *parent = nullptr);
    ~CViewPsn() override;

    // Reads the columns from the person items; returns the item part of the select list
    // (empty when the items cannot be read).
    QString LoadColumns();
    // The WHERE text from the filters (and the operator's departments); ORDER BY anew.
    void BuildWhereClause();
    // Runs the person query into the grid; false (grid empty, nothing shown) when the grid's
    // connection or the query fails.
    bool FillGrid();
    // The current person changes at once; the panes get it once the selection has rested
    // for PaneHandOverDelay ms, so that running through the list refills them once.
    void NotifyPanes();
    static constexpr int PaneHandOverDelay = 150;
    // Hands the current person to the panes now when a hand-over is pending.
    void FlushPaneHandOver();
    // Reads the current row again and tells the panes.
    void RefreshCurrentRow();
    // Columns, scope and rows anew (F5, 刷新); an advanced condition goes.
    void Refresh();
    // First show: columns, rights, then the frame's tree chooses its first item.
    void OnInitialUpdate();

    void SetFilters(int department, int category);
    int GetDeptFilter() const { return m_nDeptFilter; }
    int GetSortFilter() const { return m_nSortFilter; }
    const vantrel::personnel::SqlCondition &GetWhere() const { return m_where; }
    QString GetOrderBy() const { return m_strOrderBy; }
    const CPersonBase &GetCurrentPerson() const { return m_person; }
    const QVector<vantrel::personnel::PsnGridColumn> &GetColumns() const { return m_columns; }
    int GetNumberColumn() const { return m_nNumberCol; }
    int GetNameColumn() const { return m_nNameCol; }
    int GetFrozenColumns() const { return m_nFreezeCols; }
    // The grid row of the person, -1 when the list does not show it.
    int RowOfPerson(int pid) const;

    void AddPane(IPersonPane *pane) { m_panes << pane; }
    void SetSearchBox(QComboBox *box) { m_pSearchBox = box; }
    // Finds the search box's text (number, else name) in the scope and selects that row.
    void Search();

    QAction *action(int id) const { return m_actions.value(id); }
    QMenu *contextMenu() const { return m_pContextMenu; }

    // The view's script engine, with the global script loaded at the first show; the mail
    // batch evaluates its templates in it.
    CScriptHostProxy *GetScriptHost() { return &m_scriptHost; }
    // Runs a dialog that uses the script engine, then starts the engine afresh with the global
    // script (also when the dialog failed), so the next use finds no leftovers.
    void RunWithScriptHost(const std::function<void(CScriptHostProxy *host)> &dialog);

    // The commands.
    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnReorder();
    void OnBatchUpdate();
    void OnFreezeColumns();
    void OnColumnFormat();
    void OnSelectAll();
    void OnCopy();
    // 筛选: the advanced search over the rebuilt scope; its condition and order last until the
    // next rebuild.
    void OnAdvancedQuery();
    // 人员调动, 人员类别变更: the wizard on page 2 with the selected persons; the list refilled
    // after it finishes.
    void OnTransferWizard();
    void OnCategoryChangeWizard();
    // 工龄核算: the batch seniority over the list's scope; the list refilled after a run.
    void OnSeniority();
    // 导入: a workbook chosen, its persons imported; scope rebuilt and list refilled after.
    void OnImport();
    // 导出: the list's item columns written to an .xlsx file.
    void OnExport();
    // The next file dialog of these commands answers this path instead of asking (tests,
    // scripted runs).
    void SetNextFilePath(const QString &path) { m_strNextPath = path; }
    // 打印 item: the report for the current person or the whole list, logged once the report
    // library has shown it.
    void PrintReport(int reportId, const QString &reportName);
    // 邮件 item: the template mailed to every person of the list by the mail batch; logged
    // when mails were sent. The script engine is started afresh afterwards in any case.
    void SendMails(int templateId, const QString &templateName);
    // The template managers; true when templates changed (the frame rebuilds its menus).
    bool OnPrintTemplates();
    bool OnMailTemplates();
    // "SELECT <item columns>" over the list's scope and order, for the export.
    QString ExportQuery() const;

Q_SIGNALS:
    // Before a refresh refills the list: the frame rebuilds its print and mail menus.
    void refreshing();

private:
    int OnGridBeginEdit(const GridItemInfo &info) override;
    int OnGridItemChanged(const GridItemInfo &info) override;
    void onFieldWritten(int pid, int field, const QVariant &value);
    void onSelChanged();
    void handOverToPanes();
    void createActions();
    void updateActions();
    void formatColumns();
    bool personExists(int row);
    void greyRow(int row);
    QVector<int> selectedRows() const;
    int currentColumn() const;
    int firstItemColumn() const;
    void showContextMenu(const QPoint &globalPos);
    void runChangeWizard(CDlgPsnChangeWizard &wizard, const QString &title);
    QString chooseFile(bool save, const QString &filter);

    CPersonBase m_person;
    int m_nDeptFilter = 0;
    int m_nSortFilter = 0;
    int m_nFreezeCols = 2;
    bool m_bFilled = false;
    QString m_strSelect;
    vantrel::personnel::SqlCondition m_where;
    QString m_strOrderBy;
    QVector<vantrel::personnel::PsnGridColumn> m_columns;
    int m_nNumberCol = -1;
    int m_nNameCol = -1;
    int m_nDidCol = -1;
    int m_nAidCol = -1;
    bool m_bSizingColumns = false;
    QVector<IPersonPane *> m_panes;
    QTimer m_paneTimer;
    QComboBox *m_pSearchBox = nullptr;
    QHash<int, QAction *> m_actions;
    QMenu *m_pContextMenu;
    PsnRecordWriter *m_pWriter;
    CScriptHostProxy m_scriptHost;
    QString m_strNextPath;
};
