#include "admin/ui/cdlgsystemtablemanage.h"

#include "admin/structurestore.h"
#include "admin/ui/adminmessages.h"
#include "admin/ui/admintoolbar.h"
#include "admin/ui/cdlgdbtableitemset.h"
#include "admin/ui/cdlgdbtableset.h"
#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/query/itemmetadata.h"
#include "core/query/ordermoves.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/cmybcgpgridview.h"
#include "ui/controls/cmytreeview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QVBoxLayout>

#include <functional>

using namespace Qt::StringLiterals;
using vantrel::admin::AdminOutcome;
using vantrel::admin::StructureStore;

namespace {

// Columns of the table list and of the item list, as their procedures give them.
enum TableColumn { TabID, TabName, TabTitle, TabFixed, TabDescr, TabShow, TabParent, TabOrd };
enum ItemColumn {
    ItmID,
    ItmName,
    ItmAlias,
    ItmShow,
    ItmType,
    ItmReference,
    ItmDefault,
    ItmNotNull,
    ItmLength,
    ItmFixed,
    ItmIdRef,
    ItmOrd
};

const QString kTypeChoices = u"#0;数值|#1;字符|#2;日期|#3;参照|#4;引用|#255;内定"_s;

// The text a stored data type shows, from the choice list "#value;text|…".
QString typeText(const QVariant &value)
{
    static const QHash<int, QString> texts = [] {
        QHash<int, QString> parsed;
        for (const QString &choice : kTypeChoices.split(u'|')) {
            const qsizetype separator = choice.indexOf(u';');
            parsed.insert(choice.mid(1, separator - 1).toInt(), choice.mid(separator + 1));
        }
        return parsed;
    }();
    return value.isValid() ? texts.value(value.toInt(), value.toString()) : QString();
}

// Shows cells through a text function, left-aligned.
class CellTextDelegate : public QStyledItemDelegate
{
public:
    CellTextDelegate(std::function<QString(int row, int column)> text, QObject *parent)
        : QStyledItemDelegate(parent), m_text(std::move(text))
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = m_text(index.row(), index.column());
        option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    }

private:
    std::function<QString(int, int)> m_text;
};

bool confirm(QWidget *owner, const QString &question)
{
    return ShowMessage(owner, question, LoadResString(117), QMessageBox::Warning,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

// Runs a delete under the wait cursor; false, after telling why, when it failed.
bool deleted(QWidget *owner, const std::function<AdminOutcome()> &run)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const AdminOutcome outcome = run();
    QApplication::restoreOverrideCursor();
    if (!outcome.ok)
        ShowAdminOutcome(owner, outcome);
    return outcome.ok;
}

QTreeWidgetItem *newNode(const QString &title, int id, int image)
{
    static const QHash<int, QStyle::StandardPixmap> icons
        = { { CDlgSystemTableManage::RootImage, QStyle::SP_ComputerIcon },
            { CDlgSystemTableManage::FlaggedImage, QStyle::SP_DriveHDIcon },
            { CDlgSystemTableManage::TableImage, QStyle::SP_FileDialogDetailedView } };
    auto *node = new QTreeWidgetItem({ title });
    node->setData(0, Qt::UserRole, id);
    node->setData(0, CDlgSystemTableManage::ImageRole, image);
    node->setIcon(0, QApplication::style()->standardIcon(icons.value(image)));
    return node;
}

} // namespace

