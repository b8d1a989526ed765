#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "payroll/ui/cchildframewage.h"
#include "payroll/ui/cdlgwagepsntable.h"
#include "payroll/ui/cdlgwagetablenew.h"
#include "payroll/ui/cdlgwagetableopen.h"
#include "payroll/ui/cviewwage.h"
#include "payroll/ui/payrollmodule.h"
#include "payroll/wageperiods.h"
#include "personnel/advsearch.h"
#include "personnel/ui/cdlgadvresearch.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/app/appwindow.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdeptpane.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/dialogs/cdlgbatchupdate.h"
#include "ui/dialogs/cdlggridcolfmt.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

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

// The PIDs the grid shows, in its order.
QString listed(const CViewWage *view)
{
    QStringList pids;
    const CMyADOGridCtrl *grid = view->GetGridCtrl();
    for (int row = 0; row < grid->GetRowCount(); ++row)
        pids << grid->GetFieldValue(row, 0).toString();
    return pids.join(u',');
}

void chooseDepartment(CChildFrameWage &frame, const QString &name)
{
    QTreeWidget *tree = frame.GetDeptPane()->GetDeptTree();
    const QList<QTreeWidgetItem *> found
        = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY(!found.isEmpty());
    tree->setCurrentItem(found.first());
}

void chooseCategory(CChildFrameWage &frame, const QString &text)
{
    QComboBox *list = frame.GetDeptPane()->GetCategoryList();
    const int index = list->findText(text);
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

} // namespace

// The payroll window driven as its users drive it: the personnel fixture's persons, all but
// O'Brien members of the wage set 月薪 with the items 基本工资 (number, PID × 100) and 备注.
class TestWageWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void f11CreatesOpensAndActivates();
    void modelAndPaneScope();
    void typedValues_data();
    void typedValues();
    void rowDeletedElsewhereGreys();
    void closedElsewhereRefusesChanges();
    void deleteAndBatchInDepartment();
    void advancedFilterNarrowsWhatTheCommandsSee();
    void addPersons_data();
    void addPersons();
    void frozenCountSurvivesRestart();
    void readOnlyWithoutRight();
    void draggedWidthStored_data();
    void draggedWidthStored();
    void columnFormatStored_data();
    void columnFormatStored();
    void menuKeys();
    void footerSumShownWhole();
    void templateButtons_data();
    void templateButtons();
    void templateNumbering();

private:
    CChildFrameWage *openPeriod(int period = Period);
    QString value(int pid, const QString &column, int period = Period);
    QString itemOf(const QString &table, const QString &name, const QString &field);
    void addTemplates(int kind, int count, int sid);

    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
    int m_sid = 0;
    QString m_table;
    QString m_base; // 基本工资's column
    QString m_note; // 备注's column
};

void TestWageWindow::initTestCase()
{
    QVERIFY(useTestProfile());
    AppWindow::installPresenters();
    RegisterPayrollModule();
}

void TestWageWindow::init()
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
    WageItemDefinition base;
    base.alias = u"基本工资"_s;
    WageItemDefinition note;
    note.alias = u"备注"_s;
    note.dataType = ItemText;
    note.retain = false;
    const vantrel::Result<int> baseId = AddWageItem(theDatabase, m_sid, base);
    const vantrel::Result<int> noteId = AddWageItem(theDatabase, m_sid, note);
    QVERIFY(baseId && noteId);
    m_base = WageItemColumnName(*baseId);
    m_note = WageItemColumnName(*noteId);
    for (int pid = 1; pid <= 6; ++pid)
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_WagePsn (SID, PID, Ord) VALUES (?, ?, ?)"_s,
                                    { m_sid, pid, pid }));
}

void TestWageWindow::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

QString TestWageWindow::value(int pid, const QString &column, int period)
{
    return theDatabase
        .run(u"SELECT %1 FROM %2 WHERE PID = ? AND fDate = ?"_s.arg(column, m_table),
             { pid, period })
        .scalar()
        .toString();
}

