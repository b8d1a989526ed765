#include "admin/ui/cdlgdeptmanager.h"

#include "admin/deptstore.h"
#include "admin/ui/adminmessages.h"
#include "admin/ui/admintoolbar.h"
#include "admin/ui/cdlgdeptmergemove.h"
#include "admin/ui/depttreefill.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cdlgdynctlformfordept.h"
#include "ui/app/messagebox.h"

#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;
using vantrel::admin::AdminOutcome;

namespace {

constexpr int kDidRole = Qt::UserRole + 1;

void inform(QWidget *owner, const QString &text)
{
    ShowMessage(owner, text, LoadResString(117), QMessageBox::Information);
}

bool ask(QWidget *owner, const QString &question)
{
    return ShowMessage(owner, question, LoadResString(117), QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

QVariant cellValue(const QVariant &value)
{
    // A date shows as a date only.
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().date();
    return value;
}

} // namespace

CDlgDeptManager::CDlgDeptManager(QWidget *parent) : CDialogExx(374, 0, parent)
{
    setWindowTitle(u"组织机构管理"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    buildToolBar();
    m_pModel = new QStandardItemModel(this);
    m_pTree = new QTreeView(this);
    m_pTree->setObjectName(u"deptTree"_s);
    m_pTree->setModel(m_pModel);
    m_pTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTree->header()->setSectionsMovable(false);
    // Widths are the stored ones; a stretched last column would overwrite its own.
    m_pTree->header()->setStretchLastSection(false);
    m_pTree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pTree->installEventFilter(this);
    m_pTree->header()->viewport()->installEventFilter(this);
    connect(m_pTree, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        ShowAdminToolBarMenu(m_pToolBar, this, m_pTree->viewport()->mapToGlobal(pos));
    });
    LayOutAdminList(this, m_pToolBar, m_pTree);
    resize(760, 520);
    LoadDeptTree();
}

void CDlgDeptManager::buildToolBar()
{
    using SP = QStyle::StandardPixmap;
    QVector<AdminCommand> commands = AdminEditCommands(
        u"新增"_s, [this] { OnAdd(); }, [this] { OnModify(); }, [this] { OnDelete(); });
    commands << AdminCommand { u"合并"_s, u"合并(&G)"_s, u"合并"_s, SP::SP_FileDialogToParent,
                               [this] { OnMerge(); } }
             << AdminCommand { u"移动"_s,      u"移动(&M)"_s,        u"移动"_s,
                               SP::SP_DirIcon, [this] { OnMove(); }, true }
             << AdminOrderCommands([this] { OnMoveUp(); }, [this] { OnMoveDown(); },
                                   [this] { OnRefresh(); }, [this] { OnExit(); });
    m_pToolBar = CreateAdminToolBar(this, commands);
}

void CDlgDeptManager::LoadDeptTree()
{
    m_pModel->clear();
    m_columnNames = { u"Name"_s };
    QStringList titles { u"部门名称"_s };
    m_widths = { 150 };
    const vantrel::db::QueryResult items = theDatabase.run(
        u"SELECT Name, Alias, iWid FROM qz_Items WHERE upper(TblName) = 'QZ_DEPT' AND "
        "upper(Name) NOT IN ('PARENTID', 'DID', 'ORD') ORDER BY Ord"_s);
    for (int row = 0; items.ok && row < items.rows.rowCount(); ++row) {
        const QString name = items.rows.text(row, 0).trimmed();
        const int width = items.rows.value(row, 2).toInt();
        if (name.compare(u"Name"_s, Qt::CaseInsensitive) == 0) {
            titles[0] = items.rows.text(row, 1);
            m_widths[0] = width;
        } else if (IsSqlIdentifier(name)) {
            m_columnNames << name;
            titles << items.rows.text(row, 1);
            m_widths << width;
        }
    }
    m_nDidColumn = int(m_columnNames.size());
    titles << u"DID"_s << u"ParentID"_s << u"Ord"_s;
    m_pModel->setHorizontalHeaderLabels(titles);

    const vantrel::db::QueryResult depts
        = theDatabase.run(u"SELECT %1, DID, ParentID, Ord FROM qz_Dept ORDER BY Ord, DID"_s.arg(
            m_columnNames.join(u", "_s)));
    const QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
    FillDeptTree(m_pModel, depts.rows, m_nDidColumn, m_nDidColumn + 1, [&](int row) {
        QList<QStandardItem *> cells;
        for (int column = 0; column < depts.rows.columnCount(); ++column) {
            auto *cell = new QStandardItem;
            cell->setData(cellValue(depts.rows.value(row, column)), Qt::DisplayRole);
            cells << cell;
        }
        cells.first()->setIcon(icon);
        cells.first()->setData(depts.rows.value(row, m_nDidColumn).toInt(), kDidRole);
        return cells;
    });
    for (int column = 0; column < m_widths.size(); ++column)
        m_pTree->setColumnWidth(column, m_widths.at(column) > 0 ? m_widths.at(column) : 100);
    for (int column = m_nDidColumn; column < m_nDidColumn + 3; ++column)
        m_pTree->setColumnHidden(column, true);
    m_pTree->expandAll();
}

QStandardItem *CDlgDeptManager::findRow(QStandardItem *parent, int did) const
{
    for (int row = 0; row < parent->rowCount(); ++row) {
        QStandardItem *child = parent->child(row, 0);
        if (child->data(kDidRole).toInt() == did)
            return child;
        if (QStandardItem *found = findRow(child, did))
            return found;
    }
    return nullptr;
}

void CDlgDeptManager::SelectDeptRow(int did)
{
    QStandardItem *item = findRow(m_pModel->invisibleRootItem(), did);
    if (!item)
        return;
    m_pTree->setCurrentIndex(item->index());
    m_pTree->scrollTo(item->index());
}

int CDlgDeptManager::selectedDid() const
{
    const QModelIndex current = m_pTree->currentIndex();
    return current.isValid() ? current.siblingAtColumn(0).data(kDidRole).toInt() : 0;
}

QString CDlgDeptManager::selectedName() const
{
    return m_pTree->currentIndex().siblingAtColumn(0).data().toString();
}

bool CDlgDeptManager::UpdateDeptParent(int did, int parentId)
{
    return bool(vantrel::admin::UpdateDeptParent(theDatabase, did, parentId));
}

void CDlgDeptManager::collectOrder(const QStandardItem *parent, QVector<int> *dids) const
{
    for (int row = 0; row < parent->rowCount(); ++row) {
        *dids << parent->child(row, 0)->data(kDidRole).toInt();
        collectOrder(parent->child(row, 0), dids);
    }
}

void CDlgDeptManager::SaveRowOrder()
{
    QVector<int> dids;
    collectOrder(m_pModel->invisibleRootItem(), &dids);
    const vantrel::Status saved = vantrel::admin::SaveDeptOrder(theDatabase, dids);
    if (!saved)
        MessageBoxFormat(this, saved.error());
}

void CDlgDeptManager::OnRefresh()
{
    const int did = selectedDid();
    SaveRowOrder();
    LoadDeptTree();
    m_bOrderChanged = false;
    SelectDeptRow(did);
}

void CDlgDeptManager::OnAdd()
{
    CDlgDynCtlFormForDept form(this);
    form.m_strCaption = u"添加部门"_s;
    form.m_nAddFlag = 1;
    form.m_pOwnerWnd = this;
    form.exec();
}

void CDlgDeptManager::OnModify()
{
    const QModelIndex current = m_pTree->currentIndex();
    if (!current.isValid()) {
        inform(this, u"请选择项！"_s);
        return;
    }
    CDlgDynCtlFormForDept form(this);
    form.m_strCaption = u"部门设置"_s;
    form.m_nAddFlag = 0;
    form.m_pOwnerWnd = this;
    form.m_nKeyValue = selectedDid();
    form.m_nOldParentID = current.siblingAtColumn(m_nDidColumn + 1).data().toInt();
    form.m_strOldName = selectedName();
    form.exec();
}

void CDlgDeptManager::OnDelete()
{
    if (!m_pTree->currentIndex().isValid()) {
        inform(this, u"请选择项！"_s);
        return;
    }
    const int did = selectedDid();
    const QString name = selectedName();
    if (did == 0)
        return;
    const AdminOutcome check = vantrel::admin::CheckDeptDelete(theDatabase, did);
    if (!check.ok) {
        ShowAdminOutcome(this, check);
        return;
    }
    if (!ask(this, u"确定要删除部门 %1 吗?"_s.arg(name)))
        return;
    if (!vantrel::admin::DeleteDept(theDatabase, did))
        return;
    theApp.WriteSystemLog(u"系统管理[组织机构删除'%1']"_s.arg(name), 0);
    OnRefresh();
}

void CDlgDeptManager::moveRow(int step)
{
    const QModelIndex current = m_pTree->currentIndex().siblingAtColumn(0);
    if (!current.isValid()) {
        inform(this, u"请选择项！"_s);
        return;
    }
    QStandardItem *item = m_pModel->itemFromIndex(current);
    QStandardItem *parent = item->parent() ? item->parent() : m_pModel->invisibleRootItem();
    const int row = item->row();
    const int other = row + step;
    if (other < 0 || other >= parent->rowCount())
        return;
    QStandardItem *neighbour = parent->child(other, 0);
    const int did = item->data(kDidRole).toInt();
    const int otherDid = neighbour->data(kDidRole).toInt();
    const int ord = parent->child(row, m_nDidColumn + 2)->data(Qt::DisplayRole).toInt();
    const int otherOrd = parent->child(other, m_nDidColumn + 2)->data(Qt::DisplayRole).toInt();
    if (item->hasChildren() || neighbour->hasChildren()) {
        // The procedure stores the order; the tree is read again.
        vantrel::admin::SwapDeptOrder(theDatabase, did, ord, otherDid, otherOrd);
        LoadDeptTree();
        SelectDeptRow(did);
        return;
    }
    const auto exchange = [&](int from, int to) {
        const QList<QStandardItem *> cells = parent->takeRow(from);
        parent->insertRow(to, cells);
        parent->child(to, m_nDidColumn + 2)->setData(from == row ? otherOrd : ord, Qt::DisplayRole);
        parent->child(from, m_nDidColumn + 2)
            ->setData(from == row ? ord : otherOrd, Qt::DisplayRole);
    };
    exchange(row, other);
    if (vantrel::admin::SwapDeptOrder(theDatabase, did, ord, otherDid, otherOrd)) {
        theApp.WriteSystemLog(u"系统管理[组织机构调序'%1']"_s.arg(item->text()), 0);
    } else {
        exchange(other, row);
    }
    m_bOrderChanged = true;
    m_pTree->setCurrentIndex(item->index());
    m_pTree->scrollTo(item->index());
}

void CDlgDeptManager::OnExit()
{
    if (m_bOrderChanged)
        SaveRowOrder();
    accept();
}

void CDlgDeptManager::reject()
{
    if (m_bOrderChanged)
        SaveRowOrder();
    CDialogExx::reject();
}

void CDlgDeptManager::storeChangedWidths()
{
    for (int column = 0; column < m_columnNames.size(); ++column) {
        const int width = m_pTree->columnWidth(column);
        if (width == m_widths.at(column))
            continue;
        m_widths[column] = width;
        vantrel::admin::StoreItemWidth(theDatabase, u"QZ_DEPT"_s, m_columnNames.at(column), width);
    }
}

bool CDlgDeptManager::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pTree->header()->viewport() && event->type() == QEvent::MouseButtonRelease)
        storeChangedWidths();
    if (watched == m_pTree) {
        if (const int step = AdminMoveKeyStep(event)) {
            moveRow(step);
            return true;
        }
    }
    return CDialogExx::eventFilter(watched, event);
}

