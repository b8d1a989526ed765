#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/advsavedqueries.h"
#include "personnel/psnprocedures.h"
#include "personnel/ui/advcelldelegate.h"
#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cdlgadvresearch.h"
#include "personnel/ui/cviewpsn.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "psnviewopener.h"
#include "searchfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/dialogs/cdlgnameset.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

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

QString listed(const CViewPsn *view)
{
    QStringList pids;
    const CMyADOGridCtrl *grid = view->GetGridCtrl();
    for (int row = 0; row < grid->GetRowCount(); ++row)
        pids << grid->GetFieldValue(row, 0).toString();
    return pids.join(u',');
}

void click(CDlgAdvResearch *dialog, const QString &name)
{
    auto *button = dialog->findChild<QPushButton *>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Opens the cell's editor as a double-click does and lets `fill` set it; Enter commits (the
// delegate does so from the event loop).
template<typename Editor>
void editCell(QTableView *view, int row, int column, const std::function<void(Editor *)> &fill)
{
    const QModelIndex index = view->model()->index(row, column);
    view->setCurrentIndex(index);
    view->edit(index);
    Editor *editor = nullptr;
    for (Editor *candidate : view->viewport()->findChildren<Editor *>()) {
        if (candidate->isVisible())
            editor = candidate;
    }
    QVERIFY2(editor, "no editor");
    fill(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void choose(QTableView *view, int row, int column, const QString &text)
{
    editCell<QComboBox>(view, row, column, [&](QComboBox *combo) {
        QVERIFY2(combo->findText(text) >= 0, qPrintable(text));
        combo->setCurrentIndex(combo->findText(text));
    });
}

void type(QTableView *view, int row, int column, const QString &text)
{
    editCell<QLineEdit>(view, row, column, [&](QLineEdit *edit) { edit->setText(text); });
}

void pickDate(QTableView *view, int row, int column, const QDate &date)
{
    editCell<QDateEdit>(view, row, column, [&](QDateEdit *edit) { edit->setDate(date); });
}

QString cell(QTableView *view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

QStringList options(QTableView *view, int row, int column)
{
    return view->model()->index(row, column).data(AdvOptionsRole).toStringList();
}

QStringList treeLabels(CDlgAdvResearch *dialog)
{
    QStringList labels;
    for (int i = 0; i < dialog->queryTree()->topLevelItemCount(); ++i)
        labels << dialog->queryTree()->topLevelItem(i)->text(0);
    return labels;
}

// The search of the journey: 备注 包含 %x% 或 入职日期 不小于 2020-01-01, a 履历 record
// at 甲公司, by name descending.
void composeJourneySearch(CDlgAdvResearch *dialog)
{
    QTableView *main = dialog->mainGrid();
    choose(main, 0, CDlgAdvResearch::MainItem, u"备注"_s);
    choose(main, 0, CDlgAdvResearch::MainOp, u"包含"_s);
    type(main, 0, CDlgAdvResearch::MainValue, u"%x%"_s);
    click(dialog, u"addCondition"_s);
    choose(main, 1, CDlgAdvResearch::MainAndOr, u"或"_s);
    choose(main, 1, CDlgAdvResearch::MainItem, u"入职日期"_s);
    choose(main, 1, CDlgAdvResearch::MainOp, u"不小于"_s);
    pickDate(main, 1, CDlgAdvResearch::MainValue, QDate(2020, 1, 1));
    QTableView *related = dialog->relatedGrid();
    click(dialog, u"addRelatedCondition"_s);
    choose(related, 0, CDlgAdvResearch::RelTable, u"履历"_s);
    choose(related, 0, CDlgAdvResearch::RelItem, u"单位"_s);
    type(related, 0, CDlgAdvResearch::RelValue, u"甲公司"_s);
    click(dialog, u"addSort"_s);
    choose(dialog->sortGrid(), 0, CDlgAdvResearch::SortItem, u"姓名"_s);
    choose(dialog->sortGrid(), 0, CDlgAdvResearch::SortDirection, u"降序"_s);
}

} // namespace

class TestDlgAdvResearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void dependentCells();
    void enterAndMessages();
    void rightsOnEditing_data();
    void rightsOnEditing();
    void filterJourney();
    void savedQueryJourney();

private:
    CDlgAdvResearch *openDialog(int type = AdvPersonData);
    CViewPsn *openView();
    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
    CDlgAdvResearch *m_pDialog = nullptr;
};

void TestDlgAdvResearch::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
    registerAdvSearchProcedures();
}

void TestDlgAdvResearch::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    QString error;
    QVERIFY2(fillSearchFixture(theDatabase, &error), qPrintable(error));
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(u"admin"_s);
}

