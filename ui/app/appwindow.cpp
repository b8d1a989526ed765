// The members of the application object that show windows.

#include "core/app/vantrelapp.h"

#include "core/app/constants.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "ui/app/dlglogin.h"
#include "ui/app/messagebox.h"
#include "ui/controls/looktheme.h"
#include "ui/dialogs/caboutdlg.h"

#include <QApplication>
#include <QFont>
#include <QMainWindow>

using namespace Qt::StringLiterals;

bool CVantrelApp::CheckConnection()
{
    while (!ConnectionAnswers()) {
        if (theDatabase.IsOpen())
            theDatabase.Close();
        const auto answer = ShowMessage(
            m_pMainWnd,
            u"数据库连接异常!\n\n可能网络掉线或者数据库服务停止,请与管理员联系!\n\n单击'取消'按钮退出程序."_s,
            u"告警"_s, QMessageBox::Critical, QMessageBox::Retry | QMessageBox::Cancel,
            QMessageBox::Retry);
        if (answer != QMessageBox::Retry) {
            // The normal close path, with its exit question; the command that asked is skipped.
            if (m_pMainWnd)
                m_pMainWnd->close();
            return false;
        }
        theDatabase.Open(m_strConnection);
    }
    return true;
}

bool CVantrelApp::InitInstance()
{
    m_exited = false;
    m_nAppLook = Profile::getInt(QString(), QString::fromUtf16(strApplicationLook), 213);
    ApplyLook();
    SetupFonts();

    CDlgLogin login(CDlgLogin::StartUp);
    if (login.exec() != QDialog::Accepted) {
        ExitInstance();
        return false;
    }
    LoadRecentDays();

    if (!m_createMainFrame) {
        ExitInstance();
        return false;
    }
    m_pMainWnd = m_createMainFrame();
    if (!m_pMainWnd) {
        ExitInstance();
        return false;
    }
    m_pMainWnd->show();
    if (m_afterMainFrameShown)
        m_afterMainFrameShown(m_pMainWnd);
    // Without the report library the program still runs; the report commands say why.
    BindReportEntryPoints();
    return true;
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

void CVantrelApp::ApplyLook()
{
    LookTheme::apply(m_nAppLook);
}

void CVantrelApp::SetupFonts()
{
    // A CJK font that every Debian desktop with our packages has, at the old 12-pixel size.
    QFont font(u"WenQuanYi Micro Hei"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    QApplication::setFont(font);
}

void CVantrelApp::OnAppAbout()
{
    CAboutDlg about(m_pMainWnd);
    about.exec();
}

void CVantrelApp::OnHelpTopics()
{
    OpenHelpTopic(u"html/系统简介.htm"_s, m_pMainWnd);
}