CDlgSystemTableManage::CDlgSystemTableManage(QWidget *parent) : CDialogExx(510, 0, parent)
{
    setWindowTitle(u"系统数据表管理"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    buildToolBar();

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_pTree = new CMyTreeView(splitter);
    m_pTree->setObjectName(u"tree"_s);
    m_pTree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTree->installEventFilter(this);
    m_pGridView = new CMyBCGPGridView(splitter);
    m_pGrid = m_pGridView->GetGridCtrl();
    m_pGrid->setObjectName(u"grid"_s);
    m_pGrid->SetReadOnly(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->horizontalHeader()->setVisible(true);
    m_pGrid->installEventFilter(this);
    if (auto *footer = m_pGridView->findChild<QLabel *>(u"gridFooter"_s)) {
        QPalette palette = footer->palette();
        palette.setColor(QPalette::Button, CDialogExx::backgroundColor());
        footer->setPalette(palette);
    }
    splitter->addWidget(m_pTree);
    splitter->addWidget(m_pGridView);
    splitter->setSizes({ 180, 600 });

    connect(m_pTree, &CMyTreeView::treeSelChanged, this, [this](const TreeItemNotify &notify) {
        m_nTableID = notify.itemData;
        m_strTitle = notify.item->text(0);
        LoadGrid();
    });
    connect(m_pGridView, &CMyBCGPGridView::gridDblClk, this, &CDlgSystemTableManage::OnModify);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_pToolBar);
    layout->addWidget(splitter, 1);
    resize(800, 540);
    LoadTree();
}

void CDlgSystemTableManage::buildToolBar()
{
    m_pToolBar = CreateAdminToolBar(
        this,
        {
            { u"新建"_s, u"添加(&A)"_s, u"添加"_s, QStyle::SP_FileDialogNewFolder,
              [this] { OnAdd(); } },
            { u"修改"_s, u"修改(&E)"_s, u"修改"_s, QStyle::SP_FileDialogDetailedView,
              [this] { OnModify(); } },
            { u"删除"_s, u"删除(&D)"_s, u"删除"_s, QStyle::SP_TrashIcon, [this] { OnDelete(); },
              true },
            { u"向上"_s, u"上移(Ctrl+Shift+Up)"_s, u"向上移动(Ctrl+Shift+Up)"_s, QStyle::SP_ArrowUp,
              [this] { OnUp(); } },
            { u"向下"_s, u"下移(Ctrl+Shift+Down)"_s, u"向下移动(Ctrl+Shift+Down)"_s,
              QStyle::SP_ArrowDown, [this] { OnDown(); }, true },
            { u"刷新"_s, u"刷新(&R)"_s, u"刷新列表"_s, QStyle::SP_BrowserReload,
              [this] { LoadTree(); }, true },
            { u"退出"_s, u"退出(&C)"_s, u"关闭窗口"_s, QStyle::SP_DialogCloseButton,
              [this] { accept(); } },
        });
}

void CDlgSystemTableManage::LoadTree()
{
    m_pTree->setUpdatesEnabled(false);
    m_pTree->clear();
    auto *root = newNode(u"系统数据表"_s, 0, RootImage);
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    m_pTree->addTopLevelItem(root);
    const vantrel::db::QueryResult tables = theDatabase.run(
        u"SELECT ID,Title,Flag,ParentID FROM qz_Table WHERE nType<>6 ORDER BY Ord, ID"_s);
    QHash<int, QTreeWidgetItem *> nodes { { 0, root } };
    QVector<int> pending;
    for (int row = 0; row < tables.rows.rowCount(); ++row)
        pending << row;
    // Parents come first in no particular order: place what can be placed until nothing moves.
    for (bool placed = true; placed && !pending.isEmpty();) {
        placed = false;
        QVector<int> left;
        for (int row : std::as_const(pending)) {
            QTreeWidgetItem *parent = nodes.value(tables.rows.value(row, 3).toInt());
            if (!parent) {
                left << row;
                continue;
            }
            const int id = tables.rows.value(row, 0).toInt();
            auto *node
                = newNode(tables.rows.text(row, 1), id,
                          tables.rows.value(row, 2).toInt() != 0 ? FlaggedImage : TableImage);
            parent->addChild(node);
            parent->setExpanded(true);
            nodes.insert(id, node);
            placed = true;
        }
        pending = left;
    }
    m_pTree->setUpdatesEnabled(true);
    root->setExpanded(true);
    m_pTree->setCurrentItem(root);
    m_pTree->setFocus();
}

void CDlgSystemTableManage::LoadGrid()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pGrid->Close();
    m_pGrid->AttachConnection(&theDatabase);
    m_pGrid->setUpdatesEnabled(false);
    m_referenceTexts.clear();
    const bool tables = m_nTableID == 0;
    CADOCommand command(&theDatabase,
                        tables ? u"qz_SelectSystemDBTable"_s : u"qz_SelectFieldsByTableID"_s);
    command.AddParameterInt(tables ? u"UserID"_s : u"TableID"_s, adInteger, adParamInput, 4,
                            tables ? theCurrentUser.UserID : m_nTableID);
    if (m_pGrid->OpenCommand(command)) {
        if (tables)
            formatTableGrid();
        else
            formatItemGrid();
        m_pGridView->SetFooterText(1, u"%1：%2 项"_s.arg(m_strTitle).arg(m_pGrid->GetRowCount()));
        if (m_pGrid->GetRowCount() > 0)
            m_pGrid->SetCurSel(0);
    } else {
        m_pGrid->Close();
        m_pGrid->AttachConnection(&theDatabase);
        m_pGridView->SetFooterText(1, QString());
    }
    m_pGrid->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
}

