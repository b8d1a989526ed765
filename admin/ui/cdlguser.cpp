#include "admin/ui/cdlguser.h"

#include "admin/operatorsave.h"
#include "admin/ui/adminmessages.h"
#include "core/app/currentuser.h"
#include "core/app/purview.h"
#include "core/app/purviewtable.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/fillers.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using vantrel::admin::AdminOutcome;

namespace {

constexpr int CheckColumn = 1;
constexpr int IdColumn = 2;   // categories, departments, wage sets
constexpr int MaskColumn = 3; // rights

// The rights tree: each root with its rights in the order they are shown.
struct RightGroup
{
    int root;
    QList<int> rights;
};
const RightGroup kRightGroups[] = {
    { 0, { 1, 2, 3, 4, 11, 12, 14, 15, 5, 8, 9, 10, 13, 6, 7 } },
    { 16, { 32, 17, 18, 19, 20, 31, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30 } },
    { 33, { 34, 35, 36, 37, 38 } },
};

void setChecked(QTreeWidgetItem *row, bool checked)
{
    row->setCheckState(CheckColumn, checked ? Qt::Checked : Qt::Unchecked);
}

void setSubtree(QTreeWidgetItem *row, bool checked)
{
    setChecked(row, checked);
    for (int i = 0; i < row->childCount(); ++i)
        setSubtree(row->child(i), checked);
}

// Every row of a grid, all levels, in grid order.
QList<QTreeWidgetItem *> allRows(QTreeWidget *grid)
{
    QList<QTreeWidgetItem *> rows;
    for (QTreeWidgetItemIterator it(grid); *it; ++it)
        rows << *it;
    return rows;
}

QTreeWidgetItem *newRow(const QStringList &texts)
{
    auto *row = new QTreeWidgetItem(texts);
    // The check is ours to toggle: Qt's own toggling would not propagate our way.
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setChecked(row, false);
    return row;
}

void addDeptRows(QTreeWidgetItem *parent, QTreeWidget *grid, const RefTree &nodes, int parentId)
{
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    for (const RefTreeNode &node : nodes) {
        QTreeWidgetItem *row
            = newRow({ node.title, {}, QString::number(node.id), QString::number(parentId) });
        row->setIcon(0, icon);
        if (parent)
            parent->addChild(row);
        else
            grid->addTopLevelItem(row);
        addDeptRows(row, grid, node.children, node.id);
    }
}

} // namespace

CDLGUser::CDLGUser(QWidget *parent) : CDialogExx(0, 0, parent), m_strTitle(u"新增用户"_s)
{
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    buildLayout();
}

