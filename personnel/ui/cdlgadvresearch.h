#pragma once

#include "core/query/itemmetadata.h"
#include "personnel/advsearch.h"
#include "personnel/arctableinfo.h"
#include "personnel/sqlcondition.h"

#include <QDialog>

class QPushButton;
class QStandardItemModel;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

// "高级筛选": the operator composes a search as condition rows over the caller's items and the
// related-archive tables, plus sort rows, keeps searches as saved queries (his own, of the
// caller's query type), and runs one. A run closes the dialog accepted with a condition over
// the caller's FROM clause (values to bind) and a sort list; the caller applies both. Enter
// does not close it.
//
// The caller fills ItemList() and sets the query type before showing it.
class CDlgAdvResearch : public QDialog
{
    Q_OBJECT

public:
    // Columns of the three grids.
    enum MainColumn { MainAndOr, MainItem, MainOp, MainValue, MainField, MainColumns };
    enum RelatedColumn {
        RelAndOr,
        RelTable,
        RelItem,
        RelOp,
        RelValue,
        RelTblName,
        RelField,
        RelColumns
    };
    enum SortColumn { SortItem, SortDirection, SortField, SortColumns };

    explicit CDlgAdvResearch(QWidget *parent = nullptr);

    CItemInfoArray &ItemList() { return m_arrItems; }
    void SetQueryType(int type) { m_nQueryType = type; }
    int GetQueryType() const { return m_nQueryType; }

    // The results of the run that closed the dialog.
    const vantrel::personnel::SqlCondition &GetCondition() const { return m_condition; }
    QString GetOrderBy() const { return m_strOrderBy; }

    // The commands.
    void OnAddCondition();
    void OnDeleteCondition();
    void OnAddRelatedCondition();
    void OnDeleteRelatedCondition();
    void OnAddSortColumn();
    void OnDeleteSortColumn();
    void OnRunQuery();
    void OnSaveQuery();
    void OnDeleteQuery();

    // The saved query shown: 0 for a new one.
    int GetQueryId() const { return m_nQueryId; }
    bool LoadQueryList();

    QTreeWidget *queryTree() const { return m_pTree; }
    QTableView *mainGrid() const { return m_pMainGrid; }
    QTableView *relatedGrid() const { return m_pRelatedGrid; }
    QTableView *sortGrid() const { return m_pSortGrid; }
    QStandardItemModel *mainModel() const { return m_pMain; }
    QStandardItemModel *relatedModel() const { return m_pRelated; }
    QStandardItemModel *sortModel() const { return m_pSort; }

    // Enter does nothing: only a run closes the dialog accepted.
    void accept() override { }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void OnInitDialog();
    QWidget *createGridBox(const QString &title, QTableView *view, QPushButton *add,
                           QPushButton *remove);
    void setupGrid(QTableView *view, QStandardItemModel *model, const QStringList &titles,
                   const QVector<int> &widths, const QVector<int> &hidden);
    void OnSelchangedQueryTree();
    void OnEndlabeleditQueryTree(QTreeWidgetItem *item);
    void OnDblclkQueryTree(QTreeWidgetItem *item);
    void onMainChanged(int row, int column, const QList<int> &roles);
    void onRelatedChanged(int row, int column, const QList<int> &roles);
    void onSortChanged(int row, int column, const QList<int> &roles);
    void LoadMainConditions(const QVector<vantrel::personnel::AdvConditionRow> &rows);
    void LoadRelatedConditions(const QVector<vantrel::personnel::AdvConditionRow> &rows);
    void LoadSortColumns(const QVector<vantrel::personnel::AdvSortRow> &rows);
    void showNewQuery();
    void setItemCell(QStandardItemModel *model, int row, int column, int index,
                     const QStringList &options);
    // Sets the operator options and "等于", and a fresh value cell for the data type.
    void resetOperatorAndValue(QStandardItemModel *model, int row, int opColumn, int valueColumn,
                               int dataType);
    void deleteConditionRow(QTableView *view, QStandardItemModel *model);
    void appendConditionRow(QTableView *view, QStandardItemModel *model, bool related);
    vantrel::personnel::AdvQuery collect() const;
    bool checkEditRight() const;
    void endEdit(QTableView *view);
    void selectQuery(int rid);

    QTreeWidget *m_pTree;
    QTableView *m_pMainGrid;
    QTableView *m_pRelatedGrid;
    QTableView *m_pSortGrid;
    QStandardItemModel *m_pMain;
    QStandardItemModel *m_pRelated;
    QStandardItemModel *m_pSort;
    int m_nQueryId = 0;
    CItemInfoArray m_arrItems;
    QVector<tagARCTABLEINFO> m_arrTables;
    vantrel::personnel::SqlCondition m_condition;
    QString m_strOrderBy;
    int m_nQueryType = 0;
    bool m_bInitialised = false;
    bool m_bFilling = false; // cells written by the dialog itself: no follow-up
};
