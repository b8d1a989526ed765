#pragma once

#include "personnel/deptformowner.h"
#include "ui/dialogs/cdialogexx.h"

#include <QStringList>

class CDlgDeptMergeMove;
class QStandardItem;
class QStandardItemModel;
class QToolBar;
class QTreeView;

// The organisation tree ("组织机构管理"): one row per department, one column per department item
// (name first; DID, ParentID and Ord hidden), read with one query. Add and modify go through
// the department form, which calls this dialog back; delete, up and down, merge and move are
// the dialog's own. Moving plain siblings only marks the order as changed: it is stored on
// refresh and, when marked, on closing.
class CDlgDeptManager : public CDialogExx, public IDeptFormOwner
{
    Q_OBJECT

public:
    explicit CDlgDeptManager(QWidget *parent = nullptr);

    QTreeView *tree() const { return m_pTree; }
    QStandardItemModel *model() const { return m_pModel; }
    QToolBar *toolBar() const { return m_pToolBar; }
    bool orderChanged() const { return m_bOrderChanged; }

    // IDeptFormOwner
    void SelectDeptRow(int did) override;
    bool UpdateDeptParent(int did, int parentId) override;
    void OnRefresh() override;
    void SaveRowOrder() override;
    void LoadDeptTree() override;
    int DeptKeyColumn() const override { return m_nDidColumn; }
    int DeptParentColumn() const override { return m_nDidColumn + 1; }

    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnMerge();
    void OnMove();
    void OnMoveUp() { moveRow(-1); }
    void OnMoveDown() { moveRow(1); }
    void OnExit();

    // The department of the selected row: 0 without one.
    int selectedDid() const;

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar();
    void moveRow(int step);
    // Fills the dialog for the selected department, runs it and confirms ("确定要合并…");
    // false when the user stops or the department has gone meanwhile.
    bool askTarget(CDlgDeptMergeMove &dialog, const QString &verb);
    void storeChangedWidths();
    QString selectedName() const;
    QStandardItem *findRow(QStandardItem *parent, int did) const;
    void collectOrder(const QStandardItem *parent, QVector<int> *dids) const;

    QToolBar *m_pToolBar = nullptr;
    QTreeView *m_pTree;
    QStandardItemModel *m_pModel;
    QStringList m_columnNames; // the item names of the shown columns, name first
    QVector<int> m_widths;     // as last stored
    int m_nDidColumn = 1;
    bool m_bOrderChanged = false;
};