void CDLGUser::buildLayout()
{
    m_pUserName = new QLineEdit(this);
    m_pUserName->setObjectName(u"userName"_s);
    m_pDescr = new QLineEdit(this);
    m_pDescr->setObjectName(u"description"_s);
    m_pPwd = new QLineEdit(this);
    m_pPwd->setObjectName(u"password"_s);
    m_pPwd->setEchoMode(QLineEdit::Password);
    m_pPwdConfirm = new QLineEdit(this);
    m_pPwdConfirm->setObjectName(u"confirmation"_s);
    m_pPwdConfirm->setEchoMode(QLineEdit::Password);
    m_pLocked = new QCheckBox(u"锁定该用户"_s, this);
    m_pLocked->setObjectName(u"locked"_s);
    m_pNote = new QLabel(u"注：此处为空时不修改口令"_s, this);
    m_pNote->setObjectName(u"note"_s);

    auto *form = new QFormLayout;
    form->addRow(u"用户名："_s, m_pUserName);
    form->addRow(u"描述："_s, m_pDescr);
    form->addRow(u"登录口令："_s, m_pPwd);
    form->addRow(u"口令确认："_s, m_pPwdConfirm);
    form->addRow(QString(), m_pLocked);
    form->addRow(QString(), m_pNote);

    m_pTabs = new QTabWidget(this);
    m_pTabs->setObjectName(u"tabs"_s);
    m_grids[RightsTab]
        = makeGrid({ u"功能"_s, u"权限"_s, u"说明"_s, u"标识"_s }, { 150, 30, 130, 5 }, 3);
    m_grids[PsnSortTab] = makeGrid({ u"名称"_s, u"权限"_s, u"ID"_s }, { 150, 30, 10 }, 2);
    m_grids[DeptTab]
        = makeGrid({ u"名称"_s, u"权限"_s, u"DID"_s, u"ParentID"_s }, { 150, 30, 10, 10 }, 2);
    m_grids[WageSetTab] = makeGrid({ u"名称"_s, u"权限"_s, u"ID"_s }, { 150, 30, 10 }, 2);
    const QString names[] = { u"rightsGrid"_s, u"psnSortGrid"_s, u"deptGrid"_s, u"wageSetGrid"_s };
    const QString labels[] = { u"功能权限"_s, u"人员类别权限"_s, u"部门权限"_s, u"薪资类别权限"_s };
    for (int tab = RightsTab; tab <= WageSetTab; ++tab) {
        m_grids[tab]->setObjectName(names[tab]);
        m_pTabs->addTab(m_grids[tab], labels[tab]);
    }
    connect(m_pTabs, &QTabWidget::currentChanged, this, [this](int tab) {
        if (QTreeWidget *shown = m_grids[qBound(0, tab, 3)]; shown->currentItem())
            shown->currentItem()->setSelected(true);
    });

    m_pSelectAll = new QPushButton(u"全选(&A)"_s, this);
    m_pSelectAll->setObjectName(u"selectAll"_s);
    m_pSelectNone = new QPushButton(u"全不选(&U)"_s, this);
    m_pSelectNone->setObjectName(u"selectNone"_s);
    connect(m_pSelectAll, &QPushButton::clicked, this, [this] { SetAllChecks(true); });
    connect(m_pSelectNone, &QPushButton::clicked, this, [this] { SetAllChecks(false); });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(u"okButton"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDLGUser::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDLGUser::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_pSelectAll);
    bottom->addWidget(m_pSelectNone);
    bottom->addStretch(1);
    bottom->addWidget(buttons);

    auto *nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(nextTab, &QShortcut::activated, this, [this] {
        if (m_pTabs->isEnabled())
            m_pTabs->setCurrentIndex((m_pTabs->currentIndex() + 1) % m_pTabs->count());
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pTabs, 1);
    layout->addLayout(bottom);
    resize(520, 560);
}

QTreeWidget *CDLGUser::makeGrid(const QStringList &titles, const QList<int> &widths, int hiddenFrom)
{
    auto *grid = new QTreeWidget(this);
    grid->setColumnCount(int(titles.size()));
    grid->setHeaderLabels(titles);
    for (int column = 0; column < titles.size(); ++column) {
        grid->setColumnWidth(column, widths.value(column));
        grid->setColumnHidden(column, column >= hiddenFrom);
    }
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    return grid;
}

void CDLGUser::FillRightsGrid()
{
    QTreeWidget *grid = m_grids[RightsTab];
    const QStyle *style = QApplication::style();
    const QIcon rootIcon = style->standardIcon(QStyle::SP_DirIcon);
    const QIcon rightIcon = style->standardIcon(QStyle::SP_FileIcon);
    auto row = [](int index) {
        const tagRightInfo &right = PurviewTable[size_t(index)];
        return newRow({ right.name.toString(),
                        {},
                        right.description.toString(),
                        QString::number(right.mask, 16) });
    };
    for (const RightGroup &group : kRightGroups) {
        QTreeWidgetItem *root = row(group.root);
        root->setIcon(0, rootIcon);
        grid->addTopLevelItem(root);
        for (int index : group.rights) {
            QTreeWidgetItem *child = row(index);
            child->setIcon(0, rightIcon);
            root->addChild(child);
        }
    }
    grid->expandAll();
    grid->setCurrentItem(grid->topLevelItem(0));
}

void CDLGUser::FillPsnSortGrid()
{
    const auto rows = theDatabase.run(u"SELECT AID,Name FROM qz_PsnSort ORDER BY Ord"_s);
    for (int i = 0; i < rows.rows.rowCount(); ++i)
        m_grids[PsnSortTab]->addTopLevelItem(
            newRow({ rows.rows.text(i, 1), {}, rows.rows.text(i, 0) }));
    m_grids[PsnSortTab]->setCurrentItem(m_grids[PsnSortTab]->topLevelItem(0));
}

void CDLGUser::FillDeptGrid()
{
    // The whole tree in one query, as a super user sees it.
    CCurrentUser everything;
    everything.ISuper = 1;
    const vantrel::Result<RefTree> tree = LoadDeptTree(0, everything);
    if (tree)
        addDeptRows(nullptr, m_grids[DeptTab], *tree, 0);
    m_grids[DeptTab]->expandAll();
    m_grids[DeptTab]->setCurrentItem(m_grids[DeptTab]->topLevelItem(0));
}

void CDLGUser::FillWageSetGrid()
{
    const auto rows
        = theDatabase.run(u"SELECT ID,Title FROM qz_Table WHERE nType=6 ORDER BY Ord"_s);
    for (int i = 0; i < rows.rows.rowCount(); ++i)
        m_grids[WageSetTab]->addTopLevelItem(
            newRow({ rows.rows.text(i, 1), {}, rows.rows.text(i, 0) }));
    m_grids[WageSetTab]->setCurrentItem(m_grids[WageSetTab]->topLevelItem(0));
}

void CDLGUser::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        loadFromValues();
    }
    CDialogExx::showEvent(event);
}