CChildFrameWage *TestWageWindow::openPeriod(int period)
{
    const vantrel::Result<bool> made
        = RecordExists(u"qz_WageTable"_s, u"SID = ? AND fDate = ?"_s, { m_sid, period });
    if (!made || !*made) {
        if (!CreateWagePeriod(theDatabase, 1, m_sid, period))
            return nullptr;
        theDatabase.Execute(u"UPDATE %1 SET %2 = PID * 100 WHERE fDate = ?"_s.arg(m_table, m_base),
                            { period });
    }
    if (!m_pMain) {
        m_pMain = new CMainFrame;
        m_pMain->show();
    }
    QMdiSubWindow *window = OpenWagePeriodFrame(*m_pMain, m_sid, u"月薪"_s, m_table, period, 0);
    return window ? qobject_cast<CChildFrameWage *>(window->widget()) : nullptr;
}

void TestWageWindow::f11CreatesOpensAndActivates()
{
    m_pMain = new CMainFrame;
    m_pMain->show();
    QAction *payroll = m_pMain->commands().action(33158);
    QVERIFY(payroll && payroll->isEnabled());
    for (int attempt = 0; attempt < 2; ++attempt) {
        MessageCatcher answers(QMessageBox::Yes);
        answerNextModal<CDlgWageTableOpen>([attempt](CDlgWageTableOpen *list) {
            if (attempt == 0) {
                answerNextModal<CDlgWageTableNew>([](CDlgWageTableNew *created) {
                    created->periodPicker()->setDate(QDate(2024, 3, 1));
                    created->accept();
                });
                list->OnNew();
            }
            list->grid()->selectRow(0);
            list->accept();
        });
        payroll->trigger();
        QCOMPARE(m_pMain->mdiArea()->subWindowList().size(), 1);
        QMdiSubWindow *window = m_pMain->mdiArea()->activeSubWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), u"薪资表(2024年03月 - 月薪)"_s);
        auto *frame = qobject_cast<CChildFrameWage *>(window->widget());
        QVERIFY(frame);
        QCOMPARE(listed(frame->GetView()), u"1,2,4,6"_s);
        QCOMPARE(frame->GetView()->GetFooterCell(1), u"合计：4人"_s);
    }
    QCOMPARE(theApp.SID, m_sid);
    QCOMPARE(theApp.SDate, Period);
    QCOMPARE(theApp.SName, u"月薪"_s);
    QCOMPARE(theApp.m_wageView.table, m_table);
    QCOMPARE(logText().count(u"薪资管理[打开薪资表'月薪:2024年03月']"_s), 2);
}

void TestWageWindow::modelAndPaneScope()
{
    CChildFrameWage *frame = openPeriod();
    QVERIFY(frame);
    CViewWage *view = frame->GetView();
    QAbstractItemModelTester tester(view->GetGridCtrl()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(view->GetFooterCell(3), u"1300.00"_s); // persons 1, 2, 4, 6
    chooseCategory(*frame, u"<所有类别>"_s);
    QCOMPARE(listed(view), u"1,2,3,4,5,6"_s);
    QCOMPARE(view->GetFooterCell(1), u"合计：6人"_s);
    QCOMPARE(view->GetFooterCell(3), u"2100.00"_s);
    chooseDepartment(*frame, u"一部"_s);
    QCOMPARE(listed(view), u"2,4"_s);
    QCOMPARE(view->GetFooterCell(1), u"合计：2人"_s);
    QCOMPARE(view->GetFooterCell(3), u"600.00"_s);
    QCOMPARE(theApp.m_wageView.conditions.isEmpty(), false);
    // 全选 and 复制 give the rows from the number on, one line each.
    view->action(CViewWage::IdSelectAll)->trigger();
    view->action(CViewWage::IdCopy)->trigger();
    const QStringList copied = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(copied.size(), 2);
    QVERIFY2(copied.first().startsWith(u"A002\t张二\t"_s), qPrintable(copied.first()));
    // Search finds by number, then by name, within the scope.
    frame->GetSearchBox()->setEditText(u"张四"_s);
    view->Search();
    QCOMPARE(view->GetGridCtrl()->GetCurSel(), 1);
}

void TestWageWindow::typedValues_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("footer");
    QTest::newRow("number") << u"基本工资"_s << u"1234.5"_s << false << u"1234.5"_s << u"2334.50"_s;
    QTest::newRow("not a number") << u"基本工资"_s << u"abc"_s << true << u"200"_s << u"1300.00"_s;
    QTest::newRow("text with a quote")
        << u"备注"_s << u"O'Brien 的"_s << false << u"O'Brien 的"_s << u"1300.00"_s;
}

