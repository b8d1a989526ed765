#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "modalanswers.h"
#include "payroll/ui/cdlgwagetabledelete.h"
#include "payroll/ui/cdlgwagetablenew.h"
#include "payroll/ui/cdlgwagetableopen.h"
#include "payroll/ui/payrollmodule.h"
#include "payroll/wageperiods.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/app/appwindow.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/dialogs/cdlgresetorder.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList periodTexts(const CDlgWageTableOpen &dialog)
{
    QStringList texts;
    for (int row = 0; row < dialog.grid()->rowCount(); ++row)
        texts << dialog.grid()->item(row, 1)->text();
    return texts;
}

int count(const QString &sql, const QVariantList &values = {})
{
    return GetScalarInt(sql, values).valueOr(-99);
}

} // namespace

class TestWageTableDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void newPeriodAndDuplicate();
    void limitAndReopen();
    void deleteRange();
    void openRefusedWithoutRights();
    void reorderInLeaf();

private:
    TestDatabase *m_fixture = nullptr;
    int m_sid = 0;
};

void TestWageTableDialogs::initTestCase()
{
    QVERIFY(useTestProfile());
    AppWindow::installPresenters();
    RegisterPayrollModule();
}

void TestWageTableDialogs::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    theApp = CVantrelApp();
    theApp.m_strConnection = m_fixture->connectionString();
    theCurrentUser.reset();
    theCurrentUser.UserID = 1;
    theCurrentUser.UserName = u"admin"_s;
    theCurrentUser.ISuper = 1;
    m_sid = *vantrel::payroll::AddWageSet(theDatabase, u"月薪"_s);
}

void TestWageTableDialogs::cleanup()
{
    theCurrentUser.reset();
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestWageTableDialogs::newPeriodAndDuplicate()
{
    CDlgWageTableOpen dialog;
    QCOMPARE(dialog.wageSetId(), m_sid);
    QCOMPARE(dialog.grid()->rowCount(), 0);
    bool stayedOpen = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        MessageCatcher answers(QMessageBox::Yes);
        answerNextModal<CDlgWageTableNew>([&, attempt](CDlgWageTableNew *created) {
            created->periodPicker()->setDate(QDate(2024, 3, 1));
            created->accept();
            if (attempt == 1) {
                stayedOpen = created->isVisible();
                created->reject();
            }
        });
        dialog.OnNew();
        if (attempt == 1)
            QCOMPARE(answers.texts.last(), u"薪资表(2024年03月) 已存在!"_s);
        else
            QCOMPARE(answers.texts, QStringList { u"确定新建 \"2024年03月\" 薪资表吗?"_s });
    }
    QVERIFY(stayedOpen);
    QCOMPARE(periodTexts(dialog), QStringList { u"2024年03月"_s });
    QCOMPARE(count(u"SELECT COUNT(*) FROM qz_WageTable WHERE SID = ?"_s, { m_sid }), 1);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.period(), 202403);
    QCOMPARE(dialog.closed(), 0);
    QCOMPARE(dialog.tableName(), vantrel::payroll::WageSetDataTableName(m_sid));
}

void TestWageTableDialogs::limitAndReopen()
{
    for (int i = 0; i < 30; ++i)
        QVERIFY(
            theDatabase.Execute(u"INSERT INTO qz_WageTable (SID, fDate, Stat) VALUES (?, ?, ?)"_s,
                                { m_sid, 202201 + (i / 12) * 100 + i % 12, i == 29 ? 1 : 0 }));
    CDlgWageTableOpen dialog;
    QCOMPARE(dialog.grid()->rowCount(), 12);
    QCOMPARE(periodTexts(dialog).first(), u"2024年06月"_s);
    QVERIFY(dialog.reopenButton()->isEnabled());
    dialog.grid()->selectRow(1);
    QVERIFY(!dialog.reopenButton()->isEnabled());
    dialog.limitBox()->setChecked(false);
    QCOMPARE(dialog.grid()->rowCount(), 30);
    QVERIFY(!dialog.monthCount()->isEnabled());
    dialog.limitBox()->setChecked(true);
    dialog.monthCount()->setValue(0);
    QCOMPARE(dialog.grid()->rowCount(), 0);
    dialog.monthCount()->setValue(3);
    MessageCatcher answers(QMessageBox::Yes);
    dialog.OnReopen();
    QCOMPARE(
        answers.texts,
        (QStringList { u"确定要将\"2024年06月\"薪资表标记为未结账状态吗?"_s, u"反结账完成!"_s }));
    QCOMPARE(count(u"SELECT Stat FROM qz_WageTable WHERE SID = ? AND fDate = 202406"_s, { m_sid }),
             0);
    QVERIFY(!dialog.reopenButton()->isEnabled());
}

