#pragma once

#include "core/query/wakeupqueries.h"
#include "ui/controls/cdesktopalertwnd.h"
#include "ui/frame/modulecommands.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QVector>

#include <atomic>
#include <memory>

class CMainFrame;
class QThread;

// The reminder alert of the main frame: every "WakeupPerTime" minutes ("EnableWakeup" on), and
// once at start-up, it counts the personnel reminders on a worker thread (the window keeps
// working meanwhile) and, when one is due, shows the alert "人事提醒" (CDlgPopupAlter in a
// CDesktopAlertWnd) with those counts; it slides in and closes itself after 10 s. The next
// alert opens where the user left the last one. No test starts and no alert is shown while
// one is up, while the reminder manager is open, after the user silenced them (until the
// program ends), or while the last test still runs.
class ReminderController : public QObject
{
    Q_OBJECT

public:
    using DueTest = ModuleCommands::ReminderCounter;

    static constexpr int AutoCloseMs = 10000;

    // Reads "EnableWakeup" (1) and "WakeupPerTime" (60 minutes); runs nothing until start().
    explicit ReminderController(CMainFrame &frame);
    // Stops a running test and waits for its thread.
    ~ReminderController() override;

    // For tests: another counter (the registered one by default) and minute length.
    void setDueTest(DueTest test) { m_counter = std::move(test); }
    void setMinuteLength(int ms) { m_minuteMs = ms; }

    // The start-up: with reminders on, the timer starts and the first test runs.
    void start();
    // Reads both settings again and restarts the timer when on (after an unlock, and when the
    // reminder manager changed the settings). Shows nothing by itself.
    void RestartWakeupTimer();
    void stop() { m_timer.stop(); }
    // A lock: the timer stops and a shown alert hides (it still closes after its time).
    void suspend();

    // Starts a test unless the alert, the manager, the silencing or a running test forbid
    // it; the alert follows when its counts come back and one is due.
    void ShowReminderAlert();

    // The reminder manager sets this while it is open.
    void setManagerOpen(bool open) { m_managerOpen = open; }
    bool isManagerOpen() const { return m_managerOpen; }
    bool isSilenced() const { return m_silenced; }
    bool isRunning() const { return m_timer.isActive(); }
    bool isTesting() const { return m_worker != nullptr; }
    int interval() const { return m_timer.interval(); }
    // Null while no alert is up.
    CDesktopAlertWnd *alert() const { return m_alert; }
    // (-1, -1) until an alert closed.
    QPoint alertPosition() const { return m_alertPosition; }

Q_SIGNALS:
    // A test ended (whether or not an alert followed).
    void testFinished();

private:
    bool mayTest() const { return !m_alert && !m_managerOpen && !m_silenced; }
    void readSettings();
    void onTimer();
    void onCounted();
    void showAlert(const QVector<tagWAKEUPROW> &rows);
    void onAlertClosed(const QPoint &lastPosition);
    void openManager(int row);

    struct Run
    {
        std::atomic_bool stop { false };
        QVector<tagWAKEUPROW> rows;
    };

    CMainFrame &m_frame;
    QTimer m_timer;
    DueTest m_counter;
    QThread *m_worker = nullptr;
    std::shared_ptr<Run> m_run;
    QPointer<CDesktopAlertWnd> m_alert;
    QPoint m_alertPosition { -1, -1 };
    int m_minuteMs = 60000;
    bool m_enabled = true;
    int m_minutes = 60;
    bool m_managerOpen = false;
    bool m_silenced = false;
};
