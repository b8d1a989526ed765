#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/advsearch.h"
#include "personnel/ui/cchildframepsn.h"
#include "personnel/ui/cdlgadvresearch.h"
#include "personnel/ui/cdlgpsnchangewizard.h"
#include "personnel/ui/cdlgpsnhistorymanage.h"
#include "personnel/ui/cdlgpsnselectwizard.h"
#include "personnel/ui/cviewpsn.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "psnviewopener.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/ceditbrowsectrlfromdb.h"
#include "ui/controls/ceditlblctl.h"
#include "ui/controls/cmyadogridctrl.h"
#include "ui/frame/cmainframe.h"
#include "ui/frame/framecommands.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QString column(const QString &sql)
{
    QStringList texts;
    const vantrel::db::QueryResult rows = theDatabase.run(sql);
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        texts << rows.rows.text(row, 0);
    return rows.ok ? texts.join(u',') : rows.error.description;
}

QString lastLog()
{
    return theDatabase.run(u"SELECT lAction FROM qz_Log ORDER BY id DESC LIMIT 1"_s)
        .scalar()
        .toString();
}

// Picks the entry in the field's drop-down tree as a user does.
void pick(CDlgPsnChangeForm *form, const QString &item, const QString &text)
{
    CEditlblCtl *field = form->FindItemEditor(item);
    QVERIFY(field);
    auto *picker = qobject_cast<CEditBrowseCtrlFromDB *>(field->GetMainCtrl());
    QVERIFY(picker);
    picker->OnBrowse();
    const QList<QTreeWidgetItem *> found
        = picker->GetDropTree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    picker->GetDropTree()->setCurrentItem(found.first());
    picker->AcceptDropDown();
}

void setDate(CDlgPsnChangeForm *form, const QString &item, const QDate &date)
{
    CEditlblCtl *field = form->FindItemEditor(item);
    QVERIFY(field && field->GetDateCtrl());
    field->GetDateCtrl()->SetDate(date);
}

QStringList listedNames(CDlgPsnChangeForm *form)
{
    QStringList names;
    for (int row = 0; row < form->personList()->rowCount(); ++row)
        names << form->personList()->item(row, 1)->text();
    return names;
}

void selectRows(QAbstractItemView *grid, const QList<std::pair<int, int>> &ranges)
{
    QItemSelection selection;
    const int last = grid->model()->columnCount() - 1;
    for (const auto &[from, to] : ranges)
        selection.select(grid->model()->index(from, 0), grid->model()->index(to, last));
    grid->setCurrentIndex(grid->model()->index(ranges.first().first, 2));
    grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

} // namespace

class TestPsnChangeWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void transferJourney();
    void pageOneChoosesOverlappingRanges();
    void finishChecks();
    void categoryChangeFromTheList();
    void historyExport();
    void historyAdvancedSearch();

private:
    CViewPsn *openView();
    TestDatabase *m_fixture = nullptr;
    CMainFrame *m_pMain = nullptr;
};

void TestPsnChangeWizard::initTestCase()
{
    QVERIFY(useTestProfile());
    RegisterPersonnelModule();
}

void TestPsnChangeWizard::init()
{
    clearTestProfile();
    Profile::writeInt({}, u"ExitYesNO"_s, 0);
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(u"admin"_s);
}

void TestPsnChangeWizard::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

CViewPsn *TestPsnChangeWizard::openView()
{
    return OpenPsnView(m_pMain);
}

