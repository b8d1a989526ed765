#include "payroll/ui/cviewwage.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/payroll/wagecalculator.h"
#include "core/query/fillers.h"
#include "core/query/itemmetadata.h"
#include "core/query/querybuilders.h"
#include "core/query/scalarqueries.h"
#include "core/script/cscripthostproxy.h"
#include "core/util/profile.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"
#include "payroll/ui/cdlgwagepsntable.h"
#include "payroll/wagebatchupdate.h"
#include "payroll/wagecellwrite.h"
#include "payroll/wageperiods.h"
#include "payroll/wagescope.h"
#include "personnel/advsavedqueries.h"
#include "personnel/advsearch.h"
#include "personnel/psncolumns.h"
#include "personnel/ui/cdlgadvresearch.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/gridcelldelegate.h"
#include "ui/controls/itemgridcommands.h"
#include "ui/controls/recordwriter.h"
#include "ui/dialogs/cdlgbatchupdate.h"
#include "ui/dialogs/cdlgresetorder.h"
#include "ui/dialogs/cprogressdlg.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;
using vantrel::personnel::SqlCondition;

namespace {

constexpr int RightWageSetup = 32;
constexpr int RightChangeData = 19;
constexpr int RightCheckOut = 20;
constexpr int NumberItem = 0;
constexpr int DictionaryItem = 3;

bool mayChangeData()
{
    return theCurrentUser.ISuper || theCurrentUser.HasRight(RightChangeData, false);
}

QString cellText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(u"yyyy-MM-dd"_s);
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    return value.toString();
}

void showFormulaFailure(QWidget *owner, const QString &alias)
{
    ShowMessage(owner, u"计算 [%1] 公式时出错!"_s.arg(alias), LoadResString(117),
                QMessageBox::Information);
}

// A formula failure of the one-person form, per item and person.
class PersonCalcMessages : public WageCalcObserver
{
public:
    explicit PersonCalcMessages(QWidget *owner) : m_pOwner(owner) { }
    void formulaFailed(const QString &alias, const QString &) override
    {
        showFormulaFailure(m_pOwner, alias);
    }

private:
    QWidget *m_pOwner;
};

// The full calculation's progress window. Messages are pumped at most every 40 ms, so that
// drawing does not cost more than the calculation; a press of Cancel skips the rest of the
// item that runs.
class CalcProgressWindow : public WageCalcObserver
{
public:
    explicit CalcProgressWindow(QWidget *owner) : m_pOwner(owner)
    {
        tagProgressInfo info;
        info.caption = u"薪资核算"_s;
        info.status = u"请稍候..."_s;
        info.step = 1;
        m_dialog.Create(info, owner);
        m_dialog.PumpMessages();
        m_clock.start();
    }
    ~CalcProgressWindow() override { m_dialog.DestroyWindow(); }

    void beginItem(const QString &alias, int index, int count, int rows) override
    {
        m_dialog.SetStatus(u"正在核算 '%1' (第%2条共%3条)..."_s.arg(alias).arg(index).arg(count));
        m_rows = rows;
        m_done = 0;
        m_dialog.SetPos(0);
        pump();
    }

    bool rowDone() override
    {
        ++m_done;
        if (m_clock.elapsed() >= 40) {
            m_dialog.SetPos(m_rows > 0 ? int(qint64(m_done) * 100 / m_rows) : 100);
            pump();
        }
        if (!m_dialog.IsCancelled())
            return false;
        m_dialog.ClearCancel();
        return true;
    }

    void formulaFailed(const QString &alias, const QString &) override
    {
        showFormulaFailure(m_pOwner, alias);
    }

private:
    void pump()
    {
        m_dialog.PumpMessages();
        m_clock.restart();
    }

    QWidget *m_pOwner;
    CProgressDlg m_dialog;
    QElapsedTimer m_clock;
    int m_rows = 0;
    int m_done = 0;
};

} // namespace

// The footer strip: one text per column, drawn under that column as the grid scrolls; the
// person count spans the number and name columns.
class WageFooter : public QWidget
{
public:
    explicit WageFooter(CMyADOGridCtrl *grid, QWidget *parent) : QWidget(parent), m_pGrid(grid)
    {
        setObjectName(u"wageFooter"_s);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Button);
        setFixedHeight(fontMetrics().height() + 8);
    }

    void setTexts(const QHash<int, QString> &texts)
    {
        m_texts = texts;
        update();
    }
    QString text(int column) const { return m_texts.value(column); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QHeaderView *header = m_pGrid->horizontalHeader();
        const int left = m_pGrid->frameWidth() + m_pGrid->viewport()->x();
        for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it) {
            const int column = it.key();
            if (m_pGrid->isColumnHidden(column))
                continue;
            // Frozen columns stay at their place while the others scroll.
            const int x = column < m_pGrid->GetFrozenColumns()
                ? header->sectionPosition(column)
                : header->sectionViewportPosition(column);
            int width = header->sectionSize(column);
            if (column == 1 && !m_pGrid->isColumnHidden(2))
                width += header->sectionSize(2);
            const QRect cell(left + x + 3, 0, width - 6, height());
            // A sum cut short must show that it is.
            painter.drawText(cell,
                             Qt::AlignVCenter | (column == 1 ? Qt::AlignLeft : Qt::AlignRight),
                             fontMetrics().elidedText(it.value(), Qt::ElideLeft, cell.width()));
        }
    }