void CDlgSystemTableManage::formatTableGrid()
{
    RecordsetGridModel *model = m_pGrid->GetGridModel();
    for (int column : { int(TabID), int(TabParent), int(TabOrd) })
        m_pGrid->setColumnHidden(column, true);
    const std::pair<int, int> widths[] = {
        { TabName, 120 }, { TabTitle, 150 }, { TabFixed, 60 }, { TabDescr, 200 }, { TabShow, 60 }
    };
    for (const auto &[column, width] : widths)
        m_pGrid->setColumnWidth(column, width);
    model->setColumnFormat(TabTitle, { {}, {}, true });
    model->setCellKind(TabFixed, RecordsetGridModel::CheckCell);
    model->setCellKind(TabShow, RecordsetGridModel::CheckCell);
    m_pGrid->setItemDelegateForColumn(ItmType, nullptr);
    m_pGrid->setItemDelegateForColumn(ItmReference, nullptr);
}

void CDlgSystemTableManage::formatItemGrid()
{
    RecordsetGridModel *model = m_pGrid->GetGridModel();
    for (int column : { int(ItmID), int(ItmIdRef), int(ItmOrd) })
        m_pGrid->setColumnHidden(column, true);
    const std::pair<int, int> widths[]
        = { { ItmName, 100 },   { ItmAlias, 150 },     { ItmShow, 80 },
            { ItmType, 80 },    { ItmReference, 200 }, { ItmDefault, 120 },
            { ItmNotNull, 80 }, { ItmLength, 80 },     { ItmFixed, 80 } };
    for (const auto &[column, width] : widths)
        m_pGrid->setColumnWidth(column, width);
    model->setColumnFormat(ItmAlias, { {}, {}, true });
    for (int column : { int(ItmShow), int(ItmNotNull), int(ItmFixed) })
        model->setCellKind(column, RecordsetGridModel::CheckCell);
    for (int row = 0; row < m_pGrid->GetRowCount(); ++row) {
        const int type = m_pGrid->GetFieldValue(row, ItmType).toInt();
        const QString reference = m_pGrid->GetFieldValue(row, ItmIdRef).toString();
        if (type == ItemDictionary && reference.indexOf(u'.', 1) > 0)
            m_referenceTexts.insert(m_pGrid->GetRecordOfRow(row),
                                    GetTableTitle(reference) + u".名称"_s);
        else if (type == ItemLink)
            m_referenceTexts.insert(m_pGrid->GetRecordOfRow(row), GetTableTitle(reference));
    }
    auto *delegate = new CellTextDelegate(
        [this](int row, int column) { return cellText(row, column); }, m_pGrid);
    m_pGrid->setItemDelegateForColumn(ItmType, delegate);
    m_pGrid->setItemDelegateForColumn(ItmReference, delegate);
}