void TestWageWindow::typedValues()
{
    QFETCH(QString, item);
    QFETCH(QString, typed);
    QFETCH(bool, refused);
    QFETCH(QString, stored);
    QFETCH(QString, footer);
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    const int column = item == u"基本工资" ? 3 : 4;
    const int row = view->RowOfPerson(2);
    QCOMPARE(row, 1);
    MessageCatcher messages;
    // Typed as a user types: the cell's editor, then its value handed to the grid.
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    const QModelIndex cell = grid->model()->index(row, column);
    QWidget *editor
        = grid->itemDelegate()->createEditor(grid->viewport(), QStyleOptionViewItem(), cell);
    auto *line = qobject_cast<QLineEdit *>(editor);
    QVERIFY(line);
    line->setText(typed);
    grid->itemDelegate()->setModelData(editor, grid->model(), cell);
    delete editor;
    QCOMPARE(messages.texts.size(), refused ? 1 : 0);
    if (refused)
        QVERIFY2(messages.texts.first().contains(item), qPrintable(messages.texts.first()));
    const QString name = item == u"基本工资" ? m_base : m_note;
    QCOMPARE(value(2, name).toDouble(), stored.toDouble());
    if (item == u"备注")
        QCOMPARE(value(2, name), stored);
    QCOMPARE(view->GetFooterCell(3), footer);
    QCOMPARE(logText().contains(u"修改个人薪资数据"_s), !refused);
    if (!refused)
        QVERIFY(logText().contains(u"张二"_s) && logText().contains(item));
}

void TestWageWindow::rowDeletedElsewhereGreys()
{
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    QVERIFY(theDatabase.Execute(u"DELETE FROM %1 WHERE PID = 2"_s.arg(m_table)));
    MessageCatcher messages;
    QVERIFY(!view->GetGridCtrl()->SetCellValue(1, 3, u"5"_s));
    QCOMPARE(messages.texts, QStringList({ u"该记录已被其他操作员删除,请刷新数据列表!"_s }));
    const QAbstractItemModel *model = view->GetGridCtrl()->model();
    QVERIFY(model->index(1, 3).data(Qt::BackgroundRole).isValid());
    QVERIFY(!model->index(0, 3).data(Qt::BackgroundRole).isValid());
    QVERIFY(!logText().contains(u"修改个人薪资数据"_s));
}

