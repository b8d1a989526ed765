#include "personnel/ui/cdlgpsnhistorymanage.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/itemmetadata.h"
#include "core/util/stringtable.h"
#include "personnel/advsearch.h"
#include "personnel/ui/cdlgadvresearch.h"
#include "personnel/ui/cdlgpsnchangewizard.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/filedialogs.h"
#include "ui/controls/gridprint.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/modulecommands.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

CDlgPsnHistoryManage::CDlgPsnHistoryManage(const PsnHistoryKind &kind, int formNumber,
                                           QWidget *parent)
    : CDialogExx(formNumber, 0, parent)
    , m_kind(kind)
    , m_pGrid(new CBCGPADOGridCtrl(this))
    , m_pToolBar(new QToolBar(this))
    , m_pName(new QLineEdit(this))
    , m_pFrom(new CDateTimeCtrl(true, this))
    , m_pTo(new CDateTimeCtrl(true, this))
    , m_pStatus(new QLabel(this))
    , m_pMenu(new QMenu(this))
{
    setWindowTitle(kind.title);
    resize(760, 520);
    setMinimumSize(200, 200);
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto add = [this](int id, const QString &text, const QString &menuText,
                            const QString &tip, void (CDlgPsnHistoryManage::*slot)()) {
        QAction *a = m_pToolBar->addAction(text);
        a->setData(id);
        a->setToolTip(tip);
        connect(a, &QAction::triggered, this, slot);
        m_actions.insert(id, a);
        QAction *item = m_pMenu->addAction(menuText);
        connect(item, &QAction::triggered, this, slot);
    };
    add(IdAdd, u"新增"_s, u"添加(&A)"_s, u"添加"_s, &CDlgPsnHistoryManage::OnAdd);
    add(IdDelete, u"删除"_s, u"删除(&D)"_s, u"删除"_s, &CDlgPsnHistoryManage::OnDelete);
    m_pToolBar->addSeparator();
    add(IdSearch, u"查询"_s, u"查询(&E)"_s, u"高级查询"_s, &CDlgPsnHistoryManage::OnAdvancedSearch);
    m_pToolBar->addSeparator();
    add(IdExport, u"导出"_s, u"导出(&I)"_s, u"导出"_s, &CDlgPsnHistoryManage::OnExport);
    add(IdPrint, u"打印"_s, u"打印(&P)"_s, u"打印"_s, &CDlgPsnHistoryManage::OnPrint);
    m_pToolBar->addSeparator();
    add(IdRefresh, u"刷新"_s, u"刷新(&R)"_s, u"刷新列表"_s, &CDlgPsnHistoryManage::OnRefresh);
    m_pToolBar->addSeparator();
    QAction *close = m_pToolBar->addAction(u"退出"_s);
    close->setToolTip(u"关闭窗口"_s);
    connect(close, &QAction::triggered, this, [this] { done(QDialog::Accepted); });
    m_actions.insert(IdClose, close);
    m_pMenu->addAction(u"退出(&C)"_s, this, [this] { done(QDialog::Accepted); });

    auto *find = new QPushButton(u"查找"_s, this);
    find->setAutoDefault(false);
    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel(u"姓名："_s, this));
    filters->addWidget(m_pName);
    filters->addWidget(new QLabel(u"日期："_s, this));
    filters->addWidget(m_pFrom);
    filters->addWidget(new QLabel(u"至"_s, this));
    filters->addWidget(m_pTo);
    filters->addWidget(find);
    filters->addStretch();
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addWidget(m_pToolBar);
    layout->addWidget(line);
    layout->addLayout(filters);
    layout->addWidget(m_pGrid, 1);
    layout->addWidget(m_pStatus);

    m_pGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->SetReadOnly(true);
    m_pGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_pMenu->popup(m_pGrid->viewport()->mapToGlobal(pos)); });
    connect(m_pGrid->horizontalHeader(), &QHeaderView::sectionResized, this,
            &CDlgPsnHistoryManage::onColumnResized);
    connect(find, &QPushButton::clicked, this, &CDlgPsnHistoryManage::OnFind);
    m_pFrom->SetDate(QDate());
    m_pTo->SetDate(QDate());
    ResetFilter();
    LoadHistory();
}

void CDlgPsnHistoryManage::ResetFilter()
{
    m_where = HistoryScope(theCurrentUser);
    m_strOrderBy = HistoryDefaultOrder(m_kind);
}

bool CDlgPsnHistoryManage::LoadHistory()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_bLoading = true;
    m_pGrid->Close();
    bool ok = m_pGrid->OpenConnection(theApp.m_strConnection);
    if (!ok) {
        m_bLoading = false;
        QApplication::restoreOverrideCursor();
        ShowMessage(this, u"打开数据库出错!"_s, LoadResString(117), QMessageBox::Critical);
        return false;
    }
    const vantrel::Result<HistorySelect> select = BuildHistorySelect(theDatabase, m_kind);
    ok = select
        && m_pGrid->OpenSQL(HistoryQuery(m_kind, select->columns, m_where.sql, m_strOrderBy),
                            m_where.values);
    if (ok) {
        m_widths = select->widths;
        m_pGrid->setColumnHidden(0, true);
        m_pGrid->setColumnHidden(1, true);
        for (int column = 0; column < m_widths.size(); ++column)
            m_pGrid->setColumnWidth(column, m_widths.at(column));
        if (m_pGrid->GetRowCount() > 0)
            m_pGrid->SetCurSel(0, 2);
    } else {
        m_pGrid->Close();
    }
    m_pStatus->setText(u" 共: %1 项"_s.arg(ok ? m_pGrid->GetRowCount() : 0));
    m_bLoading = false;
    QApplication::restoreOverrideCursor();
    return ok;
}

