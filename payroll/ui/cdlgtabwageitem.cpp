#include "payroll/ui/cdlgtabwageitem.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/query/ordermoves.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "payroll/ui/cdlgwageitemset.h"
#include "payroll/ui/valuelistdelegate.h"
#include "payroll/ui/wagesetupui.h"
#include "payroll/wagesetupqueries.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/dialogs/cdlgresetorder.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

CDlgTabWageItem::CDlgTabWageItem(QWidget *parent)
    : QWidget(parent), m_pToolBar(new QToolBar(this)), m_pGrid(new CBCGPADOGridCtrl(this))
{
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto add = [this](const QString &text, const QString &tip, void (CDlgTabWageItem::*slot)()) {
        m_pToolBar->addAction(text, this, slot)->setToolTip(tip);
    };
    add(u"新建"_s, u"新增"_s, &CDlgTabWageItem::OnNew);
    add(u"修改"_s, u"修改"_s, &CDlgTabWageItem::OnModify);
    add(u"删除"_s, u"删除"_s, &CDlgTabWageItem::OnDelete);
    m_pToolBar->addSeparator();
    add(u"调序"_s, u"调整运算顺序"_s, &CDlgTabWageItem::OnCalcOrder);
    m_pToolBar->addSeparator();
    add(u"向上"_s, u"向上移动(Ctrl+Shift+Up)"_s, &CDlgTabWageItem::OnMoveUp);
    add(u"向下"_s, u"向下移动(Ctrl+Shift+Down)"_s, &CDlgTabWageItem::OnMoveDown);
    m_pToolBar->addSeparator();
    add(u"刷新"_s, u"刷新列表"_s, &CDlgTabWageItem::OnRefresh);
    for (const auto &[keys, slot] : { std::pair { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up),
                                                  &CDlgTabWageItem::OnMoveUp },
                                      std::pair { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down),
                                                  &CDlgTabWageItem::OnMoveDown } }) {
        auto *shortcut = new QShortcut(keys, this, this, slot);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    }

    m_pGrid->AttachConnection(&theDatabase);
    m_pGrid->SetReadOnly(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_pToolBar);
    layout->addWidget(m_pGrid, 1);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridDblClk, this, &CDlgTabWageItem::OnModify);
    // ID (hidden), 启用 and 字段名 stay in view while the rest scrolls.
    m_pGrid->SetFrozenColumns(2);
}

void CDlgTabWageItem::setValueLists()
{
    QString tables = u"#0;|"_s; // no standard table
    const auto rows = theDatabase.run(
        u"SELECT id, STDName FROM qz_WageStdTable WHERE SID = ? ORDER BY Ord, id"_s, { m_nSID });
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        tables += u"#%1;%2|"_s.arg(rows.rows.text(row, 0), rows.rows.text(row, 1));
    tables.chop(1);
    const std::pair<int, QString> lists[] = {
        { ColDataType, u"#0;数值|#1;字符|#2;日期|#3;参照"_s },
        { ColProperty, u"#0;自由输入|#1;公式计算|#2;查标准表"_s },
        { ColStdTable, tables },
        { ColRounding, u"四舍五入|全舍|全入"_s },
    };
    for (const auto &[column, list] : lists) {
        delete m_pGrid->itemDelegateForColumn(column);
        m_pGrid->setItemDelegateForColumn(column, new ValueListDelegate(list, m_pGrid));
    }
}

int CDlgTabWageItem::LoadWageSet(int sid)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pGrid->setUpdatesEnabled(false);
    const BoundQuery query = WageSetItemsQuery(sid);
    const bool opened = m_pGrid->OpenSQL(query.sql, query.values);
    if (opened) {
        const int previous = m_nSID;
        m_nSID = sid;
        setValueLists();
        m_nSID = previous;
        for (int column : { int(ColActive), int(ColRetain) })
            m_pGrid->GetGridModel()->setCellKind(column, RecordsetGridModel::CheckCell);
        const int widths[] = { 0, 50, 70, 100, 80, 100, 80, 150, 350, 60, 80, 80 };
        for (int column = ColActive; column <= ColRetain; ++column)
            m_pGrid->setColumnWidth(column, widths[column]);
        for (int column : { int(ColItemId), int(ColIdRef), int(ColOrd) })
            m_pGrid->setColumnHidden(column, true);
        if (m_pGrid->GetRowCount() > 0)
            m_pGrid->SetCurSel(0, ColAlias);
    } else {
        m_pGrid->Close();
        m_pGrid->AttachConnection(&theDatabase);
    }
    m_pGrid->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    if (!opened)
        return 0;
    m_nSID = sid;
    return 1;
}

QStringList CDlgTabWageItem::Aliases() const
{
    QStringList aliases;
    for (int row = 0; row < m_pGrid->GetRowCount(); ++row)
        aliases << m_pGrid->GetFieldValue(row, ColAlias).toString();
    return aliases;
}

QString CDlgTabWageItem::CellText(int row, int column) const
{
    const QString stored = m_pGrid->GetGridModel()->displayText(row, column);
    if (auto *list = qobject_cast<ValueListDelegate *>(m_pGrid->itemDelegateForColumn(column)))
        return list->textOf(stored);
    return stored;
}