void TestWageWindow::closedElsewhereRefusesChanges()
{
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    QVERIFY(!view->GetGridCtrl()->IsReadOnly());
    // Another operator closes the period: this window learns it at its next change.
    QVERIFY(SetWagePeriodClosed(theDatabase, m_sid, Period, true));
    const QString closed = u"该薪资表已结账,数据不再修改!"_s;
    {
        MessageCatcher messages;
        QVERIFY(!view->GetGridCtrl()->SetCellValue(0, 3, u"5"_s));
        QCOMPARE(messages.texts, QStringList({ closed }));
    }
    QVERIFY(view->GetGridCtrl()->IsReadOnly());
    for (const int id : { int(CViewWage::IdAdd), int(CViewWage::IdReorder),
                          int(CViewWage::IdBatchUpdate), int(CViewWage::IdDelete) }) {
        view->GetGridCtrl()->selectRow(0);
        MessageCatcher messages(QMessageBox::Yes);
        view->action(id)->trigger();
        QCOMPARE(messages.texts, QStringList({ closed }));
    }
    QCOMPARE(value(1, m_base), u"100"_s);
    QCOMPARE(listed(view), u"1,2,4,6"_s);
    // A period deleted meanwhile is named as such.
    QVERIFY(DeleteWagePeriodRange(theDatabase, m_sid, Period, Period));
    MessageCatcher messages(QMessageBox::Yes);
    view->action(CViewWage::IdAdd)->trigger();
    QCOMPARE(messages.texts, QStringList({ u"该记录已被其他操作员删除,请刷新数据列表!"_s }));
}

void TestWageWindow::deleteAndBatchInDepartment()
{
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    chooseCategory(*frame, u"<所有类别>"_s);
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    QItemSelection selection;
    const int last = grid->GetGridModel()->columnCount() - 1;
    selection.select(grid->model()->index(0, 0), grid->model()->index(0, last));
    selection.select(grid->model()->index(2, 0), grid->model()->index(2, last));
    grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    {
        MessageCatcher messages(QMessageBox::Yes);
        view->action(CViewWage::IdDelete)->trigger();
        QCOMPARE(messages.texts, QStringList({ u"确定要删除选择的 2 人薪资记录吗?"_s }));
    }
    QCOMPARE(listed(view), u"2,4,5,6"_s);
    QVERIFY(logText().contains(u"薪资管理['月薪:2024年03月'删除人员2个]"_s));

    chooseDepartment(*frame, u"二部"_s);
    QCOMPARE(listed(view), u"5,6"_s);
    {
        MessageCatcher messages(QMessageBox::Yes);
        answerNextModal<CDlgBatchUpdate>([](CDlgBatchUpdate *dialog) {
            dialog->itemList()->setCurrentIndex(dialog->itemList()->findText(u"基本工资"_s));
            dialog->modeList()->setCurrentIndex(dialog->modeList()->findText(u"统加"_s));
            dialog->valueEdit()->setText(u"100.005"_s);
            dialog->accept();
        });
        view->action(CViewWage::IdBatchUpdate)->trigger();
        QCOMPARE(messages.texts, QStringList({ u"操作不可回退，确定批量修改吗?"_s }));
    }
    QCOMPARE(value(5, m_base).toDouble(), 600.01);
    QCOMPARE(value(6, m_base).toDouble(), 700.01);
    QCOMPARE(value(2, m_base).toDouble(), 200.0);
    QCOMPARE(view->GetFooterCell(3), u"1300.02"_s);
    QVERIFY(logText().contains(u"薪资批量修改'基本工资|统加|100.005"_s));
}

