#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/util/profile.h"
#include "testprofile.h"
#include "ui/app/dlgappidlelocked.h"
#include "ui/controls/cdesktopalertwnd.h"
#include "ui/frame/cdlgpopupalter.h"
#include "ui/frame/clogobannerpane.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"
#include "ui/frame/frametimers.h"
#include "ui/frame/idlelockcontroller.h"
#include "ui/frame/mdibackground.h"
#include "ui/frame/remindercontroller.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// A reminder counter for the frame: one definition, due or not, after asking `asked`.
ReminderController::DueTest dueTest(bool due, std::atomic_int *asked = nullptr)
{
    return [due, asked](const QString &, const std::atomic_bool &) {
        if (asked)
            ++*asked;
        tagWAKEUPROW row;
        row.item.Title = QStringLiteral("合同到期");
        row.count = due ? 1 : 0;
        return QVector<tagWAKEUPROW> { row };
    };
}

} // namespace

using namespace Qt::StringLiterals;

namespace {

const QString Password = u"secret "_s; // the trailing blank belongs to it

QList<CDlgAppIdleLocked *> shownLocks()
{
    QList<CDlgAppIdleLocked *> locks;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *lock = qobject_cast<CDlgAppIdleLocked *>(w); lock && lock->isVisible())
            locks << lock;
    }
    return locks;
}

// Watches for lock dialogs and answers each with the next typed password; `whileLocked` runs
// once, the first time a lock shows, before any answer.
class LockAnswerer : public QObject
{
public:
    explicit LockAnswerer(QStringList passwords, std::function<void()> whileLocked = {})
        : m_passwords(std::move(passwords)), m_whileLocked(std::move(whileLocked))
    {
        connect(&m_poll, &QTimer::timeout, this, &LockAnswerer::poll);
        m_poll.start(5);
    }

    int seen = 0;
    int mostAtOnce = 0;
    bool stayedAfterWrong = true;
    bool frameMinimised = false;

private:
    void poll()
    {
        const QList<CDlgAppIdleLocked *> locks = shownLocks();
        mostAtOnce = qMax(mostAtOnce, int(locks.size()));
        if (locks.isEmpty())
            return;
        CDlgAppIdleLocked *lock = locks.first();
        if (lock != m_current) {
            m_current = lock;
            ++seen;
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (qobject_cast<CMainFrame *>(w))
                    frameMinimised = w->isMinimized();
            }
            if (m_whileLocked) {
                const auto once = std::exchange(m_whileLocked, {});
                once();
            }
        }
        if (m_passwords.isEmpty())
            return;
        auto *edit = lock->findChild<QLineEdit *>(u"m_editPassword"_s);
        edit->selectAll();
        QTest::keyClicks(edit, m_passwords.takeFirst());
        QTest::mouseClick(lock->findChild<QPushButton *>(u"m_btnUnlock"_s), Qt::LeftButton);
        if (!m_passwords.isEmpty())
            stayedAfterWrong = stayedAfterWrong && lock->isVisible();
    }

    QStringList m_passwords;
    std::function<void()> m_whileLocked;
    QTimer m_poll;
    CDlgAppIdleLocked *m_current = nullptr;
};

void dragBy(QWidget *handle, const QPoint &by)
{
    const QPoint from(10, 5);
    const QPoint global = handle->mapToGlobal(from);
    QMouseEvent press(QEvent::MouseButtonPress, from, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(handle, &press);
    QMouseEvent move(QEvent::MouseMove, from + by, global + by, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, from + by, global + by, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &release);
}

} // namespace

// The frame's timers with a clock of the test's own: idle lock, reminder alert, background.
class TestFrameTimers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void idleLockAfterTheSetTime();
    void ctrlLWhileLockedDoesNotStack();
    void idleCheckOffStillLocksOnCtrlL();
    void reminderAlertAtStartUp_data();
    void reminderAlertAtStartUp();
    void reminderAlertNeverDoubledOrAfterSilencing();
    void reminderAlertOpensWhereTheUserLeftIt();
    void lockHidesTheAlertAndPausesReminders();
    void background_data();
    void background();
    void backgroundSettingsRoundTrip();

