#include "app/startup.h"

#include "admin/ui/adminmodule.h"
#include "core/script/hostfunctions.h"
#include "personnel/ui/personnelmodule.h"
#include "payroll/ui/payrollmodule.h"
#include "ui/app/appwindow.h"
#include "ui/controls/resources.h"
#include "ui/frame/cmainframe.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

void prepareProcess()
{
    const QString notice = AppWindow::prepareWebEngine(geteuid());
    if (!notice.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(notice));
}

void configureApplication(QApplication &app)
{
    QApplication::setOrganizationName(u"MorvelSoft"_s);
    QApplication::setApplicationName(u"Vantrel"_s);
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    InitVantrelResources();
    app.setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    AppWindow::installQtTranslations();
    // Before any engine runs: the functions scripts call on "myApp".
    registerHostFunctions();
    RegisterPersonnelModule();
    RegisterPayrollModule();
    RegisterAdminModule();
    AppWindow::installPresenters();
    AppWindow::setMainFrameFactory(
        [] { return new CMainFrame; },
        [](QMainWindow *frame) { static_cast<CMainFrame *>(frame)->ShowUserInStatusBar(); });
}
