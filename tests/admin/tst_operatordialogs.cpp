#include "admin/adminprocedures.h"
#include "admin/ui/cdlguser.h"
#include "admin/ui/cdlguserlist.h"
#include "admintestsupport.h"
#include "core/app/currentuser.h"
#include "core/app/passworddigest.h"
#include "core/app/purviewtable.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "modalanswers.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/app/dlglogin.h"
#include "ui/controls/cbcgpadogridctrl.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// The row of a list whose first column reads the caption, any level.
QTreeWidgetItem *row(QTreeWidget *grid, const QString &caption)
{
    const auto found = grid->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive, 0);
    if (found.isEmpty())
        qFatal("no row %s", qPrintable(caption));
    return found.first();
}

// Clicks the check cell of a row, as the user does.
void clickCheck(QTreeWidget *grid, QTreeWidgetItem *item)
{
    grid->scrollToItem(item);
    const QRect cell = grid->visualItemRect(item);
    const int x = grid->header()->sectionViewportPosition(1) + 10;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(x, cell.center().y()));
}

// The captions of the checked rows, in grid order.
QStringList checkedRows(QTreeWidget *grid)
{
    QStringList captions;
    for (QTreeWidgetItemIterator it(grid); *it; ++it)
        if (CDLGUser::isChecked(*it))
            captions << (*it)->text(0);
    return captions;
}

void typeInto(QWidget *dialog, const char *name, const QString &typed)
{
    auto *edit = dialog->findChild<QLineEdit *>(QString::fromLatin1(name));
    QVERIFY(edit);
    edit->clear();
    // QTest types ASCII only; other text goes in as an input method would put it.
    if (typed.toLatin1() == typed.toUtf8())
        QTest::keyClicks(edit, typed);
    else
        edit->insert(typed);
}

// Departments 总部 > 一部 > (一组, 二组), 总部 > 二部; categories 在职, 退休; one wage set.
void seed()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord) VALUES "
                                u"(1, 0, '总部', 1), (2, 1, '一部', 1), (3, 2, '一组', 1), "
                                u"(4, 2, '二组', 2), (5, 1, '二部', 2)"_s));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES "
                                u"(1, '在职', 1), (2, '退休', 2)"_s));
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Table (TblName, Title, nType, Ord) VALUES "
                                u"('qz_Wage_1', '月薪', 6, 1)"_s));
}

} // namespace

class TestOperatorDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void propagation_data();
    void propagation();
    void selectAllRights();
    void superUserState();
    void storedRightsAreChecked();
    void addedOperatorLogsIn();
    void listAndDelete();
    void changeShowsInTheList();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestOperatorDialogs::initTestCase()
{
    vantrel::admin::registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
    PasswordDigest::setRoundsForTesting(1000);
}

void TestOperatorDialogs::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    startAdminSession(m_fixture->connectionString());
    seed();
}

void TestOperatorDialogs::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

void TestOperatorDialogs::propagation_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("checked");
    const int rights = CDLGUser::RightsTab;
    const int depts = CDLGUser::DeptTab;
    QTest::newRow("a right checks its root") << rights << QStringList { u"查看档案"_s }
                                             << QStringList { u"人员档案管理"_s, u"查看档案"_s };
    QTest::newRow("unchecking the last right unchecks the root")
        << rights << QStringList { u"查看档案"_s, u"查看档案"_s } << QStringList();
    QTest::newRow("the root stays while another right is checked")
        << rights << QStringList { u"查看档案"_s, u"新增人员"_s, u"查看档案"_s }
        << QStringList { u"人员档案管理"_s, u"新增人员"_s };
    QTest::newRow("a root checks its group")
        << rights << QStringList { u"系统管理"_s }
        << QStringList { u"系统管理"_s,     u"组织结构管理"_s, u"人员类别管理"_s,
                         u"数据结构管理"_s, u"基础档案管理"_s, u"系统基本设置"_s };
    QTest::newRow("a root unchecks its group")
        << rights << QStringList { u"基础档案管理"_s, u"系统管理"_s } << QStringList();
    QTest::newRow("a department checks its subtree and its parent")
        << depts << QStringList { u"一部"_s }
        << QStringList { u"总部"_s, u"一部"_s, u"一组"_s, u"二组"_s };
    QTest::newRow("the grandparent follows only a whole level")
        << depts << QStringList { u"一组"_s } << QStringList { u"一部"_s, u"一组"_s };
    QTest::newRow("a whole level checks the grandparent")
        << depts << QStringList { u"一组"_s, u"二组"_s }
        << QStringList { u"总部"_s, u"一部"_s, u"一组"_s, u"二组"_s };
    QTest::newRow("unchecking one of two children keeps the parent")
        << depts << QStringList { u"一部"_s, u"一组"_s }
        << QStringList { u"总部"_s, u"一部"_s, u"二组"_s };
    QTest::newRow("unchecking the last child unchecks up the tree")
        << depts << QStringList { u"一组"_s, u"一组"_s } << QStringList();
}

