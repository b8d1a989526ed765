#include "admin/ui/cdlgsystemdictmanage.h"

#include "admin/dictionarystore.h"
#include "admin/ui/adminmessages.h"
#include "admin/ui/cdlgsystemdicitem.h"
#include "admin/ui/cdlgsystemdicsort.h"
#include "core/app/vantrelapp.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/cmybcgpgridview.h"
#include "ui/controls/cmytreeview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using vantrel::admin::AdminOutcome;
using vantrel::admin::DictionaryStore;
using vantrel::admin::DictNode;

namespace {

enum Column { ColID, ColDictId, ColCode, ColTitle, ColParent, ColActive, ColChildren };

int dataOf(const QTreeWidgetItem *node)
{
    return node ? node->data(0, Qt::UserRole).toInt() : 0;
}

QTreeWidgetItem *newNode(const QString &title, int data, bool hasChildren,
                         QStyle::StandardPixmap icon)
{
    auto *node = new QTreeWidgetItem({ title });
    node->setData(0, Qt::UserRole, data);
    node->setIcon(0, QApplication::style()->standardIcon(icon));
    node->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                              : QTreeWidgetItem::DontShowIndicator);
    return node;
}

bool confirm(QWidget *owner, const QString &question)
{
    return ShowMessage(owner, question, LoadResString(117), QMessageBox::Warning,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace

CDlgSystemDictManage::CDlgSystemDictManage(QWidget *parent) : CDialogExx(509, 0, parent)
{
    setWindowTitle(u"基础档案"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    buildToolBar();

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_pTree = new CMyTreeView(splitter);
    m_pTree->setObjectName(u"tree"_s);
    m_pTree->installEventFilter(this);
    auto *right = new QWidget(splitter);
    m_pGridView = new CMyBCGPGridView(right);
    m_pGrid = m_pGridView->GetGridCtrl();
    m_pGrid->setObjectName(u"grid"_s);
    m_pGrid->SetReadOnly(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->installEventFilter(this);
    m_pGrid->AttachConnection(&theDatabase);
    m_pFooter = new QLabel(right);
    m_pFooter->setObjectName(u"footer"_s);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(m_pGridView, 1);
    rightLayout->addWidget(m_pFooter);
    splitter->addWidget(m_pTree);
    splitter->addWidget(right);
    splitter->setSizes({ 200, 600 });

    connect(m_pTree, &CMyTreeView::treeSelChanged, this,
            [this](const TreeItemNotify &notify) { LoadGrid(notify.item); });
    connect(m_pTree, &CMyTreeView::treeItemExpanding, this,
            [this](const TreeItemNotify &notify) { fillNode(notify.item); });
    connect(m_pGridView, &CMyBCGPGridView::gridDblClk, this, &CDlgSystemDictManage::OnModifyItem);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_pToolBar);
    layout->addWidget(splitter, 1);
    resize(820, 520);
    LoadTree();
}

void CDlgSystemDictManage::buildToolBar()
{
    m_pToolBar = new QToolBar(this);
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pClassMenu = new QMenu(u"档案类"_s, this);
    m_pClassMenu->addAction(u"添加类(&A)"_s, this, &CDlgSystemDictManage::OnAddClass);
    m_pClassMenu->addAction(u"修改类(&E)"_s, this, &CDlgSystemDictManage::OnModifyClass);
    m_pClassMenu->addAction(u"删除类(&D)"_s, this, &CDlgSystemDictManage::OnDeleteClass);
    m_pItemMenu = new QMenu(u"档案项"_s, this);
    m_pItemMenu->addAction(u"添加项(&A)"_s, this, &CDlgSystemDictManage::OnAddItem);
    m_pItemMenu->addAction(u"修改项(&E)"_s, this, &CDlgSystemDictManage::OnModifyItem);
    m_pItemMenu->addAction(u"删除项(&D)"_s, this, &CDlgSystemDictManage::OnDeleteItem);
    const std::pair<QMenu *, QStyle::StandardPixmap> dropDowns[]
        = { { m_pClassMenu, QStyle::SP_DirIcon }, { m_pItemMenu, QStyle::SP_FileIcon } };
    for (const auto &[menu, icon] : dropDowns) {
        auto *button = new QToolButton(m_pToolBar);
        button->setText(menu->title());
        button->setIcon(style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
        button->setObjectName(menu == m_pClassMenu ? u"classButton"_s : u"itemButton"_s);
        button->setMinimumSize(48, 36);
        m_pToolBar->addWidget(button);
    }
    m_pToolBar->addSeparator();
    m_pRefresh = m_pToolBar->addAction(style()->standardIcon(QStyle::SP_BrowserReload), u"刷新"_s,
                                       this, &CDlgSystemDictManage::LoadTree);
    m_pToolBar->addSeparator();
    m_pExit = m_pToolBar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), u"退出"_s,
                                    this, &CDlgSystemDictManage::reject);
}

void CDlgSystemDictManage::LoadTree()
{
    m_pTree->setUpdatesEnabled(false);
    m_pTree->clear();
    auto *root = newNode(u"档案类"_s, 0, true, QStyle::SP_DriveHDIcon);
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    m_pTree->addTopLevelItem(root);
    for (const DictNode &klass : DictionaryStore(theDatabase).classes())
        root->addChild(newNode(klass.title, -klass.id, klass.hasChildren, QStyle::SP_DirIcon));
    root->setExpanded(true);
    m_pTree->setCurrentItem(root->childCount() > 0 ? root->child(0) : root);
    m_pTree->setFocus();
    m_pTree->setUpdatesEnabled(true);
}

void CDlgSystemDictManage::fillNode(QTreeWidgetItem *node)
{
    if (!node || node->childCount() > 0 || dataOf(node) == 0)
        return;
    QString dictId, code;
    if (!codesOf(node, &dictId, &code))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QVector<DictNode> items = DictionaryStore(theDatabase).children(dictId, code);
    for (const DictNode &item : items)
        node->addChild(newNode(item.title, item.id, item.hasChildren, QStyle::SP_FileIcon));
    node->setChildIndicatorPolicy(items.isEmpty() ? QTreeWidgetItem::DontShowIndicator
                                                  : QTreeWidgetItem::ShowIndicator);
    QApplication::restoreOverrideCursor();
}

void CDlgSystemDictManage::refillNode(QTreeWidgetItem *node)
{
    if (!node || dataOf(node) == 0)
        return;
    const bool open = node->isExpanded();
    qDeleteAll(node->takeChildren());
    fillNode(node);
    node->setExpanded(open && node->childCount() > 0);
}

bool CDlgSystemDictManage::codesOf(QTreeWidgetItem *node, QString *dictId, QString *code)
{
    const int nodeData = dataOf(node);
    DictionaryStore store(theDatabase);
    code->clear();
    if (nodeData < 0) {
        *dictId = store.classCode(-nodeData);
        return !dictId->isEmpty();
    }
    return store.itemCodes(nodeData, dictId, code);
}

int CDlgSystemDictManage::classIdOf(QTreeWidgetItem *node, const QString &dictId)
{
    const int nodeData = dataOf(node);
    return nodeData < 0 ? -nodeData : DictionaryStore(theDatabase).classIdOf(dictId);
}

QTreeWidgetItem *CDlgSystemDictManage::selectedNode() const
{
    return m_pTree->currentItem();
}

void CDlgSystemDictManage::LoadGrid(QTreeWidgetItem *node)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pGrid->setUpdatesEnabled(false);
    QString dictId, code;
    codesOf(node, &dictId, &code);
    CADOCommand command(&theDatabase, u"qz_SelectSystemDictItemsByID"_s);
    command.AddParameterText(u"DictId"_s, adVarChar, adParamInput, 20, dictId);
    command.AddParameterText(u"DictValue"_s, adVarChar, adParamInput, 20, code);
    if (m_pGrid->OpenCommand(command)) {
        m_pGrid->setColumnHidden(ColID, true);
        const int widths[] = { 0, 80, 80, 200, 80, 80 };
        for (int column = ColDictId; column <= ColActive; ++column)
            m_pGrid->setColumnWidth(column, widths[column]);
        m_pFooter->setText(
            u"%1：%2 项"_s.arg(node ? node->text(0) : QString()).arg(m_pGrid->GetRowCount()));
        if (m_pGrid->GetRowCount() > 0)
            m_pGrid->SetCurSel(0);
    } else {
        m_pGrid->Close();
        m_pGrid->AttachConnection(&theDatabase);
        m_pFooter->clear();
    }
    m_pGrid->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
}

void CDlgSystemDictManage::OnAddClass()
{
    CDlgSystemDicSort dialog(this);
    dialog.m_strCaption = u"新增档案类"_s;
    if (dialog.exec() == QDialog::Accepted)
        LoadTree();
}

void CDlgSystemDictManage::OnModifyClass()
{
    const int nodeData = dataOf(selectedNode());
    if (nodeData >= 0)
        return;
    const auto row
        = theDatabase.run(u"SELECT Title,Active FROM qz_Dict WHERE ID=?"_s, { -nodeData });
    CDlgSystemDicSort dialog(this);
    dialog.m_strCaption = u"修改档案类"_s;
    dialog.m_nAdd = 0;
    dialog.m_nID = -nodeData;
    dialog.m_strTitle = row.rows.text(0, 0);
    dialog.m_nActive = row.rows.value(0, 1).toInt();
    if (dialog.exec() == QDialog::Accepted)
        LoadTree();
}

void CDlgSystemDictManage::OnDeleteClass()
{
    QTreeWidgetItem *node = selectedNode();
    const int nodeData = dataOf(node);
    if (nodeData >= 0)
        return;
    const QString title = node->text(0);
    if (!confirm(this, u"确定要删除基础档案类'%1'吗?"_s.arg(title)))
        return;
    const AdminOutcome outcome = DictionaryStore(theDatabase).deleteClass(-nodeData);
    if (!outcome.ok) {
        ShowAdminOutcome(this, outcome);
        return;
    }
    theApp.WriteSystemLog(u"系统管理[删除基础档案类'%1']"_s.arg(title), 0);
    LoadTree();
}

void CDlgSystemDictManage::OnAddItem()
{
    QTreeWidgetItem *node = selectedNode();
    if (dataOf(node) == 0)
        return;
    QString dictId, code;
    if (!codesOf(node, &dictId, &code) || dictId.isEmpty())
        return;
    CDlgSystemDicItem dialog(this);
    dialog.m_strCaption = u"添加档案项"_s;
    dialog.m_nClassID = classIdOf(node, dictId);
    dialog.m_strDictId = dictId;
    dialog.m_strDictValue = code;
    dialog.m_strParentValue = code;
    if (dialog.exec() != QDialog::Accepted)
        return;
    LoadGrid(node);
    refillNode(node);
}

void CDlgSystemDictManage::OnModifyItem()
{
    const int row = m_pGrid->GetCurSel();
    if (row < 0)
        return;
    const int id = m_pGrid->GetFieldValue(row, ColID).toInt();
    const auto item = theDatabase.run(
        u"SELECT DictId,DictValue,Title,ParentValue,Active FROM qz_DictItem WHERE ID=?"_s, { id });
    const QString dictId = item.rows.text(0, 0);
    if (dictId.isEmpty())
        return;
    CDlgSystemDicItem dialog(this);
    dialog.m_strCaption = u"修改档案项"_s;
    dialog.m_nAdd = 0;
    dialog.m_nClassID = DictionaryStore(theDatabase).classIdOf(dictId);
    dialog.m_nID = id;
    dialog.m_strDictId = dictId;
    dialog.m_strDictValue = item.rows.text(0, 1);
    dialog.m_strTitle = item.rows.text(0, 2);
    dialog.m_strParentValue = item.rows.text(0, 3);
    dialog.m_nActive = item.rows.value(0, 4).toInt();
    if (dialog.exec() != QDialog::Accepted)
        return;
    LoadGrid(selectedNode());
    refillNode(selectedNode());
}

void CDlgSystemDictManage::OnDeleteItem()
{
    const int row = m_pGrid->GetCurSel();
    if (row < 0)
        return;
    const QString title = m_pGrid->GetFieldValue(row, ColTitle).toString();
    if (!confirm(this, u"确定要删除档案项'%1'吗?"_s.arg(title)))
        return;
    const AdminOutcome outcome
        = DictionaryStore(theDatabase).deleteItem(m_pGrid->GetFieldValue(row, ColID).toInt());
    if (!outcome.ok) {
        ShowAdminOutcome(this, outcome);
        return;
    }
    theApp.WriteSystemLog(u"系统管理[删除基础档案项'%1']"_s.arg(title), 0);
    LoadGrid(selectedNode());
    refillNode(selectedNode());
}

bool CDlgSystemDictManage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_pTree || watched == m_pGrid)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            if (watched == m_pTree)
                m_pGrid->setFocus(Qt::TabFocusReason);
            else
                m_pTree->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return CDialogExx::eventFilter(watched, event);
}

void CDlgSystemDictManage::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addMenu(m_pClassMenu);
    menu.addMenu(m_pItemMenu);
    menu.addAction(u"刷新(&R)"_s, this, &CDlgSystemDictManage::LoadTree);
    menu.addAction(u"退出(&C)"_s, this, &CDlgSystemDictManage::reject);
    menu.exec(event->globalPos());
}
