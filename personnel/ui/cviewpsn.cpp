#include "personnel/ui/cviewpsn.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/fillers.h"
#include "core/query/itemmetadata.h"
#include "core/query/querybuilders.h"
#include "core/query/scalarqueries.h"
#include "core/util/profile.h"
#include "core/util/stringtable.h"
#include "personnel/psnbatchupdate.h"
#include "personnel/psncolumns.h"
#include "personnel/psndelete.h"
#include "personnel/psnscope.h"
#include "personnel/ui/cdlgdynctlformforpsnbase.h"
#include "personnel/ui/ipersonpane.h"
#include "personnel/ui/psncelldelegate.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/itemgridcommands.h"
#include "ui/controls/keyedrecordwriter.h"
#include "ui/dialogs/cdlgbatchupdate.h"
#include "ui/dialogs/cdlgresetorder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QSet>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

// Writes a changed cell into qz_PsnBase by the person's PID and tells the view, which logs
// it. A number the database refuses (another operator took it meanwhile) is reported as a
// number that cannot be used.
class PsnRecordWriter : public KeyedRecordWriter
{
public:
    PsnRecordWriter(CViewPsn *view, const QHash<QString, QString> &columnOfField,
                    std::function<void(int pid, int field, const QVariant &)> written)
        : KeyedRecordWriter(&theDatabase, u"qz_PsnBase"_s, u"PID"_s, columnOfField)
        , m_pView(view)
        , m_written(std::move(written))
    {
    }

    vantrel::db::ErrorInfo WriteField(const GridRecordRef &record, int field,
                                      const QVariant &value) override
    {
        vantrel::db::ErrorInfo error = KeyedRecordWriter::WriteField(record, field, value);
        if (error.code == 0) {
            m_written(record.key.toInt(), field, value);
        } else if (field == m_pView->GetNumberColumn()
                   && error.code != vantrel::db::ErrorCode::RowConflict
                   && !IsPsnNumberFree(value.toString())) {
            // Another operator took the number after the check.
            error.description = u"编号重复或长度异常!"_s;
        }
        return error;
    }

private:
    CViewPsn *m_pView;
    std::function<void(int, int, const QVariant &)> m_written;
};

namespace {

// The text of a value as the log shows it.
QString valueText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(u"yyyy-MM-dd"_s);
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    return value.toString();
}

} // namespace

CViewPsn::CViewPsn(QWidget *parent)
    : CMyBCGPGridView(parent)
    , m_strOrderBy(PsnOrderBy())
    , m_pContextMenu(new QMenu(this))
    , m_pWriter(nullptr)
{
    setObjectName(u"ViewPsn"_s);
    m_paneTimer.setSingleShot(true);
    m_paneTimer.setInterval(PaneHandOverDelay);
    connect(&m_paneTimer, &QTimer::timeout, this, &CViewPsn::handOverToPanes);
    m_nFreezeCols = Profile::getInt(u"MDIForm"_s, u"FreezeColsP"_s, 2);
    CMyADOGridCtrl *grid = GetGridCtrl();
    grid->setObjectName(u"psnGrid"_s);
    grid->SetVirtualMode(true);
    grid->SetKeyField(u"PID"_s);
    grid->setSelectionBehavior(Profile::getInt(QString(), u"pWholeRowSel"_s, 1)
                                   ? QAbstractItemView::SelectRows
                                   : QAbstractItemView::SelectItems);
    grid->setItemDelegate(new PsnCellDelegate(grid, this));

    connect(this, &CMyBCGPGridView::gridSelChanged, this, &CViewPsn::onSelChanged);
    new GridContextMenu(
        this, m_pContextMenu, [this](const QPoint &at) { showContextMenu(at); },
        [this] { Refresh(); });
    new DraggedColumnWidths(
        grid,
        [this](int column) {
            return !m_bSizingColumns && m_bFilled && column >= PsnKeyColumns
                && column < m_columns.size();
        },
        [this](int column, int width) {
            m_columns[column].iWid = width;
            SavePsnColumnWidth(theDatabase, m_columns.at(column).Name, width);
        });
    createActions();
}