void TestWageWindow::advancedFilterNarrowsWhatTheCommandsSee()
{
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    chooseCategory(*frame, u"<所有类别>"_s);
    QCOMPARE(listed(view), u"1,2,3,4,5,6"_s);
    bool offered = false;
    answerNextModal<CDlgAdvResearch>([&](CDlgAdvResearch *dialog) {
        QCOMPARE(dialog->GetQueryType(), 1);
        // The person fields and the set's own items.
        offered = vantrel::personnel::FindItemByName(dialog->ItemList(), m_base) >= 0
            && vantrel::personnel::FindItemByName(dialog->ItemList(), u"Name"_s) >= 0;
        QStandardItemModel *main = dialog->mainModel();
        main->setData(main->index(0, CDlgAdvResearch::MainField), m_base);
        main->setData(main->index(0, CDlgAdvResearch::MainOp), u"大于"_s);
        main->setData(main->index(0, CDlgAdvResearch::MainValue), u"250"_s);
        dialog->findChild<QPushButton *>(u"addSort"_s)->click();
        QStandardItemModel *sort = dialog->sortModel();
        sort->setData(sort->index(0, CDlgAdvResearch::SortField), m_base);
        sort->setData(sort->index(0, CDlgAdvResearch::SortDirection), u"降序"_s);
        dialog->OnRunQuery();
    });
    view->action(CViewWage::IdFilter)->trigger();
    QVERIFY(offered);
    QCOMPARE(listed(view), u"6,5,4,3"_s);
    QCOMPARE(view->GetFooterCell(1), u"合计：4人"_s);
    QCOMPARE(view->GetFooterCell(3), u"1800.00"_s);
    // 统加 reaches only the rows shown.
    {
        MessageCatcher messages(QMessageBox::Yes);
        answerNextModal<CDlgBatchUpdate>([](CDlgBatchUpdate *dialog) {
            dialog->itemList()->setCurrentIndex(dialog->itemList()->findText(u"基本工资"_s));
            dialog->modeList()->setCurrentIndex(dialog->modeList()->findText(u"统加"_s));
            dialog->valueEdit()->setText(u"1"_s);
            dialog->accept();
        });
        view->action(CViewWage::IdBatchUpdate)->trigger();
    }
    QCOMPARE(value(3, m_base).toDouble(), 301.0);
    QCOMPARE(value(2, m_base).toDouble(), 200.0);
    QCOMPARE(listed(view), u"6,5,4,3"_s);
    // The scripts' published scope stays the department view; a refresh drops the filter.
    QVERIFY(!view->GetWhere().sql.contains(m_base));
    view->Refresh();
    QCOMPARE(listed(view), u"1,2,3,4,5,6"_s);
}

void TestWageWindow::addPersons_data()
{
    QTest::addColumn<bool>("takeOver");
    QTest::newRow("with earlier values") << true;
    QTest::newRow("without") << false;
}

void TestWageWindow::addPersons()
{
    QFETCH(bool, takeOver);
    QVERIFY(CreateWagePeriod(theDatabase, 1, m_sid, 202402));
    QVERIFY(theDatabase.Execute(
        u"UPDATE %1 SET %2 = 55, %3 = '旧' WHERE fDate = 202402"_s.arg(m_table, m_base, m_note)));
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    QVERIFY(theDatabase.Execute(u"DELETE FROM %1 WHERE fDate = ? AND PID IN (2, 4)"_s.arg(m_table),
                                { Period }));
    MessageCatcher messages(QMessageBox::Ok);
    QString footer;
    answerNextModal<CDlgWagePsnTable>([&](CDlgWagePsnTable *dialog) {
        footer = dialog->FooterText();
        QCOMPARE(dialog->EarlierPeriods()->currentText(), u"2024年02月"_s);
        QVERIFY(dialog->TakeOverBox()->isChecked());
        dialog->TakeOverBox()->setChecked(takeOver);
        dialog->OnTickAll();
        dialog->accept();
    });
    view->action(CViewWage::IdAdd)->trigger();
    QCOMPARE(footer, u"共 计：2 人"_s);
    QCOMPARE(messages.texts, QStringList({ u"确定添加选定的人员吗?"_s }));
    QCOMPARE(listed(view), u"1,2,4,6"_s);
    QCOMPARE(value(2, m_base), takeOver ? u"55"_s : QString());
    QCOMPARE(value(4, m_note), takeOver ? u"旧"_s : QString());
    QCOMPARE(value(1, m_base), u"100"_s);
    QVERIFY(logText().contains(u"薪资管理[薪资类别'月薪'薪资表'2024年03月'添加2个人员]"_s));
}

