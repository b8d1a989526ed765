#include "payroll/ui/cdlgtabwagepsn.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/query/ordermoves.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "payroll/ui/cdlgwagepsnselect.h"
#include "payroll/ui/wagesetupui.h"
#include "payroll/wagesetupqueries.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cmytreeview.h"
#include "ui/controls/widgetfillers.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

namespace {

enum Column { ColId = 0, ColOrd = 6 };

} // namespace

CDlgTabWagePSN::CDlgTabWagePSN(QWidget *parent)
    : QWidget(parent)
    , m_pToolBar(new QToolBar(this))
    , m_pTree(new CMyTreeView)
    , m_pGrid(new CBCGPADOGridCtrl)
    , m_pFooter(new QLabel(this))
{
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto add = [this](const QString &text, const QString &tip, void (CDlgTabWagePSN::*slot)()) {
        QAction *action = m_pToolBar->addAction(text, this, slot);
        action->setToolTip(tip);
        return action;
    };
    add(u"添加"_s, u"添加人员"_s, &CDlgTabWagePSN::OnAdd);
    add(u"删除"_s, u"删除"_s, &CDlgTabWagePSN::OnDelete);
    m_pToolBar->addSeparator();
    m_pUp = add(u"向上"_s, u"向上移动(Ctrl+Shift+Up)"_s, &CDlgTabWagePSN::OnMoveUp);
    m_pDown = add(u"向下"_s, u"向下移动(Ctrl+Shift+Down)"_s, &CDlgTabWagePSN::OnMoveDown);
    m_pToolBar->addSeparator();
    add(u"刷新"_s, u"刷新列表"_s, &CDlgTabWagePSN::OnRefresh);
    m_pUp->setEnabled(false);
    m_pDown->setEnabled(false);
    for (const auto &[keys, slot] :
         { std::pair { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), &CDlgTabWagePSN::OnMoveUp },
           std::pair { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down),
                       &CDlgTabWagePSN::OnMoveDown } }) {
        auto *shortcut = new QShortcut(keys, this, this, slot);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    }

    m_pTree->setHeaderHidden(true);
    auto *root = new QTreeWidgetItem(m_pTree, QStringList { u"全体部门"_s });
    root->setData(0, RefIdRole, 0);
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    FillDeptTree(m_pTree, 0, root);
    root->setExpanded(true);

    m_pGrid->AttachConnection(&theDatabase);
    m_pGrid->SetReadOnly(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pGrid->SetKeyField(u"ID"_s);
    m_pGrid->SetGridOptions(CBCGPADOGridCtrl::SizeColumnsToTitles
                            | CBCGPADOGridCtrl::WidenColumnsToValues);
    auto *gridPane = new QWidget;
    auto *gridLayout = new QVBoxLayout(gridPane);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(0);
    gridLayout->addWidget(m_pGrid, 1);
    gridLayout->addWidget(m_pFooter);
    m_pFooter->setAutoFillBackground(true);
    m_pFooter->setBackgroundRole(QPalette::Button);
    m_pFooter->setContentsMargins(4, 2, 4, 2);

    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_pTree);
    splitter->addWidget(gridPane);
    splitter->setSizes({ 200, 600 });
    splitter->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_pToolBar);
    layout->addWidget(splitter, 1);

    connect(m_pTree, &CMyTreeView::treeSelChanged, this, &CDlgTabWagePSN::onTreeSelection);
}

QString CDlgTabWagePSN::FooterText() const
{
    return m_pFooter->text();
}

void CDlgTabWagePSN::onTreeSelection()
{
    QTreeWidgetItem *item = m_pTree->currentItem();
    if (!item)
        return;
    m_bSeveralSubDepts = item->childCount() >= 2;
    m_pUp->setEnabled(!m_bSeveralSubDepts);
    m_pDown->setEnabled(!m_bSeveralSubDepts);
    m_nDID = item->data(0, RefIdRole).toInt();
    LoadMembers(m_nSID);
}

