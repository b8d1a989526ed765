#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/ui/cadjunctpane.h"
#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cdlgpsnprintrsselect.h"
#include "personnel/ui/cphotopane.h"
#include "personnel/ui/crelatinfopane.h"
#include "personnel/ui/cviewpsn.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cdeptpane.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/dialogs/cdlgbatchupdate.h"
#include "ui/dialogs/cdlggridcolfmt.h"
#include "ui/dialogs/cdlgresetorder.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDockWidget>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QString logText()
{
    QStringList lines;
    const vantrel::db::QueryResult rows
        = theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id"_s);
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        lines << rows.rows.value(row, 0).toString();
    return lines.join(u'\n');
}

QString personValue(int pid, const QString &column)
{
    return theDatabase.run(u"SELECT %1 FROM qz_PsnBase WHERE PID = ?"_s.arg(column), { pid })
        .scalar()
        .toString();
}

// The PIDs the list shows, in its order.
QString listed(const CViewPsn *view)
{
    QStringList pids;
    const CMyADOGridCtrl *grid = view->GetGridCtrl();
    for (int row = 0; row < grid->GetRowCount(); ++row)
        pids << grid->GetFieldValue(row, 0).toString();
    return pids.join(u',');
}

QTreeWidgetItem *department(CChildFramePsn &frame, const QString &name)
{
    const QList<QTreeWidgetItem *> found = frame.GetDeptPane()->GetDeptTree()->findItems(
        name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void chooseDepartment(CChildFramePsn &frame, const QString &name)
{
    frame.GetDeptPane()->GetDeptTree()->setCurrentItem(department(frame, name));
}

void chooseCategory(CChildFramePsn &frame, const QString &text)
{
    QComboBox *list = frame.GetDeptPane()->GetCategoryList();
    const int index = list->findText(text);
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

// Counts the persons a pane is handed.
class CountingPane : public IPersonPane
{
public:
    void SetCurrentPerson(const CPersonBase &person) override { persons << person.PID; }
    QList<int> persons;
};

} // namespace

// The person list window driven as its users drive it, on the personnel fixture.
class TestChildFramePsn : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void f2OpensOneFrame();
    void restrictedOperatorSeesHisDepartments();
    void paneChoicesRescope();
    void search_data();
    void search();
    void inPlaceEdits_data();
    void inPlaceEdits();
    void deleteTwoRanges();
    void batchUpdateInScope();
    void withoutRightNothingChanges();
    void printMenu_data();
    void printMenu();
    void freezeAndFormat();
    void reorderLeafOnly();
    void personDeletedMeanwhile();
    void dateCellsClear();
    void placementAndPanesKept();
    void keysAndMenu();
    void dictionaryCells();
    void farRowsAndWidths();
    void paneCommands_data();
    void paneCommands();
    void frameMenus();
    void photoPaneDockingKept();
    void scriptHostRestarts();
    void quickRowChangesRefillPanesOnce();

private:
    CChildFramePsn *openFrame();

    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
};

void TestChildFramePsn::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
}

void TestChildFramePsn::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(u"admin"_s);
}

void TestChildFramePsn::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

CChildFramePsn *TestChildFramePsn::openFrame()
{
    if (!m_pMain) {
        m_pMain = new CMainFrame;
        m_pMain->show();
    }
    m_pMain->commands().action(2100)->trigger();
    QMdiSubWindow *window = OpenedPersonnelFrame();
    return window ? qobject_cast<CChildFramePsn *>(window->widget()) : nullptr;
}