void TestWageWindow::frozenCountSurvivesRestart()
{
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    QCOMPARE(view->GetGridCtrl()->GetFrozenColumns(), 2);
    view->GetGridCtrl()->SetCurSel(0, 3);
    view->action(CViewWage::IdFreeze)->trigger();
    QCOMPARE(view->GetGridCtrl()->GetFrozenColumns(), 3);
    delete m_pMain;
    m_pMain = nullptr;
    frame = openPeriod();
    QCOMPARE(frame->GetView()->GetFrozenColumns(), 3);
    QCOMPARE(frame->GetView()->GetGridCtrl()->GetFrozenColumns(), 3);
}

void TestWageWindow::readOnlyWithoutRight()
{
    loginAs(u"viewer"_s);
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    QVERIFY(view->GetGridCtrl()->IsReadOnly());
    QVERIFY(!view->GetGridCtrl()->SetCellValue(0, 3, u"5"_s));
    // The viewer's departments are 3 and 5: persons whose department is there now.
    QCOMPARE(listed(view), u"6"_s);
    MessageCatcher messages;
    view->action(CViewWage::IdBatchUpdate)->trigger();
    QCOMPARE(messages.texts.size(), 1);
    QVERIFY(!logText().contains(u"薪资批量修改"_s));
}

QString TestWageWindow::itemOf(const QString &table, const QString &name, const QString &field)
{
    return theDatabase
        .run(u"SELECT %1 FROM qz_Items WHERE upper(TblName) = upper(?) AND Name = ?"_s.arg(field),
             { table, name })
        .scalar()
        .toString();
}

void TestWageWindow::draggedWidthStored_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("person"); // stored under the person table's item
    QTest::newRow("name") << 2 << true;
    QTest::newRow("wage item") << 3 << false;
}

void TestWageWindow::draggedWidthStored()
{
    QFETCH(int, column);
    QFETCH(bool, person);
    CChildFrameWage *frame = openPeriod();
    QVERIFY(QTest::qWaitForWindowExposed(m_pMain));
    const QString table = person ? u"QZ_PSNBASE"_s : m_table;
    const QString name = person ? u"Name"_s : m_base;
    const QString before = itemOf(table, name, u"iWid"_s);
    const QString department = itemOf(u"QZ_DEPT"_s, u"Name"_s, u"iWid"_s);
    CMyADOGridCtrl *grid = frame->GetView()->GetGridCtrl();
    QHeaderView *header = grid->horizontalHeader();
    const int edge = header->sectionViewportPosition(column) + header->sectionSize(column) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(header->viewport(), QPoint(edge + 20, y));
    QTest::mouseMove(header->viewport(), QPoint(edge + 40, y));
    // Stored once the mouse lets go.
    QCOMPARE(itemOf(table, name, u"iWid"_s), before);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 40, y));
    QCOMPARE(itemOf(table, name, u"iWid"_s).toInt(), header->sectionSize(column));
    QVERIFY(header->sectionSize(column) > before.toInt());
    QCOMPARE(itemOf(u"QZ_DEPT"_s, u"Name"_s, u"iWid"_s), department);
    // A new window shows the stored width.
    const int width = header->sectionSize(column);
    delete m_pMain;
    m_pMain = nullptr;
    frame = openPeriod();
    QCOMPARE(frame->GetView()->GetGridCtrl()->columnWidth(column), width);
}

void TestWageWindow::columnFormatStored_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("person");
    QTest::newRow("number") << 1 << true;
    QTest::newRow("wage item") << 3 << false;
}

