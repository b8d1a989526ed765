#pragma once

#include <QMetaType>
#include <QWidget>

class CDropDownListDept;
class CMyTreeCtrl;
class QComboBox;
class QTreeWidgetItem;

// What the statistics tree tells its owner on every selection or scope change
// (WM_TREE_SELCHANGED): the category's AID, the department's DID (0 for "<全体部门>") and the
// selected tree item's data: 0 the root, -1 and -2 the groups, else the statistic's TID.
struct StatTreeScope
{
    int category = 0;
    int department = 0;
    int itemData = 0;

    bool operator==(const StatTreeScope &other) const = default;
};
Q_DECLARE_METATYPE(StatTreeScope)

// The left pane of the statistics window: the person category and department that bound the
// counts, and the stored statistics under "统计事项" in the groups "一维分析" (-1) and
// "二维分析" (-2), each in its Ord order. A statistic dragged onto another of its own group
// takes that one's place, in the tree and in qz_Stat; any other drop changes nothing.
class CPsnStatTreeView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RootData = 0;
    static constexpr int OneDimGroupData = -1;
    static constexpr int TwoDimGroupData = -2;

    explicit CPsnStatTreeView(QWidget *parent = nullptr);

    // Fills the category list and the department picker (first entries chosen), then the tree.
    void OnInitialUpdate();
    // Rebuilds the tree from qz_Stat; the root ends up selected and the tree focused. A
    // failing query leaves its group empty and says why.
    void LoadTree();

    StatTreeScope scope() const;
    // The selected item's data; 0 without a selection.
    int selectedData() const;

    QComboBox *sortCombo() const { return m_pSortCombo; }
    CDropDownListDept *deptPicker() const { return m_pDeptPicker; }
    CMyTreeCtrl *tree() const { return m_pTree; }
    // The group item of the flag (1 or 2); null before the tree is loaded.
    QTreeWidgetItem *groupItem(int flag) const;

    // The tree's drop (WM_TREE_DROP): moves the dragged statistic into the target's place.
    void OnTreeEndDrag(QTreeWidgetItem *dragged, QTreeWidgetItem *target);

Q_SIGNALS:
    void treeSelChanged(const StatTreeScope &scope); // WM_TREE_SELCHANGED
    void itemRClick(QTreeWidgetItem *item);          // WM_ITEM_RCLICK

private:
    void fillStatGroup(QTreeWidgetItem *group, int flag);
    void onScopeChanged();
    void onTreeRClick(const QPoint &pos);

    QComboBox *m_pSortCombo;
    CDropDownListDept *m_pDeptPicker;
    CMyTreeCtrl *m_pTree;
    bool m_bLoading = false;
};