int CDlgTabWagePSN::LoadMembers(int sid)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pGrid->setUpdatesEnabled(false);
    m_pGrid->Close();
    m_pGrid->AttachConnection(&theDatabase);
    m_pGrid->SetVirtualMode(m_bSeveralSubDepts);
    const BoundQuery query = WageSetMembersQuery(sid, m_nDID);
    const bool opened = m_pGrid->OpenSQL(query.sql, query.values);
    if (opened) {
        m_pFooter->setText(
            LoadResString(135).replace(u"%d"_s, QString::number(m_pGrid->GetRowCount())));
        m_pGrid->setColumnHidden(ColId, true);
        m_pGrid->setColumnHidden(ColOrd, true);
        const int widths[] = { 80, 100, 80, 100 };
        for (int column = 1; column <= 4; ++column)
            m_pGrid->setColumnWidth(column, widths[column - 1]);
        m_pGrid->horizontalHeader()->setStretchLastSection(true);
        if (m_pGrid->GetRowCount() > 0)
            m_pGrid->SetCurSel(0, 1);
    } else {
        m_pGrid->Close();
        m_pFooter->clear();
    }
    m_pGrid->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    if (!opened)
        return 0;
    m_nSID = sid;
    return 1;
}

int CDlgTabWagePSN::currentRow() const
{
    const QModelIndexList rows
        = m_pGrid->selectionModel() ? m_pGrid->selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : m_pGrid->GetCurSel();
}

void CDlgTabWagePSN::OnAdd()
{
    CDlgWagePsnSelect chooser(m_nSID, this, this);
    chooser.exec();
}

void CDlgTabWagePSN::OnDelete()
{
    QList<int> rows;
    if (m_pGrid->selectionModel()) {
        for (const QModelIndex &index : m_pGrid->selectionModel()->selectedRows())
            rows << index.row();
    }
    if (rows.isEmpty()) {
        Tell(this, LoadResString(112));
        return;
    }
    if (!Ask(this, u"确定要删除所选择的人员吗?"_s, QMessageBox::Question))
        return;
    std::sort(rows.begin(), rows.end());
    QString items;
    for (int row : std::as_const(rows))
        items += u"<psn id=\"%1\"></psn>"_s.arg(m_pGrid->GetFieldValue(row, ColId).toInt());
    CADOCommand command(&theDatabase, u"qz_DeleteWageSortPsnSelectBySortID"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_nSID);
    command.AddParameterText(u"IDXML"_s, adLongVarWChar, adParamInput, -1,
                             u"<psns>"_s + items + u"</psns>"_s);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool deleted = command.Execute();
    QApplication::restoreOverrideCursor();
    if (!deleted) {
        Tell(this, command.GetLastErrorString(), QMessageBox::Critical);
        return;
    }
    LoadMembers(m_nSID);
    LogWageSetup(u"薪资类别'%1'删除所属人员%2人"_s.arg(GetWageSetTitle(m_nSID)).arg(rows.size()));
}

void CDlgTabWagePSN::move(int step)
{
    if (m_bSeveralSubDepts)
        return;
    const int row = currentRow();
    if (row < 0) {
        Tell(this, LoadResString(112));
        return;
    }
    const int neighbour = row + step;
    if (neighbour >= 0 && neighbour < m_pGrid->GetRowCount()) {
        const int key = m_pGrid->GetFieldValue(row, ColId).toInt();
        const vantrel::Status moved
            = ExchangeOrder({ u"qz_WagePsn"_s, u"ID"_s, u"Ord"_s, {}, {} }, key,
                            m_pGrid->GetFieldValue(neighbour, ColId).toInt());
        if (!moved) {
            Tell(this, moved.error(), QMessageBox::Critical);
            return;
        }
        LoadMembers(m_nSID);
        m_pGrid->SetCurSel(neighbour, 1);
    }
    LogWageSetup(u"薪资类别'%1'所属人员调序"_s.arg(GetWageSetTitle(m_nSID)));
}

void CDlgTabWagePSN::OnRefresh()
{
    if (!m_bSeveralSubDepts) {
        CADOCommand command(&theDatabase, u"qz_RefreshWagePsnDefaultOrder"_s);
        command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_nSID);
        command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, m_nDID);
        if (!command.Execute()) {
            Tell(this, command.GetLastErrorString(), QMessageBox::Critical);
            return;
        }
    }
    LoadMembers(m_nSID);
}

void CDlgTabWagePSN::keyPressEvent(QKeyEvent *event)
{
    if (!HandlePageKey(this, m_pToolBar, event))
        QWidget::keyPressEvent(event);
}