void TestChildFramePsn::f2OpensOneFrame()
{
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    QStringList docks;
    for (const QDockWidget *dock : frame->findChildren<QDockWidget *>())
        docks << dock->windowTitle();
    docks.sort();
    QCOMPARE(docks, QStringList({ u"导航"_s, u"相关资料"_s, u"相片"_s, u"附件"_s }));
    QCOMPARE(frame->GetDeptPane()->GetDeptTree()->currentItem()->text(0), u"全体部门"_s);
    QCOMPARE(frame->GetDeptPane()->GetCategoryList()->currentText(), u"在职"_s);
    QCOMPARE(listed(frame->GetView()), u"1,2,4,6"_s);
    QCOMPARE(frame->GetView()->GetFooterText(), u"共 计：4 人"_s);
    QTRY_COMPARE(frame->GetPhotoPane()->GetPerson().Number, u"A001"_s);
    QCOMPARE(frame->GetView()->GetCurrentPerson().DeptName, u"总公司"_s);

    QVERIFY(openFrame() == frame);
    QCOMPARE(m_pMain->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(logText(), u"人员档案[查看]"_s);
}

void TestChildFramePsn::restrictedOperatorSeesHisDepartments()
{
    loginAs(u"dept35"_s);
    CChildFramePsn *frame = openFrame();
    QVERIFY(frame);
    QVERIFY(!department(*frame, u"一部"_s));
    QCOMPARE(listed(frame->GetView()), u"6"_s);
    chooseCategory(*frame, u"<所有类别>"_s);
    QCOMPARE(listed(frame->GetView()), u"3,5,6"_s);
}

void TestChildFramePsn::paneChoicesRescope()
{
    CChildFramePsn *frame = openFrame();
    chooseCategory(*frame, u"<所有类别>"_s);
    QCOMPARE(listed(frame->GetView()), u"1,2,3,4,7,5,6"_s);
    chooseDepartment(*frame, u"二部"_s);
    QCOMPARE(listed(frame->GetView()), u"3,5,6"_s);
    QCOMPARE(frame->GetView()->GetFooterText(), u"共 计：3 人"_s);
    chooseCategory(*frame, u"退休"_s);
    QCOMPARE(listed(frame->GetView()), u"3,5"_s);
    chooseDepartment(*frame, u"一部"_s);
    QCOMPARE(listed(frame->GetView()), u"7"_s);
    QTRY_COMPARE(frame->GetAdjunctPane()->GetPerson().Name, u"O'Brien"_s);
}

void TestChildFramePsn::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pid");

    QTest::newRow("number in other case") << u"b007"_s << 7;
    QTest::newRow("a name") << u"张五"_s << 5;
    QTest::newRow("part of a number") << u"B00"_s << 1;
}

void TestChildFramePsn::search()
{
    QFETCH(QString, text);
    QFETCH(int, pid);
    CChildFramePsn *frame = openFrame();
    chooseCategory(*frame, u"<所有类别>"_s);
    QTest::keyClick(frame, Qt::Key_F3);
    QComboBox *box = frame->GetSearchBox();
    box->lineEdit()->setText(text);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(frame->GetView()->GetCurrentPerson().PID, pid);
    QCOMPARE(box->findText(text) >= 0, pid != 1);
    // Typing the start of an earlier search keeps the typed text.
    if (text.at(0).unicode() >= 0x80)
        return; // QTest types Latin-1 only
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), text.left(2));
    QCOMPARE(box->currentText(), text.left(2));
}

void TestChildFramePsn::inPlaceEdits_data()
{
    QTest::addColumn<QString>("column"); // Number or Name
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");

    QTest::newRow("another's number, other case")
        << u"Number"_s << u"a001"_s << u"编号重复或长度异常!"_s << u"A002"_s;
    QTest::newRow("51 characters")
        << u"Number"_s << QString(51, u'x') << u"编号重复或长度异常!"_s << u"A002"_s;
    QTest::newRow("a new number") << u"Number"_s << u"C'9"_s << QString() << u"C'9"_s;
    QTest::newRow("a blank name") << u"Name"_s << u"  "_s << u"姓名不能为空!"_s << u"张二"_s;
    QTest::newRow("a new name") << u"Name"_s << u"张贰"_s << QString() << u"张贰"_s;
}

void TestChildFramePsn::inPlaceEdits()
{
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    const int col = column == u"Number" ? view->GetNumberColumn() : view->GetNameColumn();
    const int row = view->RowOfPerson(2);
    QCOMPARE(row, 1);
    MessageCatcher messages;
    const bool written = view->GetGridCtrl()->SetCellValue(row, col, typed);
    QCOMPARE(written, message.isEmpty());
    QCOMPARE(messages.texts.join(u'|'), message);
    QCOMPARE(personValue(2, column), stored);
    const QString caption = column == u"Number" ? u"编号"_s : u"姓名"_s;
    const QString name = column == u"Name" ? stored : u"张二"_s;
    QCOMPARE(
        logText().contains(u"人员档案[修改个人基本信息'<%1>|%2(%3)']"_s.arg(name, caption, typed)),
        message.isEmpty());
    QCOMPARE(view->GetGridCtrl()->GetFieldValue(row, col).toString(), stored);
}