bool CDlgDeptManager::askTarget(CDlgDeptMergeMove &dialog, const QString &verb)
{
    if (!m_pTree->currentIndex().isValid()) {
        inform(this, u"请选择项！"_s);
        return false;
    }
    const bool merge = dialog.m_nMode == CDlgDeptMergeMove::Merge;
    dialog.m_strCaption = merge ? u"部门合并"_s : u"部门移动"_s;
    dialog.m_strLabel = merge ? u"合并到："_s : u"上级部门："_s;
    dialog.m_nSourceDID = selectedDid();
    dialog.m_strSourceName = selectedName();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const vantrel::db::QueryResult still
        = theDatabase.run(u"SELECT COUNT(*) FROM qz_Dept WHERE DID = ?"_s, { dialog.m_nSourceDID });
    if (still.ok && still.scalar().toInt() == 0) {
        inform(this, LoadResString(133));
        return false;
    }
    if (merge && dialog.m_nTargetDID == 0)
        return false;
    return ask(this,
               u"确定要%1部门 '%2' 到 '%3' 吗?"_s.arg(verb, dialog.m_strSourceName,
                                                      dialog.m_strTargetName));
}

void CDlgDeptManager::OnMerge()
{
    CDlgDeptMergeMove dialog(this);
    dialog.m_nMode = CDlgDeptMergeMove::Merge;
    if (!askTarget(dialog, u"合并"_s))
        return;
    const vantrel::Status merged
        = vantrel::admin::MergeDept(theDatabase, dialog.m_nSourceDID, dialog.m_nTargetDID);
    if (!merged) {
        ShowMessage(this, u"合并部门时出现异常!"_s, LoadResString(117), QMessageBox::Critical);
        return;
    }
    theApp.WriteSystemLog(
        u"系统管理[组织机构合并('%1'->'%2')]"_s.arg(dialog.m_strSourceName, dialog.m_strTargetName),
        0);
    OnRefresh();
    SelectDeptRow(dialog.m_nTargetDID);
}

void CDlgDeptManager::OnMove()
{
    CDlgDeptMergeMove dialog(this);
    dialog.m_nMode = CDlgDeptMergeMove::Move;
    if (!askTarget(dialog, u"移动"_s))
        return;
    if (!UpdateDeptParent(dialog.m_nSourceDID, dialog.m_nTargetDID)) {
        inform(this, u"在调整上级部门时出现异常!"_s);
        return;
    }
    theApp.WriteSystemLog(
        u"系统管理[组织机构移动('%1'->'%2')]"_s.arg(dialog.m_strSourceName, dialog.m_strTargetName),
        0);
    SaveRowOrder();
    LoadDeptTree();
    SelectDeptRow(dialog.m_nSourceDID);
}
