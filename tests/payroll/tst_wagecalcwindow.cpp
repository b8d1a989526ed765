#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wagesetschema.h"
#include "core/script/hostfunctions.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "payroll/ui/cchildframewage.h"
#include "payroll/ui/cviewwage.h"
#include "payroll/ui/payrollmodule.h"
#include "payroll/wageperiods.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/app/appwindow.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/dialogs/cprogressdlg.h"
#include "ui/frame/cmainframe.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

namespace {

constexpr int Period = 202403;

QString logText()
{
    QStringList lines;
    const vantrel::db::QueryResult rows
        = theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id"_s);
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        lines << rows.rows.value(row, 0).toString();
    return lines.join(u'\n');
}

CProgressDlg *progressWindow()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<CProgressDlg *>(top); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// While the calculation runs: the status lines the progress window showed, and a press of
// Cancel as soon as the item asked for starts.
class ProgressWatcher
{
public:
    explicit ProgressWatcher(const QString &cancelAt)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this, cancelAt] {
            CProgressDlg *dialog = progressWindow();
            if (!dialog)
                return;
            for (const QLabel *label : dialog->findChildren<QLabel *>()) {
                if (label->text().startsWith(u"正在核算"_s) && !statuses.contains(label->text()))
                    statuses << label->text();
            }
            if (!cancelled && !cancelAt.isEmpty() && statuses.join(u'\n').contains(cancelAt)) {
                cancelled = true;
                dialog->findChild<QPushButton *>()->click();
            }
        });
        m_timer.start();
    }
    QStringList statuses;
    bool cancelled = false;

private:
    QTimer m_timer;
};

} // namespace

// 薪资核算 and the recalculation after a typed value, in the payroll window: the personnel
// fixture's persons 1, 2, 4 and 6 in the period, 基本工资 typed and three formulas after it.
class TestWageCalcWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void f7ComputesWithProgressAndCancel();
    void typedValueRecomputesItsPerson();

private:
    CViewWage *openPeriod();
    QVariant value(int pid, const QString &column);

    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
    int m_sid = 0;
    QString m_table;
    QStringList m_columns; // 基本工资, 应发合计, 个税, 实发
};

void TestWageCalcWindow::initTestCase()
{
    QVERIFY(useTestProfile());
    AppWindow::installPresenters();
    RegisterPayrollModule();
    registerHostFunctions();
}

void TestWageCalcWindow::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp = CVantrelApp();
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(u"admin"_s);
    const vantrel::Result<int> sid = AddWageSet(theDatabase, u"月薪"_s);
    QVERIFY(sid);
    m_sid = *sid;
    m_table = WageSetDataTableName(m_sid);
    m_columns.clear();
    const auto add = [this](const QString &alias, const QString &formula) {
        WageItemDefinition item;
        item.alias = alias;
        item.property = formula.isEmpty() ? 0 : 1;
        item.formula = formula;
        const vantrel::Result<int> id = AddWageItem(theDatabase, m_sid, item);
        m_columns << (id ? WageItemColumnName(*id) : QString());
    };
    add(u"基本工资"_s, {});
    add(u"应发合计"_s, u"{%1}*2"_s.arg(m_columns[0]));
    add(u"个税"_s, u"{%1}/10"_s.arg(m_columns[1]));
    add(u"实发"_s, u"{%1}-{%2}"_s.arg(m_columns[1], m_columns[2]));
    QVERIFY(!m_columns.contains(QString()));
    for (int pid = 1; pid <= 6; ++pid)
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WagePsn (SID, PID, Ord) VALUES (?, ?, ?)"_s,
                                    { m_sid, pid, pid }));
    QVERIFY(CreateWagePeriod(theDatabase, 1, m_sid, Period));
    QVERIFY(theDatabase.Execute(
        u"UPDATE %1 SET %2 = PID * 1000 WHERE fDate = ?"_s.arg(m_table, m_columns[0]), { Period }));
}

void TestWageCalcWindow::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

CViewWage *TestWageCalcWindow::openPeriod()
{
    m_pMain = new CMainFrame;
    m_pMain->show();
    QMdiSubWindow *window = OpenWagePeriodFrame(*m_pMain, m_sid, u"月薪"_s, m_table, Period, 0);
    auto *frame = window ? qobject_cast<CChildFrameWage *>(window->widget()) : nullptr;
    return frame ? frame->GetView() : nullptr;
}