QString CDlgSystemTableManage::cellText(int row, int column) const
{
    if (m_nTableID != 0 && column == ItmType)
        return typeText(m_pGrid->GetFieldValue(row, column));
    if (m_nTableID != 0 && column == ItmReference) {
        const auto found = m_referenceTexts.constFind(m_pGrid->GetRecordOfRow(row));
        if (found != m_referenceTexts.cend())
            return *found;
    }
    return m_pGrid->GetGridModel()->displayText(row, column);
}

bool CDlgSystemTableManage::readTableNames(CDlgDBTableItemSet *editor) const
{
    const vantrel::db::QueryResult table
        = theDatabase.run(u"SELECT TblName,Title FROM qz_Table WHERE ID=?"_s, { m_nTableID });
    editor->m_strTableName = table.rows.text(0, 0);
    editor->m_strTableTitle = table.rows.text(0, 1);
    return !table.ok || table.hasRow();
}

int CDlgSystemTableManage::commandRow()
{
    if (!m_pTree->currentItem())
        return -1;
    const int row = m_pGrid->GetCurSel();
    if (row < 0)
        ShowMessage(this, LoadResString(111), LoadResString(117), QMessageBox::Information);
    return row;
}

void CDlgSystemTableManage::OnAdd()
{
    if (m_nTableID == 0) {
        CDlgDBTableSet dialog(this);
        dialog.m_strCaption = u"新建数据表"_s;
        dialog.m_nAdd = 1;
        if (dialog.exec() == QDialog::Accepted)
            LoadTree();
        return;
    }
    if (m_nTableID < 0)
        return;
    CDlgDBTableItemSet dialog(this);
    dialog.m_strCaption = u"新建字段"_s;
    dialog.m_nAdd = 1;
    readTableNames(&dialog);
    if (dialog.exec() == QDialog::Accepted)
        LoadGrid();
}

void CDlgSystemTableManage::OnModify()
{
    const int row = commandRow();
    if (row < 0)
        return;
    const auto field = [this, row](int column) { return m_pGrid->GetFieldValue(row, column); };
    if (m_nTableID == 0) {
        CDlgDBTableSet dialog(this);
        dialog.m_strCaption = u"修改数据表"_s;
        dialog.m_nAdd = 0;
        dialog.m_nID = field(TabID).toInt();
        dialog.m_strTitle = field(TabTitle).toString();
        dialog.m_nFixed = field(TabFixed).toInt() != 0 ? 1 : 0;
        dialog.m_strDescr = field(TabDescr).toString();
        dialog.m_nShow = field(TabShow).toInt() != 0 ? 1 : 0;
        dialog.m_nParentID = field(TabParent).toInt();
        if (dialog.exec() == QDialog::Accepted)
            LoadTree();
        return;
    }
    CDlgDBTableItemSet dialog(this);
    if (!readTableNames(&dialog)) {
        ShowMessage(this, LoadResString(133), LoadResString(117), QMessageBox::Information);
        return;
    }
    dialog.m_strCaption = u"修改字段"_s;
    dialog.m_nAdd = 0;
    dialog.m_nItemID = field(ItmID).toInt();
    dialog.m_strAlias = field(ItmAlias).toString();
    dialog.m_nShow = field(ItmShow).toInt() != 0 ? 1 : 0;
    dialog.m_nDataType = field(ItmType).toInt();
    dialog.m_strDefValue = field(ItmDefault).toString();
    dialog.m_nNotNull = field(ItmNotNull).toInt() != 0 ? 1 : 0;
    dialog.m_nLength = field(ItmLength).toInt();
    dialog.m_strIdRef = field(ItmIdRef).toString();
    if (dialog.exec() == QDialog::Accepted)
        LoadGrid();
}

