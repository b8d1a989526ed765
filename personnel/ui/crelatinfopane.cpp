#include "personnel/ui/crelatinfopane.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/db/sqlidentifier.h"
#include "core/util/stringtable.h"
#include "personnel/relatarc.h"
#include "personnel/ui/personpane.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cmymfctabctrl.h"
#include "ui/controls/filedialogs.h"
#include "ui/controls/gridprint.h"
#include "ui/dialogs/cdlgresetorder.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

// A related table's rows are read by their ID, so that a modified row can be read again
// alone; the wage history has no key of its own.
CBCGPADOGridCtrl *makeGrid(const QString &name, bool keyedById)
{
    auto *grid = new CBCGPADOGridCtrl;
    grid->setObjectName(name);
    grid->SetReadOnly(true);
    if (keyedById) {
        grid->SetKeyField(u"ID"_s);
        grid->SetVirtualMode(true);
    }
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

QWidget *pageWith(QWidget *content)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (content)
        layout->addWidget(content, 1);
    return page;
}

} // namespace

CRelatInfoPane::CRelatInfoPane(QWidget *parent)
    : QDockWidget(u"相关资料"_s, parent)
    , m_pToolBar(new CPaneToolBar)
    , m_pTabs(new CMyMFCTabCtrl)
    , m_pWagePage(nullptr)
    , m_pWageTabs(new QTabBar)
    , m_pGrid(makeGrid(u"RelatGrid"_s, true))
    , m_pWageGrid(makeGrid(u"WageHistoryGrid"_s, false))
{
    setObjectName(u"RelatInfoPane"_s);
    m_pToolBar->setObjectName(u"ToolBar370"_s);
    m_pToolBar->SetOwner(this);
    const auto add = [this](int id, const QString &text, void (CRelatInfoPane::*slot)()) {
        connect(m_pToolBar->AddCommand(id, text), &QAction::triggered, this, slot);
    };
    add(IdAdd, u"新增"_s, &CRelatInfoPane::OnAdd);
    add(IdModify, u"修改"_s, &CRelatInfoPane::OnModify);
    add(IdDelete, u"删除"_s, &CRelatInfoPane::OnDelete);
    add(IdReorder, u"调序"_s, &CRelatInfoPane::OnReorder);
    add(IdExport, u"导出"_s, &CRelatInfoPane::OnExport);
    add(IdPrint, u"打印"_s, &CRelatInfoPane::OnPrint);
    const std::pair<int, QString> tips[] = {
        { IdAdd, u"新增相关信息"_s }, { IdModify, u"修改相关信息"_s },    { IdDelete, u"删除"_s },
        { IdReorder, u"顺序调整"_s }, { IdExport, u"导出为Excel文件"_s }, { IdPrint, u"打印网格"_s }
    };
    for (const auto &[id, tip] : tips)
        m_pToolBar->command(id)->setStatusTip(tip);

    m_pTabs->setObjectName(u"RelatTabs"_s);
    m_pTabs->setDocumentMode(true);
    m_pWageTabs->setShape(QTabBar::RoundedSouth);
    m_pWageTabs->setDrawBase(false);
    m_pWageTabs->setExpanding(false);
    m_pWagePage = pageWith(m_pWageGrid);
    m_pWagePage->layout()->addWidget(m_pWageTabs);
    m_pWageGrid->SetFrozenColumns(1);

    setWidget(panes::PaneBody(m_pToolBar, m_pTabs));

    connect(m_pTabs, &CMyMFCTabCtrl::tabActivated, this, &CRelatInfoPane::onTabActivated);
    connect(m_pTabs, &CMyMFCTabCtrl::columnResized, this, &CRelatInfoPane::onColumnResized);
    connect(m_pWageTabs, &QTabBar::currentChanged, this, &CRelatInfoPane::onWageTabChanged);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridDblClk, this, [this] { OnModify(); });
    connect(m_pGrid, &CBCGPADOGridCtrl::gridSelChanged, m_pToolBar, &CPaneToolBar::UpdateCmdUI);
    m_pTabs->WatchHeader(m_pGrid->horizontalHeader());
    for (QWidget *grid : { static_cast<QWidget *>(m_pGrid), static_cast<QWidget *>(m_pWageGrid) })
        grid->installEventFilter(this);
    LoadTabs();
}

CRelatInfoPane::~CRelatInfoPane() = default;