void TestWageWindow::columnFormatStored()
{
    QFETCH(int, column);
    QFETCH(bool, person);
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    grid->SetCurSel(0, column);
    answerNextModal<CDlgGridColFmt>([](CDlgGridColFmt *dialog) {
        dialog->SetBold(true);
        dialog->ChooseTextColor(Qt::red);
        dialog->accept();
    });
    view->action(CViewWage::IdColumnFormat)->trigger();
    const QString table = person ? u"QZ_PSNBASE"_s : m_table;
    const QString name = person ? u"Number"_s : m_base;
    QCOMPARE(itemOf(table, name, u"ColFmt"_s), u"1;255;-1"_s);
    // Shown at once, and again after a new fill.
    for (int pass = 0; pass < 2; ++pass) {
        const QModelIndex cell = grid->model()->index(1, column);
        QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(cell.data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!cell.data(Qt::BackgroundRole).isValid());
        view->Refresh();
    }
    // The other columns keep their look.
    QVERIFY(!grid->model()->index(1, 4).data(Qt::ForegroundRole).isValid());
    // Cancelled, nothing changes.
    answerNextModal<CDlgGridColFmt>([](CDlgGridColFmt *dialog) {
        dialog->SetBold(false);
        dialog->reject();
    });
    grid->SetCurSel(0, column);
    view->action(CViewWage::IdColumnFormat)->trigger();
    QCOMPARE(itemOf(table, name, u"ColFmt"_s), u"1;255;-1"_s);
    QVERIFY(grid->model()->index(1, column).data(Qt::FontRole).value<QFont>().bold());
}

void TestWageWindow::menuKeys()
{
    CChildFrameWage *frame = openPeriod();
    QVERIFY(QTest::qWaitForWindowExposed(m_pMain));
    CViewWage *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    grid->setFocus();
    QMenu *menu = view->contextMenu();
    for (const Qt::Key key : { Qt::Key_Menu, Qt::Key_Alt }) {
        QTest::keyClick(grid, key);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        QVERIFY(!menu->isVisible());
    }
    // Alt with a letter is a shortcut, not the menu.
    QTest::keyPress(grid, Qt::Key_Alt);
    QTest::keyClick(grid, Qt::Key_X, Qt::AltModifier);
    QTest::keyRelease(grid, Qt::Key_Alt);
    QVERIFY(!menu->isVisible());
}

// A sum wider than its column (no width stored) widens the column rather than lose digits.
void TestWageWindow::footerSumShownWhole()
{
    QVERIFY(CreateWagePeriod(theDatabase, 1, m_sid, Period));
    QVERIFY(theDatabase.Execute(
        u"UPDATE %1 SET %2 = 123456789.25 WHERE fDate = ?"_s.arg(m_table, m_base), { Period }));
    CChildFrameWage *frame = openPeriod();
    CViewWage *view = frame->GetView();
    QCOMPARE(view->GetFooterCell(3), u"493827157.00"_s);
    const auto *footer = view->findChild<QWidget *>(u"wageFooter"_s);
    QVERIFY(footer);
    QVERIFY(view->GetGridCtrl()->columnWidth(3)
            > footer->fontMetrics().horizontalAdvance(view->GetFooterCell(3)));
    QCOMPARE(itemOf(m_table, m_base, u"iWid"_s), u"0"_s);
}

void TestWageWindow::addTemplates(int kind, int count, int sid)
{
    for (int i = 1; i <= count; ++i) {
        const QString name = u"模板%1-%2"_s.arg(kind).arg(i);
        switch (kind) {
        case CChildFrameWage::PrintKind:
        case CChildFrameWage::ExportKind:
            QVERIFY(theDatabase.Execute(
                u"INSERT INTO qz_Report (Type, SID, Name, Active, Ord) VALUES (?, ?, ?, 1, ?)"_s,
                { kind == CChildFrameWage::PrintKind ? 0 : 2, sid, name, i }));
            break;
        case CChildFrameWage::BankKind:
            QVERIFY(theDatabase.Execute(
                u"INSERT INTO qz_WageExport (SID, Name, Active, Ord) VALUES (?, ?, 1, ?)"_s,
                { sid, name, i }));
            break;
        default:
            QVERIFY(theDatabase.Execute(
                u"INSERT INTO qz_WageAnnounce (SID, Name, Active, Ord) VALUES (?, ?, 1, ?)"_s,
                { sid, name, i }));
        }
    }
}