CViewPsn::~CViewPsn()
{
    GetGridCtrl()->SetRecordWriter(nullptr);
    delete m_pWriter;
}

void CViewPsn::createActions()
{
    const auto add = [this](int id, const QString &text, void (CViewPsn::*slot)()) {
        auto *a = new QAction(text, this);
        a->setData(id);
        m_actions.insert(id, a);
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        else
            a->setEnabled(false); // the command comes with a later part of the module
        return a;
    };
    add(IdAdd, u"增加"_s, &CViewPsn::OnAdd);
    add(IdModify, u"修改"_s, &CViewPsn::OnModify);
    add(IdDelete, u"删除"_s, &CViewPsn::OnDelete);
    add(IdReorder, u"调序"_s, &CViewPsn::OnReorder);
    add(IdBatchUpdate, u"批量修改"_s, &CViewPsn::OnBatchUpdate);
    add(IdFreeze, u"冻结列"_s, &CViewPsn::OnFreezeColumns);
    add(IdColumnFormat, u"列格式"_s, &CViewPsn::OnColumnFormat);
    add(IdRefresh, u"刷新"_s, &CViewPsn::Refresh);
    add(IdSelectAll, u"全选"_s, &CViewPsn::OnSelectAll);
    add(IdCopy, u"复制"_s, &CViewPsn::OnCopy);
    add(IdExport, u"导出"_s, &CViewPsn::OnExport);
    add(IdFilter, u"筛选"_s, &CViewPsn::OnAdvancedQuery);
    add(IdTransfer, u"人员调动"_s, &CViewPsn::OnTransferWizard);
    add(IdSortChange, u"人员类别变更"_s, &CViewPsn::OnCategoryChangeWizard);
    add(IdSeniority, u"工龄核算"_s, &CViewPsn::OnSeniority);
    add(IdImport, u"导入"_s, &CViewPsn::OnImport);
    FillCommandMenu(m_pContextMenu, m_actions,
                    { int(IdAdd), int(IdModify), int(IdDelete), 0, int(IdReorder),
                      int(IdBatchUpdate), 0, int(IdFreeze), int(IdColumnFormat), 0,
                      int(IdSelectAll), int(IdCopy), 0, int(IdRefresh) });
    connect(GetGridCtrl()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CViewPsn::updateActions);
    updateActions();
}

void CViewPsn::updateActions()
{
    const bool selected = GetGridCtrl()->selectionModel()->hasSelection();
    for (const int id : { int(IdDelete), int(IdCopy) })
        m_actions.value(id)->setEnabled(selected);
    const bool itemColumn = currentColumn() >= PsnKeyColumns;
    m_actions.value(IdFreeze)->setEnabled(itemColumn);
    m_actions.value(IdColumnFormat)->setEnabled(itemColumn);
}

int CViewPsn::firstItemColumn() const
{
    const CMyADOGridCtrl *grid = GetGridCtrl();
    for (int column = PsnKeyColumns; column < grid->GetGridModel()->columnCount(); ++column) {
        if (!grid->isColumnHidden(column))
            return column;
    }
    return PsnKeyColumns;
}

int CViewPsn::currentColumn() const
{
    const QModelIndex current = GetGridCtrl()->currentIndex();
    return current.isValid() ? current.column() : -1;
}

QString CViewPsn::LoadColumns()
{
    m_nNumberCol = m_nNameCol = m_nDidCol = m_nAidCol = -1;
    const vantrel::Result<QVector<PsnGridColumn>> columns
        = LoadPsnColumns(theDatabase, &m_strSelect);
    m_columns = columns ? *columns : QVector<PsnGridColumn>(PsnKeyColumns);
    if (!columns)
        m_strSelect.clear();
    QHash<QString, QString> columnOfField;
    for (int i = PsnKeyColumns; i < m_columns.size(); ++i) {
        const QString name = m_columns.at(i).Name.toUpper();
        if (name == u"NUMBER")
            m_nNumberCol = i;
        else if (name == u"NAME")
            m_nNameCol = i;
        else if (name == u"DID")
            m_nDidCol = i;
        else if (name == u"AID")
            m_nAidCol = i;
        if (m_columns.at(i).iDataType < ItemLink)
            columnOfField.insert(m_columns.at(i).Alias.toLower(), m_columns.at(i).Name);
    }
    PsnRecordWriter *old = m_pWriter;
    m_pWriter = new PsnRecordWriter(
        this, columnOfField,
        [this](int pid, int field, const QVariant &value) { onFieldWritten(pid, field, value); });
    GetGridCtrl()->SetRecordWriter(m_pWriter);
    delete old;
    return m_strSelect;
}

