#pragma once

#include "ui/dialogs/cdialogexx.h"

#include <QHash>

class CDlgDBTableItemSet;
class CMyADOGridCtrl;
class CMyBCGPGridView;
class CMyTreeView;
class QToolBar;
class QTreeWidgetItem;

// The data-structure manager ("系统数据表管理"): the data tables as a tree (wage sets left
// out) and, beside it, the list of tables when the root is selected or the items of the
// selected table. Tables and items are added and modified through their editors, deleted
// (their real table or column with them) and reordered; every change is logged.
class CDlgSystemTableManage : public CDialogExx
{
    Q_OBJECT

public:
    // Node images: the root, a table with its Flag set, any other table.
    enum TreeImage { RootImage = 4, FlaggedImage = 12, TableImage = 13 };
    static constexpr int ImageRole = Qt::UserRole + 1;

    explicit CDlgSystemTableManage(QWidget *parent = nullptr);

    CMyTreeView *tree() const { return m_pTree; }
    CMyADOGridCtrl *grid() const { return m_pGrid; }
    CMyBCGPGridView *gridView() const { return m_pGridView; }
    QToolBar *toolBar() const { return m_pToolBar; }
    // The text a grid cell shows: the data type through its choice list, the reference as
    // worked out for links.
    QString cellText(int row, int column) const;

    void LoadTree();
    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnUp();
    void OnDown();

    int m_nTableID = 0; // the selected node's table id, 0 for the root
    QString m_strTitle; // the selected node's text

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildToolBar();
    void LoadGrid();
    void formatTableGrid();
    void formatItemGrid();
    // The selected grid row for modify, delete and the moves; -1 (after telling the user when
    // nothing is selected) when the command stops.
    int commandRow();
    // The selected table's SQL name and title for the item editor (empty when the query
    // fails); false when the table's row is gone.
    bool readTableNames(CDlgDBTableItemSet *editor) const;
    void move(int step);
    void selectKey(int key);

    QToolBar *m_pToolBar = nullptr;
    CMyTreeView *m_pTree;
    CMyBCGPGridView *m_pGridView;
    CMyADOGridCtrl *m_pGrid;
    QHash<int, QString> m_referenceTexts; // record → the reference column's text
};
