#pragma once

#include <QString>

#include <functional>

class QMainWindow;

// The window half of the application object: start-up through the login to the main frame, the
// look and the fonts, About and help, and the questions that theApp's services put to the user.
// Everything here acts on theApp and runs on the user-interface thread.
namespace AppWindow {

// Before the QApplication exists. The web view's sandbox cannot start for root, and the
// view then takes the process down; so for root it starts without one. Returns the notice to
// print once, empty when nothing was changed.
QString prepareWebEngine(unsigned effectiveUserId);

// Qt's own Chinese texts (standard buttons read 确定, 取消, 是, 否 …). False when Qt's
// translation file is not installed; the buttons then keep their English texts.
bool installQtTranslations();

// The connection watchdog's retry question and the script error box.
void installPresenters();

// How start-up makes the main frame, and what it does once the frame is shown.
void setMainFrameFactory(std::function<QMainWindow *()> create,
                         std::function<void(QMainWindow *)> afterShown);

// The look, the login, the log retention, the main frame and the report library. False (the
// database closed again) when the login is cancelled or no main frame comes up.
bool InitInstance();
// After the event loop: the main frame goes first, while the application and the web views'
// profile still exist; then theApp closes the database. Safe to call more than once.
void ExitInstance();
void ApplyLook();
void SetupFonts();
void OnAppAbout();
void OnHelpTopics();

} // namespace AppWindow