void TestPsnChangeWizard::transferJourney()
{
    CViewPsn *view = openView();
    QVERIFY(view);
    // 张一 and 张二, the first two rows of the list.
    selectRows(view->GetGridCtrl(), { { 0, 1 } });
    bool answered = false;
    answerNextModal<CDlgPsnChangeWizard>([&](CDlgPsnChangeWizard *wizard) {
        answered = true;
        QCOMPARE(wizard->windowTitle(), u"人员调动设置向导"_s);
        QCOMPARE(wizard->CurrentPage(), 2);
        QVERIFY(!wizard->prevButton()->isEnabled());
        QVERIFY(wizard->finishButton()->isEnabled());
        CDlgPsnChangeForm *form = wizard->formPage();
        QCOMPARE(listedNames(form), (QStringList { u"张一"_s, u"张二"_s }));
        QCOMPARE(form->listLabel()->text(), u"被选择的人员列表(2人)："_s);
        QVERIFY(!form->FindItemEditor(u"BeforeDep"_s));
        pick(form, u"AfterDep"_s, u"二组"_s);
        setDate(form, u"MobDate"_s, QDate(2024, 3, 1));
        QTest::mouseClick(wizard->finishButton(), Qt::LeftButton);
    });
    view->action(CViewPsn::IdTransfer)->trigger();
    QVERIFY(answered);
    QCOMPARE(column(u"SELECT DID FROM qz_PsnBase WHERE PID IN (1, 2) ORDER BY PID"_s), u"5,5"_s);
    QCOMPARE(column(u"SELECT BeforeDep || '>' || AfterDep FROM qz_PsnRedeploy ORDER BY PID"_s),
             u"总公司>二组,一部>二组"_s);
    QCOMPARE(lastLog(), u"人员档案[人员调动：2 人]"_s);

    // 调动管理 lists them; the quick filter finds one by name and day; one row goes.
    CDlgPsnRedeployManage manager;
    manager.show();
    QCOMPARE(manager.statusLabel()->text(), u" 共: 2 项"_s);
    manager.nameEdit()->setText(u"张二"_s);
    manager.fromDate()->SetDate(QDate(2024, 3, 1));
    manager.OnFind();
    QCOMPARE(manager.grid()->GetRowCount(), 1);
    QCOMPARE(manager.grid()->GetFieldValue(0, 3).toString(), u"张二"_s);
    manager.grid()->SetCurSel(0, 2);
    MessageCatcher messages(QMessageBox::Yes);
    manager.action(CDlgPsnHistoryManage::IdDelete)->trigger();
    QCOMPARE(messages.texts, QStringList { u"确定要删除该条记录吗?"_s });
    QCOMPARE(column(u"SELECT PID FROM qz_PsnRedeploy"_s), u"1"_s);
    QCOMPARE(lastLog(), u"人员档案[调动记录删除1 条]"_s);
    manager.action(CDlgPsnHistoryManage::IdRefresh)->trigger();
    QCOMPARE(manager.statusLabel()->text(), u" 共: 1 项"_s);
}

void TestPsnChangeWizard::pageOneChoosesOverlappingRanges()
{
    CDlgWizardByPsnRedeploy wizard;
    wizard.SetTitle(u"人员调动设置向导"_s);
    wizard.show();
    CDlgPsnSelectWizard *select = wizard.selectPage();
    QCOMPARE(select->grid()->GetRowCount(), 7);
    QCOMPARE(select->countLabel()->text(), u"共 计：7 人"_s);
    QCOMPARE(select->deptPicker()->text(), u"<全体部门>"_s);
    QVERIFY(!wizard.prevButton()->isEnabled());
    MessageCatcher messages;
    select->grid()->clearSelection();
    select->grid()->setCurrentIndex(QModelIndex());
    QTest::mouseClick(wizard.nextButton(), Qt::LeftButton);
    QCOMPARE(messages.texts, QStringList { u"请选择人员！"_s });
    QCOMPARE(wizard.CurrentPage(), 1);

    // Rows 2 to 4 and row 3 again: three persons.
    selectRows(select->grid(), { { 1, 3 }, { 2, 2 } });
    QTest::mouseClick(wizard.nextButton(), Qt::LeftButton);
    QCOMPARE(wizard.CurrentPage(), 2);
    QCOMPARE(wizard.Persons().size(), 3);
    QCOMPARE(listedNames(wizard.formPage()), (QStringList { u"张二"_s, u"张三"_s, u"张四"_s }));
    QTest::mouseClick(wizard.prevButton(), Qt::LeftButton);
    QCOMPARE(wizard.CurrentPage(), 1);

    // Find by a number without case, then by a part of a name.
    select->findEdit()->setText(u"A004"_s);
    select->OnFindPerson();
    QCOMPARE(select->grid()->GetFieldValue(select->grid()->GetCurSel(), 0).toInt(), 4);
    select->findEdit()->setText(u"Brien"_s);
    select->OnFindPerson();
    QCOMPARE(select->grid()->GetFieldValue(select->grid()->GetCurSel(), 0).toInt(), 7);
    // A department limits the list to its subtree.
    select->SetDeptId(3);
    select->QueryPersons();
    QCOMPARE(select->grid()->GetRowCount(), 3);
}

void TestPsnChangeWizard::finishChecks()
{
    CDlgWizardByPsnRedeploy wizard;
    wizard.Persons().insert(
        1, CPersonBase { 1, -1, -1, u"A001"_s, u"张一"_s, u"在职"_s, u"总公司"_s });
    wizard.SetCurrentPage(2);
    wizard.show();
    MessageCatcher messages;
    setDate(wizard.formPage(), u"MobDate"_s, QDate(2024, 3, 1));
    QTest::mouseClick(wizard.finishButton(), Qt::LeftButton);
    pick(wizard.formPage(), u"AfterDep"_s, u"二组"_s);
    // A history row the database refuses: nobody moves, nothing is logged, the wizard stays.
    QVERIFY(theDatabase.Execute(u"DROP TABLE qz_PsnRedeploy"_s));
    QTest::mouseClick(wizard.finishButton(), Qt::LeftButton);
    QCOMPARE(messages.texts.size(), 2);
    QCOMPARE(messages.texts.at(0), u"'调动后部门'为必填项!"_s);
    QVERIFY(wizard.isVisible());
    QCOMPARE(column(u"SELECT DID FROM qz_PsnBase WHERE PID = 1"_s), u"1"_s);
    QCOMPARE(column(u"SELECT COUNT(*) FROM qz_Log"_s), u"0"_s);
}