private:
    CMyADOGridCtrl *m_pGrid;
    QHash<int, QString> m_texts;
};

namespace {

// Dictionary items edit in a list of their titles; everything else as in any grid.
class WageCellDelegate : public GridCellDelegate
{
public:
    WageCellDelegate(CBCGPADOGridCtrl *grid, const CViewWage *view)
        : GridCellDelegate(grid), m_pGrid(grid), m_pView(view)
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        const WageGridColumn column = m_pView->GetColumns().value(index.column());
        if (column.iDataType != DictionaryItem)
            return GridCellDelegate::createEditor(parent, option, index);
        if (!m_pGrid->BeginInplaceEdit(index))
            return nullptr;
        auto *list = new QComboBox(parent);
        list->addItem(QString());
        list->addItems(column.choices);
        m_pGrid->OnInplaceEditorCreated(list, index);
        return list;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *list = qobject_cast<QComboBox *>(editor))
            list->setCurrentIndex(
                qMax(0, list->findText(index.data(Qt::EditRole).toString(), Qt::MatchExactly)));
        else
            GridCellDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        if (auto *list = qobject_cast<QComboBox *>(editor)) {
            if (list->currentText() != index.data(Qt::EditRole).toString())
                model->setData(index, list->currentText(), Qt::EditRole);
            return;
        }
        // A number cell takes no text the item refuses: the user learns why.
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (line && !const_cast<CViewWage *>(m_pView)->AcceptTyped(index.column(), line->text()))
            return;
        GridCellDelegate::setModelData(editor, model, index);
    }

private:
    CBCGPADOGridCtrl *m_pGrid;
    const CViewWage *m_pView;
};

} // namespace

// Writes a typed-in value through the payroll service, which checks the period, the row and
// the value again in its transaction, and tells the view what it stored.
class WageRecordWriter : public RecordWriter
{
public:
    explicit WageRecordWriter(CViewWage *view) : m_pView(view) { }

    vantrel::db::ErrorInfo WriteField(const GridRecordRef &record, int field,
                                      const QVariant &value) override
    {
        const WageGridColumn column = m_pView->GetColumns().value(field);
        const WageCellOutcome outcome = WriteWageCell(
            theDatabase,
            { m_pView->GetWageSetId(), m_pView->GetTableName(), m_pView->GetPeriod(),
              record.key.toInt(), column.Name, cellText(value) });
        if (outcome.refusal == WageCellRefusal::None) {
            m_pView->onCellWritten(record.key.toInt(), field, outcome.stored);
            return {};
        }
        return vantrel::db::ErrorInfo::make(
            outcome.refusal == WageCellRefusal::Gone ? vantrel::db::ErrorCode::RowConflict : 1,
            outcome.message.isEmpty() ? LoadResString(133) : outcome.message);
    }

private:
    CViewWage *m_pView;
};

CViewWage::CViewWage(QWidget *parent)
    : CMyBCGPGridView(parent)
    , m_pContextMenu(new QMenu(this))
    , m_pFooter(new WageFooter(GetGridCtrl(), this))
    , m_pWriter(new WageRecordWriter(this))
{
    setObjectName(u"ViewWage"_s);
    m_nFreezeCols = Profile::getInt(u"MDIForm"_s, u"FreezeColsW"_s, 2);
    layout()->addWidget(m_pFooter);
    CMyADOGridCtrl *grid = GetGridCtrl();
    grid->setObjectName(u"wageGrid"_s);
    grid->SetVirtualMode(true);
    grid->SetKeyField(u"PID"_s);
    grid->setSelectionBehavior(Profile::getInt(QString(), u"wWholeRowSel"_s, 1)
                                   ? QAbstractItemView::SelectRows
                                   : QAbstractItemView::SelectItems);
    grid->setItemDelegate(new WageCellDelegate(grid, this));
    grid->SetRecordWriter(m_pWriter.get());
    connect(this, &CMyBCGPGridView::gridSelChanged, this, &CViewWage::updateActions);
    new GridContextMenu(
        this, m_pContextMenu, [this](const QPoint &at) { showContextMenu(at); },
        [this] { Refresh(); });
    new DraggedColumnWidths(
        grid,
        [this](int column) {
            return !m_bSizingColumns && m_bFilled && column >= 1 && column < m_columns.size();
        },
        [this](int column, int width) { storeColumnWidth(column, width); });
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, m_pFooter,
            qOverload<>(&QWidget::update));
    connect(grid->horizontalHeader(), &QHeaderView::geometriesChanged, m_pFooter,
            qOverload<>(&QWidget::update));
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, m_pFooter,
            qOverload<>(&QWidget::update));
    createActions();
}

