// The person view's commands that open the module's other tools over the current list.
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/querybuilders.h"
#include "core/util/stringtable.h"
#include "personnel/advsavedqueries.h"
#include "personnel/psnoutput.h"
#include "personnel/ui/cdlgadvresearch.h"
#include "personnel/ui/cdlgpsnbatchworkingage.h"
#include "personnel/ui/cdlgpsnchangewizard.h"
#include "personnel/ui/cdlgpsnimport.h"
#include "personnel/ui/cviewpsn.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/controls/filedialogs.h"

#include <QApplication>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

// The selected rows' persons, each once, keyed by PID.
CPersonMap chosenPersons(const CMyADOGridCtrl *grid, int numberCol, int nameCol, int didCol,
                         int aidCol)
{
    const auto text = [grid](int row, int column) {
        return column < 0 ? QString() : grid->GetFieldValue(row, column).toString();
    };
    CPersonMap persons;
    for (const int row : grid->SelectedRows()) {
        CPersonBase person;
        person.PID = grid->GetFieldValue(row, 0).toInt();
        person.Number = text(row, numberCol);
        person.Name = text(row, nameCol);
        person.DeptName = text(row, didCol);
        person.SortName = text(row, aidCol);
        persons.insert(person.PID, person);
    }
    return persons;
}

} // namespace

void CViewPsn::OnAdvancedQuery()
{
    CDlgAdvResearch dialog(this);
    LoadItemInfos(dialog.ItemList(),
                  u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s);
    dialog.SetQueryType(AdvPersonData);
    if (dialog.exec() != QDialog::Accepted)
        return;
    BuildWhereClause();
    m_where = CombineWhere(m_where, dialog.GetCondition());
    if (!dialog.GetOrderBy().isEmpty())
        m_strOrderBy = u" ORDER BY "_s + dialog.GetOrderBy();
    FillGrid();
}

void CViewPsn::OnTransferWizard()
{
    if (!CheckRightWithMessage(11, theApp, true))
        return;
    CDlgWizardByPsnRedeploy wizard(this);
    runChangeWizard(wizard, u"人员调动设置向导"_s);
}

void CViewPsn::OnCategoryChangeWizard()
{
    if (!CheckRightWithMessage(12, theApp, true))
        return;
    CDlgWizardBySortAlter wizard(this);
    runChangeWizard(wizard, u"人员离职设置向导"_s);
}

void CViewPsn::runChangeWizard(CDlgPsnChangeWizard &wizard, const QString &title)
{
    if (GetGridCtrl()->GetCurSel() < 0) {
        ShowMessage(this, LoadResString(112), LoadResString(117), QMessageBox::Information);
        return;
    }
    wizard.Persons() = chosenPersons(GetGridCtrl(), m_nNumberCol, m_nNameCol, m_nDidCol, m_nAidCol);
    wizard.SetCurrentPage(2);
    wizard.SetTitle(title);
    if (wizard.exec() == QDialog::Accepted)
        FillGrid();
}

QString CViewPsn::chooseFile(bool save, const QString &filter)
{
    QString path = m_strNextPath;
    m_strNextPath.clear();
    if (!path.isEmpty())
        return path;
    return save ? vantrel::ui::GetSaveFileName(this, QString(), QString(), filter)
                : vantrel::ui::GetOpenFileName(this, QString(), QString(), filter);
}

void CViewPsn::OnSeniority()
{
    if (!CheckRightWithMessage(3, theApp, true))
        return;
    CDlgPsnBatchWorkingAge dialog(this);
    dialog.SetCondition(m_where);
    if (dialog.exec() == QDialog::Accepted)
        FillGrid();
}

void CViewPsn::OnImport()
{
    if (!CheckRightWithMessage(9, theApp, true))
        return;
    const QString path
        = chooseFile(false, u"Microsoft Excel 工作簿 (*.xls *.xlsx);;All Files (*)"_s);
    if (path.isEmpty())
        return;
    CDlgPsnImport dialog(this);
    dialog.SetFilePath(path);
    LoadItemInfos(dialog.Items(),
                  u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s);
    if (dialog.exec() != QDialog::Accepted)
        return;
    BuildWhereClause();
    FillGrid();
}

QString CViewPsn::ExportQuery() const
{
    return u"SELECT "_s + m_strSelect + BuildPsnFromClause(false) + m_where.sql + m_strOrderBy;
}

void CViewPsn::OnExport()
{
    if (!CheckRightWithMessage(10, theApp, true))
        return;
    const QString path = chooseFile(true, u"Microsoft Excel 工作簿 (*.xlsx);;All Files (*)"_s);
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CADORecordset rs(&theDatabase);
    const bool ok = !m_strSelect.isEmpty() && rs.Open(ExportQuery(), m_where.values)
        && rs.ExportToExcel(path);
    rs.Close();
    QApplication::restoreOverrideCursor();
    if (!ok) {
        ShowMessage(this, u"导出时出错!"_s, LoadResString(117), QMessageBox::Information);
        return;
    }
    theApp.WriteSystemLog(u"人员档案[数据导出'%1|(%2)']"_s.arg(path, ConditionLogText(m_where)), 0);
}
