#include "core/util/profile.h"
#include "testprofile.h"
#include "ui/controls/cdesktopalertwnd.h"
#include "ui/frame/cdlgpopupalter.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/cwakeupgridctrl.h"
#include "ui/frame/frametimers.h"
#include "ui/frame/modulecommands.h"
#include "ui/frame/remindercontroller.h"

#include <QCheckBox>
#include <QLabel>
#include <QSemaphore>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

tagWAKEUPROW row(const QString &title, int count)
{
    tagWAKEUPROW result;
    result.item.Title = title;
    result.count = count;
    return result;
}

ReminderController::DueTest counted(QVector<tagWAKEUPROW> rows, std::atomic_int *asked = nullptr)
{
    return [rows, asked](const QString &, const std::atomic_bool &) {
        if (asked)
            ++*asked;
        return rows;
    };
}

} // namespace

// The alert the frame's reminder timer raises from the counts it is handed.
class TestFrameReminders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void alertOnlyWhenDue();
    void alertListsEveryDefinition();
    void alertOpensTheManagerAtTheRow();
    void noTestWhileBlocked_data();
    void noTestWhileBlocked();
    void slowCountKeepsTheWindowWorking();
};

void TestFrameReminders::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestFrameReminders::init()
{
    clearTestProfile();
}

void TestFrameReminders::cleanup()
{
    ModuleCommands::instance().registerReminderManager({});
}

void TestFrameReminders::alertOnlyWhenDue()
{
    CMainFrame frame;
    frame.reminders().setDueTest(counted({ row(u"两天内"_s, 0), row(u"坏条件"_s, -1) }));
    frame.timers().startNow();
    QVERIFY(frame.reminders().isRunning());
    QTRY_VERIFY(!frame.reminders().isTesting());
    QVERIFY(!frame.reminders().alert());

    frame.reminders().setDueTest(counted({ row(u"两天内"_s, 0), row(u"一周内"_s, 1) }));
    frame.ShowReminderAlert();
    QTRY_VERIFY(frame.reminders().alert());
}

void TestFrameReminders::alertListsEveryDefinition()
{
    CMainFrame frame;
    frame.reminders().setDueTest(
        counted({ row(u"两天内"_s, 0), row(u"一周内"_s, 1), row(u"空条件"_s, -1) }));
    frame.ShowReminderAlert();
    QTRY_VERIFY(frame.reminders().alert());
    CWakeupGridCtrl *grid
        = qobject_cast<CDlgPopupAlter *>(frame.reminders().alert()->content())->grid();
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(0, CWakeupGridCtrl::ColTitle)->text(), u"两天内"_s);
    QCOMPARE(grid->item(0, CWakeupGridCtrl::ColCount)->text(), u"0"_s);
    QCOMPARE(grid->item(1, CWakeupGridCtrl::ColCount)->text(), u"1"_s);
    QCOMPARE(grid->item(1, CWakeupGridCtrl::ColCount)->foreground().color(), QColor(255, 0, 0));
    QVERIFY(grid->item(0, CWakeupGridCtrl::ColCount)->foreground().color() != QColor(255, 0, 0));
    QCOMPARE(grid->item(2, CWakeupGridCtrl::ColCount)->text(), u"<Error>"_s);
    for (int column = 0; column < CWakeupGridCtrl::ColumnCount; ++column) {
        const bool shown
            = column == CWakeupGridCtrl::ColTitle || column == CWakeupGridCtrl::ColCount;
        QCOMPARE(!grid->isColumnHidden(column), shown);
    }
    QCOMPARE(grid->horizontalHeaderItem(CWakeupGridCtrl::ColTitle)->text(), u"事项"_s);
    QCOMPARE(grid->horizontalHeaderItem(CWakeupGridCtrl::ColCount)->text(), u"人数"_s);
}

void TestFrameReminders::alertOpensTheManagerAtTheRow()
{
    CMainFrame frame;
    frame.reminders().setDueTest(counted({ row(u"两天内"_s, 0), row(u"一周内"_s, 1) }));
    frame.ShowReminderAlert();
    QTRY_VERIFY(frame.reminders().alert());
    auto *content = qobject_cast<CDlgPopupAlter *>(frame.reminders().alert()->content());
    // No manager yet: the link leads nowhere and says so by being disabled.
    QVERIFY(!content->link()->isEnabled());
    frame.reminders().alert()->close();

    int openedAt = -1;
    ModuleCommands::instance().registerReminderManager(
        [&](CMainFrame &, int row) { openedAt = row; });
    frame.ShowReminderAlert();
    QTRY_VERIFY(frame.reminders().alert());
    content = qobject_cast<CDlgPopupAlter *>(frame.reminders().alert()->content());
    QVERIFY(content->link()->isEnabled());
    content->grid()->selectRow(1);
    Q_EMIT content->link()->linkActivated(u"manager"_s);
    QVERIFY(!frame.reminders().alert());
    QTRY_COMPARE(openedAt, 1);
}

void TestFrameReminders::noTestWhileBlocked_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("an alert is shown") << u"alert"_s;
    QTest::newRow("the manager is open") << u"manager"_s;
    QTest::newRow("alerts are silenced") << u"silenced"_s;
}

void TestFrameReminders::noTestWhileBlocked()
{
    QFETCH(QString, blocker);

    Profile::writeInt({}, u"WakeupPerTime"_s, 1);
    CMainFrame frame;
    ReminderController &reminders = frame.reminders();
    std::atomic_int asked = 0;
    reminders.setDueTest(counted({ row(u"一周内"_s, 1) }, &asked));
    reminders.ShowReminderAlert();
    QTRY_VERIFY(reminders.alert());
    if (blocker == u"manager") {
        reminders.alert()->close();
        frame.setReminderManagerOpen(true);
    } else if (blocker == u"silenced") {
        qobject_cast<CDlgPopupAlter *>(reminders.alert()->content())->silenceBox()->click();
        QTRY_VERIFY(!reminders.alert());
    }
    reminders.setMinuteLength(5);
    reminders.RestartWakeupTimer();
    QTest::qWait(60);
    QCOMPARE(asked.load(), 1);
    QVERIFY(!reminders.isTesting());
}

void TestFrameReminders::slowCountKeepsTheWindowWorking()
{
    Profile::writeInt({}, u"WakeupPerTime"_s, 1);
    CMainFrame frame;
    ReminderController &reminders = frame.reminders();
    QSemaphore release;
    std::atomic_int asked = 0;
    reminders.setDueTest([&](const QString &, const std::atomic_bool &stop) {
        ++asked;
        while (!release.tryAcquire(1, 10) && !stop) { }
        return QVector<tagWAKEUPROW> { row(u"一周内"_s, 1) };
    });
    reminders.setMinuteLength(5); // the reminder timer fires every 5 ms
    int ticks = 0;
    QTimer uiTimer;
    connect(&uiTimer, &QTimer::timeout, this, [&] { ++ticks; });
    uiTimer.start(5);
    frame.timers().startNow();
    QTest::qWait(100);
    // The count still runs: the window's own timers went on, and no second test started.
    QVERIFY(reminders.isTesting());
    QVERIFY(ticks >= 5);
    QCOMPARE(asked.load(), 1);
    release.release();
    QTRY_VERIFY(reminders.alert());
    QCOMPARE(asked.load(), 1);
}

QTEST_MAIN(TestFrameReminders)
#include "tst_framereminders.moc"
