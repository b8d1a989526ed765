#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "modalanswers.h"
#include "personnel/deptformowner.h"
#include "personnel/psnsortformowner.h"
#include "personnel/ui/cdlgdynctlformfordept.h"
#include "personnel/ui/cdlgdynctlformforpsnsort.h"
#include "psnfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cbcgpadogridctrl.h"

#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString deptRow(const QString &name)
{
    const vantrel::db::QueryResult row = theDatabase.run(
        u"SELECT DID, ParentID, ParentArr FROM qz_Dept WHERE Name = ?"_s, { name });
    if (!row.hasRow())
        return {};
    return u"%1 %2 %3"_s.arg(row.rows.value(0, 0).toString(), row.rows.value(0, 1).toString(),
                             row.rows.value(0, 2).toString());
}

// A department manager as the form sees it: its grid (name, DID, ParentID in order) and a
// record of the calls it receives. The path rewrite writes the department's own path, and
// fails after writing when told to.
class FakeDeptManager : public QWidget, public IDeptFormOwner
{
public:
    FakeDeptManager()
    {
        grid.setParent(this);
        grid.SetKeyField(u"DID"_s);
        grid.SetVirtualMode(true);
        LoadDeptTree();
        calls.clear();
    }
    void SelectDeptRow(int did) override { calls << u"SelectDeptRow(%1)"_s.arg(did); }
    bool UpdateDeptParent(int did, int parentId) override
    {
        calls << u"UpdateDeptParent(%1,%2)"_s.arg(did).arg(parentId);
        const QString parentPath
            = theDatabase.run(u"SELECT ParentArr FROM qz_Dept WHERE DID = ?"_s, { parentId })
                  .scalar()
                  .toString();
        const QString path = u"|%1"_s.arg(did) + (parentPath.isEmpty() ? u"|"_s : parentPath);
        const bool written = theDatabase.Execute(
            u"UPDATE qz_Dept SET ParentArr = ? WHERE DID = ?"_s, { path, did });
        return written && !failRewrite;
    }
    void OnRefresh() override { calls << u"OnRefresh"_s; }
    void SaveRowOrder() override { calls << u"SaveRowOrder"_s; }
    void LoadDeptTree() override
    {
        calls << u"LoadDeptTree"_s;
        grid.AttachConnection(&theDatabase);
        grid.OpenSQL(u"SELECT Name, DID, ParentID FROM qz_Dept ORDER BY Ord, DID"_s);
    }
    int DeptKeyColumn() const override { return 1; }
    int DeptParentColumn() const override { return 2; }

    CBCGPADOGridCtrl grid;
    QStringList calls;
    bool failRewrite = false;
};

class FakeSortManager : public QWidget, public IPsnSortFormOwner
{
public:
    FakeSortManager()
    {
        grid.setParent(this);
        grid.SetKeyField(u"AID"_s);
        grid.SetVirtualMode(true);
        LoadSortGrid();
        calls.clear();
    }
    void LoadSortGrid() override
    {
        calls << u"LoadSortGrid"_s;
        grid.AttachConnection(&theDatabase);
        grid.OpenSQL(u"SELECT AID, Name FROM qz_PsnSort ORDER BY Ord, AID"_s);
    }
    int SortNameColumn() const override { return 1; }

    CBCGPADOGridCtrl grid;
    QStringList calls;
};

void setField(CDlgDynCtlFormBase &form, const QString &name, const QVariant &content)
{
    for (const tagITEMCTRLINFO &item : form.items()) {
        if (item.info.Name.compare(name, Qt::CaseInsensitive) == 0)
            SetFieldContent(item.pCtrl, content);
    }
    form.m_bModified = true;
}

// With VANTREL_SHOT_DIR set, keeps a picture of the form there, for looking at it by eye.
void keepShot(QWidget &form, const QString &name)
{
    const QString dir = qEnvironmentVariable("VANTREL_SHOT_DIR");
    if (!dir.isEmpty())
        form.grab().save(dir + u'/' + name + u".png"_s);
}

} // namespace

// The department and category forms with fake managers, on both backends.
class TestRecordForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void deptNameTaken_data();
    void deptNameTaken();
    void deptParent_data();
    void deptParent();
    void addDeptCallsTheManager();
    void failingRewriteLeavesNothing();
    void closingWithYesRunsTheChecks();
    void moveAfterFailedSaveStays();
    void categoryForm_data();
    void categoryForm();

private:
    void openDept(CDlgDynCtlFormForDept &form, FakeDeptManager &manager, int row);

    TestDatabase *m_fixture = nullptr;
};

void TestRecordForms::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestRecordForms::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    theApp.RecentDays = 60;
    loginAs(u"admin"_s);
}

void TestRecordForms::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

