#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

// Locks the program when the operator has been away "IdleLockTime" minutes ("EnableIdleLocked"
// on), and on Ctrl+L: the frame is minimised and the lock dialog waits for the operator's
// password. The last input is what the application saw last (keys, mouse, wheel, touch), kept
// by an event filter on the application.
//
// Every lock stops the idle check, and ticks are ignored while the lock is up, so two lock
// dialogs never stack. The right password restarts the check from the profile and brings the
// frame back as it was; nothing else ends the lock.
class IdleLockController : public QObject
{
    Q_OBJECT

public:
    // Milliseconds from any fixed point; the default is a monotonic clock.
    using Clock = std::function<qint64()>;

    // Reads "EnableIdleLocked" (1) and "IdleLockTime" (30 minutes); checks nothing until
    // start().
    explicit IdleLockController(QWidget &frame);
    ~IdleLockController() override;

    // For tests: a clock of their own, and the check period (500 ms).
    void setClock(Clock clock);
    void setCheckInterval(int ms) { m_check.setInterval(ms); }

    // The start-up: the idle check runs every 500 ms when it is enabled.
    void start();
    // Reads both settings again and restarts the check when enabled (options page, unlock).
    void RestartIdleLockTimer();
    void stop() { m_check.stop(); }

    // Locks now, unless a lock is already up.
    void LockForIdle();

    bool isLocked() const { return m_locked; }
    bool isChecking() const { return m_check.isActive(); }
    bool isEnabled() const { return m_enabled; }
    int lockMinutes() const { return m_minutes; }
    // Milliseconds since the last input.
    qint64 idleTime() const;

Q_SIGNALS:
    // Before the lock dialog shows: the reminders pause and a shown alert hides.
    void locking();
    // The operator gave the password: the reminders start again.
    void unlocked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readSettings();
    void checkIdle();

    QWidget &m_frame;
    QTimer m_check;
    Clock m_clock;
    qint64 m_lastInput = 0;
    bool m_enabled = true;
    int m_minutes = 30;
    bool m_locked = false;
};