private:
    qint64 m_now = 0;
};

void TestFrameTimers::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestFrameTimers::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    theCurrentUser.reset();
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
    theCurrentUser.Pwd = PasswordDigest::make(Password);
    m_now = 0;
}

void TestFrameTimers::idleLockAfterTheSetTime()
{
    Profile::writeInt({}, u"IdleLockTime"_s, 1);
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    IdleLockController &idle = frame.idleLock();
    idle.setClock([this] { return m_now; });
    idle.setCheckInterval(5);
    QVERIFY(!idle.isChecking());
    frame.timers().startNow();
    QVERIFY(idle.isChecking());

    LockAnswerer answerer({ u"secret"_s, u"wrong "_s, Password });
    // Any input anywhere in the program counts: the minute starts again at 30 s.
    m_now = 30'000;
    QTest::keyClick(&frame, Qt::Key_Shift);
    m_now = 89'999;
    QTest::qWait(40);
    QCOMPARE(answerer.seen, 0);

    m_now = 90'000;
    QTRY_COMPARE(answerer.seen, 1);
    QTRY_VERIFY(!idle.isLocked());
    QVERIFY(answerer.frameMinimised);
    QVERIFY(answerer.stayedAfterWrong); // "secret" without its blank, and a wrong one
    QVERIFY(shownLocks().isEmpty());
    QVERIFY(!frame.isMinimized());
    QVERIFY(idle.isChecking());
    QTest::qWait(40);
    QCOMPARE(answerer.seen, 1); // the typed password was input: not locked again at once
}