void CViewPsn::SetFilters(int department, int category)
{
    m_nDeptFilter = department;
    m_nSortFilter = category;
}

void CViewPsn::BuildWhereClause()
{
    const vantrel::Result<SqlCondition> where
        = BuildPsnWhere(theDatabase, m_nDeptFilter, m_nSortFilter, theCurrentUser);
    // Without the department tree the list must not widen: it shows nobody.
    m_where = where ? *where : SqlCondition { u" WHERE (1=0)"_s, {} };
    m_strOrderBy = PsnOrderBy();
}

bool CViewPsn::FillGrid()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_bFilled = false;
    CMyADOGridCtrl *grid = GetGridCtrl();
    grid->setUpdatesEnabled(false);
    SetFooterText(PsnKeyColumns, QString());
    bool ok = (grid->GetConnection() && grid->GetConnection()->IsOpen())
        || grid->OpenConnection(theApp.m_strConnection);
    if (ok) {
        const QString scope = BuildPsnFromClause(false) + m_where.sql + m_strOrderBy;
        const QString sql = u"SELECT qz_PsnBase.PID,qz_PsnBase.DID,qz_PsnBase.AID"_s
            + (m_strSelect.isEmpty() ? QString() : u","_s + m_strSelect) + scope;
        // The keys alone, so that the server sorts narrow rows.
        grid->SetKeyQuery(u"SELECT qz_PsnBase.PID"_s + scope);
        ok = grid->OpenSQL(sql, m_where.values);
    }
    if (ok) {
        formatColumns();
        m_bFilled = true;
        if (grid->GetRowCount() == 0) {
            m_person.Reset();
            NotifyPanes();
        } else {
            grid->SetCurSel(0, firstItemColumn());
            SetFooterText(
                PsnKeyColumns,
                LoadResString(135).replace(u"%d"_s, QString::number(grid->GetRowCount())));
        }
    } else {
        m_person.Reset();
        NotifyPanes();
    }
    grid->setUpdatesEnabled(true);
    updateActions();
    QApplication::restoreOverrideCursor();
    return ok;
}

void CViewPsn::formatColumns()
{
    CMyADOGridCtrl *grid = GetGridCtrl();
    RecordsetGridModel *model = grid->GetGridModel();
    m_bSizingColumns = true;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (column < PsnKeyColumns || column >= m_columns.size()) {
            grid->setColumnHidden(column, true);
            continue;
        }
        const PsnGridColumn &c = m_columns.at(column);
        grid->setColumnHidden(column, !c.bShow);
        if (c.iWid > 0)
            grid->setColumnWidth(column, c.iWid);
        PsnColumnFormat format;
        if (ParseColumnFormat(c.ColFmt, &format))
            model->setColumnFormat(column, { format.text, format.background, format.bold });
    }
    m_bSizingColumns = false;
    grid->SetFrozenColumns(m_nFreezeCols);
}

void CViewPsn::onSelChanged()
{
    updateActions();
    if (!m_bFilled)
        return;
    CMyADOGridCtrl *grid = GetGridCtrl();
    const int row = grid->GetCurSel();
    if (row < 0) {
        m_person.Reset();
        NotifyPanes();
        return;
    }
    const int pid = grid->GetFieldValue(row, 0).toInt();
    if (pid == m_person.PID)
        return;
    m_person.PID = pid;
    m_person.DID = grid->GetFieldValue(row, 1).toInt();
    m_person.AID = grid->GetFieldValue(row, 2).toInt();
    m_person.Number
        = m_nNumberCol < 0 ? QString() : grid->GetFieldValue(row, m_nNumberCol).toString();
    m_person.Name = m_nNameCol < 0 ? QString() : grid->GetFieldValue(row, m_nNameCol).toString();
    m_person.DeptName = m_nDidCol < 0 ? QString() : grid->GetFieldValue(row, m_nDidCol).toString();
    m_person.SortName = m_nAidCol < 0 ? QString() : grid->GetFieldValue(row, m_nAidCol).toString();
    NotifyPanes();
}