void TestChildFramePsn::deleteTwoRanges()
{
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    QItemSelection selection;
    const int last = grid->GetGridModel()->columnCount() - 1;
    selection.select(grid->model()->index(0, 0), grid->model()->index(1, last));
    selection.select(grid->model()->index(3, 0), grid->model()->index(3, last));
    grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    QVERIFY(view->action(CViewPsn::IdDelete)->isEnabled());
    MessageCatcher messages(QMessageBox::Yes);
    view->action(CViewPsn::IdDelete)->trigger();
    QCOMPARE(messages.texts, QStringList({ u"确定要彻底删除选择的 3 个人员档案吗?"_s }));
    QVERIFY(logText().endsWith(u"人员档案[人员删除3个]"_s));
    QCOMPARE(listed(view), u"4"_s);
    QCOMPARE(view->GetFooterText(), u"共 计：1 人"_s);
}

void TestChildFramePsn::batchUpdateInScope()
{
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    chooseCategory(*frame, u"<所有类别>"_s);
    chooseDepartment(*frame, u"二部"_s);
    for (const QString &value : { u"abc"_s, u"5.005"_s }) {
        MessageCatcher messages(QMessageBox::Yes);
        answerNextModal<CDlgBatchUpdate>([value](CDlgBatchUpdate *dialog) {
            dialog->itemList()->setCurrentIndex(dialog->itemList()->findText(u"数额"_s));
            dialog->modeList()->setCurrentIndex(dialog->modeList()->findText(u"统加"_s));
            dialog->valueEdit()->setText(value);
            dialog->accept();
            if (dialog->isVisible())
                dialog->reject(); // refused input keeps the dialog open
        });
        view->action(CViewPsn::IdBatchUpdate)->trigger();
        if (value == u"abc")
            QCOMPARE(messages.texts, QStringList({ u"值只能是数字!"_s }));
    }
    for (const int pid : { 3, 5, 6 })
        QCOMPARE(personValue(pid, u"F12"_s).toDouble(), 15.01);
    for (const int pid : { 1, 2, 4, 7 })
        QCOMPARE(personValue(pid, u"F12"_s).toDouble(), 10.0);
    QVERIFY(logText().contains(
        u"人员档案[基本信息批量修改'F12|统加|5.005(条件： (qz_PsnBase.DID IN (3,5)))']"_s));
}

void TestChildFramePsn::withoutRightNothingChanges()
{
    loginAs(u"viewer"_s);
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    QVERIFY(view->GetGridCtrl()->IsReadOnly());
    QVERIFY(!view->GetGridCtrl()->SetCellValue(0, view->GetNameColumn(), u"某"_s));
    view->GetGridCtrl()->SetCurSel(0, view->GetNameColumn());
    for (const int id : { int(CViewPsn::IdBatchUpdate), int(CViewPsn::IdDelete),
                          int(CViewPsn::IdColumnFormat), int(CViewPsn::IdReorder) }) {
        MessageCatcher messages;
        view->action(id)->trigger();
        QCOMPARE(messages.texts,
                 QStringList({ u"抱歉!您没有该项功能操作权限，请与管理员联系!"_s }));
    }
    QCOMPARE(personValue(6, u"Name"_s), u"张六"_s);
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnBase"_s).scalar().toInt(), 7);
}

void TestChildFramePsn::printMenu_data()
{
    QTest::addColumn<int>("reports");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
}

// A print item asks which records to print; the menu tests go no further.
static void cancelRecordChoice()
{
    answerNextModal<CDlgPsnPrintRSSelect>([](CDlgPsnPrintRSSelect *dialog) { dialog->reject(); });
}