void TestFrameTimers::ctrlLWhileLockedDoesNotStack()
{
    Profile::writeInt({}, u"IdleLockTime"_s, 1);
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    IdleLockController &idle = frame.idleLock();
    idle.setClock([this] { return m_now; });
    idle.setCheckInterval(5);
    frame.timers().startNow();

    LockAnswerer answerer({ Password }, [&] {
        QVERIFY(!idle.isChecking());
        QTest::keyClick(&frame, Qt::Key_L, Qt::ControlModifier);
        frame.commands().run(33230);
        frame.LockForIdle();
        m_now += 3'600'000; // an hour: the idle check would fire if it still ran
        QTest::qWait(40);
    });
    QTest::keyClick(&frame, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(answerer.seen, 1);
    QCOMPARE(answerer.mostAtOnce, 1);
    QVERIFY(!idle.isLocked());
    QVERIFY(idle.isChecking());
}

void TestFrameTimers::idleCheckOffStillLocksOnCtrlL()
{
    Profile::writeInt({}, u"EnableIdleLocked"_s, 0);
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    frame.idleLock().setClock([this] { return m_now; });
    frame.timers().startNow();
    QVERIFY(!frame.idleLock().isChecking());

    LockAnswerer answerer({ Password });
    QTest::keyClick(&frame, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(answerer.seen, 1);
    QVERIFY(!frame.idleLock().isChecking());
}

void TestFrameTimers::reminderAlertAtStartUp_data()
{
    QTest::addColumn<int>("enabled");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("due");
    QTest::addColumn<bool>("shown");

    QTest::newRow("due") << 1 << 60 << true << true;
    QTest::newRow("nothing due") << 1 << 60 << false << false;
    QTest::newRow("reminders off") << 0 << 60 << true << false;
    QTest::newRow("no period") << 1 << 0 << true << false;
}

void TestFrameTimers::reminderAlertAtStartUp()
{
    QFETCH(int, enabled);
    QFETCH(int, minutes);
    QFETCH(bool, due);
    QFETCH(bool, shown);

    Profile::writeInt({}, u"EnableWakeup"_s, enabled);
    Profile::writeInt({}, u"WakeupPerTime"_s, minutes);
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    ReminderController &reminders = frame.reminders();
    reminders.setDueTest(dueTest(due));
    QVERIFY(frame.timers().isStartPending());
    frame.timers().startNow();
    QCOMPARE(reminders.isRunning(), enabled != 0 && minutes > 0);
    if (reminders.isRunning())
        QCOMPARE(reminders.interval(), minutes * 60'000);
    QTRY_VERIFY(!reminders.isTesting());

    CDesktopAlertWnd *alert = reminders.alert();
    QCOMPARE(alert != nullptr, shown);
    if (!alert)
        return;
    QCOMPARE(alert->windowTitle(), u"人事提醒"_s);
    QVERIFY(alert->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(alert->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(alert->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(qobject_cast<CDlgPopupAlter *>(alert->content()));
    QVERIFY(alert->isVisible());
    // It slides in to the corner of the screen.
    QTRY_COMPARE(alert->pos(), alert->lastPosition());
    const QRect screen = frame.screen()->availableGeometry();
    QVERIFY(screen.contains(alert->frameGeometry()));
    QVERIFY(alert->frameGeometry().bottom() > screen.bottom() - 20);
    QVERIFY(alert->frameGeometry().right() > screen.right() - 20);
}

void TestFrameTimers::reminderAlertNeverDoubledOrAfterSilencing()
{
    Profile::writeInt({}, u"WakeupPerTime"_s, 1);
    CMainFrame frame;
    std::atomic_int asked = 0;
    ReminderController &reminders = frame.reminders();
    reminders.setDueTest(dueTest(true, &asked));
    reminders.setMinuteLength(5); // the timer fires every 5 ms
    frame.timers().startNow();
    QTRY_VERIFY(reminders.alert());
    QPointer<CDesktopAlertWnd> first = reminders.alert();
    QTest::qWait(40);
    QCOMPARE(reminders.alert(), first.data());
    QCOMPARE(asked.load(), 1);

    first->close();
    QTRY_VERIFY(reminders.alert() && reminders.alert() != first);
    QCOMPARE(asked.load(), 2);

    // The reminder manager is open: no alert meanwhile.
    reminders.alert()->close();
    frame.setReminderManagerOpen(true);
    QTest::qWait(40);
    QVERIFY(!reminders.alert());
    frame.setReminderManagerOpen(false);
    QTRY_VERIFY(reminders.alert());

    // "知道了,不再弹出此窗口": closed now and no more alerts in this run.
    auto *content = qobject_cast<CDlgPopupAlter *>(reminders.alert()->content());
    QCOMPARE(content->silenceBox()->text(), u"知道了,不再弹出此窗口"_s);
    content->silenceBox()->click();
    QTRY_VERIFY(!reminders.alert());
    QTRY_VERIFY(!reminders.isTesting());
    const int askedBefore = asked;
    QTest::qWait(40);
    QVERIFY(!reminders.alert());
    QCOMPARE(asked.load(), askedBefore);
    QVERIFY(reminders.isSilenced());
}

void TestFrameTimers::reminderAlertOpensWhereTheUserLeftIt()
{
    CMainFrame frame;
    ReminderController &reminders = frame.reminders();
    reminders.setDueTest(dueTest(true));
    QCOMPARE(reminders.alertPosition(), QPoint(-1, -1));
    reminders.ShowReminderAlert();
    QTRY_VERIFY(reminders.alert());
    CDesktopAlertWnd *alert = reminders.alert();
    QTRY_COMPARE(alert->pos(), alert->lastPosition());
    const QPoint moved = alert->pos() - QPoint(200, 150);
    dragBy(alert->findChild<QWidget *>(u"AlertCaption"_s), QPoint(-200, -150));
    QCOMPARE(alert->pos(), moved);
    alert->findChild<QToolButton *>(u"AlertClose"_s)->click();
    QVERIFY(!reminders.alert());
    QCOMPARE(reminders.alertPosition(), moved);

    reminders.ShowReminderAlert();
    QTRY_VERIFY(reminders.alert());
    QTRY_COMPARE(reminders.alert()->pos(), moved);
}

void TestFrameTimers::lockHidesTheAlertAndPausesReminders()
{
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    ReminderController &reminders = frame.reminders();
    reminders.setDueTest(dueTest(true));
    frame.timers().startNow();
    QTRY_VERIFY(reminders.alert());
    QPointer<CDesktopAlertWnd> alert = reminders.alert();
    QVERIFY(alert && alert->isVisible());

    bool hiddenWhileLocked = false;
    bool pausedWhileLocked = false;
    LockAnswerer answerer({ Password }, [&] {
        hiddenWhileLocked = !alert->isVisible();
        pausedWhileLocked = !reminders.isRunning();
    });
    frame.LockForIdle();
    QCOMPARE(answerer.seen, 1);
    QVERIFY(hiddenWhileLocked);
    QVERIFY(pausedWhileLocked);
    QVERIFY(reminders.isRunning());
    QVERIFY(alert && !alert->isVisible()); // it stays hidden until it closes
}

void TestFrameTimers::background_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QPoint>("blue");  // where the picture shows
    QTest::addColumn<QPoint>("green"); // where the colour shows

    const QPoint none(-1, -1);
    const QPoint centre(-2, -2); // the middle of the area
    QTest::newRow("no picture: the colour") << 0 << false << none << QPoint(5, 5);
    QTest::newRow("tile") << 0 << true << QPoint(45, 25) << none;
    QTest::newRow("centre") << 1 << true << centre << QPoint(5, 5);
    QTest::newRow("stretch") << 2 << true << QPoint(5, 5) << none;
    QTest::newRow("at 20,10") << 3 << true << QPoint(25, 15) << QPoint(15, 5);
    QTest::newRow("unknown mode: the colour") << 7 << true << none << QPoint(25, 15);
}

void TestFrameTimers::background()
{
    QFETCH(int, mode);
    QFETCH(bool, picture);
    QFETCH(QPoint, blue);
    QFETCH(QPoint, green);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"bk.png"_s);
    QPixmap tile(20, 10);
    tile.fill(Qt::blue);
    QVERIFY(tile.save(file));

    CMainFrame frame;
    frame.mdiArea()->resize(400, 300);
    MdiBackground &background = frame.background();
    background.setColor(Qt::green);
    background.setMode(mode);
    background.setOrigin(QPoint(20, 10));
    if (picture) {
        QVERIFY(frame.SetBkPicture(file));
        QCOMPARE(background.pictureSize(), QSize(20, 10));
    }
    const QImage shown = frame.mdiArea()->viewport()->grab().toImage();
    if (blue == QPoint(-2, -2))
        blue = shown.rect().center();
    if (blue.x() >= 0)
        QCOMPARE(shown.pixelColor(blue), QColor(Qt::blue));
    if (green.x() >= 0)
        QCOMPARE(shown.pixelColor(green), QColor(Qt::green));
}

void TestFrameTimers::backgroundSettingsRoundTrip()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"bk.png"_s);
    QPixmap tile(8, 8);
    tile.fill(Qt::red);
    QVERIFY(tile.save(file));
    {
        CMainFrame frame;
        QVERIFY(!frame.SetBkPicture(dir.filePath(u"missing.png"_s)));
        QVERIFY(frame.SetBkPicture(QString()));
        QVERIFY(frame.SetBkPicture(file));
        frame.background().setMode(MdiBackground::AtOrigin);
        frame.background().setColor(QColor(1, 2, 3));
        frame.background().setOrigin(QPoint(20, 10));
        frame.SaveBkSettings();
        QCOMPARE(Profile::getInt({}, u"BkColor"_s, 0), 0x030201);
        QCOMPARE(Profile::getInt({}, u"BannerHeight"_s, -1), frame.bannerPane()->bannerHeight());
    }
    CMainFrame again;
    MdiBackground &background = again.background();
    QCOMPARE(background.mode(), int(MdiBackground::AtOrigin));
    QCOMPARE(background.color(), QColor(1, 2, 3));
    QCOMPARE(background.origin(), QPoint(20, 10));
    QCOMPARE(background.picturePath(), file);
    QCOMPARE(background.pictureSize(), QSize(8, 8));
    again.ResetBackground();
    QCOMPARE(background.mode(), 0);
    QVERIFY(background.picturePath().isEmpty());
    QCOMPARE(background.origin(), QPoint());
}

QTEST_MAIN(TestFrameTimers)
#include "tst_frametimers.moc"