void TestWageTableDialogs::deleteRange()
{
    for (const int period : { 202401, 202402, 202403, 202404 })
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WageTable (SID, fDate) VALUES (?, ?)"_s,
                                    { m_sid, period }));
    CDlgWageTableOpen dialog;
    MessageCatcher answers(QMessageBox::Yes);
    answerNextModal<CDlgWageTableDelete>([](CDlgWageTableDelete *range) {
        range->rangeButton()->setChecked(true);
        range->fromPicker()->setDate(QDate(2024, 1, 1));
        range->toPicker()->setDate(QDate(2024, 3, 1));
        range->accept();
    });
    dialog.OnDelete();
    QCOMPARE(answers.texts, QStringList { u"确定要删除 2024年01月 至 2024年03月薪资表吗?"_s });
    QCOMPARE(periodTexts(dialog), QStringList { u"2024年04月"_s });
}

void TestWageTableDialogs::openRefusedWithoutRights()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WageTable (SID, fDate) VALUES (?, 202403)"_s,
                                { m_sid }));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Users (UserName, Pwd, Locked, Purview, ISuper) VALUES (?, '', 0, ?, 0)"_s,
        { u"clerk"_s, u"0|||"_s }));
    CDlgWageTableOpen dialog;
    theCurrentUser.reset();
    theCurrentUser.UserName = u"clerk"_s;
    theCurrentUser.UserID
        = count(u"SELECT UserID FROM qz_Users WHERE UserName = ?"_s, { u"clerk"_s });
    MessageCatcher answers;
    dialog.accept();
    QCOMPARE(answers.texts.size(), 1);
    QVERIFY(dialog.result() != int(QDialog::Accepted));
}

void TestWageTableDialogs::reorderInLeaf()
{
    const int did = InsertReturningId(u"qz_Dept"_s, { u"ParentID"_s, u"Name"_s, u"Ord"_s },
                                      { 0, u"部门"_s, 1 }, u"DID"_s);
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Dept SET ParentArr = ? WHERE DID = ?"_s,
                                { u"|%1|"_s.arg(did), did }));
    const int aid = InsertReturningId(u"qz_PsnSort"_s, { u"Name"_s }, { u"正式"_s }, u"AID"_s);
    QVector<int> pids;
    for (int i = 0; i < 3; ++i) {
        pids << InsertReturningId(u"qz_PsnBase"_s,
                                  { u"DID"_s, u"AID"_s, u"Number"_s, u"Name"_s, u"Ord"_s },
                                  { did, aid, u"N%1"_s.arg(i), u"人员%1"_s.arg(i), i }, u"PID"_s);
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WagePsn (SID, PID, Ord) VALUES (?, ?, ?)"_s,
                                    { m_sid, pids.last(), (i + 1) * 10 }));
    }
    QVERIFY(vantrel::payroll::CreateWagePeriod(theDatabase, 1, m_sid, 202403));
    const QString table = vantrel::payroll::WageSetDataTableName(m_sid);
    const vantrel::payroll::BoundQuery list
        = vantrel::payroll::WageReorderListQuery(table, 202403, did);
    CDlgResetOrder dialog;
    dialog.SetList(
        list.sql, 0, 5,
        OrderColumns { table, u"ID"_s, u"Ord"_s, u"fDate = ? AND DID = ?"_s, { 202403, did } },
        list.values);
    dialog.SetRenumberStatement(u"qz_RefreshWageTablePsnOrder"_s, { table, 202403, did });
    QVERIFY(dialog.LoadRows());
    QCOMPARE(dialog.GetGrid()->GetRowCount(), 3);
    dialog.GetGrid()->SetCurSel(0, 1);
    dialog.MoveToBottom();
    dialog.Refresh();
    QVERIFY(dialog.IsChanged());
    const vantrel::db::QueryResult order = theDatabase.run(
        u"SELECT PID, Ord FROM %1 WHERE fDate = 202403 ORDER BY Ord"_s.arg(table));
    QCOMPARE(order.rows.rowCount(), 3);
    QCOMPARE(order.rows.value(0, 0).toInt(), pids[1]);
    QCOMPARE(order.rows.value(2, 0).toInt(), pids[0]);
    QCOMPARE(order.rows.value(0, 1).toInt(), 1);
    QCOMPARE(order.rows.value(2, 1).toInt(), 3);
}

QTEST_MAIN(TestWageTableDialogs)
#include "tst_wagetabledialogs.moc"
