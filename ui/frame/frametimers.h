#pragma once

#include <QObject>
#include <QTimer>

class IdleLockController;
class ReminderController;

// The main frame's timers: two seconds after the frame is made, the start-up timer (101)
// starts the idle check (109) and the reminder timer (102), so that the first reminder test
// does not hold up the window's first showing. Closing the frame stops them all.
class FrameTimers : public QObject
{
    Q_OBJECT

public:
    static constexpr int StartDelayMs = 2000;

    FrameTimers(IdleLockController &idle, ReminderController &reminders, QObject *parent);

    // What the start-up timer does, at once (it does not fire again).
    void startNow();
    bool isStartPending() const { return m_start.isActive(); }
    // Stops the start-up timer, the idle check and the reminder timer.
    void stopAll();

private:
    IdleLockController &m_idle;
    ReminderController &m_reminders;
    QTimer m_start;
};
