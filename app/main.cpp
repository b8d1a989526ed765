#include "app/startup.h"
#include "ui/app/appwindow.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // QApplication aborts without a display; say so plainly instead.
    if (!hasDisplay()) {
        std::fputs("Vantrel needs a graphical display (X11 or Wayland); none was found.\n"
                   "Start it from a desktop session, or set DISPLAY.\n",
                   stderr);
        return 2;
    }
    prepareProcess();
    // QtWebEngine (the banner, HTML views) wants shared GL contexts set before the application.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    configureApplication(app);
    if (!AppWindow::InitInstance()) {
        AppWindow::ExitInstance();
        return 0;
    }
    const int code = app.exec();
    AppWindow::ExitInstance();
    return code;
}