void TestOperatorDialogs::propagation()
{
    QFETCH(int, tab);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, checked);
    CDLGUser dialog;
    dialog.m_nNew = 1;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.tabs()->setCurrentIndex(tab);
    QTreeWidget *grid = dialog.grid(CDLGUser::Tab(tab));
    for (const QString &caption : std::as_const(clicks))
        clickCheck(grid, row(grid, caption));
    QCOMPARE(checkedRows(grid), checked);

    // Space on the current row toggles it the same way.
    if (tab == CDLGUser::DeptTab) {
        grid->setCurrentItem(row(grid, u"二部"_s));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Space);
        QVERIFY(CDLGUser::isChecked(row(grid, u"二部"_s)));
        QVERIFY(CDLGUser::isChecked(row(grid, u"总部"_s)));
    }
}

void TestOperatorDialogs::selectAllRights()
{
    CDLGUser dialog;
    dialog.m_nNew = 1;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeInto(&dialog, "userName", u"张三"_s);
    typeInto(&dialog, "password", u"pw"_s);
    typeInto(&dialog, "confirmation", u"pw"_s);
    QTest::mouseClick(dialog.findChild<QPushButton *>(u"selectAll"_s), Qt::LeftButton);
    QCOMPARE(checkedRows(dialog.grid(CDLGUser::RightsTab)).size(), RightCount);
    // Only the active tab: the categories stay empty, so the save is refused.
    QVERIFY(checkedRows(dialog.grid(CDLGUser::PsnSortTab)).isEmpty());
    {
        MessageCatcher catcher;
        QTest::mouseClick(dialog.findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
        QCOMPARE(catcher.texts, QStringList { u"至少选择一个人员类别!"_s });
    }
    QVERIFY(dialog.isVisible());
    dialog.tabs()->setCurrentIndex(CDLGUser::PsnSortTab);
    QTest::mouseClick(dialog.findChild<QPushButton *>(u"selectAll"_s), Qt::LeftButton);
    dialog.tabs()->setCurrentIndex(CDLGUser::DeptTab);
    QTest::mouseClick(dialog.findChild<QPushButton *>(u"selectAll"_s), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(text(u"SELECT Purview FROM qz_Users WHERE UserName='张三'"_s),
             u"ffff00ffff80fc00|1,2|1,2,3,4,5|"_s);
    QCOMPARE(text(u"SELECT lAction FROM qz_Log ORDER BY id DESC"_s),
             u"系统管理[新增操作用户'张三']"_s);
}

void TestOperatorDialogs::superUserState()
{
    CDLGUser dialog;
    dialog.m_strTitle = u"修改用户 *"_s;
    dialog.m_nUserID = 1;
    dialog.m_strUserName = u"admin"_s;
    dialog.m_nSuper = 1;
    dialog.m_strPurview = u"ffffffffffffffff|||"_s;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), u"修改用户 *"_s);
    for (const char *name : { "userName", "description", "locked", "selectAll", "selectNone",
                              "tabs", "rightsGrid", "deptGrid" })
        QVERIFY2(!dialog.findChild<QWidget *>(QString::fromLatin1(name))->isEnabled(), name);
    for (const char *name : { "password", "confirmation", "okButton" })
        QVERIFY2(dialog.findChild<QWidget *>(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(dialog.findChild<QWidget *>(u"note"_s)->isVisible());
    // Stored rights with no category still cannot be saved.
    MessageCatcher catcher;
    QTest::mouseClick(dialog.findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
    QCOMPARE(catcher.texts, QStringList { u"至少选择一个人员类别!"_s });
}

void TestOperatorDialogs::storedRightsAreChecked()
{
    CDLGUser dialog;
    dialog.m_nUserID = 7;
    dialog.m_strPurview = u"c000000000000000|2"_s; // fewer fields: departments untouched
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(checkedRows(dialog.grid(CDLGUser::RightsTab)),
             (QStringList { u"人员档案管理"_s, u"查看档案"_s }));
    QCOMPARE(checkedRows(dialog.grid(CDLGUser::PsnSortTab)), QStringList { u"退休"_s });
    QVERIFY(checkedRows(dialog.grid(CDLGUser::DeptTab)).isEmpty());
    // Ctrl+Tab walks the tabs, after the last back to the first.
    dialog.grid(CDLGUser::RightsTab)->setFocus();
    for (int expected : { 1, 2, 3, 0 }) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(dialog.tabs()->currentIndex(), expected);
    }
}

void TestOperatorDialogs::addedOperatorLogsIn()
{
    {
        CDLGUser dialog;
        dialog.m_nNew = 1;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!dialog.findChild<QWidget *>(u"note"_s)->isVisible());
        typeInto(&dialog, "userName", u"张三"_s);
        typeInto(&dialog, "password", u"  mima  "_s);
        typeInto(&dialog, "confirmation", u"mima"_s);
        QTreeWidget *rights = dialog.grid(CDLGUser::RightsTab);
        clickCheck(rights, row(rights, u"查看档案"_s));
        dialog.tabs()->setCurrentIndex(CDLGUser::PsnSortTab);
        clickCheck(dialog.grid(CDLGUser::PsnSortTab),
                   row(dialog.grid(CDLGUser::PsnSortTab), u"在职"_s));
        dialog.tabs()->setCurrentIndex(CDLGUser::DeptTab);
        clickCheck(dialog.grid(CDLGUser::DeptTab), row(dialog.grid(CDLGUser::DeptTab), u"二部"_s));
        dialog.tabs()->setCurrentIndex(CDLGUser::WageSetTab);
        clickCheck(dialog.grid(CDLGUser::WageSetTab),
                   row(dialog.grid(CDLGUser::WageSetTab), u"月薪"_s));
        QTest::mouseClick(dialog.findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    const int wageSet = scalar(u"SELECT ID FROM qz_Table WHERE nType=6"_s);
    QCOMPARE(text(u"SELECT Purview FROM qz_Users WHERE UserName='张三'"_s),
             u"c000000000000000|1|1,5|%1"_s.arg(wageSet));

    // The login reads what the dialog wrote.
    CDlgLogin login(CDlgLogin::ReLogin);
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    typeInto(&login, "userName", u"张三"_s);
    typeInto(&login, "password", u"mima"_s);
    MessageCatcher catcher;
    QTest::mouseClick(login.findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
    QCOMPARE(catcher.texts, QStringList());
    QCOMPARE(login.result(), int(QDialog::Accepted));
    QCOMPARE(theCurrentUser.UserName, u"张三"_s);
    QCOMPARE(theCurrentUser.ISuper, 0);
    QVERIFY(theCurrentUser.HasRight(1, false));
    QVERIFY(!theCurrentUser.HasRight(2, false));
    QCOMPARE(theCurrentUser.psnSortList(), u"1"_s);
    QCOMPARE(theCurrentUser.deptList(), u"1,5"_s);
    QCOMPARE(theCurrentUser.wageSetList(), QString::number(wageSet));
}

void TestOperatorDialogs::listAndDelete()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Users (UserName, Pwd, Purview) "
                                u"VALUES ('李四', '', '1|1|1|')"_s));
    CDlgUserList list;
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    CBCGPADOGridCtrl *grid = list.grid();
    QCOMPARE(grid->GetRowCount(), 2);
    QCOMPARE(list.statusBar()->currentMessage(), u" 共: 2 人"_s);
    QVERIFY(grid->isColumnHidden(0) && grid->isColumnHidden(4) && grid->isColumnHidden(5));

    {
        MessageCatcher catcher;
        grid->SetCurSel(0);
        list.OnDelete();
        QCOMPARE(catcher.texts, QStringList { u"超级管理员不能删除!"_s });
    }
    {
        MessageCatcher catcher(QMessageBox::No);
        grid->SetCurSel(1);
        list.OnDelete();
        QCOMPARE(catcher.texts, QStringList { u"确定要删除操作员 李四 吗?"_s });
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Users"_s), 2);
    }
    MessageCatcher catcher(QMessageBox::Yes);
    grid->SetCurSel(1);
    list.OnDelete();
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Users"_s), 1);
    QCOMPARE(list.statusBar()->currentMessage(), u" 共: 1 人"_s);
    QCOMPARE(text(u"SELECT lAction FROM qz_Log ORDER BY id DESC"_s),
             u"系统管理[删除操作员'李四']"_s);
}

void TestOperatorDialogs::changeShowsInTheList()
{
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Users (UserName, Pwd, Purview) "
                                u"VALUES ('李四', 'kept', 'c000000000000000|1|5|')"_s));
    CDlgUserList list;
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    {
        MessageCatcher catcher;
        list.grid()->clearSelection();
        list.grid()->setCurrentIndex({});
        list.OnModify();
        QCOMPARE(catcher.texts, QStringList { u"请选择项！"_s });
    }
    list.grid()->SetCurSel(1);
    QStringList checked;
    answerNextModal<CDLGUser>([&checked](CDLGUser *dialog) {
        checked = checkedRows(dialog->grid(CDLGUser::DeptTab));
        dialog->findChild<QLineEdit *>(u"description"_s)->setText(u"会计"_s);
        dialog->findChild<QCheckBox *>(u"locked"_s)->setChecked(true);
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"okButton"_s), Qt::LeftButton);
    });
    list.OnModify();
    QCOMPARE(checked, QStringList { u"二部"_s });
    // Written, with the password kept, and shown in its row, which stays selected.
    QCOMPARE(text(u"SELECT Descr FROM qz_Users WHERE UserName='李四'"_s), u"会计"_s);
    QCOMPARE(text(u"SELECT Pwd FROM qz_Users WHERE UserName='李四'"_s), u"kept"_s);
    QCOMPARE(list.grid()->GetFieldValue(1, 3).toString(), u"会计"_s);
    QCOMPARE(list.grid()->GetFieldValue(1, 2).toInt(), 1);
    QCOMPARE(list.grid()->GetCurSel(), 1);
    QCOMPARE(text(u"SELECT lAction FROM qz_Log ORDER BY id DESC"_s),
             u"系统管理[修改操作用户'李四']"_s);
}

QTEST_MAIN(TestOperatorDialogs)
#include "tst_operatordialogs.moc"
