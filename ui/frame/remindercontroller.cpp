#include "ui/frame/remindercontroller.h"

#include "core/app/constants.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "ui/controls/cdesktopalertwnd.h"
#include "ui/frame/cdlgpopupalter.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/modulecommands.h"

#include <QThread>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr int animationSpeed = 30;
constexpr int transparency = 250;

int periodMs(int minutes, int minuteMs)
{
    return int(qMin<qint64>(qint64(minutes) * minuteMs, std::numeric_limits<int>::max()));
}

} // namespace

ReminderController::ReminderController(CMainFrame &frame)
    : QObject(&frame), m_frame(frame), m_counter(ModuleCommands::instance().reminderCounter())
{
    connect(&m_timer, &QTimer::timeout, this, &ReminderController::onTimer);
    readSettings();
}

ReminderController::~ReminderController()
{
    if (m_worker) {
        m_run->stop = true;
        m_worker->wait();
        delete m_worker;
    }
}

void ReminderController::readSettings()
{
    m_enabled = Profile::getInt({}, QString::fromUtf16(strEnableWakeup), 1) != 0;
    m_minutes = Profile::getInt({}, QString::fromUtf16(strWakeupPerTime), 60);
}

void ReminderController::start()
{
    if (!m_enabled || m_minutes <= 0)
        return;
    m_timer.start(periodMs(m_minutes, m_minuteMs));
    ShowReminderAlert();
}

void ReminderController::RestartWakeupTimer()
{
    readSettings();
    m_timer.stop();
    if (m_enabled && m_minutes > 0)
        m_timer.start(periodMs(m_minutes, m_minuteMs));
}

void ReminderController::suspend()
{
    m_timer.stop();
    if (m_alert)
        m_alert->hide();
}

void ReminderController::onTimer()
{
    ShowReminderAlert();
}

void ReminderController::ShowReminderAlert()
{
    if (!mayTest() || m_worker || !m_counter)
        return;
    // The worker gets its own copies: the connection string of this moment and the counter.
    auto run = std::make_shared<Run>();
    m_run = run;
    m_worker = QThread::create(
        [run, counter = m_counter, connection = theDatabase.GetConnectionString()] {
            run->rows = counter(connection, run->stop);
        });
    connect(m_worker, &QThread::finished, this, &ReminderController::onCounted);
    m_worker->start();
}

void ReminderController::onCounted()
{
    const QVector<tagWAKEUPROW> rows = std::move(m_run->rows);
    m_worker->deleteLater();
    m_worker = nullptr;
    m_run.reset();
    // The flags may have changed while the counts ran.
    if (IsAnyReminderDue(rows) && mayTest())
        showAlert(rows);
    Q_EMIT testFinished();
}

void ReminderController::showAlert(const QVector<tagWAKEUPROW> &rows)
{
    auto *content = new CDlgPopupAlter(rows);
    content->setManagerAvailable(ModuleCommands::instance().reminderManager() != nullptr);
    connect(content, &CDlgPopupAlter::managerRequested, this, &ReminderController::openManager);
    connect(content, &CDlgPopupAlter::silenceRequested, this, [this] {
        m_silenced = true;
        if (m_alert)
            m_alert->close();
    });
    m_alert = new CDesktopAlertWnd(&m_frame);
    m_alert->SetAnimationSpeed(animationSpeed);
    m_alert->SetTransparency(transparency);
    m_alert->SetAutoCloseTime(AutoCloseMs);
    m_alert->SetIcon(QIcon(u":/bitmaps/128.png"_s));
    m_alert->SetTitle(u"人事提醒"_s);
    connect(m_alert, &CDesktopAlertWnd::closed, this, &ReminderController::onAlertClosed);
    m_alert->Create(content, m_alertPosition);
}

void ReminderController::onAlertClosed(const QPoint &lastPosition)
{
    m_alertPosition = lastPosition;
    m_alert = nullptr;
}

void ReminderController::openManager(int row)
{
    if (m_alert)
        m_alert->close();
    // Out of the alert's click first: the manager is modal.
    QTimer::singleShot(0, this, [this, row] {
        if (const ModuleCommands::RowOpener open = ModuleCommands::instance().reminderManager())
            open(m_frame, row);
    });
}