void CViewPsn::NotifyPanes()
{
    m_paneTimer.start();
}

void CViewPsn::FlushPaneHandOver()
{
    if (!m_paneTimer.isActive())
        return;
    m_paneTimer.stop();
    handOverToPanes();
}

void CViewPsn::handOverToPanes()
{
    for (IPersonPane *pane : std::as_const(m_panes))
        pane->SetCurrentPerson(m_person);
}

void CViewPsn::RefreshCurrentRow()
{
    CMyADOGridCtrl *grid = GetGridCtrl();
    const int row = grid->GetCurSel();
    if (row >= 0) {
        grid->RefreshRow(row);
        m_person.PID = -1; // read the person's texts again
        onSelChanged();
        return;
    }
    NotifyPanes();
}

void CViewPsn::Refresh()
{
    Q_EMIT refreshing();
    LoadColumns();
    BuildWhereClause();
    FillGrid();
}

void CViewPsn::OnInitialUpdate()
{
    LoadColumns();
    GetGridCtrl()->SetReadOnly(!(theCurrentUser.ISuper || theCurrentUser.HasRight(3, false)));
    // A global script that cannot be read leaves the engine without it; the mail batch then
    // reports what its templates miss.
    RestartScriptHost(&m_scriptHost);
}

void CViewPsn::RunWithScriptHost(const std::function<void(CScriptHostProxy *host)> &dialog)
{
    dialog(&m_scriptHost);
    RestartScriptHost(&m_scriptHost);
}

int CViewPsn::RowOfPerson(int pid) const
{
    return GetGridCtrl()->FindRowByKey(pid);
}

