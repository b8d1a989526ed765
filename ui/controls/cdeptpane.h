#pragma once

#include "ui/controls/privatemessages.h"

#include <QDockWidget>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

// The dockable navigation pane of the personnel and payroll frames: a person-category list
// above the department tree. Whenever the user picks a category, or the selection moves to a
// department, the pane sends its selection record (treeSelChanged): both choices, so the frame
// can filter its view. The frame fills the list and the tree (Reload does it with the
// operator's granted categories and departments) and docks the pane.
class CDeptPane : public QDockWidget
{
    Q_OBJECT

public:
    explicit CDeptPane(const QString &title, QWidget *parent = nullptr);

    QComboBox *GetCategoryList() const { return m_pCategories; }
    QTreeWidget *GetDeptTree() const { return m_pDepartments; }
    const DeptPaneSelection &GetSelection() const { return m_selection; }

    // Fills the list with the categories and the tree with the departments the operator may
    // see (theCurrentUser), with nothing chosen.
    void Reload();
    // The same for a module window: the first category chosen, the departments under a bold
    // root item "全体部门" (id 0) that stands for all of them, still nothing sent.
    void ReloadWithRoot();

Q_SIGNALS:
    void treeSelChanged(const DeptPaneSelection &selection); // WM_TREE_SELCHANGED

private:
    void onCategoryPicked(int index);
    void onDepartmentChanged(QTreeWidgetItem *current);
    void readCategory();

    QComboBox *m_pCategories;
    QTreeWidget *m_pDepartments;
    DeptPaneSelection m_selection;
};