QVariant TestWageCalcWindow::value(int pid, const QString &column)
{
    return theDatabase
        .run(u"SELECT %1 FROM %2 WHERE PID = ? AND fDate = ?"_s.arg(column, m_table),
             { pid, Period })
        .scalar();
}

void TestWageCalcWindow::f7ComputesWithProgressAndCancel()
{
    CViewWage *view = openPeriod();
    QVERIFY(view);
    QAction *calculate = view->action(CViewWage::IdCalculate);
    QVERIFY(calculate->isEnabled());
    QCOMPARE(calculate->shortcut(), QKeySequence(Qt::Key_F7));
    const CMyADOGridCtrl *grid = view->GetGridCtrl();
    QCOMPARE(grid->GetRowCount(), 4);

    // No: nothing is computed.
    {
        MessageCatcher answers(QMessageBox::No);
        calculate->trigger();
        QCOMPARE(answers.texts, QStringList { u"确定要重新计算当前薪资表吗?"_s });
    }
    QVERIFY(value(1, m_columns[1]).isNull());

    // Yes, and Cancel as 个税 starts: its first person only, 实发 for everyone.
    MessageCatcher answers(QMessageBox::Yes);
    ProgressWatcher watcher(u"'个税'"_s);
    calculate->trigger();
    QCOMPARE(answers.texts, QStringList { u"确定要重新计算当前薪资表吗?"_s });
    QCOMPARE(watcher.statuses,
             QStringList({ u"正在核算 '应发合计' (第1条共3条)..."_s,
                           u"正在核算 '个税' (第2条共3条)..."_s,
                           u"正在核算 '实发' (第3条共3条)..."_s }));
    QVERIFY(!progressWindow());
    const QList<int> pids = { 1, 2, 4, 6 };
    for (int i = 0; i < pids.size(); ++i) {
        const int pid = pids[i];
        QCOMPARE(value(pid, m_columns[1]).toDouble(), pid * 2000.0);
        QCOMPARE(value(pid, m_columns[2]).isNull(), i > 0);
        QCOMPARE(value(pid, m_columns[3]).toDouble(), i > 0 ? pid * 2000.0 : 1800.0);
    }
    // The grid shows the new values and the footer their sums.
    QCOMPARE(grid->GetFieldValue(3, 4).toDouble(), 12000.0);
    QCOMPARE(view->GetFooterCell(4), u"26000.00"_s);
    // The pane's 全体部门 has no name of its own.
    QVERIFY2(logText().contains(u"薪资管理['月薪::2024年03月'薪资重新核算]"_s),
             qPrintable(logText()));
}

void TestWageCalcWindow::typedValueRecomputesItsPerson()
{
    CViewWage *view = openPeriod();
    QVERIFY(view);
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    const int row = view->RowOfPerson(2);
    QCOMPARE(row, 1);
    MessageCatcher messages;
    const QModelIndex cell = grid->model()->index(row, 3);
    QWidget *editor
        = grid->itemDelegate()->createEditor(grid->viewport(), QStyleOptionViewItem(), cell);
    auto *line = qobject_cast<QLineEdit *>(editor);
    QVERIFY(line);
    line->setText(u"3000"_s);
    grid->itemDelegate()->setModelData(editor, grid->model(), cell);
    delete editor;
    QCOMPARE(messages.texts, QStringList());
    QCOMPARE(value(2, m_columns[1]).toDouble(), 6000.0);
    QCOMPARE(value(2, m_columns[2]).toDouble(), 600.0);
    QCOMPARE(value(2, m_columns[3]).toDouble(), 5400.0);
    // Only the person typed for.
    QVERIFY(value(1, m_columns[1]).isNull());
    QCOMPARE(grid->GetFieldValue(row, 4).toDouble(), 6000.0);
    QCOMPARE(grid->GetFieldValue(row, 6).toDouble(), 5400.0);
    QCOMPARE(view->GetFooterCell(4), u"6000.00"_s);
    QCOMPARE(view->GetFooterCell(6), u"5400.00"_s);
}

QTEST_MAIN(TestWageCalcWindow)
#include "tst_wagecalcwindow.moc"
