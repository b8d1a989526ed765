#pragma once

#include "ui/controls/cdesktopalertwnd.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <functional>

class CMainFrame;

// The reminder alert of the main frame: every "WakeupPerTime" minutes ("EnableWakeup" on), and
// once at start-up, it asks whether a personnel reminder is due and then shows the alert
// "人事提醒" (CDlgPopupAlter in a CDesktopAlertWnd) that slides in and closes itself after
// 10 s. The next alert opens where the user left the last one. No alert is shown while one is
// up, while the reminder manager is open, or after the user silenced them (until the program
// ends).
class ReminderController : public QObject
{
    Q_OBJECT

public:
    using DueTest = std::function<bool()>;

    static constexpr int AutoCloseMs = 10000;

    // Reads "EnableWakeup" (1) and "WakeupPerTime" (60 minutes); runs nothing until start().
    explicit ReminderController(CMainFrame &frame);
    ~ReminderController() override;

    // For tests: another due test (IsAnyReminderDue by default) and minute length.
    void setDueTest(DueTest test) { m_isDue = std::move(test); }
    void setMinuteLength(int ms) { m_minuteMs = ms; }

    // The start-up: with reminders on, the timer starts and the alert shows at once if due.
    void start();
    // Reads both settings again and restarts the timer when on (after an unlock, and when the
    // reminder manager changed the settings). Shows nothing by itself.
    void RestartWakeupTimer();
    void stop() { m_timer.stop(); }
    // A lock: the timer stops and a shown alert hides (it still closes after its time).
    void suspend();

    // Shows the alert when a reminder is due and none is shown.
    void ShowReminderAlert();

    // The reminder manager sets this while it is open.
    void setManagerOpen(bool open) { m_managerOpen = open; }
    bool isManagerOpen() const { return m_managerOpen; }
    bool isSilenced() const { return m_silenced; }
    bool isRunning() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }
    // Null while no alert is up.
    CDesktopAlertWnd *alert() const { return m_alert; }
    // (-1, -1) until an alert closed.
    QPoint alertPosition() const { return m_alertPosition; }

private:
    void readSettings();
    void onTimer();
    void onAlertClosed(const QPoint &lastPosition);
    void openManager(int row);

    CMainFrame &m_frame;
    QTimer m_timer;
    DueTest m_isDue;
    QPointer<CDesktopAlertWnd> m_alert;
    QPoint m_alertPosition { -1, -1 };
    int m_minuteMs = 60000;
    bool m_enabled = true;
    int m_minutes = 60;
    bool m_managerOpen = false;
    bool m_silenced = false;
};