bool CDlgTabWageItem::SelectItem(int itemId)
{
    for (int row = 0; row < m_pGrid->GetRowCount(); ++row) {
        if (m_pGrid->GetFieldValue(row, ColItemId).toInt() == itemId) {
            m_pGrid->SetCurSel(row, ColAlias);
            m_pGrid->scrollTo(m_pGrid->model()->index(row, ColAlias));
            return true;
        }
    }
    return false;
}

int CDlgTabWageItem::currentRow() const
{
    return m_pGrid->GetRowCount() > 0 ? m_pGrid->GetCurSel() : -1;
}

void CDlgTabWageItem::OnNew()
{
    CDlgWageItemSet editor(this);
    editor.SetNewItem(m_nSID);
    if (editor.exec() != QDialog::Accepted)
        return;
    LoadWageSet(m_nSID);
    SelectItem(editor.Fields().itemId);
}

void CDlgTabWageItem::OnModify()
{
    const int row = currentRow();
    if (row < 0) {
        Tell(this, LoadResString(111));
        return;
    }
    WageItemFields fields;
    fields.isNew = false;
    fields.sid = m_nSID;
    auto value = [&](int column) { return m_pGrid->GetFieldValue(row, column); };
    fields.itemId = value(ColItemId).toInt();
    fields.active = value(ColActive).toInt() != 0;
    fields.alias = value(ColAlias).toString();
    fields.aliasBefore = fields.alias;
    fields.dataType = value(ColDataType).toInt();
    fields.property = value(ColProperty).toInt();
    fields.standardTableId = value(ColStdTable).toInt();
    fields.formula = value(ColFormula).toString();
    fields.decimals = value(ColDecimals).toInt();
    fields.rounding = value(ColRounding).toInt();
    fields.retain = value(ColRetain).toInt() != 0;
    fields.dictionaryCode = value(ColIdRef).toString();
    CDlgWageItemSet editor(this);
    editor.SetItem(fields);
    if (editor.exec() != QDialog::Accepted)
        return;
    LoadWageSet(m_nSID);
    SelectItem(fields.itemId);
    m_pGrid->setFocus();
}

void CDlgTabWageItem::OnDelete()
{
    const int row = currentRow();
    if (row < 0) {
        Tell(this, LoadResString(111));
        return;
    }
    const QString alias = m_pGrid->GetFieldValue(row, ColAlias).toString();
    if (!Ask(this, u"该操作将同时删除项目下的薪资数据！\r\n\r\n确定要删除项目“%1”吗?"_s.arg(alias),
             QMessageBox::Warning))
        return;
    CADOCommand command(&theDatabase, u"qz_DeleteWageSortItemByID"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_nSID);
    command.AddParameterInt(u"ItemID"_s, adInteger, adParamInput, 4,
                            m_pGrid->GetFieldValue(row, ColItemId).toInt());
    if (!command.Execute()) {
        Tell(this, command.GetLastErrorString(), QMessageBox::Critical);
        return;
    }
    LoadWageSet(m_nSID);
    LogWageSetup(u"薪资类别'%1'删除薪资项目'%2'"_s.arg(GetWageSetTitle(m_nSID), alias));
}

void CDlgTabWageItem::OnCalcOrder()
{
    const BoundQuery query = WageSetItemsCalcOrderQuery(m_nSID);
    CDlgResetOrder order(this);
    order.SetCaption(u"调整薪资项目运算顺序(自上而下运行)"_s);
    order.SetList(query.sql, 0, 4, { u"qz_Items"_s, u"ItemID"_s, u"OrdF"_s, {}, {} }, query.values);
    order.SetRenumberStatement(u"qz_RefreshWageItemCalcOrder"_s, { m_nSID });
    order.exec();
    if (order.IsChanged())
        LogWageSetup(u"薪资类别'%1'调整薪资项目运算顺序"_s.arg(GetWageSetTitle(m_nSID)));
}

void CDlgTabWageItem::move(int step)
{
    const int row = currentRow();
    if (row < 0) {
        Tell(this, LoadResString(111));
        return;
    }
    const int neighbour = row + step;
    if (neighbour >= 0 && neighbour < m_pGrid->GetRowCount()) {
        const int key = m_pGrid->GetFieldValue(row, ColItemId).toInt();
        const vantrel::Status moved
            = ExchangeOrder({ u"qz_Items"_s, u"ItemID"_s, u"Ord"_s, {}, {} }, key,
                            m_pGrid->GetFieldValue(neighbour, ColItemId).toInt());
        if (!moved) {
            Tell(this, moved.error(), QMessageBox::Critical);
            return;
        }
        LoadWageSet(m_nSID);
        SelectItem(key);
    }
    LogWageSetup(u"薪资类别'%1'调整薪资项目显示顺序"_s.arg(GetWageSetTitle(m_nSID)));
}

void CDlgTabWageItem::OnRefresh()
{
    CADOCommand command(&theDatabase, u"qz_RefreshWageItemOrder"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_nSID);
    if (!command.Execute()) {
        Tell(this, command.GetLastErrorString(), QMessageBox::Critical);
        return;
    }
    LoadWageSet(m_nSID);
}

void CDlgTabWageItem::keyPressEvent(QKeyEvent *event)
{
    if (!HandlePageKey(this, m_pToolBar, event))
        QWidget::keyPressEvent(event);
}