void CDlgPsnHistoryManage::OnFind()
{
    const SqlCondition condition = HistoryQuickFilter(
        theDatabase.dialect(), m_kind, m_pName->text(), m_pFrom->GetDate(), m_pTo->GetDate());
    if (condition.isEmpty())
        return;
    ResetFilter();
    m_where = CombineWhere(m_where, condition);
    LoadHistory();
}

void CDlgPsnHistoryManage::OnAdvancedSearch()
{
    CDlgAdvResearch dialog(this);
    LoadItemInfos(dialog.ItemList(),
                  u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s);
    LoadItemInfos(dialog.ItemList(), u"WHERE (UPPER(TblName)=?) AND iDataType<4 ORDER BY Ord"_s,
                  { m_kind.itemTable });
    dialog.SetQueryType(m_kind.queryType);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ResetFilter();
    m_where = CombineWhere(m_where, dialog.GetCondition());
    if (!dialog.GetOrderBy().isEmpty())
        m_strOrderBy = u" ORDER BY "_s + dialog.GetOrderBy();
    LoadHistory();
}

void CDlgPsnHistoryManage::OnRefresh()
{
    ResetFilter();
    LoadHistory();
}

void CDlgPsnHistoryManage::OnAdd()
{
    CDlgPsnChangeWizard wizard(m_kind.change, this);
    wizard.SetTitle(m_kind.change.personColumn == u"DID" ? u"人员调动设置向导"_s
                                                         : u"人员离职设置向导"_s);
    if (wizard.exec() == QDialog::Accepted)
        LoadHistory();
}

void CDlgPsnHistoryManage::OnDelete()
{
    if (m_pGrid->GetCurSel() < 0) {
        ShowMessage(this, LoadResString(111), LoadResString(117), QMessageBox::Information);
        return;
    }
    QVector<int> rows = m_pGrid->SelectedRows();
    if (rows.isEmpty())
        rows << m_pGrid->GetCurSel();
    const QString question = rows.size() == 1 ? u"确定要删除该条记录吗?"_s
                                              : u"确定要删除所选的 %1 条记录吗?"_s.arg(rows.size());
    if (ShowMessage(this, question, LoadResString(117), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QVector<int> ids;
    for (const int row : std::as_const(rows))
        ids << m_pGrid->GetFieldValue(row, 0).toInt();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const HistoryDeleteOutcome outcome = DeleteHistoryRows(theDatabase, m_kind, ids);
    QApplication::restoreOverrideCursor();
    if (outcome.deleted > 0)
        theApp.WriteSystemLog(HistoryDeleteLogText(m_kind, outcome.deleted), 0);
    if (!outcome.failures.isEmpty())
        ShowMessage(this, outcome.failures.join(u'\n'), LoadResString(117), QMessageBox::Critical);
    LoadHistory();
}

void CDlgPsnHistoryManage::OnExport()
{
    QString path = m_strExportPath;
    m_strExportPath.clear();
    if (path.isEmpty())
        path = vantrel::ui::GetSaveFileName(this, QString(), QString(),
                                            u"Microsoft Excel 工作簿 (*.xlsx);;All Files (*)"_s);
    if (path.isEmpty())
        return;
    const vantrel::Result<HistorySelect> select = BuildHistorySelect(theDatabase, m_kind);
    CADORecordset rs(&theDatabase);
    const bool ok = select
        && rs.Open(HistoryQuery(m_kind, select->columns, m_where.sql, m_strOrderBy), m_where.values)
        && rs.ExportToExcel(path);
    rs.Close();
    if (!ok) {
        ShowMessage(this, u"导出时出错!"_s, LoadResString(117), QMessageBox::Critical);
        return;
    }
    theApp.WriteSystemLog(HistoryExportLogText(m_kind), 0);
}

void CDlgPsnHistoryManage::OnPrint()
{
    if (m_pGrid->GetRowCount() > 0)
        vantrel::ui::PrintGridWithDialog(*m_pGrid, windowTitle(), this);
}

void CDlgPsnHistoryManage::onColumnResized(int column, int, int newWidth)
{
    if (m_bLoading || column < 5)
        return;
    const QString alias = m_pGrid->model()->headerData(column, Qt::Horizontal).toString();
    theDatabase.Execute(u"UPDATE qz_Items SET iWid = ? WHERE upper(TblName) = ? AND Alias = ?"_s,
                        { newWidth, m_kind.itemTable, alias });
}

void RegisterPsnHistoryOpeners()
{
    ModuleCommands::instance().registerOpener(2101, [](CMainFrame &frame) {
        CDlgPsnRedeployManage dialog(&frame);
        dialog.exec();
    });
    ModuleCommands::instance().registerOpener(2104, [](CMainFrame &frame) {
        CDlgPsnSortAlterManage dialog(&frame);
        dialog.exec();
    });
}
