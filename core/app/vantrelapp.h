#pragma once

#include "core/payroll/wageviewsource.h"
#include "platform/common/result.h"

#include <QString>

#include <functional>

class QWidget;
class QMainWindow;

// The report library's four entry points: the connection string first, the script prelude
// last. Bound at start-up; null when the library could not be loaded.
using CreateReportFn = int (*)(const char16_t *connection, const char16_t *sql, short type,
                               const char16_t *name, const char16_t *prelude);
using OpenReportFn = void (*)(const char16_t *connection, const char16_t *sql, int reportId,
                              int readOnly, int designMode, const char16_t *prelude);
using PrintReportFn = void (*)(const char16_t *connection, const char16_t *sql, int reportId,
                               int showPrintDialog, const char16_t *prelude);
using ExportReportFn
    = void (*)(const char16_t *connection, const char16_t *sql, int reportId, short exportType,
               const char16_t *fileName, const char16_t *prelude);

// The application object: the session-wide state every module reads and writes (connection
// string, active payroll period and wage set, log retention, look, report entry points) and
// the services around it. One instance, theApp, lives for the whole run.
//
// The members that show windows (start-up, look, About, help, the connection watchdog's
// question) are defined in the window library; the rest runs without a display.
class CVantrelApp
{
public:
    CVantrelApp() = default;

    // ---- state
    int m_nAppLook = 213; // 210 … 218, profile value "ApplicationLook"
    int m_nMDITabsType = 0;
    int m_nMDITabsLocation = 0;
    QString m_strConnection; // the connection string of theDatabase
    int m_nWageWork = 0;     // a value the payroll calculation keeps while it runs
    int SDate = 190001;      // active payroll period, year × 100 + month
    int SID = 0;             // active wage set
    QString SName;           // active wage set's name
    vantrel::payroll::WageViewSource m_wageView; // the rows of the active wage view
    int RecentDays = 60; // system-log retention; 0 or less switches the log off

    CreateReportFn CreateReport = nullptr;
    OpenReportFn OpenReport = nullptr;
    PrintReportFn PrintReport = nullptr;
    ExportReportFn ExportReport = nullptr;
    QString m_strReportLibraryError; // why the entry points are not bound

    // ---- services without windows
    // One qz_Log row through qz_AddSystemLog; never fails a caller, does nothing when the
    // retention is 0 or less.
    void WriteSystemLog(const QString &text, int cleanup);
    // Reads the retention from qz_SysOption (nType 2). No row or a failed query keeps the
    // current value; an explicit 0 switches the log off.
    void LoadRecentDays();
    // VBScript put in front of report scripts: UserName(), SDate(), SName() (the texts written
    // by VbsStringLiteral) and the global script. Fails with the database's reason when the global
    // script cannot be read.
    vantrel::Result<QString> GetScriptPrelude() const;
    // Loads the report library and binds the four entry points; false (with the reason in
    // m_strReportLibraryError) when it is not there.
    bool BindReportEntryPoints();

    // ---- services with windows
    // True when the connection answers; else asks to retry (reopening with the connection
    // string) until it does or the user cancels, which closes the main window.
    bool CheckConnection();
    bool InitInstance();
    int ExitInstance();
    void ApplyLook();
    void SetupFonts();
    void OnAppAbout();
    void OnHelpTopics();

    // The main frame, made by InitInstance after the login, and what it does once shown
    // (the status bar with the user).
    std::function<QMainWindow *()> m_createMainFrame;
    std::function<void(QMainWindow *)> m_afterMainFrameShown;
    QMainWindow *m_pMainWnd = nullptr;

private:
    bool m_exited = false;
};

extern CVantrelApp theApp;

// True when the connection still answers a query.
bool ConnectionAnswers();