void TestWageWindow::templateButtons_data()
{
    using F = CChildFrameWage;
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("manager");
    QTest::addColumn<int>("count");
    QTest::newRow("print, none") << int(F::PrintKind) << int(F::IdPrint) << int(F::IdPrintTemplates)
                                 << 0;
    QTest::newRow("print, one") << int(F::PrintKind) << int(F::IdPrint) << int(F::IdPrintTemplates)
                                << 1;
    QTest::newRow("print, two") << int(F::PrintKind) << int(F::IdPrint) << int(F::IdPrintTemplates)
                                << 2;
    QTest::newRow("bank, one") << int(F::BankKind) << int(F::IdBank) << int(F::IdBankTemplates)
                               << 1;
    QTest::newRow("mail, two") << int(F::MailKind) << int(F::IdMail) << int(F::IdMailTemplates)
                               << 2;
    QTest::newRow("export, one") << int(F::ExportKind) << int(F::IdExport)
                                 << int(F::IdExportTemplates) << 1;
}

// No template: the button does nothing; one: it runs that one; more (and 导出 with any, for
// 默认导出): it drops its list down. Inactive templates and other sets' are never offered.
void TestWageWindow::templateButtons()
{
    QFETCH(int, kind);
    QFETCH(int, button);
    QFETCH(int, manager);
    QFETCH(int, count);
    addTemplates(kind, count, m_sid);
    addTemplates(kind, 1, m_sid + 1);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Report (Type, SID, Name, Active) VALUES"
                                " (0, ?, '停用', 0), (2, ?, '停用', 0)"_s,
                                { m_sid, m_sid }));
    CChildFrameWage *frame = openPeriod();
    QVERIFY(QTest::qWaitForWindowExposed(m_pMain));
    const auto k = CChildFrameWage::TemplateKind(kind);
    const QList<QAction *> entries = frame->templateActions(k);
    QCOMPARE(entries.size(), count);
    QToolButton *tool = frame->toolButton(button);
    QSignalSpy chosen(frame, &CChildFrameWage::templateCommand);
    QSignalSpy dropped(tool->menu(), &QMenu::aboutToShow);
    const bool drops = count > 1 || (kind == CChildFrameWage::ExportKind && count > 0);
    if (drops)
        QTimer::singleShot(50, tool->menu(), &QMenu::close);
    tool->click();
    QCOMPARE(dropped.size(), drops ? 1 : 0);
    QCOMPARE(chosen.size(), !drops && count == 1 ? 1 : 0);
    if (count == 0)
        return;
    if (drops)
        entries.last()->trigger();
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().at(0).toInt(), kind);
    QCOMPARE(chosen.first().at(2).toString(), u"模板%1-%2"_s.arg(kind).arg(drops ? count : 1));
    // The manager entry stands below the templates.
    const QList<QAction *> menu = tool->menu()->actions();
    QVERIFY(menu.indexOf(entries.last()) < menu.indexOf(frame->action(manager)));
}

// Command ids run on across the four menus, and start again at every rebuild.
void TestWageWindow::templateNumbering()
{
    addTemplates(CChildFrameWage::PrintKind, 3, m_sid);
    addTemplates(CChildFrameWage::BankKind, 2, m_sid);
    CChildFrameWage *frame = openPeriod();
    for (int rebuild = 0; rebuild < 2; ++rebuild) {
        QList<int> ids;
        for (const auto kind : { CChildFrameWage::PrintKind, CChildFrameWage::BankKind }) {
            for (const QAction *entry : frame->templateActions(kind))
                ids << entry->data().toList().value(0).toInt();
        }
        QCOMPARE(ids, QList<int>({ 0x10000, 0x10001, 0x10002, 0x10003, 0x10004 }));
        frame->LoadTemplateMenus();
    }
}

QTEST_MAIN(TestWageWindow)
#include "tst_wagewindow.moc"
