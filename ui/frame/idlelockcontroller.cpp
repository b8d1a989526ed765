#include "ui/frame/idlelockcontroller.h"

#include "core/app/constants.h"
#include "core/app/currentuser.h"
#include "ui/app/dlgappidlelocked.h"
#include "core/util/profile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int checkIntervalMs = 500;
constexpr qint64 minuteMs = 60000;

qint64 monotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
        return true;
    default:
        return false;
    }
}

} // namespace

IdleLockController::IdleLockController(QWidget &frame)
    : QObject(&frame), m_frame(frame), m_clock(monotonicMs)
{
    m_check.setInterval(checkIntervalMs);
    connect(&m_check, &QTimer::timeout, this, &IdleLockController::checkIdle);
    readSettings();
    m_lastInput = m_clock();
    qApp->installEventFilter(this);
}

IdleLockController::~IdleLockController()
{
    qApp->removeEventFilter(this);
}

void IdleLockController::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(monotonicMs);
    m_lastInput = m_clock();
}

void IdleLockController::readSettings()
{
    m_enabled = Profile::getInt({}, QString::fromUtf16(strEnableIdleLocked), 1) != 0;
    m_minutes = Profile::getInt({}, QString::fromUtf16(strIdleLockTime), 30);
}

void IdleLockController::start()
{
    // No time, no idle lock: 0 minutes would lock again the moment the lock ends.
    if (m_enabled && m_minutes > 0)
        m_check.start();
}

void IdleLockController::RestartIdleLockTimer()
{
    readSettings();
    m_check.stop();
    start();
}

qint64 IdleLockController::idleTime() const
{
    return m_clock() - m_lastInput;
}

void IdleLockController::checkIdle()
{
    if (m_locked)
        return;
    if (idleTime() >= m_minutes * minuteMs) {
        m_check.stop();
        LockForIdle();
    }
}

void IdleLockController::LockForIdle()
{
    if (m_locked)
        return;
    m_locked = true;
    m_check.stop();
    Q_EMIT locking();
    const Qt::WindowStates before = m_frame.windowState();
    const bool wasShown = m_frame.isVisible();
    m_frame.setWindowState(before | Qt::WindowMinimized);
    // A window of its own: a dialog over a minimised frame would be minimised with it.
    CDlgAppIdleLocked dialog;
    dialog.setOperatorName(theCurrentUser.UserName);
    const bool unlockedByPassword = dialog.exec() == QDialog::Accepted;
    m_locked = false;
    if (!unlockedByPassword)
        return; // only the password ends a lock; the frame stays down and the timers stopped
    RestartIdleLockTimer();
    Q_EMIT unlocked();
    m_frame.setWindowState(before & ~Qt::WindowMinimized);
    if (wasShown) {
        m_frame.show();
        m_frame.activateWindow();
    }
}

bool IdleLockController::eventFilter(QObject *watched, QEvent *event)
{
    if (isUserInput(event->type()))
        m_lastInput = m_clock();
    return QObject::eventFilter(watched, event);
}
