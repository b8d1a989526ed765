#pragma once

#include "ui/dialogs/cdialogexx.h"

class CMyADOGridCtrl;
class CMyBCGPGridView;
class CMyTreeView;
class QLabel;
class QMenu;
class QToolBar;
class QTreeWidgetItem;
struct TreeItemNotify;

// The dictionary manager ("基础档案"): the tree of classes and their items on the left, the
// items under the selected node on the right. A node's children are read when it first opens;
// a class shows its expand button when one of its items has children. Class changes rebuild
// the tree, item changes the grid and the selected node's children.
class CDlgSystemDictManage : public CDialogExx
{
    Q_OBJECT

public:
    explicit CDlgSystemDictManage(QWidget *parent = nullptr);

    CMyTreeView *tree() const { return m_pTree; }
    CMyADOGridCtrl *grid() const { return m_pGrid; }
    QLabel *footer() const { return m_pFooter; }

    void LoadTree();
    void OnAddClass();
    void OnModifyClass();
    void OnDeleteClass();
    void OnAddItem();
    void OnModifyItem();
    void OnDeleteItem();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildToolBar();
    void fillNode(QTreeWidgetItem *node);
    void refillNode(QTreeWidgetItem *node);
    void LoadGrid(QTreeWidgetItem *node);
    // The class code (and for an item node its code) of a node; false when the row is gone.
    bool codesOf(QTreeWidgetItem *node, QString *dictId, QString *code);
    int classIdOf(QTreeWidgetItem *node, const QString &dictId);
    QTreeWidgetItem *selectedNode() const;

    QToolBar *m_pToolBar;
    QMenu *m_pClassMenu;
    QMenu *m_pItemMenu;
    CMyTreeView *m_pTree;
    CMyBCGPGridView *m_pGridView;
    CMyADOGridCtrl *m_pGrid;
    QLabel *m_pFooter;
    QAction *m_pRefresh = nullptr;
    QAction *m_pExit = nullptr;
};