CViewWage::~CViewWage()
{
    GetGridCtrl()->SetRecordWriter(nullptr);
}

void CViewWage::createActions()
{
    const auto add = [this](int id, const QString &text, void (CViewWage::*slot)()) {
        auto *a = new QAction(text, this);
        a->setData(id);
        m_actions.insert(id, a);
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        else
            a->setEnabled(false); // comes with a later part of the module
        return a;
    };
    add(IdAdd, u"增加"_s, &CViewWage::OnAdd)->setShortcut(QKeySequence(u"Ctrl+N"_s));
    add(IdDelete, u"删除"_s, &CViewWage::OnDelete)->setShortcut(QKeySequence(u"Ctrl+D"_s));
    add(IdReorder, u"调序"_s, &CViewWage::OnReorder);
    add(IdBatchUpdate, u"批量修改"_s, &CViewWage::OnBatchUpdate);
    add(IdImport, u"数据接收导入..."_s, nullptr);
    add(IdCalculate, u"薪资核算"_s, &CViewWage::OnCalculate)->setShortcut(QKeySequence(Qt::Key_F7));
    add(IdSelectAll, u"全选"_s, &CViewWage::OnSelectAll);
    add(IdCopy, u"复制"_s, &CViewWage::OnCopy);
    add(IdExport, u"导出"_s, nullptr);
    add(IdFreeze, u"冻结列"_s, &CViewWage::OnFreezeColumns);
    add(IdColumnFormat, u"列显示格式"_s, &CViewWage::OnColumnFormat);
    add(IdFilter, u"高级数据查询"_s, &CViewWage::OnAdvancedFilter);
    add(IdRefresh, u"刷新"_s, &CViewWage::Refresh);
    add(IdCheckOut, u"结账"_s, &CViewWage::OnCheckOut);
    for (QAction *a : std::as_const(m_actions))
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addActions({ m_actions.value(IdAdd), m_actions.value(IdDelete), m_actions.value(IdCalculate) });
    FillCommandMenu(m_pContextMenu, m_actions,
                    { int(IdAdd), int(IdDelete), int(IdReorder), 0, int(IdBatchUpdate),
                      int(IdImport), 0, int(IdCalculate), 0, int(IdSelectAll), int(IdCopy),
                      int(IdExport), 0, int(IdFreeze), int(IdColumnFormat), 0, int(IdFilter),
                      int(IdRefresh) });
    connect(GetGridCtrl()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CViewWage::updateActions);
    updateActions();
}

void CViewWage::updateActions()
{
    const bool selected = GetGridCtrl()->selectionModel()->hasSelection();
    m_actions.value(IdDelete)->setEnabled(selected);
    m_actions.value(IdCopy)->setEnabled(selected);
    const bool itemColumn = currentColumn() >= 1;
    m_actions.value(IdFreeze)->setEnabled(itemColumn);
    m_actions.value(IdColumnFormat)->setEnabled(itemColumn);
}

void CViewWage::SetPeriod(int sid, const QString &title, const QString &table, int period,
                          int closed)
{
    m_nSid = sid;
    m_strTitle = title;
    m_strTable = table;
    m_nPeriod = period;
    m_nClosed = closed;
}

QString CViewWage::periodText() const
{
    return FormatWagePeriod(m_nPeriod);
}

int CViewWage::currentColumn() const
{
    const QModelIndex current = GetGridCtrl()->currentIndex();
    return current.isValid() ? current.column() : -1;
}

