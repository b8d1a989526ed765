#include "personnel/ui/cpsnstattreeview.h"

#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/psnstat.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/cmytreectrl.h"
#include "ui/controls/widgetfillers.h"

#include <QComboBox>
#include <QStyle>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

constexpr int DataRole = Qt::UserRole;

int itemData(const QTreeWidgetItem *item)
{
    return item ? item->data(0, DataRole).toInt() : 0;
}

} // namespace

CPsnStatTreeView::CPsnStatTreeView(QWidget *parent)
    : QWidget(parent)
    , m_pSortCombo(new QComboBox(this))
    , m_pDeptPicker(new CDropDownListDept(this))
    , m_pTree(new CMyTreeCtrl(this))
{
    m_pSortCombo->setObjectName(u"SortCombo"_s);
    m_pDeptPicker->setObjectName(u"DeptPicker"_s);
    m_pTree->setObjectName(u"StatTree"_s);
    m_pTree->setHeaderHidden(true);
    m_pTree->setContextMenuPolicy(Qt::CustomContextMenu);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(m_pSortCombo);
    layout->addWidget(m_pDeptPicker);
    layout->addWidget(m_pTree, 1);

    connect(m_pSortCombo, &QComboBox::currentIndexChanged, this, &CPsnStatTreeView::onScopeChanged);
    connect(m_pDeptPicker, &CDropDownListDept::comboNotify, this, [this](int code) {
        if (code == CDropDownListDept::CBN_SELENDOK)
            onScopeChanged();
    });
    connect(m_pTree, &QTreeWidget::currentItemChanged, this, &CPsnStatTreeView::onScopeChanged);
    connect(m_pTree, &QWidget::customContextMenuRequested, this, &CPsnStatTreeView::onTreeRClick);
    connect(m_pTree, &CMyTreeCtrl::treeDrop, this, &CPsnStatTreeView::OnTreeEndDrag);
}

void CPsnStatTreeView::OnInitialUpdate()
{
    m_bLoading = true;
    FillPsnSortCombo(m_pSortCombo);
    if (m_pSortCombo->count() > 0)
        m_pSortCombo->setCurrentIndex(0);
    m_pDeptPicker->Initialize();
    if (QTreeWidgetItem *first = m_pDeptPicker->GetDropTree()->topLevelItem(0)) {
        m_pDeptPicker->GetDropTree()->setCurrentItem(first);
        m_pDeptPicker->setText(first->text(0));
    }
    m_bLoading = false;
    LoadTree();
}

void CPsnStatTreeView::LoadTree()
{
    m_bLoading = true;
    m_pTree->setUpdatesEnabled(false);
    m_pTree->clear();
    auto *root = new QTreeWidgetItem(m_pTree, { u"统计事项"_s });
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    root->setIcon(0, style()->standardIcon(QStyle::SP_DirHomeIcon));
    root->setData(0, DataRole, RootData);
    root->setFlags(root->flags() & ~Qt::ItemIsDragEnabled);
    const QString names[] = { u"一维分析"_s, u"二维分析"_s };
    for (int flag = 1; flag <= 2; ++flag) {
        auto *group = new QTreeWidgetItem(root, { names[flag - 1] });
        group->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
        group->setData(0, DataRole, -flag);
        group->setFlags(group->flags() & ~Qt::ItemIsDragEnabled);
        fillStatGroup(group, flag);
        group->setExpanded(true);
    }
    m_pTree->setUpdatesEnabled(true);
    root->setExpanded(true);
    m_bLoading = false;
    m_pTree->setCurrentItem(root);
    m_pTree->setFocus();
}

void CPsnStatTreeView::fillStatGroup(QTreeWidgetItem *group, int flag)
{
    const auto statistics = LoadStatGroup(theDatabase, flag);
    if (!statistics) {
        ShowMessage(this, statistics.error(), LoadResString(117), QMessageBox::Critical);
        return;
    }
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const StatDefinition &definition : *statistics) {
        auto *item = new QTreeWidgetItem(group, { definition.caption });
        item->setIcon(0, icon);
        item->setData(0, DataRole, definition.tid);
    }
}

QTreeWidgetItem *CPsnStatTreeView::groupItem(int flag) const
{
    const QTreeWidgetItem *root = m_pTree->topLevelItem(0);
    return root && flag >= 1 && flag <= root->childCount() ? root->child(flag - 1) : nullptr;
}

int CPsnStatTreeView::selectedData() const
{
    return itemData(m_pTree->currentItem());
}

StatTreeScope CPsnStatTreeView::scope() const
{
    return { m_pSortCombo->currentData().toInt(), qMax(0, m_pDeptPicker->GetSelectedDept()),
             selectedData() };
}

void CPsnStatTreeView::onScopeChanged()
{
    if (!m_bLoading)
        Q_EMIT treeSelChanged(scope());
}

void CPsnStatTreeView::onTreeRClick(const QPoint &pos)
{
    QTreeWidgetItem *item = m_pTree->itemAt(pos);
    if (!item)
        return;
    m_pTree->setCurrentItem(item);
    Q_EMIT itemRClick(item);
}

void CPsnStatTreeView::OnTreeEndDrag(QTreeWidgetItem *dragged, QTreeWidgetItem *target)
{
    if (!dragged || !target || dragged == target || itemData(dragged) <= 0
        || dragged->parent() != target->parent() || !dragged->parent())
        return;
    QTreeWidgetItem *group = dragged->parent();
    const int flag = qAbs(itemData(group));
    const vantrel::Status moved = MoveStat(itemData(dragged), itemData(target), flag);
    if (!moved) {
        ShowMessage(this, moved.error(), LoadResString(117), QMessageBox::Critical);
        return;
    }
    // Downwards the item lands after the target, upwards in the target's place.
    const bool downwards = group->indexOfChild(dragged) < group->indexOfChild(target);
    m_bLoading = true;
    group->removeChild(dragged);
    const int at = group->indexOfChild(target) + (downwards ? 1 : 0);
    group->insertChild(at, dragged);
    m_bLoading = false;
    m_pTree->setCurrentItem(dragged);
}