void CRelatInfoPane::LoadTabs()
{
    m_bLoadingTabs = true;
    // Kept aside while the pages that show it go.
    m_pGrid->hide();
    m_pGrid->setParent(m_pTabs);
    while (m_pTabs->count() > 0) {
        QWidget *page = m_pTabs->widget(0);
        m_pTabs->removeTab(0);
        if (page != m_pWagePage)
            delete page;
    }
    while (m_pWageTabs->count() > 0)
        m_pWageTabs->removeTab(0);
    if (theDatabase.IsOpen()) {
        const vantrel::Result<QVector<WageSetTab>> sets
            = LoadVisibleWageSets(theDatabase, theCurrentUser);
        if (sets) {
            for (const WageSetTab &set : *sets)
                m_pWageTabs->setTabData(m_pWageTabs->addTab(set.Title), set.ID);
        }
        m_tables = LoadRelatedTables(theDatabase, RelatedTables::Shown);
    } else {
        m_tables.clear();
    }
    for (const tagARCTABLEINFO &table : std::as_const(m_tables))
        m_pTabs->addTab(pageWith(nullptr), table.Title);
    m_pTabs->addTab(m_pWagePage, u"薪资情况"_s);
    m_nTable = 0;
    m_nWageSet = m_pWageTabs->count() > 0 ? m_pWageTabs->tabData(0).toInt() : 0;
    m_bLoadingTabs = false;
    m_pTabs->setCurrentIndex(0);
    onTabActivated(0);
}

QWidget *CRelatInfoPane::MainControl() const
{
    return IsWageTab() ? m_pWageGrid : m_pGrid;
}

QAction *CRelatInfoPane::action(int id) const
{
    return m_pToolBar->command(id);
}

bool CRelatInfoPane::IsWageTab() const
{
    return m_pTabs->currentIndex() == m_pTabs->count() - 1;
}

bool CRelatInfoPane::relatTabActive() const
{
    return !IsWageTab() && m_nTable >= 0 && m_nTable < m_tables.size();
}

bool CRelatInfoPane::IsPaneCommandEnabled(int id) const
{
    switch (id) {
    case IdAdd:
    case IdReorder:
        return hasPerson() && relatTabActive();
    case IdModify:
    case IdDelete:
        return hasPerson() && relatTabActive() && m_pGrid->GetCurSel() >= 0;
    case IdExport:
    case IdPrint:
        return hasPerson();
    default:
        return false;
    }
}

void CRelatInfoPane::SetCurrentPerson(const CPersonBase &person)
{
    m_person = person;
    if (IsWageTab())
        fillWageGrid();
    else
        fillRelatGrid();
    m_pToolBar->UpdateCmdUI();
}

void CRelatInfoPane::ReloadRelatRows()
{
    SetCurrentPerson(m_person);
}

void CRelatInfoPane::onTabActivated(int index)
{
    if (m_bLoadingTabs || index < 0)
        return;
    if (index < m_tables.size()) {
        // All related tabs share the one grid.
        m_pTabs->widget(index)->layout()->addWidget(m_pGrid);
        m_pGrid->show();
        m_nTable = index;
    }
    if (hasPerson()) {
        if (IsWageTab())
            fillWageGrid();
        else
            fillRelatGrid();
    }
    m_pToolBar->UpdateCmdUI();
}

void CRelatInfoPane::onWageTabChanged(int index)
{
    if (m_bLoadingTabs || index < 0)
        return;
    m_nWageSet = m_pWageTabs->tabData(index).toInt();
    if (hasPerson())
        fillWageGrid();
}

bool CRelatInfoPane::attach(CBCGPADOGridCtrl *grid)
{
    if (grid->GetConnection() == &theDatabase && theDatabase.IsOpen())
        return true;
    return grid->AttachConnection(&theDatabase);
}

void CRelatInfoPane::fillRelatGrid()
{
    m_pGrid->Close();
    m_strSql.clear();
    if (!hasPerson() || !relatTabActive() || !attach(m_pGrid))
        return;
    const QString table = m_tables.at(m_nTable).TblName;
    const vantrel::Result<RelatColumns> columns = BuildRelatColumnList(theDatabase, table);
    if (!columns || !IsSqlIdentifier(table))
        return;
    m_widths = columns->widths;
    m_pGrid->setUpdatesEnabled(false);
    m_strSql = BuildRelatSelectSql(table, *columns);
    if (m_pGrid->OpenSQL(m_strSql, { m_person.PID })) {
        RecordsetGridModel *model = m_pGrid->GetGridModel();
        const int count = model->columnCount();
        for (int column = 0; column < count; ++column) {
            m_pGrid->setColumnHidden(column, column == 0 || column == count - 1);
            if (column < m_widths.size() && m_widths.at(column) > 0)
                m_pGrid->setColumnWidth(column, m_widths.at(column));
            if (model->fieldKind(column) == vantrel::db::FieldKind::DateTime)
                model->setDateDisplay(column, RecordsetGridModel::DateOnly);
        }
        if (m_pGrid->GetRowCount() > 0)
            m_pGrid->SetCurSel(0, 1);
    } else {
        m_strSql.clear();
        m_pGrid->Close();
    }
    m_pGrid->setUpdatesEnabled(true);
}