void CViewWage::LoadColumns()
{
    m_columns = QVector<WageGridColumn>(FirstItemColumn);
    m_columns[0].bShow = false;
    m_strSelect.clear();
    m_sums.clear();
    const QString person = u"QZ_PSNBASE"_s;
    for (const int column : { 1, 2 }) {
        WageGridColumn &c = m_columns[column];
        c.Name = column == 1 ? u"Number"_s : u"Name"_s;
        c.Alias = GetItemAlias(person, c.Name);
        if (c.Alias.isEmpty())
            c.Alias = column == 1 ? u"编号"_s : u"姓名"_s;
        c.iWid = GetItemWidth(c.Name, person);
        const vantrel::db::QueryResult look = theDatabase.run(
            u"SELECT ColFmt FROM qz_Items WHERE upper(TblName)=? AND Name=?"_s, { person, c.Name });
        if (look.ok && look.rows.rowCount() > 0)
            c.ColFmt = look.rows.value(0, 0).toString();
    }
    const vantrel::db::QueryResult rows
        = theDatabase.run(u"SELECT ItemID,Name,Alias,iDataType,iWid,iDec,iChoice,IdRef,bShow,ColFmt"
                          " FROM qz_Items WHERE upper(TblName)=? ORDER BY Ord, ItemID"_s,
                          { m_strTable.toUpper() });
    if (!rows.ok)
        return;
    QSet<QString> used { u"pid"_s, m_columns[1].Alias.toLower(), m_columns[2].Alias.toLower() };
    QStringList select;
    for (int row = 0; row < rows.rows.rowCount(); ++row) {
        WageGridColumn c;
        c.ItemID = rows.rows.value(row, 0).toInt();
        c.Name = rows.rows.value(row, 1).toString();
        if (!IsSqlIdentifier(c.Name))
            continue;
        c.Alias = rows.rows.value(row, 2).toString();
        // Headings stay distinct, so that every column keeps its own field.
        for (int n = 2; used.contains(c.Alias.toLower()); ++n)
            c.Alias = rows.rows.value(row, 2).toString() + u"(%1)"_s.arg(n);
        used.insert(c.Alias.toLower());
        c.iDataType = rows.rows.value(row, 3).toInt();
        c.iWid = rows.rows.value(row, 4).toInt();
        c.iDec = rows.rows.value(row, 5).toInt();
        c.iChoice = rows.rows.value(row, 6).toInt();
        c.IdRef = rows.rows.value(row, 7).toString();
        c.bShow = rows.rows.value(row, 8).toInt() != 0;
        c.ColFmt = rows.rows.value(row, 9).toString();
        if (c.iDataType == DictionaryItem)
            c.choices = GetDictTitleList(c.IdRef, true).split(u'|', Qt::SkipEmptyParts);
        select << m_strTable + u'.' + c.Name + u" AS "_s + QuoteCaption(c.Alias);
        if (c.iDataType == NumberItem)
            m_sums << u"SUM(%1.%2)"_s.arg(m_strTable, c.Name);
        m_columns << c;
    }
    m_strSelect = select.join(u',');
}

void CViewWage::SetFilters(int department, int category)
{
    m_nDeptFilter = department;
    m_nSortFilter = category;
}

void CViewWage::BuildWhereClause()
{
    const vantrel::Result<SqlCondition> where = BuildWageWhere(
        theDatabase, { m_strTable, m_nPeriod, m_nDeptFilter, m_nSortFilter }, theCurrentUser);
    // Without the department tree the grid must not widen: it shows nobody.
    m_where = where ? *where : SqlCondition { u" WHERE (1=0)"_s, {} };
    // An advanced filter lasts until the scope is built again.
    m_filter = {};
    m_strOrderBy.clear();
}

SqlCondition CViewWage::shownWhere() const
{
    return vantrel::personnel::CombineWhere(m_where, m_filter);
}

void CViewWage::OnAdvancedFilter()
{
    CDlgAdvResearch dialog(this);
    LoadItemInfos(dialog.ItemList(),
                  u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s);
    LoadItemInfos(dialog.ItemList(), u"WHERE UPPER(TblName)=UPPER(?) ORDER BY Ord"_s,
                  { m_strTable });
    dialog.SetQueryType(vantrel::personnel::AdvWageData);
    if (dialog.exec() != QDialog::Accepted)
        return;
    BuildWhereClause();
    m_filter = dialog.GetCondition();
    if (!dialog.GetOrderBy().isEmpty())
        m_strOrderBy = u" ORDER BY "_s + dialog.GetOrderBy();
    FillGrid();
}

bool CViewWage::FillGrid()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_bFilled = false;
    CMyADOGridCtrl *grid = GetGridCtrl();
    grid->setUpdatesEnabled(false);
    m_pFooter->setTexts({});
    const QString from = WageFromClause(m_strTable);
    bool ok = !from.isEmpty()
        && ((grid->GetConnection() && grid->GetConnection()->IsOpen())
            || grid->OpenConnection(theApp.m_strConnection));
    if (ok) {
        const SqlCondition shown = shownWhere();
        const QString scope = from + shown.sql
            + (m_strOrderBy.isEmpty() ? u" ORDER BY qz_Dept.Ord,%1.Ord"_s.arg(m_strTable)
                                      : m_strOrderBy);
        // The keys alone, so that the server sorts narrow rows.
        grid->SetKeyQuery(u"SELECT qz_PsnBase.PID"_s + scope);
        ok = grid->OpenSQL(
            u"SELECT qz_PsnBase.PID,qz_PsnBase.Number AS %1,qz_PsnBase.Name AS %2"_s.arg(
                QuoteCaption(m_columns.value(1).Alias), QuoteCaption(m_columns.value(2).Alias))
                + (m_strSelect.isEmpty() ? QString() : u","_s + m_strSelect) + scope,
            shown.values);
    }
    if (ok) {
        formatColumns();
        m_bFilled = true;
        UpdateFooterTotals();
        if (grid->GetRowCount() > 0)
            grid->SetCurSel(0, 1);
    }
    grid->setUpdatesEnabled(true);
    updateActions();
    QApplication::restoreOverrideCursor();
    return ok;
}

