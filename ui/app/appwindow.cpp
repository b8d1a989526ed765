#include "ui/app/appwindow.h"

#include "core/app/constants.h"
#include "core/app/vantrelapp.h"
#include "core/script/cscripthostproxy.h"
#include "core/util/profile.h"
#include "ui/app/dlglogin.h"
#include "ui/app/messagebox.h"
#include "ui/controls/looktheme.h"
#include "ui/dialogs/caboutdlg.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace AppWindow {

namespace {

struct MainFrameFactory
{
    std::function<QMainWindow *()> create;
    std::function<void(QMainWindow *)> afterShown;
};

MainFrameFactory &mainFrameFactory()
{
    static MainFrameFactory factory;
    return factory;
}

bool askRetryConnection()
{
    const auto answer = ShowMessage(
        theApp.m_pMainWnd,
        u"数据库连接异常!\n\n可能网络掉线或者数据库服务停止,请与管理员联系!\n\n单击'取消'按钮退出程序."_s,
        u"告警"_s, QMessageBox::Critical, QMessageBox::Retry | QMessageBox::Cancel,
        QMessageBox::Retry);
    if (answer == QMessageBox::Retry)
        return true;
    // The normal close path, with its exit question; the command that asked is skipped.
    if (theApp.m_pMainWnd)
        theApp.m_pMainWnd->close();
    return false;
}

} // namespace

QString prepareWebEngine(unsigned effectiveUserId)
{
    if (effectiveUserId != 0)
        return {};
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return u"Running as root: the web view starts without its sandbox."_s;
}

bool installQtTranslations()
{
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto *translator = new QTranslator(qApp);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), u"qtbase"_s, u"_"_s,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

void installPresenters()
{
    CVantrelApp::setConnectionLostPresenter(askRetryConnection);
    // A script error is shown once, as the engine words it, when it happens on this thread.
    CScriptHostProxy::setErrorPresenter([](const QString &text, const QString &caption) {
        ShowMessage(nullptr, text, caption, QMessageBox::Warning);
    });
}

void setMainFrameFactory(std::function<QMainWindow *()> create,
                         std::function<void(QMainWindow *)> afterShown)
{
    mainFrameFactory() = { std::move(create), std::move(afterShown) };
}

bool InitInstance()
{
    theApp.m_nAppLook = Profile::getInt(QString(), QString::fromUtf16(strApplicationLook), 213);
    ApplyLook();
    SetupFonts();

    CDlgLogin login(CDlgLogin::StartUp);
    if (login.exec() != QDialog::Accepted) {
        theApp.ExitInstance();
        return false;
    }
    theApp.LoadRecentDays();

    const MainFrameFactory &factory = mainFrameFactory();
    theApp.m_pMainWnd = factory.create ? factory.create() : nullptr;
    if (!theApp.m_pMainWnd) {
        theApp.ExitInstance();
        return false;
    }
    theApp.m_pMainWnd->show();
    if (factory.afterShown)
        factory.afterShown(theApp.m_pMainWnd);
    // Without the report library the program still runs; the report commands say why.
    theApp.BindReportEntryPoints();
    return true;
}

void ExitInstance()
{
    delete theApp.m_pMainWnd; // it clears theApp.m_pMainWnd
    theApp.ExitInstance();
}

void ApplyLook()
{
    LookTheme::apply(theApp.m_nAppLook);
}

void SetupFonts()
{
    // A CJK font that every Debian desktop with our packages has, at the old 12-pixel size.
    QFont font(u"WenQuanYi Micro Hei"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    QApplication::setFont(font);
}

void OnAppAbout()
{
    CAboutDlg about(theApp.m_pMainWnd);
    about.exec();
}

void OnHelpTopics()
{
    OpenHelpTopic(u"html/系统简介.htm"_s, theApp.m_pMainWnd);
}

} // namespace AppWindow
