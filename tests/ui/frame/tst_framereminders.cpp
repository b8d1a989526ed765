#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/query/wakeupqueries.h"
#include "core/util/profile.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cdesktopalertwnd.h"
#include "ui/frame/cdlgpopupalter.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/cwakeupgridctrl.h"
#include "ui/frame/frametimers.h"
#include "ui/frame/modulecommands.h"
#include "ui/frame/remindercontroller.h"

#include <QDateTime>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool addPerson(const QString &name, const QDateTime &birthday, const QString &sex = u"男"_s)
{
    return theDatabase.Execute(
        u"INSERT INTO qz_PsnBase (Number, Name, Sex, Birthday) VALUES (?, ?, ?, ?)"_s,
        { name, name, sex, birthday.isValid() ? QVariant(birthday) : QVariant() });
}

bool addDateReminder(const QString &title, const QString &field, int days, int ord = 0)
{
    return theDatabase.Execute(u"INSERT INTO qz_PsnCaseWakeup (Title, WTable, WField, BefDays, "
                               "ISCustom, Ord) VALUES (?, 'QZ_PSNBASE', ?, ?, 0, ?)"_s,
                               { title, field, days, ord });
}

bool addCustomReminder(const QString &title, const QString &condition, int ord = 0)
{
    return theDatabase.Execute(u"INSERT INTO qz_PsnCaseWakeup (Title, BefDays, ISCustom, WCondit, "
                               "Ord) VALUES (?, 0, 1, ?, ?)"_s,
                               { title, condition, ord });
}

QDateTime daysFromToday(int days, QTime time = QTime(0, 0))
{
    return QDateTime(QDate::currentDate().addDays(days), time);
}

} // namespace

// Reminder definitions in the database, the due test and the alert they raise.
class TestFrameReminders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void dateWindow_data();
    void dateWindow();
    void customCondition_data();
    void customCondition();
    void anyReminderDue();
    void alertOnlyWhenDue();
    void alertListsEveryDefinition();
    void alertOpensTheManagerAtTheRow();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestFrameReminders::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestFrameReminders::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    theCurrentUser.reset();
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
}

void TestFrameReminders::cleanup()
{
    ModuleCommands::instance().registerReminderManager({});
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestFrameReminders::dateWindow_data()
{
    QTest::addColumn<QDateTime>("birthday");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("count");

    QTest::newRow("tomorrow, one day ahead") << daysFromToday(1) << u"Birthday"_s << 1 << 1;
    QTest::newRow("today is not due") << daysFromToday(0) << u"Birthday"_s << 5 << 0;
    QTest::newRow("late today is not due either")
        << daysFromToday(0, QTime(23, 59)) << u"Birthday"_s << 5 << 0;
    QTest::newRow("late on the last day")
        << daysFromToday(5, QTime(23, 30)) << u"birthday"_s << 5 << 1;
    QTest::newRow("the day after the window") << daysFromToday(6) << u"Birthday"_s << 5 << 0;
    QTest::newRow("no days ahead") << daysFromToday(1) << u"Birthday"_s << 0 << 0;
    QTest::newRow("last year's date, near in month and day")
        << QDateTime(QDate::currentDate().addYears(-1).addDays(1), QTime(0, 0)) << u"Birthday"_s
        << 30 << 0;
    QTest::newRow("no date") << QDateTime() << u"Birthday"_s << 30 << 0;
    QTest::newRow("not a date item") << daysFromToday(1) << u"Name"_s << 5 << -1;
    QTest::newRow("not an item") << daysFromToday(1) << u"Birthday;DROP TABLE qz_Users"_s << 5
                                 << -1;
}

void TestFrameReminders::dateWindow()
{
    QFETCH(QDateTime, birthday);
    QFETCH(QString, field);
    QFETCH(int, days);
    QFETCH(int, count);

    QVERIFY(addPerson(u"张三"_s, birthday));
    QVERIFY(addPerson(u"李四"_s, daysFromToday(-40)));
    QVERIFY(addDateReminder(u"生日"_s, field, days));
    QVector<tagWAKEUPITEM> items;
    QVERIFY(LoadWakeupItems(items));
    QCOMPARE(items.size(), 1);
    QCOMPARE(CountWakeupPersons(items.first()), count);
    QCOMPARE(IsAnyReminderDue(), count > 0);
}

void TestFrameReminders::customCondition_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("count");

    QTest::newRow("women") << u"qz_PsnBase.Sex='女'"_s << 2;
    QTest::newRow("one of two alternatives") << u"1=0 OR qz_PsnBase.Name='王五'"_s << 1;
    QTest::newRow("nobody") << u"qz_PsnBase.Sex='?'"_s << 0;
    QTest::newRow("empty") << u"  "_s << -1;
    QTest::newRow("an SQL error") << u"no_such_column=1"_s << -1;
    QTest::newRow("a second statement") << u"1=1; DELETE FROM qz_Users"_s << -1;
}

