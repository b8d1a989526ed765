#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/ui/cdlgpsnwakeupitem.h"
#include "personnel/ui/cdlgpsnwakeupmanage.h"
#include "personnel/ui/cdlgpsnwakeupsetup.h"
#include "personnel/ui/frozencolumnview.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cdesktopalertwnd.h"
#include "ui/frame/cdlgpopupalter.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/frametimers.h"
#include "ui/frame/remindercontroller.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

QString logText()
{
    QStringList lines;
    const auto rows = theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id"_s);
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        lines << rows.rows.value(row, 0).toString();
    return lines.join(u'\n');
}

bool addDefinition(const QString &title, int days, int ord, bool custom = false,
                   const QString &condition = {})
{
    return theDatabase.Execute(
        u"INSERT INTO qz_PsnCaseWakeup (Title, WTable, WField, BefDays, "
        "ISCustom, WCondit, Ord) VALUES (?, 'QZ_PSNBASE', 'F14', ?, ?, ?, ?)"_s,
        { title, days, custom ? 1 : 0, condition, ord });
}

QAction *command(CDlgPsnWakeupManage &manager, const QString &label)
{
    for (QAction *action : manager.toolBar()->actions()) {
        if (action->text() == label)
            return action;
    }
    return nullptr;
}

} // namespace

// The reminder editor, the settings, the manager and the alert over a real database.
class TestWakeupDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void editorChecks_data();
    void editorChecks();
    void editorMatchesStoredNames();
    void setupWritesProfile();
    void managerListsPersons();
    void managerCommandsLog();
    void managerKeysAndPopup();
    void alertFromRealCounts();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestWakeupDialogs::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
}

void TestWakeupDialogs::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(u"admin"_s);
    // PIDs 2 and 6 fall due in three days, 3 in forty.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET F14=? WHERE PID IN (2, 6)"_s,
                                { QDateTime(QDate::currentDate().addDays(3), QTime(0, 0)) }));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET F14=? WHERE PID=3"_s,
                                { QDateTime(QDate::currentDate().addDays(40), QTime(0, 0)) }));
}

void TestWakeupDialogs::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestWakeupDialogs::editorChecks_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("message");

    QTest::newRow("no title") << u" "_s << false << QString() << u"错误：描述标题不能为空!"_s;
    QTest::newRow("a ';' in the condition")
        << u"合同"_s << true << u"1=1; DELETE FROM qz_Users"_s << u"自定义条件中不能含有';'!"_s;
    QTest::newRow("date item") << u"合同"_s << false << QString() << QString();
    QTest::newRow("custom") << u"合同"_s << true << u"qz_PsnBase.PID>0"_s << QString();
}

void TestWakeupDialogs::editorChecks()
{
    QFETCH(QString, title);
    QFETCH(bool, custom);
    QFETCH(QString, condition);
    QFETCH(QString, message);

    tagWAKEUPITEM item;
    item.BefDays = 1;
    CDlgPsnWakeupItem editor(item);
    editor.show();
    const int plainHeight = editor.height();
    QCOMPARE(editor.daysBox()->minimum(), 0);
    QCOMPARE(editor.daysBox()->maximum(), 1000);
    QVERIFY(!editor.conditionEdit()->isVisible());
    editor.titleEdit()->setText(title);
    editor.customBox()->setChecked(custom);
    QCOMPARE(editor.height() == CDlgPsnWakeupItem::CustomHeight, custom);
    QCOMPARE(editor.conditionEdit()->isVisible(), custom);
    if (custom)
        QVERIFY(plainHeight < CDlgPsnWakeupItem::CustomHeight);
    editor.conditionEdit()->setPlainText(condition);
    MessageCatcher catcher;
    editor.accept();
    QCOMPARE(catcher.texts.join(u'|'), message);
    QCOMPARE(editor.result() == QDialog::Accepted, message.isEmpty());
    if (message.isEmpty()) {
        QCOMPARE(editor.item().WTable, u"QZ_PSNBASE"_s);
        QCOMPARE(editor.item().ISCustom, custom);
    }
}

void TestWakeupDialogs::editorMatchesStoredNames()
{
    tagWAKEUPITEM item;
    item.Title = u"合同到期"_s;
    item.WTable = u"qz_psnbase"_s;
    item.WField = u"f14"_s;
    CDlgPsnWakeupItem editor(item);
    QCOMPARE(editor.tableCombo()->currentText(), u"人员信息"_s);
    QCOMPARE(editor.fieldCombo()->currentText(), u"入职日期"_s);
    // Only date items are offered.
    for (int i = 0; i < editor.fieldCombo()->count(); ++i)
        QVERIFY(editor.fieldCombo()->itemText(i) != u"姓名"_s);
    editor.accept();
    QCOMPARE(editor.item().WField, u"F14"_s);
}

