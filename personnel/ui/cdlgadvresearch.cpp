#include "personnel/ui/cdlgadvresearch.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/advsavedqueries.h"
#include "personnel/ui/advcelldelegate.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"
#include "ui/dialogs/cdlgnameset.h"

#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

constexpr int QueryIdRole = Qt::UserRole;

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QString cellText(const QStandardItemModel *model, int row, int column)
{
    return model->index(row, column).data().toString();
}

QStringList connectorOptions()
{
    return { u"且"_s, u"或"_s };
}

} // namespace

CDlgAdvResearch::CDlgAdvResearch(QWidget *parent)
    : QDialog(parent)
    , m_pTree(new QTreeWidget(this))
    , m_pMainGrid(new QTableView(this))
    , m_pRelatedGrid(new QTableView(this))
    , m_pSortGrid(new QTableView(this))
    , m_pMain(new QStandardItemModel(0, MainColumns, this))
    , m_pRelated(new QStandardItemModel(0, RelColumns, this))
    , m_pSort(new QStandardItemModel(0, SortColumns, this))
{
    setWindowTitle(u"高级筛选"_s);
    resize(900, 620);
    m_pTree->setHeaderHidden(true);
    m_pTree->setObjectName(u"queryTree"_s);
    m_pTree->setEditTriggers(QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::SelectedClicked);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(u"保存的查询："_s, this));
    left->addWidget(m_pTree, 1);
    QPushButton *save = button(u"保存查询(&S)"_s, u"saveQuery"_s, this);
    QPushButton *drop = button(u"删除查询(&D)"_s, u"deleteQuery"_s, this);
    auto *treeButtons = new QHBoxLayout;
    treeButtons->addWidget(save);
    treeButtons->addWidget(drop);
    left->addLayout(treeButtons);

    QPushButton *addMain = button(u"添加条件"_s, u"addCondition"_s, this);
    QPushButton *delMain = button(u"删除条件"_s, u"deleteCondition"_s, this);
    QPushButton *addRel = button(u"添加条件"_s, u"addRelatedCondition"_s, this);
    QPushButton *delRel = button(u"删除条件"_s, u"deleteRelatedCondition"_s, this);
    QPushButton *addSort = button(u"添加排序"_s, u"addSort"_s, this);
    QPushButton *delSort = button(u"删除排序"_s, u"deleteSort"_s, this);
    QPushButton *run = button(u"立即查询(&O)"_s, u"runQuery"_s, this);
    QPushButton *cancel = button(u"取消(&C)"_s, u"cancel"_s, this);

    auto *right = new QVBoxLayout;
    right->addWidget(createGridBox(u"主表条件："_s, m_pMainGrid, addMain, delMain), 3);
    right->addWidget(createGridBox(u"相关资料条件："_s, m_pRelatedGrid, addRel, delRel), 2);
    right->addWidget(createGridBox(u"排序列："_s, m_pSortGrid, addSort, delSort), 2);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(run);
    bottom->addWidget(cancel);
    right->addLayout(bottom);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 3);

    setupGrid(m_pMainGrid, m_pMain, { u"连接符"_s, u"项目"_s, u"操作符"_s, u"值"_s, u"字段"_s },
              { 50, 100, 55, 130, 130 }, { MainField });
    setupGrid(m_pRelatedGrid, m_pRelated,
              { u"连接符"_s, u"数据表"_s, u"项目"_s, u"操作符"_s, u"值"_s, u"表名"_s, u"字段"_s },
              { 50, 100, 100, 55, 130, 130, 130 }, { RelTblName, RelField });
    setupGrid(m_pSortGrid, m_pSort, { u"项目"_s, u"排序"_s, u"字段"_s }, { 120, 100, 100 },
              { SortField });

    connect(addMain, &QPushButton::clicked, this, &CDlgAdvResearch::OnAddCondition);
    connect(delMain, &QPushButton::clicked, this, &CDlgAdvResearch::OnDeleteCondition);
    connect(addRel, &QPushButton::clicked, this, &CDlgAdvResearch::OnAddRelatedCondition);
    connect(delRel, &QPushButton::clicked, this, &CDlgAdvResearch::OnDeleteRelatedCondition);
    connect(addSort, &QPushButton::clicked, this, &CDlgAdvResearch::OnAddSortColumn);
    connect(delSort, &QPushButton::clicked, this, &CDlgAdvResearch::OnDeleteSortColumn);
    connect(run, &QPushButton::clicked, this, &CDlgAdvResearch::OnRunQuery);
    connect(save, &QPushButton::clicked, this, &CDlgAdvResearch::OnSaveQuery);
    connect(drop, &QPushButton::clicked, this, &CDlgAdvResearch::OnDeleteQuery);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pTree, &QTreeWidget::currentItemChanged, this,
            &CDlgAdvResearch::OnSelchangedQueryTree);
    connect(m_pTree, &QTreeWidget::itemChanged, this, &CDlgAdvResearch::OnEndlabeleditQueryTree);
    connect(m_pTree, &QTreeWidget::itemDoubleClicked, this, &CDlgAdvResearch::OnDblclkQueryTree);
    const auto watch = [this](QStandardItemModel *model,
                              void (CDlgAdvResearch::*handler)(int, int, const QList<int> &)) {
        connect(
            model, &QAbstractItemModel::dataChanged, this,
            [this, handler](const QModelIndex &from, const QModelIndex &, const QList<int> &roles) {
                if (!m_bFilling)
                    (this->*handler)(from.row(), from.column(), roles);
            });
    };
    watch(m_pMain, &CDlgAdvResearch::onMainChanged);
    watch(m_pRelated, &CDlgAdvResearch::onRelatedChanged);
    watch(m_pSort, &CDlgAdvResearch::onSortChanged);
}