void TestFrameReminders::customCondition()
{
    QFETCH(QString, condition);
    QFETCH(int, count);

    QVERIFY(addPerson(u"张三"_s, {}, u"女"_s));
    QVERIFY(addPerson(u"李四"_s, {}, u"女"_s));
    QVERIFY(addPerson(u"王五"_s, {}));
    QVERIFY(addCustomReminder(u"女职工"_s, condition));
    QVector<tagWAKEUPITEM> items;
    QVERIFY(LoadWakeupItems(items));
    QCOMPARE(CountWakeupPersons(items.first()), count);
    QCOMPARE(IsAnyReminderDue(), count > 0);
    QCOMPARE(GetScalarInt(u"SELECT COUNT(*) FROM qz_Users"_s), 1);
}

void TestFrameReminders::anyReminderDue()
{
    QVERIFY(!IsAnyReminderDue()); // no definitions
    QVERIFY(addPerson(u"张三"_s, daysFromToday(3)));
    QVERIFY(addCustomReminder(u"坏条件"_s, u"no_such_column=1"_s, 1));
    QVERIFY(addDateReminder(u"两天内"_s, u"Birthday"_s, 2, 2));
    QVERIFY(!IsAnyReminderDue());
    // A failing definition before it does not stop the search.
    QVERIFY(addDateReminder(u"一周内"_s, u"Birthday"_s, 7, 3));
    QVERIFY(IsAnyReminderDue());
}

void TestFrameReminders::alertOnlyWhenDue()
{
    QVERIFY(addPerson(u"张三"_s, daysFromToday(3)));
    QVERIFY(addDateReminder(u"两天内"_s, u"Birthday"_s, 2));
    {
        CMainFrame frame;
        frame.timers().startNow();
        QVERIFY(frame.reminders().isRunning());
        QVERIFY(!frame.reminders().alert());
    }
    QVERIFY(addDateReminder(u"一周内"_s, u"Birthday"_s, 7));
    CMainFrame frame;
    frame.timers().startNow();
    QVERIFY(frame.reminders().alert());
}

void TestFrameReminders::alertListsEveryDefinition()
{
    QVERIFY(addPerson(u"张三"_s, daysFromToday(3)));
    QVERIFY(addDateReminder(u"一周内"_s, u"Birthday"_s, 7, 2));
    QVERIFY(addDateReminder(u"两天内"_s, u"Birthday"_s, 2, 1));
    QVERIFY(addCustomReminder(u"空条件"_s, QString(), 3));
    CMainFrame frame;
    frame.ShowReminderAlert();
    CDesktopAlertWnd *alert = frame.reminders().alert();
    QVERIFY(alert);
    CWakeupGridCtrl *grid = qobject_cast<CDlgPopupAlter *>(alert->content())->grid();
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
    QVERIFY(addPerson(u"张三"_s, daysFromToday(3)));
    QVERIFY(addDateReminder(u"两天内"_s, u"Birthday"_s, 2, 1));
    QVERIFY(addDateReminder(u"一周内"_s, u"Birthday"_s, 7, 2));
    CMainFrame frame;
    frame.ShowReminderAlert();
    auto *content = qobject_cast<CDlgPopupAlter *>(frame.reminders().alert()->content());
    // No manager yet: the link leads nowhere and says so by being disabled.
    QVERIFY(!content->link()->isEnabled());
    frame.reminders().alert()->close();

    int openedAt = -1;
    ModuleCommands::instance().registerReminderManager(
        [&](CMainFrame &, int row) { openedAt = row; });
    frame.ShowReminderAlert();
    QPointer<CDesktopAlertWnd> alert = frame.reminders().alert();
    content = qobject_cast<CDlgPopupAlter *>(alert->content());
    QVERIFY(content->link()->isEnabled());
    content->grid()->selectRow(1);
    Q_EMIT content->link()->linkActivated(u"manager"_s);
    QVERIFY(!frame.reminders().alert());
    QTRY_COMPARE(openedAt, 1);
}

QTEST_MAIN(TestFrameReminders)
#include "tst_framereminders.moc"