void TestPsnChangeWizard::categoryChangeFromTheList()
{
    CViewPsn *view = openView();
    QVERIFY(view);
    selectRows(view->GetGridCtrl(), { { 2, 2 } });
    answerNextModal<CDlgPsnChangeWizard>([](CDlgPsnChangeWizard *wizard) {
        QCOMPARE(wizard->windowTitle(), u"人员离职设置向导"_s);
        pick(wizard->formPage(), u"NStatus"_s, u"在职"_s);
        setDate(wizard->formPage(), u"ADate"_s, QDate(2024, 4, 1));
        QTest::mouseClick(wizard->finishButton(), Qt::LeftButton);
    });
    view->action(CViewPsn::IdSortChange)->trigger();
    QCOMPARE(column(u"SELECT AID FROM qz_PsnBase WHERE PID = 3"_s), u"1"_s);
    QCOMPARE(column(u"SELECT OStatus || '>' || NStatus FROM qz_PsnSortAlter"_s), u"退休>在职"_s);
    QCOMPARE(lastLog(), u"人员档案[人员类别变更：1 人]"_s);
}

void TestPsnChangeWizard::historyExport()
{
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_PsnSortAlter (PID, OStatus, NStatus, ADate) VALUES (3, '退休', '在职', ?)"_s,
        { QDateTime(QDate(2024, 4, 1), QTime(9, 0)) }));
    CDlgPsnSortAlterManage manager;
    manager.show();
    QCOMPARE(manager.windowTitle(), u"离职管理"_s);
    QCOMPARE(manager.statusLabel()->text(), u" 共: 1 项"_s);
    // A history item's width is kept for the next opening; the person columns' are not.
    manager.grid()->horizontalHeader()->resizeSection(6, 155);
    manager.grid()->horizontalHeader()->resizeSection(3, 99);
    QCOMPARE(column(u"SELECT Name || '=' || iWid FROM qz_Items WHERE iWid IN (99, 155)"_s),
             u"NStatus=155"_s);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"离职.xlsx"_s);
    manager.SetExportPath(path);
    manager.action(CDlgPsnHistoryManage::IdExport)->trigger();
    QVERIFY(QFileInfo(path).size() > 0);
    QCOMPARE(lastLog(), u"人员档案[离职记录导出]"_s);
    // A path that cannot be written: the message, and no log.
    MessageCatcher messages;
    manager.SetExportPath(dir.filePath(u"无此目录/离职.xlsx"_s));
    manager.action(CDlgPsnHistoryManage::IdExport)->trigger();
    QCOMPARE(messages.texts, QStringList { u"导出时出错!"_s });
    QCOMPARE(column(u"SELECT COUNT(*) FROM qz_Log"_s), u"1"_s);
}

void TestPsnChangeWizard::historyAdvancedSearch()
{
    for (const auto &[pid, day] : { std::pair { 1, 1 }, std::pair { 3, 5 }, std::pair { 6, 9 } })
        QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnRedeploy (PID, MobDate) VALUES (?, ?)"_s,
                                    { pid, QDateTime(QDate(2024, 3, day), QTime(10, 0)) }));
    loginAs(u"dept35"_s);
    CDlgPsnRedeployManage manager;
    manager.show();
    QCOMPARE(manager.statusLabel()->text(), u" 共: 2 项"_s);
    bool offered = false;
    answerNextModal<CDlgAdvResearch>([&](CDlgAdvResearch *dialog) {
        QCOMPARE(dialog->GetQueryType(), 2);
        offered = vantrel::personnel::FindItemByName(dialog->ItemList(), u"MobDate"_s) >= 0;
        // An operator without the right to customise person searches still edits these.
        QStandardItemModel *main = dialog->mainModel();
        main->setData(main->index(0, CDlgAdvResearch::MainField), u"MobDate"_s);
        main->setData(main->index(0, CDlgAdvResearch::MainOp), u"小于"_s);
        main->setData(main->index(0, CDlgAdvResearch::MainValue), u"2024-03-08"_s);
        dialog->OnRunQuery();
    });
    manager.action(CDlgPsnHistoryManage::IdSearch)->trigger();
    QVERIFY(offered);
    // Within the operator's departments only.
    QCOMPARE(manager.statusLabel()->text(), u" 共: 1 项"_s);
    QCOMPARE(manager.grid()->GetFieldValue(0, 1).toInt(), 3);
    manager.action(CDlgPsnHistoryManage::IdRefresh)->trigger();
    QCOMPARE(manager.statusLabel()->text(), u" 共: 2 项"_s);
}

QTEST_MAIN(TestPsnChangeWizard)
#include "tst_psnchangewizard.moc"