void TestChildFramePsn::printMenu()
{
    QFETCH(int, reports);
    for (int i = 1; i <= reports; ++i)
        QVERIFY(theDatabase.Execute(
            u"INSERT INTO qz_Report (ID, Type, Name, Active, Ord) VALUES (?, 1, ?, 1, ?)"_s,
            { 40 + i, u"花名册%1"_s.arg(i), i }));
    // Inactive and payroll layouts are never offered.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Report (ID, Type, Name, Active) VALUES"
                                " (60, 1, '停用', 0), (61, 0, '工资条', 1)"_s));
    CChildFramePsn *frame = openFrame();
    QCOMPARE(frame->dynamicActions(CChildFramePsn::PrintItem).size(), reports);
    QSignalSpy chosen(frame, &CChildFramePsn::dynamicCommand);
    QToolButton *button = frame->toolButton(CChildFramePsn::IdPrint);
    QCOMPARE(button->menu()->actions().last()->text(), u"打印模板管理"_s);
    if (reports > 1) {
        // More than one: the button drops its menu down instead of printing.
        QTimer::singleShot(50, [button] { button->menu()->close(); });
        button->click();
        QCOMPARE(chosen.size(), 0);
        cancelRecordChoice();
        frame->dynamicActions(CChildFramePsn::PrintItem).at(2)->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().at(1).toInt(), 43);
        return;
    }
    if (reports == 1)
        cancelRecordChoice();
    button->click();
    QCOMPARE(chosen.size(), reports);
    if (reports == 1) {
        QCOMPARE(chosen.first().at(0).toInt(), int(CChildFramePsn::PrintItem));
        QCOMPARE(chosen.first().at(1).toInt(), 41);
        QCOMPARE(chosen.first().at(2).toString(), u"花名册1"_s);
    }
}