// The form as the manager opens it for the department of a grid row (add when row < 0).
void TestRecordForms::openDept(CDlgDynCtlFormForDept &form, FakeDeptManager &manager, int row)
{
    form.m_nAddFlag = row < 0 ? 1 : 0;
    form.m_strCaption = row < 0 ? u"添加部门"_s : u"部门设置"_s;
    form.m_pOwnerWnd = &manager;
    form.m_pOwnerGrid = &manager.grid;
    if (row >= 0) {
        manager.grid.SetCurSel(row);
        form.m_nKeyValue = manager.grid.GetFieldValue(row, 1).toInt();
        form.m_strOldName = manager.grid.GetFieldValue(row, 0).toString();
        form.m_nOldParentID = manager.grid.GetFieldValue(row, 2).toInt();
    }
    form.show();
}

void TestRecordForms::deptNameTaken_data()
{
    QTest::addColumn<int>("row"); // -1 adds
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");
    QTest::newRow("same name") << -1 << u"一部"_s << true;
    QTest::newRow("with blanks") << -1 << u" 一部 "_s << true;
    QTest::newRow("other case") << -1 << u"head office"_s << true;
    QTest::newRow("new name") << -1 << u"三部"_s << false;
    QTest::newRow("own name") << 1 << u"一部"_s << false;
    QTest::newRow("own name in other case") << 0 << u"HEAD OFFICE"_s << false;
    QTest::newRow("another's name") << 1 << u"二部"_s << true;
}

void TestRecordForms::deptNameTaken()
{
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(bool, taken);
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Dept SET Name = 'Head Office' WHERE DID = 1"_s));
    FakeDeptManager manager;
    CDlgDynCtlFormForDept form;
    openDept(form, manager, row);
    setField(form, u"Name"_s, name);
    if (row < 0)
        setField(form, u"ParentID"_s, 1);
    MessageCatcher messages;
    QCOMPARE(form.OnSave(), !taken);
    if (taken) {
        QCOMPARE(messages.texts, QStringList { u"错误：该部门已存在!"_s });
        QVERIFY(manager.calls.isEmpty());
        QVERIFY(logLines().isEmpty());
    } else {
        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(logLines().size(), 1);
    }
}

void TestRecordForms::deptParent_data()
{
    QTest::addColumn<int>("parent");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("stored");
    QTest::newRow("a sub-department") << 4 << true << u"2 1 |2|1|"_s;
    QTest::newRow("itself") << 2 << true << u"2 1 |2|1|"_s;
    QTest::newRow("the top level") << 0 << false << u"2 0 |2|"_s;
    QTest::newRow("another branch") << 3 << false << u"2 3 |2|3|1|"_s;
    QTest::newRow("unchanged") << 1 << false << u"2 1 |2|1|"_s;
}

void TestRecordForms::deptParent()
{
    QFETCH(int, parent);
    QFETCH(bool, refused);
    QFETCH(QString, stored);
    FakeDeptManager manager;
    CDlgDynCtlFormForDept form;
    openDept(form, manager, 1);
    QCOMPARE(form.m_nKeyValue, 2);
    setField(form, u"ParentID"_s, parent);
    MessageCatcher messages;
    QCOMPARE(form.OnSave(), !refused);
    QCOMPARE(deptRow(u"一部"_s), stored);
    if (refused) {
        QCOMPARE(messages.texts, QStringList { u"错误：上级部门不能是其本身或其原下级部门!"_s });
        QVERIFY(manager.calls.isEmpty());
        return;
    }
    QStringList expected;
    if (parent != 1)
        expected << u"UpdateDeptParent(2,%1)"_s.arg(parent);
    expected << u"SaveRowOrder"_s << u"LoadDeptTree"_s << u"SelectDeptRow(2)"_s;
    QCOMPARE(manager.calls, expected);
    QCOMPARE(logLines(), QStringList { u"系统管理[组织机构修改'一部']"_s });
}

void TestRecordForms::addDeptCallsTheManager()
{
    FakeDeptManager manager;
    CDlgDynCtlFormForDept form;
    openDept(form, manager, -1);
    QVERIFY(!form.navButton(0)->isEnabled());
    setField(form, u"Name"_s, u"三部"_s);
    setField(form, u"ParentID"_s, 1);
    keepShot(form, u"dept-add"_s);
    QVERIFY(form.OnSave());
    const QString added = deptRow(u"三部"_s);
    const QString did = added.section(u' ', 0, 0);
    QCOMPARE(added, u"%1 1 |%1|1|"_s.arg(did));
    QCOMPARE(manager.calls,
             QStringList({ u"UpdateDeptParent(%1,1)"_s.arg(did), u"OnRefresh"_s,
                           u"SelectDeptRow(%1)"_s.arg(did) }));
    // Ready for the next one.
    QCOMPARE(form.m_nKeyValue, 0);
    QVERIFY(!form.m_bModified);
    QCOMPARE(logLines(), QStringList { u"系统管理[组织机构新增'三部']"_s });
}

