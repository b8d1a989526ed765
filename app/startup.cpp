#include "app/startup.h"

#include "core/app/vantrelapp.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "ui/app/messagebox.h"
#include "ui/controls/resources.h"
#include "ui/frame/cmainframe.h"

#include <QApplication>
#include <QIcon>

using namespace Qt::StringLiterals;

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

void configureApplication(QApplication &app)
{
    QApplication::setOrganizationName(u"MorvelSoft"_s);
    QApplication::setApplicationName(u"Vantrel"_s);
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    InitVantrelResources();
    app.setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    // Before any engine runs: the functions scripts call on "myApp".
    registerHostFunctions();
    // A script error is shown once, as the engine words it, when it happens on this thread.
    CScriptHostProxy::setErrorPresenter([](const QString &text, const QString &caption) {
        ShowMessage(nullptr, text, caption, QMessageBox::Warning);
    });
    theApp.m_createMainFrame = [] { return new CMainFrame; };
    theApp.m_afterMainFrameShown
        = [](QMainWindow *frame) { static_cast<CMainFrame *>(frame)->ShowUserInStatusBar(); };
}