void CRelatInfoPane::fillWageGrid()
{
    m_pWageGrid->Close();
    if (!hasPerson() || m_nWageSet <= 0)
        return;
    if (!attach(m_pWageGrid)) {
        ShowMessage(this, u"打开数据库出错!"_s, LoadResString(117), QMessageBox::Warning);
        return;
    }
    const vantrel::Result<WageHistoryQuery> query
        = BuildWageHistoryQuery(theDatabase, m_nWageSet, m_person.PID);
    if (!query)
        return;
    m_pWageGrid->setUpdatesEnabled(false);
    if (m_pWageGrid->OpenSQL(query->sql, query->values)) {
        m_pWageGrid->setColumnHidden(0, true);
        m_pWageGrid->SetFrozenColumns(1);
    } else {
        m_pWageGrid->Close();
    }
    m_pWageGrid->setUpdatesEnabled(true);
}

void CRelatInfoPane::log(const QString &text) const
{
    theApp.WriteSystemLog(text, 0);
}

void CRelatInfoPane::openForm(bool add)
{
    const tagARCTABLEINFO &table = m_tables.at(m_nTable);
    CDlgDynCtlFormForRelatArc form(this);
    form.m_nAddFlag = add ? 1 : 0;
    form.m_strKeyName = u"ID"_s;
    form.m_pOwnerGrid = m_pGrid;
    form.m_pOwnerWnd = this;
    form.m_person = m_person;
    form.m_strTitle = table.Title;
    form.m_strTableName = table.TblName;
    form.m_strCaption = add ? table.Title + u" - 添加"_s : table.Title + u"设置"_s;
    if (!add)
        form.m_nKeyValue = m_pGrid->GetFieldValue(m_pGrid->GetCurSel(), 0).toInt();
    form.exec();
    m_pToolBar->UpdateCmdUI();
}

void CRelatInfoPane::OnAdd()
{
    if (!CheckRightWithMessage(3, theApp, false) || !hasPerson()
        || !panes::PersonStillThere(this, m_person.PID) || !relatTabActive())
        return;
    openForm(true);
}

void CRelatInfoPane::OnModify()
{
    if (!CheckRightWithMessage(3, theApp, false) || !hasPerson()
        || !panes::PersonStillThere(this, m_person.PID) || !relatTabActive())
        return;
    if (m_pGrid->GetCurSel() < 0) {
        ShowMessage(this, LoadResString(111), LoadResString(117), QMessageBox::Information);
        return;
    }
    openForm(false);
}