void CViewWage::UpdateFooterTotals()
{
    QHash<int, QString> texts;
    const QString from = WageFromClause(m_strTable);
    const SqlCondition shown = shownWhere();
    const vantrel::db::QueryResult totals = theDatabase.run(
        u"SELECT COUNT(*)"_s + (m_sums.isEmpty() ? QString() : u","_s + m_sums.join(u',')) + from
            + shown.sql,
        shown.values);
    const int count = totals.ok && totals.rows.rowCount() > 0 ? totals.rows.value(0, 0).toInt()
                                                              : GetGridCtrl()->GetRowCount();
    texts.insert(1, u"合计：%1人"_s.arg(count));
    int field = 1;
    for (int column = FirstItemColumn; totals.ok && column < m_columns.size(); ++column) {
        const WageGridColumn &c = m_columns.at(column);
        if (c.iDataType != NumberItem)
            continue;
        const QVariant sum = totals.rows.value(0, field++);
        texts.insert(column,
                     sum.isNull() ? QString() : QString::number(sum.toDouble(), 'f', c.iDec));
    }
    m_pFooter->setTexts(texts);
    widenForFooter(texts);
}

void CViewWage::widenForFooter(const QHash<int, QString> &texts)
{
    // A column without a width of its own grows to show its whole sum.
    CMyADOGridCtrl *grid = GetGridCtrl();
    m_bSizingColumns = true;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        const int needed = m_pFooter->fontMetrics().horizontalAdvance(it.value()) + 8;
        if (it.key() >= FirstItemColumn && it.key() < m_columns.size()
            && m_columns.at(it.key()).iWid <= 0 && grid->columnWidth(it.key()) < needed)
            grid->setColumnWidth(it.key(), needed);
    }
    m_bSizingColumns = false;
}

QString CViewWage::GetFooterCell(int column) const
{
    return m_pFooter->text(column);
}

void CViewWage::formatColumns()
{
    CMyADOGridCtrl *grid = GetGridCtrl();
    RecordsetGridModel *model = grid->GetGridModel();
    m_bSizingColumns = true;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (column == 0 || column >= m_columns.size()) {
            grid->setColumnHidden(column, true);
            continue;
        }
        const WageGridColumn &c = m_columns.at(column);
        grid->setColumnHidden(column, !c.bShow);
        if (c.iWid > 0)
            grid->setColumnWidth(column, c.iWid);
        vantrel::personnel::PsnColumnFormat format;
        if (vantrel::personnel::ParseColumnFormat(c.ColFmt, &format))
            model->setColumnFormat(column, { format.text, format.background, format.bold });
    }
    m_bSizingColumns = false;
    grid->SetFrozenColumns(m_nFreezeCols);
}

void CViewWage::applyReadOnly()
{
    GetGridCtrl()->SetReadOnly(m_nClosed != 0 || !mayChangeData());
}

void CViewWage::OnInitialUpdate()
{
    LoadColumns();
    BuildWhereClause();
    applyReadOnly();
}

void CViewWage::OnActivateView()
{
    theApp.SID = m_nSid;
    theApp.SDate = m_nPeriod;
    theApp.SName = m_strTitle;
    theApp.m_wageView = WageScopeSource(m_strTable, m_where);
}

void CViewWage::Refresh()
{
    Q_EMIT refreshing();
    LoadColumns();
    BuildWhereClause();
    FillGrid();
    OnActivateView();
}

int CViewWage::RowOfPerson(int pid) const
{
    return GetGridCtrl()->FindRowByKey(pid);
}