void TestChildFramePsn::freezeAndFormat()
{
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    QCOMPARE(grid->GetFrozenColumns(), 2);
    grid->SetCurSel(0, view->GetNumberColumn());
    view->action(CViewPsn::IdFreeze)->trigger();
    QCOMPARE(grid->GetFrozenColumns(), 1);
    const auto *frozen = grid->findChild<QTableView *>(u"frozenColumns"_s);
    QVERIFY(frozen && !frozen->isVisible()); // at home the columns stand in place
    QStringList shown;
    for (int c = 0; c < frozen->model()->columnCount(); ++c) {
        if (!frozen->isColumnHidden(c))
            shown << frozen->model()->headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(shown, QStringList({ u"编号"_s }));
    // Scrolled across, the frozen column stands over the others; editing it scrolls home.
    QVERIFY(QTest::qWaitForWindowExposed(m_pMain));
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    QVERIFY(grid->horizontalScrollBar()->value() > 0);
    QVERIFY(frozen->isVisible());
    const QModelIndex number = frozen->model()->index(1, view->GetNumberColumn());
    QSignalSpy doubled(grid, &CBCGPADOGridCtrl::gridDblClk);
    const QPoint at = frozen->visualRect(number).center();
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(frozen->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(doubled.size(), 1);
    QCOMPARE(grid->horizontalScrollBar()->value(), 0);
    QVERIFY(grid->IsEditing());
    QVERIFY(!frozen->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(Profile::getInt(u"MDIForm"_s, u"FreezeColsP"_s, 0), 1);

    grid->SetCurSel(0, view->GetNameColumn());
    answerNextModal<CDlgGridColFmt>([](CDlgGridColFmt *dialog) {
        dialog->SetBold(true);
        dialog->ChooseTextColor(Qt::red);
        dialog->accept();
    });
    view->action(CViewPsn::IdColumnFormat)->trigger();
    QCOMPARE(
        theDatabase.run(u"SELECT ColFmt FROM qz_Items WHERE TblName='QZ_PSNBASE' AND Name='Name'"_s)
            .scalar()
            .toString(),
        u"1;255;-1"_s);
    // A new fill keeps the format and the frozen columns.
    view->Refresh();
    const QModelIndex cell = grid->model()->index(0, view->GetNameColumn());
    QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QVERIFY(!cell.data(Qt::BackgroundRole).isValid());
    QCOMPARE(grid->GetFrozenColumns(), 1);
}

void TestChildFramePsn::reorderLeafOnly()
{
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    chooseCategory(*frame, u"<所有类别>"_s);
    chooseDepartment(*frame, u"二部"_s);
    {
        MessageCatcher messages;
        view->action(CViewPsn::IdReorder)->trigger();
        QCOMPARE(messages.texts, QStringList({ u"请选择末级部门！"_s }));
    }
    chooseDepartment(*frame, u"二组"_s);
    QCOMPARE(listed(view), u"5,6"_s);
    answerNextModal<CDlgResetOrder>([](CDlgResetOrder *dialog) {
        dialog->GetGrid()->SetCurSel(0);
        dialog->MoveDown();
        dialog->accept();
    });
    view->action(CViewPsn::IdReorder)->trigger();
    QCOMPARE(listed(view), u"6,5"_s);
    QVERIFY(logText().endsWith(u"人员档案[人员调序'二组']"_s));
}

void TestChildFramePsn::personDeletedMeanwhile()
{
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_PsnBase WHERE PID = 2"_s));
    MessageCatcher messages;
    QVERIFY(!view->GetGridCtrl()->SetCellValue(1, view->GetNameColumn(), u"某"_s));
    QCOMPARE(messages.texts, QStringList({ u"该记录已被其他操作员删除,请刷新数据列表!"_s }));
    const QAbstractItemModel *model = view->GetGridCtrl()->model();
    QVERIFY(model->index(1, view->GetNameColumn()).data(Qt::BackgroundRole).isValid());
    QVERIFY(!model->index(0, view->GetNameColumn()).data(Qt::BackgroundRole).isValid());
    // The list is not refilled: the row stays until the user refreshes.
    QCOMPARE(listed(view), u"1,2,4,6"_s);
    QVERIFY(!logText().contains(u"修改个人基本信息"_s));
}

void TestChildFramePsn::dateCellsClear()
{
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    int dateColumn = -1;
    for (int c = 0; c < view->GetColumns().size(); ++c) {
        if (view->GetColumns().at(c).Name == u"F14")
            dateColumn = c;
    }
    QVERIFY(dateColumn > 0);
    const QModelIndex cell = grid->model()->index(0, dateColumn);
    QAbstractItemDelegate *delegate = grid->itemDelegate();
    const auto edit = [&](const std::function<void(QDateEdit *)> &change) {
        QWidget *editor = delegate->createEditor(grid->viewport(), QStyleOptionViewItem(), cell);
        auto *dates = qobject_cast<QDateEdit *>(editor);
        QVERIFY(dates);
        delegate->setEditorData(dates, cell);
        change(dates);
        delegate->setModelData(dates, grid->model(), cell);
        delete editor;
    };
    edit([](QDateEdit *dates) { dates->setDate(QDate(2024, 3, 1)); });
    QVERIFY(personValue(1, u"F14"_s).startsWith(u"2024-03-01"_s));
    edit([](QDateEdit *dates) { dates->setDate(dates->minimumDate()); });
    QVERIFY(theDatabase.run(u"SELECT 1 FROM qz_PsnBase WHERE PID = 1 AND F14 IS NULL"_s).hasRow());
}

void TestChildFramePsn::placementAndPanesKept()
{
    // Overlapping windows: tabs show every child maximised.
    m_pMain = new CMainFrame;
    m_pMain->show();
    m_pMain->mdiArea()->setViewMode(QMdiArea::SubWindowView);
    CChildFramePsn *frame = openFrame();
    QMdiSubWindow *window = OpenedPersonnelFrame();
    window->showNormal();
    window->setGeometry(10, 20, 700, 450);
    frame->GetPhotoPane()->hide();
    window->close();
    QTRY_VERIFY(!OpenedPersonnelFrame());
    QCOMPARE(Profile::getInt(u"MDIForm"_s, u"Width"_s, 0), 700);
    QCOMPARE(Profile::getInt(u"MDIForm"_s, u"Maximize"_s, -1), 0);
    frame = openFrame();
    QCOMPARE(OpenedPersonnelFrame()->geometry(), QRect(10, 20, 700, 450));
    QVERIFY(frame->GetPhotoPane()->isHidden());
    QVERIFY(!frame->action(CChildFramePsn::IdPhotoPaneView)->isChecked());
    QVERIFY(!frame->GetAdjunctPane()->isHidden());
    QVERIFY(frame->action(CChildFramePsn::IdAdjunctPaneView)->isChecked());
}

void TestChildFramePsn::keysAndMenu()
{
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    QVERIFY(QTest::qWaitForWindowActive(m_pMain));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F3);
    QVERIFY(frame->GetSearchBox()->hasFocus());
    QTest::keyClick(frame->GetSearchBox(), Qt::Key_F5);
    QVERIFY(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_F6);
    QVERIFY(frame->GetDeptPane()->GetDeptTree()->hasFocus());
    QTest::keyClick(frame->GetDeptPane()->GetDeptTree(), Qt::Key_F7);
    QVERIFY(frame->GetPhotoPane()->MainControl()->hasFocus());
    frame->GetAdjunctPane()->hide();
    QTest::keyClick(frame->GetPhotoPane()->MainControl(), Qt::Key_F8);
    QVERIFY(frame->GetPhotoPane()->MainControl()->hasFocus()); // a hidden pane takes nothing
    QTest::keyClick(frame->GetPhotoPane()->MainControl(), Qt::Key_F9);
    QVERIFY(frame->GetRelatInfoPane()->MainControl()->hasFocus());
    grid->setFocus();
    // F5 inside the list reads it again.
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnBase (DID, AID, Number, Name, Ord)"
                                " VALUES (2, 1, 'N1', '新人', 8)"_s));
    QTest::keyClick(grid, Qt::Key_F5);
    QCOMPARE(grid->GetRowCount(), 5);
    QCOMPARE(view->GetFooterText(), u"共 计：5 人"_s);
    // The menu key shows the context menu; pressed again it goes.
    QTest::keyClick(grid, Qt::Key_Menu);
    QVERIFY(view->contextMenu()->isVisible());
    QTest::keyClick(grid, Qt::Key_Menu);
    QVERIFY(!view->contextMenu()->isVisible());
    // Alt alone does the same; Alt with a letter is left to the menus.
    QTest::keyPress(grid, Qt::Key_Alt);
    QTest::keyRelease(grid, Qt::Key_Alt);
    QVERIFY(view->contextMenu()->isVisible());
    view->contextMenu()->close();
    QTest::keyPress(grid, Qt::Key_Alt);
    QTest::keyClick(grid, Qt::Key_F, Qt::AltModifier);
    QTest::keyRelease(grid, Qt::Key_Alt);
    QVERIFY(!view->contextMenu()->isVisible());
    // The entry form asks for the current row again after it saved the person.
    grid->SetCurSel(0, view->GetNumberColumn());
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET Name = '张壹' WHERE PID = 1"_s));
    view->RefreshCurrentRow();
    QCOMPARE(grid->GetFieldValue(0, view->GetNameColumn()).toString(), u"张壹"_s);
    QTRY_COMPARE(frame->GetPhotoPane()->GetPerson().Name, u"张壹"_s);
    // Copy takes the shown cells of the selected rows.
    grid->SetCurSel(0, view->GetNumberColumn());
    view->action(CViewPsn::IdCopy)->trigger();
    QVERIFY(QApplication::clipboard()->text().startsWith(u"A001\t张壹\t"_s));
}

