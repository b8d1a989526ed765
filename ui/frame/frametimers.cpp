#include "ui/frame/frametimers.h"

#include "ui/frame/idlelockcontroller.h"
#include "ui/frame/remindercontroller.h"

FrameTimers::FrameTimers(IdleLockController &idle, ReminderController &reminders, QObject *parent)
    : QObject(parent), m_idle(idle), m_reminders(reminders)
{
    m_start.setSingleShot(true);
    connect(&m_start, &QTimer::timeout, this, &FrameTimers::startNow);
    m_start.start(StartDelayMs);
}

void FrameTimers::startNow()
{
    m_start.stop();
    m_idle.start();
    m_reminders.start();
}

void FrameTimers::stopAll()
{
    m_start.stop();
    m_idle.stop();
    m_reminders.stop();
}