void CDlgSystemTableManage::OnDelete()
{
    const int row = commandRow();
    if (row < 0)
        return;
    StructureStore store(theDatabase);
    if (m_nTableID == 0) {
        const int id = m_pGrid->GetFieldValue(row, TabID).toInt();
        const QString title = m_pGrid->GetFieldValue(row, TabTitle).toString();
        const AdminOutcome check
            = store.checkTableDelete(id, m_pGrid->GetFieldValue(row, TabName).toString(),
                                     m_pGrid->GetFieldValue(row, TabFixed).toInt() != 0);
        if (!check.ok) {
            ShowAdminOutcome(this, check);
            return;
        }
        if (!confirm(this, u"确定要删除数据表“%1”吗?"_s.arg(title)))
            return;
        if (!deleted(this, [&] { return store.deleteTable(id); }))
            return;
        theApp.WriteSystemLog(u"系统管理[删除数据表'%1']"_s.arg(title), 0);
        LoadTree();
        return;
    }
    if (m_pGrid->GetFieldValue(row, ItmFixed).toInt() != 0) {
        ShowMessage(this, u"系统固定字段,不能删除!"_s, LoadResString(117), QMessageBox::Warning);
        return;
    }
    const QString alias = m_pGrid->GetFieldValue(row, ItmAlias).toString();
    if (!confirm(
            this,
            u"删除字段将同时删除字段下的档案数据！\r\n\r\n确定要删除数据表'%1'字段'%2'吗?"_s.arg(
                m_strTitle, alias)))
        return;
    // The column goes with its data: SQLite rewrites the whole table.
    const int itemId = m_pGrid->GetFieldValue(row, ItmID).toInt();
    if (!deleted(this, [&] { return store.deleteItem(itemId); }))
        return;
    theApp.WriteSystemLog(u"系统管理[删除数据表'%1'字段'%2']"_s.arg(m_strTitle, alias), 0);
    LoadGrid();
}

void CDlgSystemTableManage::OnUp()
{
    move(-1);
}

void CDlgSystemTableManage::OnDown()
{
    move(1);
}

void CDlgSystemTableManage::move(int step)
{
    const int row = commandRow();
    if (row < 0)
        return;
    const bool tables = m_nTableID == 0;
    const int neighbour = row + step;
    const int key = m_pGrid->GetFieldValue(row, 0).toInt();
    if (neighbour >= 0 && neighbour < m_pGrid->GetRowCount()) {
        const OrderColumns order = tables
            ? OrderColumns { u"qz_Table"_s, u"ID"_s, u"Ord"_s, {}, {} }
            : OrderColumns { u"qz_Items"_s, u"ItemID"_s, u"Ord"_s, {}, {} };
        const vantrel::Status moved
            = ExchangeOrder(order, key, m_pGrid->GetFieldValue(neighbour, 0).toInt());
        if (!moved) {
            ShowMessage(this, moved.error(), LoadResString(117), QMessageBox::Critical);
            return;
        }
        LoadGrid();
        selectKey(key);
    }
    // Logged also when the row was first or last and nothing moved.
    theApp.WriteSystemLog(
        tables ? u"系统管理[数据表调序]"_s : u"系统管理[数据表'%1'字段调序]"_s.arg(m_strTitle), 0);
}

void CDlgSystemTableManage::selectKey(int key)
{
    for (int row = 0; row < m_pGrid->GetRowCount(); ++row) {
        if (m_pGrid->GetFieldValue(row, 0).toInt() == key) {
            m_pGrid->SetCurSel(row);
            return;
        }
    }
}

bool CDlgSystemTableManage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_pTree || watched == m_pGrid)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const auto modifiers = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        if (modifiers == (Qt::ShiftModifier | Qt::ControlModifier)
            && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            move(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            (watched == m_pTree ? static_cast<QWidget *>(m_pGrid) : m_pTree)
                ->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return CDialogExx::eventFilter(watched, event);
}

void CDlgSystemTableManage::contextMenuEvent(QContextMenuEvent *event)
{
    ShowAdminToolBarMenu(m_pToolBar, this, event->globalPos());
}