void TestRecordForms::failingRewriteLeavesNothing()
{
    FakeDeptManager manager;
    manager.failRewrite = true;
    CDlgDynCtlFormForDept form;
    openDept(form, manager, -1);
    setField(form, u"Name"_s, u"三部"_s);
    setField(form, u"ParentID"_s, 1);
    MessageCatcher messages(QMessageBox::Yes);
    form.reject(); // "保存数据吗?" Yes runs the whole save
    QCOMPARE(messages.texts,
             QStringList({ u"内容已改变,保存数据吗?"_s, u"在调整上级部门时出现异常!"_s }));
    QVERIFY(form.isVisible());
    QCOMPARE(deptRow(u"三部"_s), QString());
    QCOMPARE(form.m_nKeyValue, 0);
    QVERIFY(form.m_bModified);
    QVERIFY(logLines().isEmpty());

    // Modifying the parent: the row keeps its old parent and path.
    FakeDeptManager second;
    second.failRewrite = true;
    CDlgDynCtlFormForDept edit;
    openDept(edit, second, 1);
    setField(edit, u"ParentID"_s, 3);
    QVERIFY(!edit.OnSave());
    QCOMPARE(deptRow(u"一部"_s), u"2 1 |2|1|"_s);
}

void TestRecordForms::closingWithYesRunsTheChecks()
{
    FakeDeptManager manager;
    CDlgDynCtlFormForDept form;
    openDept(form, manager, 1);
    setField(form, u"Name"_s, u"二部"_s);
    {
        MessageCatcher yes(QMessageBox::Yes);
        form.reject();
        QCOMPARE(yes.texts, QStringList({ u"内容已改变,保存数据吗?"_s, u"错误：该部门已存在!"_s }));
    }
    QVERIFY(form.isVisible());
    keepShot(form, u"dept-modify-refused"_s);
    QCOMPARE(deptRow(u"二部"_s).section(u' ', 0, 0), u"3"_s);
    setField(form, u"Name"_s, u"第一部"_s);
    {
        MessageCatcher yes(QMessageBox::Yes);
        form.reject();
    }
    QVERIFY(!form.isVisible());
    QCOMPARE(deptRow(u"第一部"_s), u"2 1 |2|1|"_s);
    QCOMPARE(logLines(), QStringList { u"系统管理[组织机构修改'第一部']"_s });

    // No closes without saving.
    CDlgDynCtlFormForDept other;
    openDept(other, manager, 2);
    setField(other, u"Name"_s, u"不存"_s);
    MessageCatcher no(QMessageBox::No);
    other.reject();
    QVERIFY(!other.isVisible());
    QCOMPARE(deptRow(u"不存"_s), QString());
}

void TestRecordForms::moveAfterFailedSaveStays()
{
    FakeDeptManager manager;
    CDlgDynCtlFormForDept form;
    openDept(form, manager, 1);
    setField(form, u"Name"_s, u"二部"_s);
    {
        MessageCatcher yes(QMessageBox::Yes);
        form.navButton(2)->click();
    }
    QCOMPARE(manager.grid.GetCurSel(), 1);
    QCOMPARE(form.m_nKeyValue, 2);
    // Without changes the move goes on and takes the row's keys.
    form.m_bModified = false;
    form.navButton(2)->click();
    QCOMPARE(manager.grid.GetCurSel(), 2);
    QCOMPARE(form.m_nKeyValue, 3);
    QCOMPARE(form.m_strOldName, u"二部"_s);
    QCOMPARE(form.m_nOldParentID, 1);
}

void TestRecordForms::categoryForm_data()
{
    QTest::addColumn<int>("row"); // -1 adds
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("taken with blanks")
        << -1 << u"在职 "_s << u"错误：该类别已存在!"_s << QStringList();
    QTest::newRow("taken when modifying")
        << 1 << u"在职"_s << u"错误：该类别已存在!"_s << QStringList();
    QTest::newRow("new") << -1 << u"离休"_s << QString() << QStringList { u"LoadSortGrid"_s };
    QTest::newRow("own name") << 1 << u"退休"_s << QString() << QStringList();
}

void TestRecordForms::categoryForm()
{
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QStringList, calls);
    FakeSortManager manager;
    CDlgDynCtlFormForPsnSort form;
    form.m_nAddFlag = row < 0 ? 1 : 0;
    form.m_strCaption = row < 0 ? u"添加类别"_s : u"类别设置"_s;
    form.m_pOwnerWnd = &manager;
    form.m_pOwnerGrid = &manager.grid;
    if (row >= 0) {
        manager.grid.SetCurSel(row);
        form.m_nKeyValue = manager.grid.GetFieldValue(row, 0).toInt();
    }
    form.show();
    setField(form, u"Name"_s, name);
    keepShot(form,
             u"category-"_s + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-'));
    MessageCatcher messages;
    QCOMPARE(form.OnSave(), message.isEmpty());
    QCOMPARE(messages.texts, message.isEmpty() ? QStringList() : QStringList { message });
    QCOMPARE(manager.calls, calls);
    if (!message.isEmpty())
        return;
    QCOMPARE(
        logLines(),
        QStringList { u"系统管理[人员类别%1'%2']"_s.arg(row < 0 ? u"新增"_s : u"修改"_s, name) });
    const int shown = manager.grid.GetCurSel();
    QCOMPARE(manager.grid.GetFieldValue(shown, 1).toString(), name);
}

QTEST_MAIN(TestRecordForms)
#include "tst_recordforms.moc"