void TestChildFramePsn::dictionaryCells()
{
    QVERIFY(theDatabase.Execute(u"ALTER TABLE qz_PsnBase ADD F15 VARCHAR(20)"_s));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, IdRef, bNotNull, bShow, Ord)"
        " VALUES ('QZ_PSNBASE', 'F15', '学历', 3, 'XL', 0, 1, 11)"_s));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_DictItem (DictId, DictValue, Title, Active)"
                                " VALUES ('XL', '02', '乙', 1), ('XL', '01', '甲', 1),"
                                " ('XL', '03', '丙', 0)"_s));
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    const int column = int(view->GetColumns().size()) - 1;
    QCOMPARE(view->GetColumns().at(column).Name, u"F15"_s);
    const QModelIndex cell = grid->model()->index(0, column);
    QAbstractItemDelegate *delegate = grid->itemDelegate();
    for (const QString &choice : { u"乙"_s, QString() }) {
        QWidget *editor = delegate->createEditor(grid->viewport(), QStyleOptionViewItem(), cell);
        auto *list = qobject_cast<QComboBox *>(editor);
        QVERIFY(list);
        QStringList offered;
        for (int i = 0; i < list->count(); ++i)
            offered << list->itemText(i);
        // An optional item can be emptied; inactive titles are not offered.
        QCOMPARE(offered, QStringList({ QString(), u"甲"_s, u"乙"_s }));
        delegate->setEditorData(list, cell);
        list->setCurrentIndex(list->findText(choice));
        delegate->setModelData(list, grid->model(), cell);
        delete editor;
        QCOMPARE(personValue(1, u"F15"_s), choice);
    }
    QVERIFY(theDatabase.run(u"SELECT 1 FROM qz_PsnBase WHERE PID = 1 AND F15 IS NULL"_s).hasRow());
}