void CViewPsn::Search()
{
    if (!m_pSearchBox)
        return;
    const QString text = m_pSearchBox->currentText().trimmed();
    if (text.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Result<int> pid = FindPersonInScope(theDatabase, m_where, text);
    const int row = pid && *pid > 0 ? RowOfPerson(*pid) : -1;
    QApplication::restoreOverrideCursor();
    if (row < 0)
        return;
    ShowFoundRow(GetGridCtrl(), row, qMax(currentColumn(), firstItemColumn()), m_pSearchBox, text);
}

bool CViewPsn::personExists(int row)
{
    const int pid = GetGridCtrl()->GetFieldValue(row, 0).toInt();
    const vantrel::Result<bool> exists = RecordExists(u"QZ_PSNBASE"_s, u"PID=?"_s, { pid });
    // A failed check lets the write itself tell what is wrong.
    if (!exists || *exists)
        return true;
    ShowMessage(this, LoadResString(133), LoadResString(117), QMessageBox::Information);
    greyRow(row);
    return false;
}

void CViewPsn::greyRow(int row)
{
    CMyADOGridCtrl *grid = GetGridCtrl();
    grid->GetGridModel()->setRecordBackground(grid->GetRecordOfRow(row),
                                              palette().color(QPalette::Mid));
}

int CViewPsn::OnGridBeginEdit(const GridItemInfo &info)
{
    if (info.column < PsnKeyColumns || info.column >= m_columns.size()
        || m_columns.at(info.column).iDataType > ItemDictionary)
        return 1;
    return personExists(info.row) ? 0 : 1;
}

int CViewPsn::OnGridItemChanged(const GridItemInfo &info)
{
    if (info.column < PsnKeyColumns || info.column >= m_columns.size()
        || m_columns.at(info.column).iDataType > ItemDictionary || !personExists(info.row))
        return 1;
    const QString typed = info.value.toString();
    if (info.column == m_nNumberCol && !IsPsnNumberEditAllowed(info.oldValue.toString(), typed)) {
        ShowMessage(this, u"编号重复或长度异常!"_s, LoadResString(117), QMessageBox::Warning);
        return 1;
    }
    if (info.column == m_nNameCol && typed.trimmed().isEmpty()) {
        ShowMessage(this, u"姓名不能为空!"_s, LoadResString(117), QMessageBox::Warning);
        return 1;
    }
    return 0;
}

void CViewPsn::onFieldWritten(int pid, int field, const QVariant &value)
{
    const CMyADOGridCtrl *grid = GetGridCtrl();
    const int row = grid->FindRowByKey(pid);
    const QString name = field == m_nNameCol || row < 0
        ? value.toString()
        : grid->GetFieldValue(row, m_nNameCol).toString();
    theApp.WriteSystemLog(u"人员档案[修改个人基本信息'<%1>|%2(%3)']"_s.arg(
                              name, m_columns.value(field).Alias, valueText(value)),
                          0);
    if (m_person.PID == pid) {
        if (field == m_nNumberCol)
            m_person.Number = value.toString();
        else if (field == m_nNameCol)
            m_person.Name = value.toString();
        else
            return;
        NotifyPanes();
    }
}

QVector<int> CViewPsn::selectedRows() const
{
    return GetGridCtrl()->SelectedRows();
}

void CViewPsn::OnAdd()
{
    if (!CheckRightWithMessage(2, theApp, true))
        return;
    CDlgDynCtlFormForPsnbase form(this);
    form.m_strCaption = u"人员添加"_s;
    form.m_nAddFlag = 1;
    form.m_pOwnerView = this;
    form.m_strTableName = u"QZ_PSNBASE"_s;
    if (form.exec() != QDialog::Accepted)
        return;
    FillGrid();
    const int row = form.lastSavedPid() > 0 ? RowOfPerson(form.lastSavedPid()) : -1;
    if (row < 0)
        return;
    CMyADOGridCtrl *grid = GetGridCtrl();
    grid->SetCurSel(row, 3);
    grid->scrollTo(grid->currentIndex());
}

void CViewPsn::OnModify()
{
    if (!CheckRightWithMessage(3, theApp, true))
        return;
    const int row = GetGridCtrl()->GetCurSel();
    if (row < 0) {
        ShowMessage(this, LoadResString(112), LoadResString(117), QMessageBox::Information);
        return;
    }
    if (!personExists(row))
        return;
    CDlgDynCtlFormForPsnbase form(this);
    form.m_strCaption = u"人员信息更改"_s;
    form.m_nAddFlag = 0;
    form.m_pOwnerView = this;
    form.m_strTableName = u"QZ_PSNBASE"_s;
    form.m_nKeyValue = GetGridCtrl()->GetFieldValue(row, 0).toInt();
    if (form.exec() == QDialog::Accepted)
        RefreshCurrentRow();
}

void CViewPsn::OnDelete()
{
    if (!CheckRightWithMessage(4, theApp, true))
        return;
    const QVector<int> rows = selectedRows();
    if (rows.isEmpty()) {
        ShowMessage(this, LoadResString(112), LoadResString(117), QMessageBox::Information);
        return;
    }
    const QString question = rows.size() == 1
        ? u"确定要彻底删除该人员档案吗?"_s
        : u"确定要彻底删除选择的 %1 个人员档案吗?"_s.arg(rows.size());
    if (ShowMessage(this, question, LoadResString(117), QMessageBox::Question,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QVector<int> pids;
    for (const int row : rows)
        pids << GetGridCtrl()->GetFieldValue(row, 0).toInt();
    const PsnDeleteOutcome outcome = DeletePersons(theDatabase, pids);
    if (outcome.deleted > 0)
        theApp.WriteSystemLog(PsnDeleteLogText(outcome.deleted), 0);
    FillGrid();
    QApplication::restoreOverrideCursor();
    if (!outcome.failures.isEmpty())
        ShowMessage(this, u"以下人员删除失败:\n"_s + outcome.failures.join(u'\n'),
                    LoadResString(117), QMessageBox::Critical);
}

void CViewPsn::OnReorder()
{
    if (!CheckRightWithMessage(3, theApp, true))
        return;
    if (m_nDeptFilter <= 0 || GetDeptChildCount(m_nDeptFilter) > 0) {
        ShowMessage(this, LoadResString(115), LoadResString(117), QMessageBox::Information);
        return;
    }
    CDlgResetOrder dialog(this);
    dialog.SetList(
        QString(), 0, 5,
        OrderColumns { u"qz_PsnBase"_s, u"PID"_s, u"Ord"_s, u"DID = ?"_s, { m_nDeptFilter } });
    dialog.SetProcedures(u"qz_SelectPsnbaseReOrderByDeptID"_s, u"qz_RefreshPsnBaseOrder"_s,
                         { m_nDeptFilter });
    dialog.exec();
    if (!dialog.IsChanged())
        return;
    theApp.WriteSystemLog(u"人员档案[人员调序'%1']"_s.arg(GetDeptName(m_nDeptFilter)), 0);
    FillGrid();
}

void CViewPsn::OnBatchUpdate()
{
    if (!CheckRightWithMessage(3, theApp, true))
        return;
    CItemInfoArray items;
    LoadItemInfos(items,
                  u"WHERE upper(TblName)='QZ_PSNBASE' AND iDataType<4"
                  " AND upper(Name)<>'NUMBER' ORDER BY Ord, ItemID"_s);
    const int column = currentColumn();
    CDlgBatchUpdate dialog(this);
    dialog.SetItems(items, column >= PsnKeyColumns ? m_columns.value(column).Alias : QString());
    if (dialog.exec() != QDialog::Accepted || dialog.GetSelectedItem() < 0)
        return;
    const tagVANTRELITEMINFO &item = items.at(dialog.GetSelectedItem());
    const PsnBatchUpdate update { item.Name, dialog.GetMode(), dialog.GetValueText() };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Result<int> changed = RunPsnBatchUpdate(theDatabase, update, m_where);
    QApplication::restoreOverrideCursor();
    if (!changed) {
        ShowMessage(this, u"批量修改失败\n"_s + changed.error(), LoadResString(117),
                    QMessageBox::Critical);
        return;
    }
    theApp.WriteSystemLog(BatchUpdateLogText(update, item.iDataType, m_where), 0);
    FillGrid();
}

void CViewPsn::OnFreezeColumns()
{
    const int column = currentColumn();
    if (column < PsnKeyColumns)
        return;
    m_nFreezeCols = FreezeColumnsThrough(GetGridCtrl(), column);
    Profile::writeInt(u"MDIForm"_s, u"FreezeColsP"_s, m_nFreezeCols);
}

void CViewPsn::OnColumnFormat()
{
    const int column = currentColumn();
    if (column < PsnKeyColumns || column >= m_columns.size())
        return;
    if (!CheckRightWithMessage(3, theApp, true))
        return;
    CMyADOGridCtrl *grid = GetGridCtrl();
    PsnColumnFormat stored;
    ParseColumnFormat(m_columns.at(column).ColFmt, &stored);
    const std::optional<RecordsetGridModel::ColumnFormat> chosen = AskColumnFormat(
        grid, m_columns.at(column).Alias, { stored.text, stored.background, stored.bold }, this);
    if (!chosen)
        return;
    const QString text = ColumnFormatText({ chosen->bold, chosen->text, chosen->background });
    QString error;
    if (!SavePsnColumnFormat(theDatabase, m_columns.at(column).Name, text, &error)) {
        ShowMessage(this, error, LoadResString(117), QMessageBox::Critical);
        return;
    }
    m_columns[column].ColFmt = text;
    grid->GetGridModel()->setColumnFormat(column, *chosen);
}

void CViewPsn::OnSelectAll()
{
    GetGridCtrl()->selectAll();
}

void CViewPsn::OnCopy()
{
    CopySelectedRows(GetGridCtrl(), PsnKeyColumns);
}

void CViewPsn::showContextMenu(const QPoint &globalPos)
{
    updateActions();
    m_pContextMenu->popup(globalPos);
}