void CDLGUser::loadFromValues()
{
    setWindowTitle(m_strTitle);
    m_pUserName->setText(m_strUserName);
    m_pDescr->setText(m_strDescr);
    m_pPwd->setText(m_strPwd);
    m_pPwdConfirm->setText(m_strPwdConfirm);
    m_pLocked->setChecked(m_nLocked != 0);
    FillRightsGrid();
    FillPsnSortGrid();
    FillDeptGrid();
    FillWageSetGrid();

    const QStringList fields = m_strPurview.split(u'|');
    if (!m_strPurview.isEmpty()) {
        Purview purview;
        purview.parse(m_strPurview);
        CheckRightsByMask(purview.mask);
        if (fields.size() >= 2)
            CheckRowsByIdList(m_grids[PsnSortTab], purview.categories);
        if (fields.size() >= 3)
            CheckRowsByIdList(m_grids[DeptTab], purview.departments);
        if (fields.size() >= 4)
            CheckRowsByIdList(m_grids[WageSetTab], purview.wageSets);
    }
    if (m_nSuper != 0) {
        for (QWidget *widget : std::initializer_list<QWidget *> {
                 m_pUserName, m_pLocked, m_pDescr, m_pSelectAll, m_pSelectNone, m_pTabs })
            widget->setEnabled(false);
    }
    m_pNote->setVisible(m_nNew == 0);
}

bool CDLGUser::isChecked(const QTreeWidgetItem *row)
{
    return row->checkState(CheckColumn) == Qt::Checked;
}

void CDLGUser::CheckRightsByMask(quint64 mask)
{
    for (QTreeWidgetItem *row : allRows(m_grids[RightsTab]))
        setChecked(row, (row->text(MaskColumn).toULongLong(nullptr, 16) & mask) != 0);
}

void CDLGUser::CheckRowsByIdList(QTreeWidget *grid, const QString &list)
{
    if (list.isEmpty())
        return;
    for (QTreeWidgetItem *row : allRows(grid))
        setChecked(row, Purview::listContains(list, row->text(IdColumn).toInt()));
}

quint64 CDLGUser::BuildRightsMask() const
{
    quint64 mask = 0;
    for (QTreeWidgetItem *row : allRows(m_grids[RightsTab]))
        if (isChecked(row))
            mask |= row->text(MaskColumn).toULongLong(nullptr, 16);
    return mask;
}

