#include "core/app/vantrelapp.h"

#include "core/app/currentuser.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/scalarqueries.h"
#include "core/script/vbsstringliteral.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

using namespace Qt::StringLiterals;

CVantrelApp theApp;

namespace {

CVantrelApp::ConnectionLostPresenter &connectionLostPresenter()
{
    static CVantrelApp::ConnectionLostPresenter presenter;
    return presenter;
}

} // namespace

void CVantrelApp::WriteSystemLog(const QString &text, int cleanup)
{
    if (RecentDays <= 0 || !theDatabase.IsOpen())
        return;
    CADOCommand command(&theDatabase, u"qz_AddSystemLog"_s);
    command.AddParameterText(u"UserName"_s, adVarChar, adParamInput, 50, theCurrentUser.UserName);
    command.AddParameterText(u"Content"_s, adVarChar, adParamInput, 2000, text);
    command.AddParameterVariant(u"Cleanup"_s, adBoolean, adParamInput, 1, cleanup != 0);
    command.AddParameterInt(u"RecentDays"_s, adInteger, adParamInput, 4, RecentDays);
    // Logging never fails the action it records.
    command.ExecuteScalar();
}

void CVantrelApp::LoadRecentDays()
{
    CADORecordset rs(&theDatabase);
    if (!rs.Open(u"SELECT sContent FROM qz_SysOption WHERE nType = 2 ORDER BY id LIMIT 1"_s, {})
        || rs.IsEof())
        return;
    QString text;
    rs.GetFieldValueText(0, text);
    bool ok = false;
    const int days = text.trimmed().toInt(&ok);
    if (ok)
        RecentDays = days;
}

vantrel::Result<QString> CVantrelApp::GetScriptPrelude() const
{
    QString prelude = u"Function UserName()\n  UserName = "_s
        + VbsStringLiteral(theCurrentUser.UserName) + u" \nEnd Function\n"_s;
    prelude += u"Function SDate()\n  SDate = "_s + QString::number(SDate) + u" \nEnd Function\n"_s;
    prelude += u"Function SName()\n  SName = "_s + VbsStringLiteral(SName) + u" \nEnd Function\n"_s;
    const ScalarAnswer<QString> global
        = GetScalarText(u"SELECT sContent FROM qz_SysOption WHERE nType = 1 ORDER BY id LIMIT 1"_s);
    if (global.failed())
        return vantrel::Result<QString>::failure(global.error());
    return QString(prelude + global.valueOr({}));
}

bool CVantrelApp::BindReportEntryPoints()
{
    QLibrary library(QDir(QCoreApplication::applicationDirPath()).filePath(u"ferrolyn"_s));
    if (!library.load()) {
        library.setFileName(u"ferrolyn"_s);
        if (!library.load()) {
            m_strReportLibraryError = u"报表组件未安装(ferrolyn): "_s + library.errorString();
            return false;
        }
    }
    CreateReport = reinterpret_cast<CreateReportFn>(library.resolve("CreateReport"));
    OpenReport = reinterpret_cast<OpenReportFn>(library.resolve("OpenReport"));
    PrintReport = reinterpret_cast<PrintReportFn>(library.resolve("PrintReport"));
    ExportReport = reinterpret_cast<ExportReportFn>(library.resolve("ExportReport"));
    if (!CreateReport || !OpenReport || !PrintReport || !ExportReport) {
        CreateReport = nullptr;
        OpenReport = nullptr;
        PrintReport = nullptr;
        ExportReport = nullptr;
        m_strReportLibraryError = u"报表组件不完整(ferrolyn)。"_s;
        return false;
    }
    m_strReportLibraryError.clear();
    return true;
}

bool CVantrelApp::CheckConnection()
{
    while (!ConnectionAnswers()) {
        if (theDatabase.IsOpen())
            theDatabase.Close();
        const ConnectionLostPresenter &askRetry = connectionLostPresenter();
        if (!askRetry || !askRetry())
            return false;
        theDatabase.Open(m_strConnection);
    }
    return true;
}

void CVantrelApp::setConnectionLostPresenter(ConnectionLostPresenter presenter)
{
    connectionLostPresenter() = std::move(presenter);
}

int CVantrelApp::ExitInstance()
{
    if (m_exited)
        return 0;
    m_exited = true;
    if (theDatabase.IsOpen())
        theDatabase.Close();
    return 0;
}

bool ConnectionAnswers()
{
    return theDatabase.IsOpen() && theDatabase.Execute(u"SELECT COUNT(*) FROM qz_Users"_s);
}