void TestChildFramePsn::farRowsAndWidths()
{
    // Rows beyond the first page are read by key; an edit there names its own person.
    QVector<QVariantList> rows;
    for (int i = 0; i < 150; ++i)
        rows.append({ 100 + i, u"M%1"_s.arg(i), u"成员%1"_s.arg(i), 100 + i });
    QVERIFY(theDatabase
                .runBatch(u"INSERT INTO qz_PsnBase (PID, DID, AID, Number, Name, Ord)"
                          " VALUES (?, 2, 1, ?, ?, ?)"_s,
                          rows)
                .ok);
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    const int row = view->RowOfPerson(240);
    QVERIFY(row > 100);
    QVERIFY(grid->SetCellValue(row, view->GetNumberColumn(), u"Q240"_s));
    QVERIFY(logText().endsWith(u"人员档案[修改个人基本信息'<成员140>|编号(Q240)']"_s));
    QCOMPARE(personValue(240, u"Number"_s), u"Q240"_s);

    // A column dragged wider is stored once, when the mouse lets go.
    QVERIFY(QTest::qWaitForWindowExposed(m_pMain));
    QHeaderView *header = grid->horizontalHeader();
    const int column = view->GetNameColumn();
    const int edge = header->sectionViewportPosition(column) + header->sectionSize(column) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(header->viewport(), QPoint(edge + 20, y));
    QTest::mouseMove(header->viewport(), QPoint(edge + 40, y));
    QCOMPARE(
        theDatabase.run(u"SELECT iWid FROM qz_Items WHERE TblName='QZ_PSNBASE' AND Name='Name'"_s)
            .scalar()
            .toInt(),
        120);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 40, y));
    QCOMPARE(
        theDatabase.run(u"SELECT iWid FROM qz_Items WHERE TblName='QZ_PSNBASE' AND Name='Name'"_s)
            .scalar()
            .toInt(),
        header->sectionSize(column));
    QVERIFY(header->sectionSize(column) > 120);
}

void TestChildFramePsn::paneCommands_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pane");
    QTest::newRow("departments") << 32842 << u"部门导航窗口"_s << u"导航"_s;
    QTest::newRow("photo") << 32848 << u"相片窗口"_s << u"相片"_s;
    QTest::newRow("related") << 32849 << u"相关信息窗口"_s << u"相关资料"_s;
    QTest::newRow("attachments") << 32851 << u"附件窗口"_s << u"附件"_s;
}

void TestChildFramePsn::paneCommands()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QString, pane);
    CChildFramePsn *frame = openFrame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QAction *command = frame->action(id);
    QVERIFY(command);
    QCOMPARE(command->text(), text);
    QDockWidget *dock = frame->paneOfCommand(id);
    QCOMPARE(dock->windowTitle(), pane);
    QVERIFY(command->isCheckable());
    QVERIFY(dock->isVisible());
    QVERIFY(command->isChecked());

    command->trigger();
    QVERIFY(!dock->isVisible());
    QVERIFY(!command->isChecked());
    command->trigger();
    QVERIFY(dock->isVisible());
    QVERIFY(command->isChecked());
    // Closed by its own button, the pane is unchecked too.
    dock->close();
    QVERIFY(!command->isChecked());
    command->trigger();
    QVERIFY(dock->isVisible());
}

void TestChildFramePsn::frameMenus()
{
    CChildFramePsn *frame = openFrame();
    QStringList titles;
    for (QAction *menu : frame->menuBar()->actions())
        titles << menu->text();
    QCOMPARE(titles, QStringList({ u"编辑"_s, u"视图"_s, u"工具"_s }));
    const auto commandsOf = [](const QAction *menuAction) {
        QList<int> ids;
        for (const QAction *a : menuAction->menu()->actions()) {
            if (!a->isSeparator())
                ids << a->data().toInt();
        }
        return ids;
    };
    const QList<QAction *> menus = frame->menuBar()->actions();
    // 编辑 is the list's context menu.
    QList<int> context;
    for (const QAction *a : frame->GetView()->contextMenu()->actions()) {
        if (!a->isSeparator())
            context << a->data().toInt();
    }
    QCOMPARE(commandsOf(menus.at(0)), context);
    QCOMPARE(commandsOf(menus.at(1)), QList<int>({ 32842, 32848, 32849, 32851 }));
    QCOMPARE(commandsOf(menus.at(2)), QList<int>({ 32910, 33317, 32968, 32958, 32959 }));
    // The menu's commands are the view's: 全选 from the menu selects the list.
    for (QAction *a : menus.at(0)->menu()->actions()) {
        if (a->data().toInt() == CViewPsn::IdSelectAll)
            a->trigger();
    }
    QCOMPARE(frame->GetView()->GetGridCtrl()->selectionModel()->selectedRows().size(),
             frame->GetView()->GetGridCtrl()->GetRowCount());
}