QList<int> CDLGUser::BuildIdList(QTreeWidget *grid) const
{
    QList<int> ids;
    for (QTreeWidgetItem *row : allRows(grid))
        if (isChecked(row))
            ids << row->text(IdColumn).toInt();
    return ids;
}

void CDLGUser::ToggleRowCheck(QTreeWidget *grid, QTreeWidgetItem *row)
{
    const bool checked = !isChecked(row);
    if (grid != m_grids[RightsTab] && grid != m_grids[DeptTab]) {
        setChecked(row, checked);
        return;
    }
    setSubtree(row, checked);
    SyncParentCheck(row, checked);
}

void CDLGUser::SyncParentCheck(QTreeWidgetItem *row, bool checked)
{
    for (QTreeWidgetItem *parent = row->parent(); parent; parent = parent->parent()) {
        bool allSame = true;
        for (int i = 0; i < parent->childCount() && allSame; ++i)
            allSame = isChecked(parent->child(i)) == checked;
        if (allSame) {
            setChecked(parent, checked);
            continue;
        }
        if (checked)
            setChecked(parent, true);
        return;
    }
}

void CDLGUser::SetAllChecks(bool checked)
{
    for (QTreeWidgetItem *row : allRows(m_grids[qBound(0, m_pTabs->currentIndex(), 3)]))
        setChecked(row, checked);
}

QTreeWidget *CDLGUser::gridOf(QObject *watched) const
{
    for (QTreeWidget *grid : m_grids)
        if (watched == grid || watched == grid->viewport())
            return grid;
    return nullptr;
}

bool CDLGUser::eventFilter(QObject *watched, QEvent *event)
{
    QTreeWidget *grid = gridOf(watched);
    if (!grid)
        return CDialogExx::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease && watched == grid->viewport()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex index = grid->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index.isValid() && index.column() == CheckColumn) {
            QTreeWidgetItem *row = grid->itemFromIndex(index);
            grid->setCurrentItem(row, CheckColumn);
            ToggleRowCheck(grid, row);
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && watched == grid) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && grid->currentItem()) {
            ToggleRowCheck(grid, grid->currentItem());
            return true;
        }
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ControlModifier)) {
            m_pUserName->setFocus();
            return true;
        }
    }
    return CDialogExx::eventFilter(watched, event);
}

void CDLGUser::accept()
{
    vantrel::admin::OperatorInput input;
    input.isNew = m_nNew != 0;
    input.userId = m_nUserID;
    input.userName = m_pUserName->text();
    input.openedUserName = m_strUserName;
    input.password = m_pPwd->text();
    input.confirmation = m_pPwdConfirm->text();
    input.description = m_pDescr->text();
    input.locked = m_pLocked->isChecked();
    input.rightsMask = BuildRightsMask();
    input.categories = BuildIdList(m_grids[PsnSortTab]);
    input.departments = BuildIdList(m_grids[DeptTab]);
    input.wageSets = BuildIdList(m_grids[WageSetTab]);

    const AdminOutcome outcome = vantrel::admin::OperatorSave(theDatabase).save(input);
    // A name checked once counts as the dialog's name for the next attempt.
    if (outcome.focus != AdminOutcome::Field::UserName && !input.userName.trimmed().isEmpty())
        m_strUserName = input.userName.trimmed();
    if (!outcome.ok) {
        ShowAdminOutcome(this, outcome);
        if (outcome.focus == AdminOutcome::Field::UserName)
            m_pUserName->setFocus();
        else if (outcome.focus == AdminOutcome::Field::Password)
            m_pPwd->setFocus();
        return;
    }
    m_strUserName = input.userName.trimmed();
    m_strDescr = input.description;
    m_nLocked = input.locked ? 1 : 0;
    m_strPurview = vantrel::admin::OperatorSave::purviewText(input);
    theApp.WriteSystemLog(
        u"系统管理[%1操作用户'%2']"_s.arg(input.isNew ? u"新增"_s : u"修改"_s, m_strUserName), 0);
    CDialogExx::accept();
}