void TestWakeupDialogs::setupWritesProfile()
{
    Profile::writeInt({}, u"WakeupPerTime"_s, 30);
    CMainFrame frame;
    frame.reminders().setDueTest({});
    CDlgPsnWakeupSetup setup;
    QCOMPARE(setup.minutesBox()->value(), 30);
    setup.enableBox()->setChecked(false);
    QVERIFY(!setup.minutesBox()->isEnabled());
    setup.enableBox()->setChecked(true);
    QVERIFY(setup.minutesBox()->isEnabled());
    setup.minutesBox()->setValue(0);
    setup.accept();
    QCOMPARE(Profile::getInt({}, u"WakeupPerTime"_s, -1), 1);
    QCOMPARE(Profile::getInt({}, u"EnableWakeup"_s, -1), 1);

    // Through the manager: logged, and the frame's timer runs on the new period.
    CDlgPsnWakeupManage manager(&frame);
    answerNextModal<CDlgPsnWakeupSetup>([](CDlgPsnWakeupSetup *dialog) {
        dialog->minutesBox()->setValue(7);
        dialog->accept();
    });
    manager.OnSetup();
    QVERIFY(frame.reminders().isRunning());
    QCOMPARE(frame.reminders().interval(), 7 * 60'000);
    QVERIFY(logText().contains(u"人员档案[修改人事提醒设置]"_s));
    QTRY_VERIFY(!manager.isBusy());
}

void TestWakeupDialogs::managerListsPersons()
{
    QVERIFY(addDefinition(u"近40天"_s, 40, 2));
    QVERIFY(addDefinition(u"合同到期"_s, 30, 1));
    QVERIFY(addDefinition(u"坏条件"_s, 0, 3, true, u"no_such_column=1"_s));
    // A restricted operator still sees every department's persons.
    loginAs(u"dept35"_s);
    CMainFrame frame;
    frame.reminders().setDueTest({});
    CDlgPsnWakeupManage manager(&frame, 1);
    QAbstractItemModelTester tester(manager.personList()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(frame.reminders().isManagerOpen());
    QSignalSpy persons(&manager, &CDlgPsnWakeupManage::personsShown);
    QTRY_COMPARE(manager.wakeupGrid()->rowCount(), 3);
    QTRY_VERIFY(!persons.isEmpty());
    QCOMPARE(manager.wakeupGrid()->item(0, CWakeupGridCtrl::ColTitle)->text(), u"合同到期"_s);
    QCOMPARE(manager.wakeupGrid()->currentRow(), 1);
    QCOMPARE(manager.wakeupGrid()->countAt(1), 3);
    QCOMPARE(manager.footer()->text(), u"近40天：3 人"_s);
    FrozenColumnView *list = manager.personList();
    QCOMPARE(list->model()->rowCount(), 3);
    for (int column = 0; column < 3; ++column)
        QVERIFY(list->isColumnHidden(column));
    QCOMPARE(list->model()->headerData(4, Qt::Horizontal).toString(), u"姓名"_s);
    QVERIFY(list->model()->index(0, 3).data(Qt::FontRole).value<QFont>().bold());
    // The first shown column stays while the list scrolls sideways.
    QVERIFY(list->frozenPart()->isVisibleTo(list));
    QVERIFY(!list->frozenPart()->isColumnHidden(3));
    QVERIFY(list->frozenPart()->isColumnHidden(4));

    // A failing condition is reported and the list stays as it was.
    MessageCatcher catcher;
    persons.clear();
    manager.wakeupGrid()->setCurrentCell(2, CWakeupGridCtrl::ColTitle);
    QTRY_VERIFY(!persons.isEmpty());
    QCOMPARE(catcher.texts, QStringList { u"计算提醒结果时出错！请检查提醒设置。"_s });
    QCOMPARE(manager.wakeupGrid()->item(2, CWakeupGridCtrl::ColCount)->text(), u"<Error>"_s);
    QCOMPARE(list->model()->rowCount(), 3);
}

void TestWakeupDialogs::managerCommandsLog()
{
    QVERIFY(addDefinition(u"合同到期"_s, 30, 1));
    CMainFrame frame;
    frame.reminders().setDueTest({});
    CDlgPsnWakeupManage manager(&frame);
    QTRY_COMPARE(manager.wakeupGrid()->rowCount(), 1);
    QStringList labels;
    for (QAction *action : manager.toolBar()->actions())
        labels << action->text();
    QCOMPARE(labels.join(u','), u"添加,修改,删除,设置,刷新,退出"_s);
    QCOMPARE(manager.popupMenu()->actions().size(), 6);

    answerNextModal<CDlgPsnWakeupItem>([](CDlgPsnWakeupItem *editor) {
        editor->titleEdit()->setText(u"试用期满"_s);
        editor->daysBox()->setValue(5);
        editor->accept();
    });
    command(manager, u"添加"_s)->trigger();
    QTRY_COMPARE(manager.wakeupGrid()->rowCount(), 2);
    QTRY_VERIFY(!manager.isBusy());
    QVERIFY(logText().contains(u"人员档案[添加人事提醒项'试用期满']"_s));

    // The new definition (Ord 0) comes first.
    QCOMPARE(manager.wakeupGrid()->item(0, CWakeupGridCtrl::ColTitle)->text(), u"试用期满"_s);
    manager.wakeupGrid()->setCurrentCell(0, CWakeupGridCtrl::ColTitle);
    answerNextModal<CDlgPsnWakeupItem>([](CDlgPsnWakeupItem *editor) {
        editor->titleEdit()->setText(u"转正"_s);
        editor->accept();
    });
    command(manager, u"修改"_s)->trigger();
    QTRY_VERIFY(logText().contains(u"人员档案[修改人事提醒项'转正']"_s));
    QTRY_VERIFY(!manager.isBusy());
    QCOMPARE(manager.wakeupGrid()->item(0, CWakeupGridCtrl::ColTitle)->text(), u"转正"_s);

    // Deleted meanwhile by someone else: string 133, nothing saved and no log.
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnCaseWakeup WHERE Title='转正'"_s));
    const QString before = logText();
    {
        MessageCatcher catcher;
        answerNextModal<CDlgPsnWakeupItem>([](CDlgPsnWakeupItem *editor) { editor->accept(); });
        command(manager, u"修改"_s)->trigger();
        QCOMPARE(catcher.texts, QStringList { u"该记录已被其他操作员删除,请刷新数据列表!"_s });
    }
    QCOMPARE(logText(), before);
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnCaseWakeup"_s).scalar().toInt(), 1);

    manager.wakeupGrid()->setCurrentCell(1, CWakeupGridCtrl::ColTitle);
    {
        MessageCatcher no(QMessageBox::No);
        command(manager, u"删除"_s)->trigger();
        QCOMPARE(no.texts, QStringList { u"确定要删除提醒项'合同到期'吗?"_s });
    }
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnCaseWakeup"_s).scalar().toInt(), 1);
    {
        MessageCatcher yes(QMessageBox::Yes);
        command(manager, u"删除"_s)->trigger();
    }
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnCaseWakeup"_s).scalar().toInt(), 0);
    QVERIFY(logText().contains(u"人员档案[删除人事提醒项'合同到期']"_s));
    QTRY_VERIFY(!manager.isBusy());
}

void TestWakeupDialogs::managerKeysAndPopup()
{
    QVERIFY(addDefinition(u"合同到期"_s, 30, 1));
    CDlgPsnWakeupManage manager(nullptr);
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    QTRY_VERIFY(manager.wakeupGrid()->rowCount() == 1 && !manager.isBusy());
    QApplication::setActiveWindow(&manager);
    manager.wakeupGrid()->setFocus();
    // Tab goes to the person list and back.
    QTest::keyClick(manager.wakeupGrid(), Qt::Key_Tab);
    QTRY_VERIFY(manager.personList()->hasFocus());
    QTest::keyClick(manager.personList(), Qt::Key_Tab);
    QTRY_VERIFY(manager.wakeupGrid()->hasFocus());
    // The menu key opens the popup menu and closes it again.
    QTest::keyClick(manager.wakeupGrid(), Qt::Key_Menu);
    QTRY_VERIFY(manager.popupMenu()->isVisible());
    QTest::keyClick(manager.wakeupGrid(), Qt::Key_Menu);
    QTRY_VERIFY(!manager.popupMenu()->isVisible());
    // So does a right click in either list.
    QTest::mouseRelease(manager.personList()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    QTRY_VERIFY(manager.popupMenu()->isVisible());
    manager.popupMenu()->close();
}

void TestWakeupDialogs::alertFromRealCounts()
{
    QVERIFY(addDefinition(u"近40天"_s, 40, 2));
    QVERIFY(addDefinition(u"明天"_s, 1, 1));
    CMainFrame frame;
    frame.reminders().setDueTest(ModuleCommands::instance().reminderCounter());
    frame.ShowReminderAlert();
    QTRY_VERIFY(frame.reminders().alert());
    auto *content = qobject_cast<CDlgPopupAlter *>(frame.reminders().alert()->content());
    QCOMPARE(content->grid()->rowCount(), 2);
    QCOMPARE(content->grid()->countAt(0), 0);
    QCOMPARE(content->grid()->countAt(1), 3);
    QVERIFY(content->link()->isEnabled());

    // A double click opens the manager on the same definition.
    int startRow = -1;
    int listed = -1;
    answerNextModal<CDlgPsnWakeupManage>([&](CDlgPsnWakeupManage *manager) {
        QTRY_VERIFY(manager->wakeupGrid()->rowCount() == 2 && !manager->isBusy());
        startRow = manager->wakeupGrid()->currentRow();
        listed = manager->personList()->model()->rowCount();
        QVERIFY(frame.reminders().isManagerOpen());
        manager->reject();
    });
    content->grid()->selectRow(1);
    Q_EMIT content->grid()->cellDoubleClicked(1, CWakeupGridCtrl::ColTitle);
    QTRY_COMPARE(startRow, 1);
    QCOMPARE(listed, 3);
    QTRY_VERIFY(!frame.reminders().isManagerOpen());
}

QTEST_MAIN(TestWakeupDialogs)
#include "tst_wakeupdialogs.moc"
