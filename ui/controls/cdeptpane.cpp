#include "ui/controls/cdeptpane.h"

#include "ui/controls/widgetfillers.h"

#include <QComboBox>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The selection record holds at most 199 characters of each text.
constexpr int maxText = 199;

} // namespace

CDeptPane::CDeptPane(const QString &title, QWidget *parent)
    : QDockWidget(title, parent), m_pCategories(new QComboBox), m_pDepartments(new QTreeWidget)
{
    setObjectName(u"DeptPane"_s);
    m_pCategories->setObjectName(u"categoryList"_s);
    m_pDepartments->setObjectName(u"deptTree"_s);
    m_pDepartments->setHeaderHidden(true);
    m_pDepartments->setRootIsDecorated(true);
    auto *body = new QWidget;
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(m_pCategories);
    layout->addWidget(m_pDepartments);
    setWidget(body);

    // A pick by the user, not the filling of the list, is a change of category.
    connect(m_pCategories, &QComboBox::activated, this, &CDeptPane::onCategoryPicked);
    connect(m_pDepartments, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { onDepartmentChanged(current); });
    // A click in the tree brings the focus into the pane.
    connect(m_pDepartments, &QTreeWidget::itemClicked, this, [this] { setFocus(); });
}

void CDeptPane::Reload()
{
    const QSignalBlocker blockTree(m_pDepartments);
    FillPsnSortCombo(m_pCategories);
    m_pCategories->setCurrentIndex(-1);
    m_pDepartments->clear();
    FillDeptTree(m_pDepartments, 0, nullptr);
}

void CDeptPane::ReloadWithRoot()
{
    const QSignalBlocker blockList(m_pCategories);
    const QSignalBlocker blockTree(m_pDepartments);
    FillPsnSortCombo(m_pCategories);
    if (m_pCategories->count() > 0)
        m_pCategories->setCurrentIndex(0);
    m_pDepartments->clear();
    auto *root = new QTreeWidgetItem(m_pDepartments, { u"全体部门"_s });
    root->setData(0, RefIdRole, 0);
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    FillDeptTree(m_pDepartments, 0, root);
    root->setExpanded(true);
}

void CDeptPane::readCategory()
{
    const int index = m_pCategories->currentIndex();
    m_selection.category = index < 0 ? -1 : m_pCategories->itemData(index).toInt();
    m_selection.categoryText = index < 0 ? QString() : m_pCategories->itemText(index).left(maxText);
}

void CDeptPane::onCategoryPicked(int index)
{
    Q_UNUSED(index);
    readCategory();
    // Without a selected department the last one sent stays.
    if (QTreeWidgetItem *department = m_pDepartments->currentItem()) {
        m_selection.department = department->data(0, RefIdRole).toInt();
        m_selection.departmentName = department->text(0).left(maxText);
    }
    Q_EMIT treeSelChanged(m_selection);
}

void CDeptPane::onDepartmentChanged(QTreeWidgetItem *current)
{
    if (!current)
        return;
    m_selection.department = current->data(0, RefIdRole).toInt();
    m_selection.departmentName = current->text(0).left(maxText);
    readCategory();
    Q_EMIT treeSelChanged(m_selection);
}