QWidget *CDlgAdvResearch::createGridBox(const QString &title, QTableView *view, QPushButton *add,
                                        QPushButton *remove)
{
    auto *box = new QGroupBox(title, this);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(box);
    layout->addWidget(view, 1);
    layout->addLayout(buttons);
    return box;
}

void CDlgAdvResearch::setupGrid(QTableView *view, QStandardItemModel *model,
                                const QStringList &titles, const QVector<int> &widths,
                                const QVector<int> &hidden)
{
    model->setHorizontalHeaderLabels(titles);
    view->setModel(model);
    view->setItemDelegate(new AdvCellDelegate(view));
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                          | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    view->verticalHeader()->setFixedWidth(30);
    for (int column = 0; column < widths.size(); ++column)
        view->setColumnWidth(column, widths.at(column));
    for (const int column : hidden)
        view->setColumnHidden(column, true);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void CDlgAdvResearch::showEvent(QShowEvent *event)
{
    if (!m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CDlgAdvResearch::OnInitDialog()
{
    m_arrTables = LoadRelatedTables(theDatabase, RelatedTables::All);
    LoadQueryList();
    m_pTree->setCurrentItem(m_pTree->topLevelItem(0));
}

bool CDlgAdvResearch::LoadQueryList()
{
    const QSignalBlocker block(m_pTree);
    m_pTree->clear();
    auto *fresh = new QTreeWidgetItem(m_pTree, { u"<新建查询>"_s });
    fresh->setData(0, QueryIdRole, 0);
    const vantrel::Result<QVector<SavedQueryEntry>> entries
        = ListSavedQueries(theDatabase, theCurrentUser.UserID, m_nQueryType);
    if (!entries)
        return false;
    for (const SavedQueryEntry &entry : *entries) {
        auto *item = new QTreeWidgetItem(m_pTree, { entry.name });
        item->setData(0, QueryIdRole, entry.rid);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    return true;
}

void CDlgAdvResearch::selectQuery(int rid)
{
    for (int i = 0; i < m_pTree->topLevelItemCount(); ++i) {
        if (m_pTree->topLevelItem(i)->data(0, QueryIdRole).toInt() == rid) {
            m_pTree->setCurrentItem(m_pTree->topLevelItem(i));
            OnSelchangedQueryTree();
            return;
        }
    }
}

void CDlgAdvResearch::OnSelchangedQueryTree()
{
    QTreeWidgetItem *item = m_pTree->currentItem();
    if (!item)
        return;
    m_nQueryId = item->data(0, QueryIdRole).toInt();
    if (m_nQueryId == 0) {
        showNewQuery();
        return;
    }
    const vantrel::Result<AdvQuery> query = LoadSavedQuery(theDatabase, m_nQueryId);
    const AdvQuery rows = query ? *query : AdvQuery {};
    LoadMainConditions(rows.main);
    LoadRelatedConditions(rows.related);
    LoadSortColumns(rows.sort);
}

void CDlgAdvResearch::showNewQuery()
{
    m_pMain->removeRows(0, m_pMain->rowCount());
    m_pRelated->removeRows(0, m_pRelated->rowCount());
    m_pSort->removeRows(0, m_pSort->rowCount());
    appendConditionRow(m_pMainGrid, m_pMain, false);
}

void CDlgAdvResearch::OnEndlabeleditQueryTree(QTreeWidgetItem *item)
{
    const int rid = item->data(0, QueryIdRole).toInt();
    if (rid == 0)
        return;
    const vantrel::Result<void> renamed
        = RenameQuery(theDatabase, rid, m_nQueryType, theCurrentUser.UserID, item->text(0));
    if (!renamed)
        ShowMessage(this, renamed.error(), LoadResString(117), QMessageBox::Critical);
}

void CDlgAdvResearch::OnDblclkQueryTree(QTreeWidgetItem *item)
{
    if (item && item->data(0, QueryIdRole).toInt() > 0)
        OnRunQuery();
}

bool CDlgAdvResearch::checkEditRight() const
{
    if (m_nQueryType == AdvPersonData)
        return CheckRightWithMessage(13, theApp, false);
    if (m_nQueryType == AdvWageData)
        return CheckRightWithMessage(26, theApp, false);
    return true;
}

void CDlgAdvResearch::endEdit(QTableView *view)
{
    // Taking the focus from an open editor ends it and keeps what it holds.
    view->setFocus();
}

void CDlgAdvResearch::appendConditionRow(QTableView *view, QStandardItemModel *model, bool related)
{
    const bool hadRows = model->rowCount() > 0;
    const int row = model->rowCount();
    const QScopedValueRollback<bool> filling(m_bFilling, true);
    model->insertRow(row);
    const int opColumn = related ? int(RelOp) : int(MainOp);
    model->setData(model->index(row, 0), related || hadRows ? u"且"_s : QString());
    model->setData(model->index(row, 0), connectorOptions(), AdvOptionsRole);
    model->setData(model->index(row, 0), 0, AdvRowIdRole);
    if (related) {
        QStringList titles;
        for (const tagARCTABLEINFO &table : std::as_const(m_arrTables))
            titles << table.Title;
        setItemCell(model, row, RelTable, -1, titles);
        model->setData(model->index(row, RelItem), QStringList(), AdvOptionsRole);
    } else {
        QStringList aliases;
        for (const tagVANTRELITEMINFO &item : std::as_const(m_arrItems))
            aliases << item.Alias;
        setItemCell(model, row, MainItem, -1, aliases);
    }
    model->setData(model->index(row, opColumn), u"等于"_s);
    model->setData(model->index(row, opColumn), QStringList { u"等于"_s }, AdvOptionsRole);
    view->setCurrentIndex(model->index(row, related || hadRows ? 0 : int(MainItem)));
}

void CDlgAdvResearch::setItemCell(QStandardItemModel *model, int row, int column, int index,
                                  const QStringList &options)
{
    const QModelIndex cell = model->index(row, column);
    model->setData(cell, options, AdvOptionsRole);
    model->setData(cell, options.value(index));
    model->setData(cell, index, AdvIndexRole);
}

void CDlgAdvResearch::resetOperatorAndValue(QStandardItemModel *model, int row, int opColumn,
                                            int valueColumn, int dataType)
{
    const QScopedValueRollback<bool> filling(m_bFilling, true);
    model->setData(model->index(row, opColumn), AdvOperators(dataType), AdvOptionsRole);
    model->setData(model->index(row, opColumn), u"等于"_s);
    const bool date = dataType == ItemDate;
    model->setItem(row, valueColumn, new QStandardItem);
    model->setData(model->index(row, valueColumn), date, AdvDateRole);
    model->setData(model->index(row, valueColumn),
                   date ? QDate::currentDate().toString(u"yyyy-MM-dd"_s) : QString());
}

void CDlgAdvResearch::onMainChanged(int row, int column, const QList<int> &roles)
{
    if (column != MainItem || !roles.contains(AdvIndexRole))
        return;
    const int index = m_pMain->index(row, MainItem).data(AdvIndexRole).toInt();
    if (index < 0 || index >= m_arrItems.size())
        return;
    const tagVANTRELITEMINFO &item = m_arrItems.at(index);
    {
        const QScopedValueRollback<bool> filling(m_bFilling, true);
        m_pMain->setData(m_pMain->index(row, MainField), item.Name);
    }
    resetOperatorAndValue(m_pMain, row, MainOp, MainValue, item.iDataType);
}

void CDlgAdvResearch::onRelatedChanged(int row, int column, const QList<int> &roles)
{
    if (column == RelTable && roles.contains(AdvIndexRole)) {
        const int index = m_pRelated->index(row, RelTable).data(AdvIndexRole).toInt();
        if (index < 0 || index >= m_arrTables.size())
            return;
        const QString table = m_arrTables.at(index).TblName;
        const vantrel::Result<QStringList> aliases = RelatedItemAliases(theDatabase, table);
        const QScopedValueRollback<bool> filling(m_bFilling, true);
        m_pRelated->setData(m_pRelated->index(row, RelTblName), table);
        m_pRelated->setData(m_pRelated->index(row, RelField), QString());
        m_pRelated->setItem(row, RelItem, new QStandardItem);
        m_pRelated->setData(m_pRelated->index(row, RelItem), aliases ? *aliases : QStringList(),
                            AdvOptionsRole);
        return;
    }
    if (column != RelItem || !roles.contains(Qt::DisplayRole))
        return;
    if (m_pRelated->index(row, RelTable).data(AdvIndexRole).toInt() < 0)
        return;
    const vantrel::Result<tagVANTRELITEMINFO> item
        = LookupTableItem(theDatabase, cellText(m_pRelated, row, RelTblName),
                          cellText(m_pRelated, row, RelItem), true);
    if (!item || item->ItemID == 0)
        return;
    {
        const QScopedValueRollback<bool> filling(m_bFilling, true);
        m_pRelated->setData(m_pRelated->index(row, RelField), item->Name);
    }
    resetOperatorAndValue(m_pRelated, row, RelOp, RelValue, item->iDataType);
}

void CDlgAdvResearch::onSortChanged(int row, int column, const QList<int> &roles)
{
    if (column != SortItem || !roles.contains(AdvIndexRole))
        return;
    const int index = m_pSort->index(row, SortItem).data(AdvIndexRole).toInt();
    if (index >= 0 && index < m_arrItems.size()) {
        const QScopedValueRollback<bool> filling(m_bFilling, true);
        m_pSort->setData(m_pSort->index(row, SortField), m_arrItems.at(index).Name);
    }
}

void CDlgAdvResearch::LoadMainConditions(const QVector<AdvConditionRow> &rows)
{
    m_pMain->removeRows(0, m_pMain->rowCount());
    for (const AdvConditionRow &stored : rows) {
        appendConditionRow(m_pMainGrid, m_pMain, false);
        const int row = m_pMain->rowCount() - 1;
        const int index = FindItemByName(m_arrItems, stored.itemName);
        if (index >= 0) {
            const QScopedValueRollback<bool> filling(m_bFilling, true);
            m_pMain->setData(m_pMain->index(row, MainItem), m_arrItems.at(index).Alias);
            m_pMain->setData(m_pMain->index(row, MainItem), index, AdvIndexRole);
            m_pMain->setData(m_pMain->index(row, MainField), m_arrItems.at(index).Name);
            resetOperatorAndValue(m_pMain, row, MainOp, MainValue, m_arrItems.at(index).iDataType);
        }
        const QScopedValueRollback<bool> filling(m_bFilling, true);
        m_pMain->setData(m_pMain->index(row, MainValue), stored.value);
        m_pMain->setData(m_pMain->index(row, MainAndOr), stored.andOr);
        m_pMain->setData(m_pMain->index(row, MainOp), stored.opSgn);
        m_pMain->setData(m_pMain->index(row, 0), stored.id, AdvRowIdRole);
    }
}

void CDlgAdvResearch::LoadRelatedConditions(const QVector<AdvConditionRow> &rows)
{
    m_pRelated->removeRows(0, m_pRelated->rowCount());
    for (const AdvConditionRow &stored : rows) {
        appendConditionRow(m_pRelatedGrid, m_pRelated, true);
        const int row = m_pRelated->rowCount() - 1;
        int table = -1;
        for (int i = 0; i < m_arrTables.size() && table < 0; ++i) {
            if (m_arrTables.at(i).TblName.compare(stored.tblName, Qt::CaseInsensitive) == 0)
                table = i;
        }
        const QScopedValueRollback<bool> filling(m_bFilling, true);
        if (table >= 0) {
            const vantrel::Result<tagVANTRELITEMINFO> item
                = LookupTableItem(theDatabase, stored.tblName, stored.itemName, false);
            const vantrel::Result<QStringList> aliases
                = RelatedItemAliases(theDatabase, stored.tblName);
            m_pRelated->setData(m_pRelated->index(row, RelTable), m_arrTables.at(table).Title);
            m_pRelated->setData(m_pRelated->index(row, RelTable), table, AdvIndexRole);
            m_pRelated->setData(m_pRelated->index(row, RelItem), aliases ? *aliases : QStringList(),
                                AdvOptionsRole);
            m_pRelated->setData(m_pRelated->index(row, RelItem), item ? item->Alias : QString());
            m_pRelated->setData(m_pRelated->index(row, RelTblName), stored.tblName);
            m_pRelated->setData(m_pRelated->index(row, RelField), stored.itemName);
            resetOperatorAndValue(m_pRelated, row, RelOp, RelValue,
                                  item ? int(item->iDataType) : int(ItemNumber));
        }
        m_pRelated->setData(m_pRelated->index(row, RelValue), stored.value);
        m_pRelated->setData(m_pRelated->index(row, RelAndOr), stored.andOr);
        m_pRelated->setData(m_pRelated->index(row, RelOp), stored.opSgn);
        m_pRelated->setData(m_pRelated->index(row, 0), stored.id, AdvRowIdRole);
    }
}

void CDlgAdvResearch::LoadSortColumns(const QVector<AdvSortRow> &rows)
{
    m_pSort->removeRows(0, m_pSort->rowCount());
    const QScopedValueRollback<bool> filling(m_bFilling, true);
    QStringList aliases;
    for (const tagVANTRELITEMINFO &item : std::as_const(m_arrItems))
        aliases << item.Alias;
    for (const AdvSortRow &stored : rows) {
        const int row = m_pSort->rowCount();
        m_pSort->insertRow(row);
        const int index = FindItemByName(m_arrItems, stored.itemName);
        setItemCell(m_pSort, row, SortItem, index, aliases);
        if (index >= 0)
            m_pSort->setData(m_pSort->index(row, SortField), m_arrItems.at(index).Name);
        m_pSort->setData(m_pSort->index(row, SortDirection), stored.direction);
        m_pSort->setData(m_pSort->index(row, SortDirection), QStringList { u"升序"_s, u"降序"_s },
                         AdvOptionsRole);
    }
}

void CDlgAdvResearch::OnAddCondition()
{
    if (!checkEditRight())
        return;
    endEdit(m_pMainGrid);
    appendConditionRow(m_pMainGrid, m_pMain, false);
}

void CDlgAdvResearch::OnAddRelatedCondition()
{
    if (!checkEditRight())
        return;
    endEdit(m_pRelatedGrid);
    appendConditionRow(m_pRelatedGrid, m_pRelated, true);
}

void CDlgAdvResearch::OnAddSortColumn()
{
    if (!checkEditRight())
        return;
    endEdit(m_pSortGrid);
    LoadSortColumns([this] {
        AdvQuery query = collect();
        query.sort.append({ QString(), u"升序"_s });
        return query.sort;
    }());
    m_pSortGrid->setCurrentIndex(m_pSort->index(m_pSort->rowCount() - 1, SortItem));
}

void CDlgAdvResearch::deleteConditionRow(QTableView *view, QStandardItemModel *model)
{
    if (!checkEditRight())
        return;
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return;
    if (m_nQueryId > 0
        && ShowMessage(this, u"确定删除吗?"_s, LoadResString(117), QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    const int row = current.row();
    DeleteConditionRow(theDatabase, model->index(row, 0).data(AdvRowIdRole).toInt());
    model->removeRow(row);
    if (model->rowCount() > 0)
        view->setCurrentIndex(model->index(qMin(row, model->rowCount() - 1), current.column()));
}

void CDlgAdvResearch::OnDeleteCondition()
{
    deleteConditionRow(m_pMainGrid, m_pMain);
}

void CDlgAdvResearch::OnDeleteRelatedCondition()
{
    deleteConditionRow(m_pRelatedGrid, m_pRelated);
}

void CDlgAdvResearch::OnDeleteSortColumn()
{
    if (!checkEditRight())
        return;
    const QModelIndex current = m_pSortGrid->currentIndex();
    if (!current.isValid())
        return;
    m_pSort->removeRow(current.row());
    if (m_pSort->rowCount() > 0)
        m_pSortGrid->setCurrentIndex(
            m_pSort->index(qMin(current.row(), m_pSort->rowCount() - 1), current.column()));
}

AdvQuery CDlgAdvResearch::collect() const
{
    AdvQuery query;
    for (int row = 0; row < m_pMain->rowCount(); ++row)
        query.main.append({ m_pMain->index(row, 0).data(AdvRowIdRole).toInt(),
                            cellText(m_pMain, row, MainAndOr), QString(),
                            cellText(m_pMain, row, MainField), cellText(m_pMain, row, MainOp),
                            cellText(m_pMain, row, MainValue) });
    for (int row = 0; row < m_pRelated->rowCount(); ++row)
        query.related.append(
            { m_pRelated->index(row, 0).data(AdvRowIdRole).toInt(),
              cellText(m_pRelated, row, RelAndOr), cellText(m_pRelated, row, RelTblName),
              cellText(m_pRelated, row, RelField), cellText(m_pRelated, row, RelOp),
              cellText(m_pRelated, row, RelValue) });
    for (int row = 0; row < m_pSort->rowCount(); ++row)
        query.sort.append(
            { cellText(m_pSort, row, SortField), cellText(m_pSort, row, SortDirection) });
    return query;
}

void CDlgAdvResearch::OnRunQuery()
{
    endEdit(m_pMainGrid);
    endEdit(m_pRelatedGrid);
    endEdit(m_pSortGrid);
    const vantrel::Result<AdvSearchResult> result
        = BuildAdvSearch(theDatabase.dialect(), m_arrItems, m_arrTables, collect(),
                         [](const QString &table, const QString &name) {
                             return LookupTableItem(theDatabase, table, name, false);
                         });
    if (!result) {
        ShowMessage(this, result.error(), LoadResString(117), QMessageBox::Information);
        return;
    }
    m_condition = result->condition;
    m_strOrderBy = result->orderBy;
    done(QDialog::Accepted);
}

void CDlgAdvResearch::OnSaveQuery()
{
    if (!checkEditRight())
        return;
    QString name = m_pTree->currentItem() ? m_pTree->currentItem()->text(0) : QString();
    const bool added = m_nQueryId == 0;
    if (added) {
        CDlgNameSet dialog(this);
        dialog.SetCaption(u"新增查询"_s);
        dialog.SetPrompt(u"查询名称:"_s);
        if (dialog.exec() != QDialog::Accepted)
            return;
        name = dialog.GetName();
    }
    endEdit(m_pMainGrid);
    endEdit(m_pRelatedGrid);
    endEdit(m_pSortGrid);
    const vantrel::Result<int> saved
        = SaveQuery(theDatabase, m_nQueryId, m_nQueryType, theCurrentUser.UserID, name, collect());
    if (!saved) {
        ShowMessage(this, saved.error(), LoadResString(117), QMessageBox::Critical);
        return;
    }
    // The rows come back with their ids, so the next save rewrites instead of adding.
    LoadQueryList();
    selectQuery(*saved);
    theApp.WriteSystemLog(u"%1%2高级查询'%3'"_s.arg(added ? u"新增"_s : u"修改"_s,
                                                    AdvQueryTypeWord(m_nQueryType), name),
                          0);
}

void CDlgAdvResearch::OnDeleteQuery()
{
    if (!checkEditRight() || m_nQueryId == 0)
        return;
    if (ShowMessage(this, u"确定删除当前查询吗?"_s, LoadResString(117), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const QString name = m_pTree->currentItem() ? m_pTree->currentItem()->text(0) : QString();
    if (!DeleteSavedQuery(theDatabase, m_nQueryId))
        return;
    theApp.WriteSystemLog(u"删除自定义高级查询'%1'"_s.arg(name), 0);
    LoadQueryList();
    m_pTree->setCurrentItem(m_pTree->topLevelItem(0));
    OnSelchangedQueryTree();
}