void TestChildFramePsn::photoPaneDockingKept()
{
    CChildFramePsn *frame = openFrame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QCOMPARE(frame->dockWidgetArea(frame->GetPhotoPane()), Qt::RightDockWidgetArea);
    frame->addDockWidget(Qt::LeftDockWidgetArea, frame->GetPhotoPane());
    frame->tabifyDockWidget(frame->GetRelatInfoPane(), frame->GetAdjunctPane());
    OpenedPersonnelFrame()->close();
    QTRY_VERIFY(!OpenedPersonnelFrame());

    frame = openFrame();
    QCOMPARE(frame->dockWidgetArea(frame->GetPhotoPane()), Qt::LeftDockWidgetArea);
    QCOMPARE(frame->tabifiedDockWidgets(frame->GetRelatInfoPane()),
             QList<QDockWidget *> { frame->GetAdjunctPane() });
    QVERIFY(frame->action(CChildFramePsn::IdPhotoPaneView)->isChecked());
    // The pane's toolbar came back with it, enabled by the pane.
    QTRY_VERIFY(frame->GetPhotoPane()->action(CPhotoPane::IdOpen)->isEnabled());
    QVERIFY(frame->GetPhotoPane()->action(CPhotoPane::IdCamera)->isEnabled());
}

void TestChildFramePsn::scriptHostRestarts()
{
    QVERIFY(theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = ? WHERE nType = 1"_s,
                                { u"Dim counter\ncounter = 10\nFunction Tax(x)\n"
                                  "  Tax = x * 0.1\nEnd Function\n"_s }));
    CChildFramePsn *frame = openFrame();
    CViewPsn *view = frame->GetView();
    QVariant result;
    // The global script is there from the first show.
    QCOMPARE(view->GetScriptHost()->Evaluate(u"Tax(5000) + counter"_s, &result), 0);
    QCOMPARE(result.toDouble(), 510.0);

    // What a dialog leaves in the engine is gone afterwards, and a global script changed
    // meanwhile is the one loaded.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = ? WHERE nType = 1"_s,
                                { u"Dim counter\ncounter = 20\n"_s }));
    bool ran = false;
    view->RunWithScriptHost([&ran](CScriptHostProxy *host) {
        ran = true;
        QVERIFY(host->LoadScript(u"counter = 99"_s));
    });
    QVERIFY(ran);
    QCOMPARE(view->GetScriptHost()->Evaluate(u"counter"_s, &result), 0);
    QCOMPARE(result.toInt(), 20);
}

void TestChildFramePsn::quickRowChangesRefillPanesOnce()
{
    CChildFramePsn *frame = openFrame();
    chooseCategory(*frame, u"<所有类别>"_s);
    CViewPsn *view = frame->GetView();
    view->FlushPaneHandOver();
    CountingPane counting;
    view->AddPane(&counting);
    CMyADOGridCtrl *grid = view->GetGridCtrl();
    const int rows = grid->GetRowCount();
    QCOMPARE(rows, 7);
    for (int i = 1; i <= 20; ++i)
        grid->SetCurSel(i % rows, view->GetNumberColumn());
    const int last = grid->GetFieldValue(20 % rows, 0).toInt();
    // The view's person follows at once, the panes once the selection rests.
    QCOMPARE(view->GetCurrentPerson().PID, last);
    QVERIFY(counting.persons.isEmpty());
    QTRY_COMPARE(counting.persons, QList<int> { last });
    QTest::qWait(2 * CViewPsn::PaneHandOverDelay);
    QCOMPARE(counting.persons, QList<int> { last });
    QCOMPARE(frame->GetPhotoPane()->GetPerson().PID, last);
    QCOMPARE(frame->GetAdjunctPane()->GetPerson().PID, last);
    QCOMPARE(frame->GetRelatInfoPane()->GetPerson().PID, last);
}

QTEST_MAIN(TestChildFramePsn)
#include "tst_childframepsn.moc"
