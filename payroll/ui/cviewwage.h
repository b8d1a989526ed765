#pragma once

#include "personnel/sqlcondition.h"
#include "ui/controls/cmybcgpgridview.h"

#include <QHash>
#include <QVector>

#include <memory>

class CScriptHostProxy;
class QAction;
class QComboBox;
class QMenu;
class WageFooter;
class WageRecordWriter;

namespace vantrel::payroll {
struct WageCalcScope;
struct WageCellOutcome;
} // namespace vantrel::payroll

// One payroll column: column 0 is the person's PID (hidden), 1 and 2 the person's number and
// name (items of the person table), then the wage items of the set in their order.
struct WageGridColumn
{
    int ItemID = 0;
    QString Name;  // the column in its table
    QString Alias; // its heading
    int iDataType = 1;
    int iWid = 0;
    int iDec = 2;
    int iChoice = 0;
    QString IdRef;
    bool bShow = true;
    QString ColFmt;
    QStringList choices; // dictionary items: the active titles
};

// The grid of one period of one wage set: one row per person of the period in the pane's
// department subtree and category (and the operator's departments), a footer with the number
// of persons and the sums of the number items from one query. Cells are typed in while the
// period is open and the operator may change wage data; every change goes through the payroll
// services, which read the period's state again first. The view's commands are actions that
// the frame's toolbar and the context menu share.
//
// The grid reads through a connection of its own; every change goes through theDatabase.
class CViewWage : public CMyBCGPGridView
{
    Q_OBJECT

public:
    enum Command {
        IdAdd = 32876,
        IdDelete = 32873,
        IdReorder = 33160,
        IdBatchUpdate = 32910,
        IdImport = 33115,
        IdCalculate = 32885,
        IdSelectAll = 32965,
        IdCopy = 57634,
        IdExport = 33121,
        IdFreeze = 33326,
        IdColumnFormat = 33370,
        IdFilter = 1298,
        IdRefresh = 33306,
        IdCheckOut = 33155,
    };
    static constexpr int FirstItemColumn = 3;

    explicit CViewWage(QWidget *parent = nullptr);
    ~CViewWage() override;

    // The period the view shows, set by its frame before OnInitialUpdate.
    void SetPeriod(int sid, const QString &title, const QString &table, int period, int closed);
    int GetWageSetId() const { return m_nSid; }
    QString GetWageSetTitle() const { return m_strTitle; }
    QString GetTableName() const { return m_strTable; }
    int GetPeriod() const { return m_nPeriod; }
    bool IsClosed() const { return m_nClosed != 0; }

    void LoadColumns();
    void BuildWhereClause();
    // The scope with the advanced filter: the rows the grid shows.
    vantrel::personnel::SqlCondition shownWhere() const;
    bool FillGrid();
    void UpdateFooterTotals();
    // Columns and rights; the frame's pane then chooses its first department.
    void OnInitialUpdate();
    // Publishes the wage set, period and rows of the view as the session's payroll context.
    void OnActivateView();
    // Columns, scope and rows anew (F5, 刷新).
    void Refresh();

    void SetFilters(int department, int category);
    int GetDeptFilter() const { return m_nDeptFilter; }
    int GetSortFilter() const { return m_nSortFilter; }
    const vantrel::personnel::SqlCondition &GetWhere() const { return m_where; }
    const QVector<WageGridColumn> &GetColumns() const { return m_columns; }
    int GetFrozenColumns() const { return m_nFreezeCols; }
    // The footer's text under a column ("合计：N人" under column 1, sums under number items).
    QString GetFooterCell(int column) const;
    int RowOfPerson(int pid) const;

    void SetSearchBox(QComboBox *box) { m_pSearchBox = box; }
    void Search();

    QAction *action(int id) const { return m_actions.value(id); }
    QMenu *contextMenu() const { return m_pContextMenu; }

    void OnAdd();
    void OnDelete();
    void OnReorder();
    void OnBatchUpdate();
    void OnCheckOut();
    // 薪资核算: every computed item of every row shown, with progress; then the grid anew.
    void OnCalculate();
    void OnFreezeColumns();
    void OnColumnFormat();
    void OnSelectAll();
    void OnCopy();
    // 高级数据查询: the advanced search over the person fields and the set's items narrows and
    // orders the rows shown (and what the commands and the calculation work on) until the
    // scope is built again.
    void OnAdvancedFilter();

    // Whether a number column takes the typed text; else tells the user why (naming the
    // column) and the cell keeps its value.
    bool AcceptTyped(int column, const QString &text);
    // The service stored a typed-in value: log, footer.
    void onCellWritten(int pid, int field, const QVariant &stored);

Q_SIGNALS:
    // Before a refresh refills the grid: the frame rebuilds its template menus.
    void refreshing();

private:
    int OnGridBeginEdit(const GridItemInfo &info) override;
    int OnGridItemChanged(const GridItemInfo &info) override;
    void createActions();
    void updateActions();
    void formatColumns();
    void widenForFooter(const QHash<int, QString> &texts);
    void applyReadOnly();
    // Reads the period's state again: true when it may change; else shows why (closed: the
    // view turns read-only; deleted meanwhile).
    bool periodMayChange();
    void greyRow(int row);
    // Shows why a cell may not change (and greys a vanished row); false when it may.
    bool showCellRefusal(const vantrel::payroll::WageCellOutcome &outcome, int row);
    QVector<int> selectedRows() const;
    int currentColumn() const;
    // A width the user dragged, kept in the column's item.
    void storeColumnWidth(int column, int width);
    void showContextMenu(const QPoint &globalPos);
    QString periodText() const;
    vantrel::payroll::WageCalcScope calcScope() const;
    // The view's own script engine with the global script, started on first use.
    CScriptHostProxy *scriptHost();
    // The computed items of one person after a typed value, then the row and footer anew.
    void recalculatePerson(int pid);

    int m_nSid = 0;
    QString m_strTitle;
    QString m_strTable;
    int m_nPeriod = 0;
    int m_nClosed = 0;
    int m_nDeptFilter = 0;
    int m_nSortFilter = 0;
    int m_nFreezeCols = 2;
    bool m_bFilled = false;
    bool m_bSizingColumns = false;
    QString m_strSelect;
    QStringList m_sums; // "SUM(<column>)" of the number items, in column order
    vantrel::personnel::SqlCondition m_where;  // the scope, as published to scripts
    vantrel::personnel::SqlCondition m_filter; // the advanced filter on top of it
    QString m_strOrderBy;                      // the filter's order, when it gave one
    QVector<WageGridColumn> m_columns;
    QComboBox *m_pSearchBox = nullptr;
    QHash<int, QAction *> m_actions;
    QMenu *m_pContextMenu;
    WageFooter *m_pFooter;
    std::unique_ptr<WageRecordWriter> m_pWriter;
    std::unique_ptr<CScriptHostProxy> m_pScriptHost;
};
