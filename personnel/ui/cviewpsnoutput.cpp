// The person view's outputs: reports, mails and the template managers behind them.
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "personnel/psnoutput.h"
#include "personnel/ui/cdlgpsnprintrsselect.h"
#include "personnel/ui/cviewpsn.h"
#include "ui/app/messagebox.h"
#include "ui/app/rightcheck.h"
#include "ui/controls/cmyadogridctrl.h"

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

// Until its module registers an owner, a command says which module is missing.
void sayMissing(QWidget *owner, const QString &what, const QString &module)
{
    ShowMessage(owner, u"%1由%2模块提供，该模块尚未安装。"_s.arg(what, module), LoadResString(117),
                QMessageBox::Information);
}

} // namespace

void CViewPsn::PrintReport(int reportId, const QString &reportName)
{
    if (!CheckRightWithMessage(5, theApp, true))
        return;
    CDlgPsnPrintRSSelect choice(this);
    if (choice.exec() != QDialog::Accepted)
        return;
    SqlCondition condition = m_where;
    if (choice.GetChoice() == CDlgPsnPrintRSSelect::CurrentPerson) {
        const int row = GetGridCtrl()->GetCurSel();
        if (row < 0 || !personExists(row))
            return;
        condition = { u" WHERE qz_PsnBase.PID=?"_s, { GetGridCtrl()->GetFieldValue(row, 0) } };
    }
    if (!theApp.OpenReport) {
        ShowMessage(this, u"报表组件没有安装，不能打印。\n"_s + theApp.m_strReportLibraryError,
                    LoadResString(117), QMessageBox::Critical);
        return;
    }
    const QString sql = PsnReportQuery(condition, m_strOrderBy);
    const vantrel::Result<QString> script = theApp.GetScriptPrelude();
    const QString prelude = script ? *script : QString();
    const int result
        = theApp.OpenReport(reinterpret_cast<const char16_t *>(theApp.m_strConnection.utf16()),
                            reinterpret_cast<const char16_t *>(sql.utf16()), reportId, 1, 0,
                            reinterpret_cast<const char16_t *>(prelude.utf16()));
    if (result == 0)
        theApp.WriteSystemLog(PrintLogText(reportName, condition), 0);
}

void CViewPsn::SendMails(int templateId, const QString &templateName)
{
    if (!CheckRightWithMessage(8, theApp, true))
        return;
    const vantrel::Result<PsnMailRequest> request
        = BuildPsnMailRequest(theDatabase, templateId, m_where, m_strOrderBy);
    if (!request) {
        ShowMessage(this, request.error(), LoadResString(117), QMessageBox::Information);
        return;
    }
    IPsnMailBatch *batch = PsnMailBatch();
    bool sent = false;
    RunWithScriptHost([&](CScriptHostProxy *host) {
        if (batch)
            sent = batch->RunMailBatch(this, *request, host);
        else
            sayMissing(this, u"邮件群发"_s, u"薪资管理"_s);
    });
    if (sent)
        theApp.WriteSystemLog(
            MailLogText(m_nDeptFilter > 0 ? GetDeptName(m_nDeptFilter) : QString(), templateName,
                        m_where),
            0);
}

bool CViewPsn::OnPrintTemplates()
{
    if (!CheckRightWithMessage(6, theApp, true) || !theApp.CheckConnection())
        return false;
    if (IPsnPrintTemplates *owner = PsnPrintTemplates())
        return owner->ManagePrintTemplates(this, u"人事打印模板"_s);
    sayMissing(this, u"打印模板管理"_s, u"系统管理"_s);
    return false;
}

bool CViewPsn::OnMailTemplates()
{
    if (!CheckRightWithMessage(7, theApp, true) || !theApp.CheckConnection())
        return false;
    if (IPsnMailTemplates *owner = PsnMailTemplates())
        return owner->ManageMailTemplates(this);
    sayMissing(this, u"邮件模板管理"_s, u"薪资管理"_s);
    return false;
}