void CRelatInfoPane::OnDelete()
{
    if (!CheckRightWithMessage(3, theApp, false) || !hasPerson() || !relatTabActive())
        return;
    const int row = m_pGrid->GetCurSel();
    if (row < 0)
        return;
    if (ShowMessage(this, u"确定要删除该记录吗?"_s, LoadResString(117), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const tagARCTABLEINFO &table = m_tables.at(m_nTable);
    const vantrel::Result<bool> deleted = DeleteRelatRow(
        theDatabase, table.TblName, m_pGrid->GetFieldValue(row, 0).toInt(), m_person.PID);
    if (!deleted || !*deleted) {
        ShowMessage(this,
                    u"删除记录出错!\n%1"_s.arg(deleted ? LoadResString(133) : deleted.error()),
                    LoadResString(117), QMessageBox::Warning);
        return;
    }
    log(u"人员档案[\"%1(%2)\"->相关资料'%3'删除记录]"_s.arg(m_person.Name, m_person.Number,
                                                            table.Title));
    fillRelatGrid();
    m_pToolBar->UpdateCmdUI();
}

void CRelatInfoPane::OnReorder()
{
    if (!CheckRightWithMessage(3, theApp, false) || !hasPerson() || !relatTabActive()
        || m_pGrid->GetRowCount() == 0 || m_strSql.isEmpty())
        return;
    const tagARCTABLEINFO &table = m_tables.at(m_nTable);
    CDlgResetOrder dialog(this);
    dialog.SetList(
        m_strSql, 0, m_pGrid->GetGridModel()->columnCount() - 1,
        OrderColumns { table.TblName, u"ID"_s, u"Ord"_s, u"PID = ?"_s, { m_person.PID } },
        { m_person.PID });
    dialog.SetRenumberStatement(u"qz_RefreshPsnRelatOrder"_s, { table.TblName, m_person.PID });
    dialog.exec();
    if (!dialog.IsChanged())
        return;
    log(u"人员档案[\"%1(%2)\"->相关资料'%3'调整顺序]"_s.arg(m_person.Name, m_person.Number,
                                                            table.Title));
    fillRelatGrid();
}

QString CRelatInfoPane::shownTitle() const
{
    if (IsWageTab())
        return m_pWageTabs->currentIndex() >= 0 ? m_pWageTabs->tabText(m_pWageTabs->currentIndex())
                                                : QString();
    return relatTabActive() ? m_tables.at(m_nTable).Title : QString();
}

bool CRelatInfoPane::shownQuery(QString *sql, QVariantList *values, QString *title)
{
    *title = shownTitle();
    if (IsWageTab()) {
        if (m_pWageGrid->GetRowCount() == 0)
            return false;
        const vantrel::Result<WageHistoryQuery> query
            = BuildWageHistoryQuery(theDatabase, m_nWageSet, m_person.PID);
        if (!query)
            return false;
        *sql = query->sql;
        *values = query->values;
        return true;
    }
    if (m_pGrid->GetRowCount() == 0 || m_strSql.isEmpty())
        return false;
    *sql = m_strSql;
    *values = { m_person.PID };
    return true;
}

void CRelatInfoPane::OnExport()
{
    if (!CheckRightWithMessage(10, theApp, false) || !hasPerson())
        return;
    QString sql;
    QVariantList values;
    QString title;
    if (!shownQuery(&sql, &values, &title))
        return;
    QFileDialog dialog(this);
    vantrel::ui::PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({ u"Excel 工作簿 (*.xlsx)"_s, u"All Files (*)"_s });
    dialog.setDefaultSuffix(u"xlsx"_s);
    dialog.selectFile(u"%1(%2)-%3.xlsx"_s.arg(m_person.Name, m_person.Number, title));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    CADORecordset rows(&theDatabase);
    if (!rows.Open(sql, values) || !rows.ExportToExcel(path)) {
        ShowMessage(this, u"导出数据出错!\n%1"_s.arg(rows.GetLastErrorString()), LoadResString(117),
                    QMessageBox::Warning);
        return;
    }
    log(u"人员档案[相关资料数据导出:%1(%2)-'%3']"_s.arg(m_person.Name, m_person.Number, title));
}

bool CRelatInfoPane::PrintShownGrid(QPrinter &printer)
{
    CBCGPADOGridCtrl *grid = IsWageTab() ? m_pWageGrid : m_pGrid;
    if (!hasPerson() || grid->GetRowCount() == 0)
        return false;
    const QString title = u"%1(%2)-'%3'"_s.arg(m_person.Name, m_person.Number, shownTitle());
    if (!vantrel::ui::PrintGrid(*grid, title, printer))
        return false;
    log(u"人员档案[相关资料打印:%1]"_s.arg(title));
    return true;
}

void CRelatInfoPane::OnPrint()
{
    if (!CheckRightWithMessage(5, theApp, false) || !hasPerson())
        return;
    CBCGPADOGridCtrl *grid = IsWageTab() ? m_pWageGrid : m_pGrid;
    if (grid->GetRowCount() == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintShownGrid(printer);
}

void CRelatInfoPane::onColumnResized(int column, int oldWidth, int newWidth)
{
    Q_UNUSED(oldWidth);
    if (!relatTabActive())
        return;
    const QString caption
        = m_pGrid->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    theDatabase.Execute(u"UPDATE qz_Items SET iWid = ? WHERE upper(TblName) = upper(?)"
                        " AND Alias = ?"_s,
                        { newWidth, m_tables.at(m_nTable).TblName, caption });
    if (column < m_widths.size())
        m_widths[column] = newWidth;
}

bool CRelatInfoPane::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ControlModifier)
            && m_pTabs->count() > 0) {
            m_pTabs->setCurrentIndex((m_pTabs->currentIndex() + 1) % m_pTabs->count());
            MainControl()->setFocus();
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

void CRelatInfoPane::contextMenuEvent(QContextMenuEvent *event)
{
    m_pToolBar->UpdateCmdUI();
    QMenu menu(this);
    const QList<QAction *> commands = m_pToolBar->commands();
    for (QAction *command : commands) {
        if (command->data().toInt() == IdExport || command->data().toInt() == IdReorder)
            menu.addSeparator();
        menu.addAction(command);
    }
    menu.exec(event->globalPos());
}