void CViewWage::Search()
{
    if (!m_pSearchBox)
        return;
    const QString text = m_pSearchBox->currentText().trimmed();
    if (text.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int row = -1;
    const SqlCondition shown = shownWhere();
    for (const QString &column : { u"Number"_s, u"Name"_s }) {
        const vantrel::db::QueryResult found = theDatabase.run(
            u"SELECT qz_PsnBase.PID"_s + WageFromClause(m_strTable) + shown.sql
                + u" AND upper(qz_PsnBase.%1)=upper(?) ORDER BY qz_Dept.Ord,%2.Ord"_s.arg(
                    column, m_strTable),
            shown.values + QVariantList { text });
        if (found.ok && found.rows.rowCount() > 0) {
            row = RowOfPerson(found.rows.value(0, 0).toInt());
            if (row >= 0)
                break;
        }
    }
    QApplication::restoreOverrideCursor();
    if (row < 0)
        return;
    ShowFoundRow(GetGridCtrl(), row, qMax(currentColumn(), 1), m_pSearchBox, text);
}

bool CViewWage::periodMayChange()
{
    const vantrel::Result<WagePeriodState> state
        = ReadWagePeriodState(theDatabase, m_nSid, m_nPeriod);
    if (!state) {
        ShowMessage(this, state.error(), LoadResString(117), QMessageBox::Critical);
        return false;
    }
    if (!state->exists) {
        ShowMessage(this, LoadResString(133), LoadResString(117), QMessageBox::Information);
        return false;
    }
    if (state->closed) {
        m_nClosed = 1;
        applyReadOnly();
        ShowMessage(this, LoadResString(110), LoadResString(117), QMessageBox::Information);
        return false;
    }
    return true;
}

void CViewWage::greyRow(int row)
{
    CMyADOGridCtrl *grid = GetGridCtrl();
    grid->GetGridModel()->setRecordBackground(grid->GetRecordOfRow(row),
                                              palette().color(QPalette::Mid));
}

bool CViewWage::showCellRefusal(const WageCellOutcome &outcome, int row)
{
    switch (outcome.refusal) {
    case WageCellRefusal::None:
        return false;
    case WageCellRefusal::Gone:
        ShowMessage(this, LoadResString(133), LoadResString(117), QMessageBox::Information);
        greyRow(row);
        break;
    case WageCellRefusal::Closed:
        m_nClosed = 1;
        applyReadOnly();
        ShowMessage(this, LoadResString(110), LoadResString(117), QMessageBox::Information);
        break;
    case WageCellRefusal::Invalid:
        ShowMessage(this, outcome.message, LoadResString(117), QMessageBox::Warning);
        break;
    case WageCellRefusal::Failed:
        ShowMessage(this, outcome.message, LoadResString(117), QMessageBox::Critical);
        break;
    }
    return true;
}

int CViewWage::OnGridBeginEdit(const GridItemInfo &info)
{
    if (info.column < FirstItemColumn || info.column >= m_columns.size() || !mayChangeData())
        return 1;
    const int pid = GetGridCtrl()->GetFieldValue(info.row, 0).toInt();
    return showCellRefusal(CheckWageCellEditable(theDatabase, m_nSid, m_strTable, m_nPeriod, pid),
                           info.row)
        ? 1
        : 0;
}

int CViewWage::OnGridItemChanged(const GridItemInfo &info)
{
    if (info.column < FirstItemColumn || info.column >= m_columns.size() || !mayChangeData())
        return 1;
    const int pid = GetGridCtrl()->GetFieldValue(info.row, 0).toInt();
    WageCellOutcome check = CheckWageCellEditable(theDatabase, m_nSid, m_strTable, m_nPeriod, pid);
    if (check.refusal == WageCellRefusal::None) {
        const vantrel::Result<WageItemInfo> item
            = ReadWageItem(theDatabase, m_strTable, m_columns.at(info.column).Name);
        const vantrel::Result<QVariant> value = item
            ? CheckWageValue(theDatabase, *item, cellText(info.value))
            : vantrel::Result<QVariant>::failure(item.error());
        if (!value)
            check = { WageCellRefusal::Invalid, value.error(), {} };
    }
    return showCellRefusal(check, info.row) ? 1 : 0;
}

bool CViewWage::AcceptTyped(int column, const QString &text)
{
    if (column < FirstItemColumn || column >= m_columns.size()
        || m_columns.at(column).iDataType != NumberItem)
        return true;
    const vantrel::Result<WageItemInfo> item
        = ReadWageItem(theDatabase, m_strTable, m_columns.at(column).Name);
    if (!item)
        return true; // the write reports what is wrong
    const vantrel::Result<QVariant> value = CheckWageValue(theDatabase, *item, text);
    if (value)
        return true;
    ShowMessage(this, value.error(), LoadResString(117), QMessageBox::Warning);
    return false;
}

void CViewWage::onCellWritten(int pid, int field, const QVariant &stored)
{
    const CMyADOGridCtrl *grid = GetGridCtrl();
    const int row = grid->FindRowByKey(pid);
    theApp.WriteSystemLog(
        WageCellLogText(m_strTitle, m_nPeriod,
                        row < 0 ? QString() : grid->GetFieldValue(row, 2).toString(),
                        m_columns.value(field).Alias, cellText(stored)),
        0);
    recalculatePerson(pid);
}

WageCalcScope CViewWage::calcScope() const
{
    const SqlCondition shown = shownWhere();
    return { m_strTable, m_nPeriod, { shown.sql, shown.values } };
}

CScriptHostProxy *CViewWage::scriptHost()
{
    if (!m_pScriptHost) {
        m_pScriptHost = std::make_unique<CScriptHostProxy>();
        const vantrel::Status started = RestartScriptHost(m_pScriptHost.get());
        if (!started)
            ShowMessage(this, started.error(), LoadResString(117), QMessageBox::Critical);
    }
    return m_pScriptHost->hasEngine() ? m_pScriptHost.get() : nullptr;
}

void CViewWage::recalculatePerson(int pid)
{
    CScriptHostProxy *host = scriptHost();
    if (host) {
        // The aggregates of the formulas read this view's rows.
        OnActivateView();
        PersonCalcMessages messages(this);
        WageCalculator calculator(theDatabase, *host->engine());
        const vantrel::Result<WageCalcReport> report
            = calculator.RecalculatePerson(calcScope(), pid, &messages);
        if (!report)
            ShowMessage(this, report.error(), LoadResString(117), QMessageBox::Critical);
        else if (!report->skipped.isEmpty())
            ShowMessage(this, report->skippedMessage(), LoadResString(117), QMessageBox::Warning);
        const int row = RowOfPerson(pid);
        if (row >= 0)
            GetGridCtrl()->RefreshRow(row);
    }
    UpdateFooterTotals();
}

void CViewWage::storeColumnWidth(int column, int width)
{
    WageGridColumn &c = m_columns[column];
    c.iWid = width;
    vantrel::personnel::SaveColumnWidth(theDatabase, WageColumnTable(m_strTable, c.Name), c.Name,
                                        width);
}

QVector<int> CViewWage::selectedRows() const
{
    return GetGridCtrl()->SelectedRows();
}

void CViewWage::OnAdd()
{
    if (!CheckRightWithMessage(RightWageSetup, theApp, true) || !periodMayChange())
        return;
    CDlgWagePsnTable dialog(this);
    dialog.SetTarget(m_nDeptFilter, m_nSid, m_nPeriod);
    if (dialog.exec() == QDialog::Accepted)
        FillGrid();
}

void CViewWage::OnDelete()
{
    if (!CheckRightWithMessage(RightWageSetup, theApp, true) || !periodMayChange())
        return;
    const QVector<int> rows = selectedRows();
    if (rows.isEmpty()) {
        ShowMessage(this, LoadResString(112), LoadResString(117), QMessageBox::Information);
        return;
    }
    const QString question = rows.size() == 1
        ? u"确定要删除该人员薪资记录吗?"_s
        : u"确定要删除选择的 %1 人薪资记录吗?"_s.arg(rows.size());
    if (ShowMessage(this, question, LoadResString(117), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QVector<int> pids;
    for (const int row : rows)
        pids << GetGridCtrl()->GetFieldValue(row, 0).toInt();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Status deleted = DeleteWagePersons(theDatabase, m_nSid, m_nPeriod, pids);
    QApplication::restoreOverrideCursor();
    if (!deleted) {
        ShowMessage(this, deleted.error(), LoadResString(117), QMessageBox::Critical);
        return;
    }
    theApp.WriteSystemLog(
        u"薪资管理['%1:%2'删除人员%3个]"_s.arg(m_strTitle, periodText()).arg(pids.size()), 0);
    FillGrid();
}

void CViewWage::OnReorder()
{
    if (!CheckRightWithMessage(RightWageSetup, theApp, true) || !periodMayChange())
        return;
    if (m_nDeptFilter <= 0 || GetDeptChildCount(m_nDeptFilter) > 0) {
        ShowMessage(this, LoadResString(115), LoadResString(117), QMessageBox::Information);
        return;
    }
    const BoundQuery list = WageReorderListQuery(m_strTable, m_nPeriod, m_nDeptFilter);
    CDlgResetOrder dialog(this);
    dialog.SetList(list.sql, 0, 5,
                   OrderColumns { m_strTable,
                                  u"ID"_s,
                                  u"Ord"_s,
                                  u"fDate = ? AND DID = ?"_s,
                                  { m_nPeriod, m_nDeptFilter } },
                   list.values);
    dialog.SetRenumberStatement(u"qz_RefreshWageTablePsnOrder"_s,
                                { m_strTable, m_nPeriod, m_nDeptFilter });
    dialog.exec();
    if (!dialog.IsChanged())
        return;
    theApp.WriteSystemLog(
        u"薪资管理['%1:%2:%3'人员调序]"_s.arg(m_strTitle, periodText(), GetDeptName(m_nDeptFilter)),
        0);
    FillGrid();
}

void CViewWage::OnBatchUpdate()
{
    if (!CheckRightWithMessage(RightChangeData, theApp, true) || !periodMayChange())
        return;
    CItemInfoArray items;
    LoadItemInfos(items, u"WHERE upper(TblName)=? ORDER BY Ord, ItemID"_s,
                  { m_strTable.toUpper() });
    const int column = currentColumn();
    CDlgBatchUpdate dialog(this);
    dialog.SetItems(items, column >= FirstItemColumn ? m_columns.value(column).Alias : QString());
    if (dialog.exec() != QDialog::Accepted || dialog.GetSelectedItem() < 0)
        return;
    const tagVANTRELITEMINFO &item = items.at(dialog.GetSelectedItem());
    const WageBatchUpdate update { item.Name, dialog.GetMode(), dialog.GetValueText() };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Result<int> changed
        = RunWageBatchUpdate(theDatabase, m_strTable, update, shownWhere());
    QApplication::restoreOverrideCursor();
    if (!changed) {
        ShowMessage(this, u"批量修改失败\n"_s + changed.error(), LoadResString(117),
                    QMessageBox::Critical);
        return;
    }
    theApp.WriteSystemLog(
        WageBatchLogText(m_strTitle, m_nPeriod, item.Alias, update, item.iDataType, shownWhere()),
        0);
    FillGrid();
}

void CViewWage::OnCheckOut()
{
    if (!CheckRightWithMessage(RightCheckOut, theApp, true))
        return;
    if (ShowMessage(this, u"确定要将\"%1\"薪资表标记为结账状态吗?"_s.arg(periodText()),
                    LoadResString(117), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                    QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const vantrel::Status closed = SetWagePeriodClosed(theDatabase, m_nSid, m_nPeriod, true);
    if (!closed) {
        ShowMessage(this, closed.error(), LoadResString(117), QMessageBox::Critical);
        return;
    }
    m_nClosed = 1;
    applyReadOnly();
    theApp.WriteSystemLog(u"薪资管理['%1:%2'薪资结账]"_s.arg(m_strTitle, periodText()), 0);
    FillGrid();
    ShowMessage(this, u"结账完成!"_s, LoadResString(117), QMessageBox::Information);
}

void CViewWage::OnCalculate()
{
    if (!CheckRightWithMessage(RightChangeData, theApp, true) || !periodMayChange())
        return;
    if (ShowMessage(this, u"确定要重新计算当前薪资表吗?"_s, LoadResString(117),
                    QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    CScriptHostProxy *host = scriptHost();
    if (!host)
        return;
    OnActivateView();
    vantrel::Result<WageCalcReport> report = WageCalcReport();
    if (GetGridCtrl()->GetRowCount() > 0) {
        CalcProgressWindow progress(this);
        WageCalculator calculator(theDatabase, *host->engine());
        report = calculator.RecalculateAll(calcScope(), &progress);
    }
    if (!report)
        ShowMessage(this, report.error(), LoadResString(117), QMessageBox::Critical);
    else if (!report->skipped.isEmpty())
        ShowMessage(this, report->skippedMessage(), LoadResString(117), QMessageBox::Warning);
    theApp.WriteSystemLog(u"薪资管理['%1:%2:%3'薪资重新核算]"_s.arg(
                              m_strTitle, GetDeptName(m_nDeptFilter), periodText()),
                          0);
    FillGrid();
}

void CViewWage::OnFreezeColumns()
{
    const int column = currentColumn();
    if (column < 1)
        return;
    m_nFreezeCols = FreezeColumnsThrough(GetGridCtrl(), column);
    Profile::writeInt(u"MDIForm"_s, u"FreezeColsW"_s, m_nFreezeCols);
    m_pFooter->update();
}

void CViewWage::OnColumnFormat()
{
    const int column = currentColumn();
    if (column < 1 || column >= m_columns.size())
        return;
    if (!CheckRightWithMessage(RightChangeData, theApp, true))
        return;
    CMyADOGridCtrl *grid = GetGridCtrl();
    vantrel::personnel::PsnColumnFormat stored;
    vantrel::personnel::ParseColumnFormat(m_columns.at(column).ColFmt, &stored);
    const std::optional<RecordsetGridModel::ColumnFormat> chosen = AskColumnFormat(
        grid, m_columns.at(column).Alias, { stored.text, stored.background, stored.bold }, this);
    if (!chosen)
        return;
    const QString text
        = vantrel::personnel::ColumnFormatText({ chosen->bold, chosen->text, chosen->background });
    QString error;
    const QString name = m_columns.at(column).Name;
    if (!vantrel::personnel::SaveColumnFormat(theDatabase, WageColumnTable(m_strTable, name), name,
                                              text, &error)) {
        ShowMessage(this, error, LoadResString(117), QMessageBox::Critical);
        return;
    }
    m_columns[column].ColFmt = text;
    grid->GetGridModel()->setColumnFormat(column, *chosen);
}

void CViewWage::OnSelectAll()
{
    GetGridCtrl()->selectAll();
}

void CViewWage::OnCopy()
{
    CopySelectedRows(GetGridCtrl(), 1);
}

void CViewWage::showContextMenu(const QPoint &globalPos)
{
    updateActions();
    m_pContextMenu->popup(globalPos);
}