void TestDlgAdvResearch::cleanup()
{
    delete m_pDialog;
    m_pDialog = nullptr;
    delete m_pMain;
    m_pMain = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

CDlgAdvResearch *TestDlgAdvResearch::openDialog(int type)
{
    delete m_pDialog;
    m_pDialog = new CDlgAdvResearch;
    LoadItemInfos(m_pDialog->ItemList(),
                  u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s);
    m_pDialog->SetQueryType(type);
    m_pDialog->show();
    return m_pDialog;
}

CViewPsn *TestDlgAdvResearch::openView()
{
    return OpenPsnView(m_pMain);
}

void TestDlgAdvResearch::dependentCells()
{
    CDlgAdvResearch *dialog = openDialog();
    QTableView *main = dialog->mainGrid();
    // A new query starts with one row: no connector, no item, "等于" alone.
    QCOMPARE(main->model()->rowCount(), 1);
    QCOMPARE(cell(main, 0, CDlgAdvResearch::MainAndOr), QString());
    QCOMPARE(options(main, 0, CDlgAdvResearch::MainOp), QStringList { u"等于"_s });
    QVERIFY(main->isColumnHidden(CDlgAdvResearch::MainField));

    choose(main, 0, CDlgAdvResearch::MainItem, u"入职日期"_s);
    QCOMPARE(cell(main, 0, CDlgAdvResearch::MainField), u"F14"_s);
    QCOMPARE(options(main, 0, CDlgAdvResearch::MainOp).size(), 6);
    QCOMPARE(cell(main, 0, CDlgAdvResearch::MainValue),
             QDate::currentDate().toString(u"yyyy-MM-dd"_s));
    QCOMPARE(main->model()->index(0, CDlgAdvResearch::MainItem).data(AdvIndexRole).toInt(),
             FindItemByName(dialog->ItemList(), u"F14"_s));
    choose(main, 0, CDlgAdvResearch::MainItem, u"备注"_s);
    QCOMPARE(options(main, 0, CDlgAdvResearch::MainOp), AdvOperators(ItemText));
    QCOMPARE(cell(main, 0, CDlgAdvResearch::MainValue), QString());
    QVERIFY(!main->model()->index(0, CDlgAdvResearch::MainValue).data(AdvDateRole).toBool());

    click(dialog, u"addCondition"_s);
    QCOMPARE(cell(main, 1, CDlgAdvResearch::MainAndOr), u"且"_s);
    QCOMPARE(main->currentIndex().column(), int(CDlgAdvResearch::MainAndOr));

    QTableView *related = dialog->relatedGrid();
    click(dialog, u"addRelatedCondition"_s);
    choose(related, 0, CDlgAdvResearch::RelTable, u"家庭"_s);
    QCOMPARE(options(related, 0, CDlgAdvResearch::RelItem), (QStringList { u"关系"_s, u"人数"_s }));
    QCOMPARE(cell(related, 0, CDlgAdvResearch::RelTblName), u"qz_Rel2"_s);
    // A dictionary item offers the text operators.
    choose(related, 0, CDlgAdvResearch::RelItem, u"关系"_s);
    QCOMPARE(cell(related, 0, CDlgAdvResearch::RelField), u"R3"_s);
    QCOMPARE(options(related, 0, CDlgAdvResearch::RelOp), AdvOperators(ItemDictionary));
    choose(related, 0, CDlgAdvResearch::RelTable, u"履历"_s);
    QCOMPARE(cell(related, 0, CDlgAdvResearch::RelField), QString());
    choose(related, 0, CDlgAdvResearch::RelItem, u"起始"_s);
    QVERIFY(related->model()->index(0, CDlgAdvResearch::RelValue).data(AdvDateRole).toBool());

    related->setCurrentIndex(related->model()->index(0, 0));
    click(dialog, u"deleteRelatedCondition"_s);
    QCOMPARE(related->model()->rowCount(), 0);
}

void TestDlgAdvResearch::enterAndMessages()
{
    CDlgAdvResearch *dialog = openDialog();
    QTest::keyClick(dialog, Qt::Key_Return);
    QVERIFY(dialog->isVisible());
    MessageCatcher messages;
    click(dialog, u"runQuery"_s);
    choose(dialog->mainGrid(), 0, CDlgAdvResearch::MainItem, u"数额"_s);
    type(dialog->mainGrid(), 0, CDlgAdvResearch::MainValue, u"12a"_s);
    click(dialog, u"runQuery"_s);
    QCOMPARE(
        messages.texts,
        (QStringList { u"请设置查询条件或排序!"_s, u"第 1 项 [数额] 字段条件值只能是数字！"_s }));
    QVERIFY(dialog->isVisible());
    type(dialog->mainGrid(), 0, CDlgAdvResearch::MainValue, u"10"_s);
    click(dialog, u"runQuery"_s);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->GetCondition().sql, u"(QZ_PSNBASE.F12 = ?)"_s);
}

void TestDlgAdvResearch::rightsOnEditing_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("refused");
    QTest::newRow("person data") << int(AdvPersonData) << true;
    QTest::newRow("transfers") << int(AdvTransfers) << false;
}

void TestDlgAdvResearch::rightsOnEditing()
{
    QFETCH(int, type);
    QFETCH(bool, refused);
    loginAs(u"dept35"_s);
    CDlgAdvResearch *dialog = openDialog(type);
    MessageCatcher messages;
    click(dialog, u"addCondition"_s);
    QCOMPARE(dialog->mainGrid()->model()->rowCount(), refused ? 1 : 2);
    QCOMPARE(messages.texts.size(), refused ? 1 : 0);
}

void TestDlgAdvResearch::filterJourney()
{
    CViewPsn *view = openView();
    QVERIFY(view);
    QCOMPARE(listed(view), u"1,2,3,4,7,5,6"_s);
    bool answered = false;
    answerNextModal<CDlgAdvResearch>([&](CDlgAdvResearch *dialog) {
        composeJourneySearch(dialog);
        click(dialog, u"runQuery"_s);
        answered = true;
    });
    view->action(CViewPsn::IdFilter)->trigger();
    QVERIFY(answered);
    // (备注 包含) OR (入职日期 AND 甲公司), by name descending.
    QCOMPARE(listed(view), u"6,3,1"_s);
    // A rebuilt scope drops the search.
    view->Refresh();
    QCOMPARE(listed(view), u"1,2,3,4,7,5,6"_s);
}

void TestDlgAdvResearch::savedQueryJourney()
{
    CDlgAdvResearch *dialog = openDialog();
    composeJourneySearch(dialog);
    answerNextModal<CDlgNameSet>([](CDlgNameSet *names) {
        names->SetName(u"我的查询"_s);
        names->accept();
    });
    click(dialog, u"saveQuery"_s);
    QCOMPARE(treeLabels(dialog), (QStringList { u"<新建查询>"_s, u"我的查询"_s }));
    QVERIFY(dialog->GetQueryId() > 0);
    QVERIFY(dialog->mainGrid()->model()->index(1, 0).data(AdvRowIdRole).toInt() > 0);
    // Saved again: the rows are rewritten, not added.
    click(dialog, u"saveQuery"_s);
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_ResearchDetail"_s).scalar().toInt(), 3);
    QCOMPARE(logText(), u"新增人事数据高级查询'我的查询'\n修改人事数据高级查询'我的查询'"_s);

    // Found again by its owner in this window type only.
    openDialog(AdvTransfers);
    QCOMPARE(treeLabels(m_pDialog), QStringList { u"<新建查询>"_s });
    loginAs(u"dept35"_s);
    openDialog();
    QCOMPARE(treeLabels(m_pDialog), QStringList { u"<新建查询>"_s });
    loginAs(u"admin"_s);
    dialog = openDialog();
    QTreeWidgetItem *saved = dialog->queryTree()->topLevelItem(1);
    dialog->queryTree()->setCurrentItem(saved);
    QCOMPARE(cell(dialog->mainGrid(), 1, CDlgAdvResearch::MainValue), u"2020-01-01"_s);
    QCOMPARE(cell(dialog->relatedGrid(), 0, CDlgAdvResearch::RelItem), u"单位"_s);
    QCOMPARE(cell(dialog->sortGrid(), 0, CDlgAdvResearch::SortItem), u"姓名"_s);

    saved->setText(0, u"改名的查询"_s);
    QCOMPARE(ListSavedQueries(theDatabase, theCurrentUser.UserID, AdvPersonData)->at(0).name,
             u"改名的查询"_s);
    // A double-click runs it.
    Q_EMIT dialog->queryTree()->itemDoubleClicked(saved, 0);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->GetOrderBy(), u"QZ_PSNBASE.Name DESC"_s);

    dialog = openDialog();
    dialog->queryTree()->setCurrentItem(dialog->queryTree()->topLevelItem(1));
    MessageCatcher messages(QMessageBox::Yes);
    click(dialog, u"deleteQuery"_s);
    QCOMPARE(messages.texts, QStringList { u"确定删除当前查询吗?"_s });
    QCOMPARE(treeLabels(dialog), QStringList { u"<新建查询>"_s });
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_ResearchDetail"_s).scalar().toInt(), 0);
    QVERIFY(logText().endsWith(u"删除自定义高级查询'改名的查询'"_s));
}

QTEST_MAIN(TestDlgAdvResearch)
#include "tst_dlgadvresearch.moc"
