#include "admin/adminprocedures.h"
#include "admin/deptstore.h"
#include "admin/ui/cdlgdeptmanager.h"
#include "admin/ui/cdlgdeptmergemove.h"
#include "admin/ui/cdlgdetppsnnumprefix.h"
#include "admintestsupport.h"
#include "core/db/procedureregistry.h"
#include "modalanswers.h"
#include "personnel/ui/cdlgdynctlformfordept.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/cdroplisttree.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

// The department manager and its merge and move dialog, driven headless.
class TestDeptDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void treeInPreOrder();
    void addThroughFormSelectsNewRow();
    void ctrlShiftDown_data();
    void ctrlShiftDown();
    void targetChecks_data();
    void targetChecks();
    void widthKeptAfterRefresh();
    void deleteRefusesWithCount();
    void prefixClickAndSave();

private:
    // A (A1, A2, A3 (A31)), B.
    void buildTree();
    int addDept(const QString &name, int parentId);
    int did(const QString &name) const { return m_dids.value(name); }
    // The names of the shown rows in pre-order.
    static QStringList shownOrder(const QStandardItemModel *model);

    TestDatabase *m_fixture = nullptr;
    QHash<QString, int> m_dids;
};

void TestDeptDialogs::initTestCase()
{
    vantrel::admin::registerAdminProcedures(vantrel::db::ProcedureRegistry::instance());
}

void TestDeptDialogs::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    startAdminSession(m_fixture->connectionString());
    theDatabase.Execute(u"DELETE FROM qz_Dept"_s);
    m_dids.clear();
}

void TestDeptDialogs::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
    theCurrentUser.reset();
}

int TestDeptDialogs::addDept(const QString &name, int parentId)
{
    theDatabase.Execute(u"INSERT INTO qz_Dept (Name, ParentID, Ord) VALUES (?, 0, ?)"_s,
                        { name, int(m_dids.size()) });
    const int id = scalar(u"SELECT DID FROM qz_Dept WHERE Name = ?"_s, { name });
    m_dids.insert(name, id);
    vantrel::admin::UpdateDeptParent(theDatabase, id, parentId);
    return id;
}

void TestDeptDialogs::buildTree()
{
    const int a = addDept(u"A"_s, 0);
    addDept(u"A1"_s, a);
    addDept(u"A2"_s, a);
    addDept(u"A31"_s, addDept(u"A3"_s, a));
    addDept(u"B"_s, 0);
}

QStringList TestDeptDialogs::shownOrder(const QStandardItemModel *model)
{
    QStringList names;
    const std::function<void(const QModelIndex &)> walk = [&](const QModelIndex &parent) {
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex index = model->index(row, 0, parent);
            names << index.data().toString();
            walk(index);
        }
    };
    walk({});
    return names;
}

void TestDeptDialogs::treeInPreOrder()
{
    buildTree();
    // Out of order in the table: the tree still lists parents before children, siblings by Ord.
    theDatabase.Execute(u"UPDATE qz_Dept SET Ord = 9 WHERE DID = ?"_s, { did(u"A1"_s) });
    CDlgDeptManager manager;
    QAbstractItemModelTester tester(manager.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    manager.show();
    QCOMPARE(shownOrder(manager.model()),
             QStringList({ u"A"_s, u"A2"_s, u"A3"_s, u"A31"_s, u"A1"_s, u"B"_s }));
    QCOMPARE(manager.model()->headerData(0, Qt::Horizontal).toString(), u"部门名称"_s);
    const int didColumn = manager.DeptKeyColumn();
    for (int column = didColumn; column < didColumn + 3; ++column)
        QVERIFY(manager.tree()->isColumnHidden(column));
    manager.OnRefresh();
    QCOMPARE(scalar(u"SELECT Ord FROM qz_Dept WHERE DID = ?"_s, { did(u"A1"_s) }), 4);
    QCOMPARE(scalar(u"SELECT Ord FROM qz_Dept WHERE DID = ?"_s, { did(u"B"_s) }), 5);
}

void TestDeptDialogs::addThroughFormSelectsNewRow()
{
    buildTree();
    CDlgDeptManager manager;
    manager.show();
    answerNextModal<CDlgDynCtlFormForDept>([this](CDlgDynCtlFormForDept *form) {
        for (const tagITEMCTRLINFO &item : form->items()) {
            if (item.info.Name.compare(u"Name"_s, Qt::CaseInsensitive) == 0)
                SetFieldContent(item.pCtrl, u"C'1"_s);
            if (item.info.Name.compare(u"ParentID"_s, Qt::CaseInsensitive) == 0)
                SetFieldContent(item.pCtrl, did(u"B"_s));
        }
        form->m_bModified = true;
        form->OnSave();
        form->done(0);
    });
    manager.OnAdd();
    const int added = scalar(u"SELECT DID FROM qz_Dept WHERE Name = ?"_s, { u"C'1"_s });
    QVERIFY(added > 0);
    QCOMPARE(manager.selectedDid(), added);
    QCOMPARE(text(u"SELECT ParentArr FROM qz_Dept WHERE DID = ?"_s, { added }),
             u"|%1|%2|"_s.arg(added).arg(did(u"B"_s)));
}

void TestDeptDialogs::ctrlShiftDown_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<bool>("flagged");
    const QString a = u"A"_s, a1 = u"A1"_s, a2 = u"A2"_s, a3 = u"A3"_s, a31 = u"A31"_s, b = u"B"_s;
    QTest::newRow("plain siblings") << a1 << QStringList { a, a2, a1, a3, a31, b } << true;
    QTest::newRow("onto a sibling with children")
        << a2 << QStringList { a, a1, a3, a31, a2, b } << false;
    QTest::newRow("over a subtree") << a << QStringList { b, a, a1, a2, a3, a31 } << false;
    QTest::newRow("last sibling") << a3 << QStringList { a, a1, a2, a3, a31, b } << false;
}

void TestDeptDialogs::ctrlShiftDown()
{
    QFETCH(QString, selected);
    QFETCH(QStringList, order);
    QFETCH(bool, flagged);
    buildTree();
    auto manager = std::make_unique<CDlgDeptManager>();
    manager->show();
    manager->SelectDeptRow(did(selected));
    QTest::keyClick(manager->tree(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shownOrder(manager->model()), order);
    QCOMPARE(manager->selectedDid(), did(selected));
    QCOMPARE(manager->orderChanged(), flagged);
    // Closing stores a plain swap; a tree-aware one is stored already. Either way a new
    // manager shows the same order.
    manager->reject();
    manager.reset();
    CDlgDeptManager again;
    QCOMPARE(shownOrder(again.model()), order);
}

void TestDeptDialogs::targetChecks_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");  // "<top>": the root item
    QTest::addColumn<QString>("message"); // empty: accepted
    const int merge = CDlgDeptMergeMove::Merge;
    const int move = CDlgDeptMergeMove::Move;
    QTest::newRow("merge siblings") << merge << u"A1"_s << u"A2"_s << QString();
    QTest::newRow("merge across levels") << merge << u"A1"_s << u"B"_s << u"不能跨级合并部门!"_s;
    QTest::newRow("merge into itself") << merge << u"A1"_s << u"A1"_s << u"请选择项！"_s;
    QTest::newRow("merge into the root") << merge << u"A"_s << u"<top>"_s << u"请选择项！"_s;
    QTest::newRow("move under another") << move << u"A2"_s << u"B"_s << QString();
    QTest::newRow("move to the top") << move << u"A2"_s << u"<top>"_s << QString();
    QTest::newRow("move to its parent") << move << u"A2"_s << u"A"_s << u"请选择不同的上级部门!"_s;
    QTest::newRow("move into own subtree")
        << move << u"A"_s << u"A31"_s << u"错误：上级部门不能是其本身或其原下级部门!"_s;
}

void TestDeptDialogs::targetChecks()
{
    QFETCH(int, mode);
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QString, message);
    buildTree();
    CDlgDeptMergeMove dialog;
    dialog.m_nMode = mode;
    dialog.m_nSourceDID = did(source);
    dialog.m_strSourceName = source;
    dialog.show();
    CDropListTree *tree = dialog.picker()->GetDropTree();
    const QString wanted = target == u"<top>"_s ? u"<全体部门>"_s : target;
    const QList<QTreeWidgetItem *> found
        = tree->findItems(wanted, Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    tree->setCurrentItem(found.first());
    dialog.picker()->setText(wanted);
    MessageCatcher messages;
    dialog.accept();
    QTRY_COMPARE(messages.texts, message.isEmpty() ? QStringList() : QStringList { message });
    QCOMPARE(dialog.result() == QDialog::Accepted, message.isEmpty());
    if (message.isEmpty())
        QCOMPARE(dialog.m_nTargetDID, target == u"<top>"_s ? 0 : did(target));
}

void TestDeptDialogs::widthKeptAfterRefresh()
{
    buildTree();
    CDlgDeptManager manager;
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    manager.tree()->setColumnWidth(0, 237);
    QTest::mouseRelease(manager.tree()->header()->viewport(), Qt::LeftButton);
    QCOMPARE(scalar(u"SELECT iWid FROM qz_Items WHERE upper(TblName) = 'QZ_DEPT' AND "
                    "upper(Name) = 'NAME'"_s),
             237);
    manager.OnRefresh();
    QCOMPARE(manager.tree()->columnWidth(0), 237);
}

void TestDeptDialogs::deleteRefusesWithCount()
{
    buildTree();
    theDatabase.Execute(u"INSERT INTO qz_PsnBase (DID, Name) VALUES (?, 'p'), (?, 'q')"_s,
                        { did(u"A1"_s), did(u"A1"_s) });
    CDlgDeptManager manager;
    manager.show();
    manager.SelectDeptRow(did(u"A1"_s));
    {
        MessageCatcher messages(QMessageBox::Yes);
        manager.OnDelete();
        QCOMPARE(messages.texts, QStringList { u"该部门下还有 2 个人员!"_s });
    }
    manager.SelectDeptRow(did(u"B"_s));
    const int before = logRows();
    {
        MessageCatcher messages(QMessageBox::Yes);
        manager.OnDelete();
        QCOMPARE(messages.texts, QStringList { u"确定要删除部门 B 吗?"_s });
    }
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Dept WHERE DID = ?"_s, { did(u"B"_s) }), 0);
    QCOMPARE(logRows(), before + 1);
    QCOMPARE(shownOrder(manager.model()),
             QStringList({ u"A"_s, u"A1"_s, u"A2"_s, u"A3"_s, u"A31"_s }));
}

void TestDeptDialogs::prefixClickAndSave()
{
    buildTree();
    theDatabase.Execute(u"UPDATE qz_Dept SET PNRule = 'OLD' WHERE DID = ?"_s, { did(u"B"_s) });
    CDlgDetpPsnNumPrefix dialog;
    QAbstractItemModelTester tester(dialog.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTreeView *tree = dialog.tree();
    const QModelIndex a1 = dialog.model()->index(0, 0, dialog.model()->index(0, 0));
    const QModelIndex nameCell = a1.siblingAtColumn(CDlgDetpPsnNumPrefix::ColName);
    QCOMPARE(nameCell.data().toString(), u"A1"_s);
    QVERIFY(!(nameCell.flags() & Qt::ItemIsEditable));
    QCOMPARE(a1.siblingAtColumn(CDlgDetpPsnNumPrefix::ColPrefix).data().toString(), QString());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(nameCell).center());
    QCOMPARE(tree->currentIndex(), a1.siblingAtColumn(CDlgDetpPsnNumPrefix::ColPrefix));
    QVERIFY(!dialog.m_bChanged);
    QTest::keyClick(tree, Qt::Key_F2);
    auto *editor = tree->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, u"P'1"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(a1.siblingAtColumn(CDlgDetpPsnNumPrefix::ColPrefix).data().toString(), u"P'1"_s);
    QCOMPARE(text(u"SELECT PNRule FROM qz_Dept WHERE DID = ?"_s, { did(u"A1"_s) }), u"P'1"_s);
    QVERIFY(dialog.m_bChanged);
    // Clearing stores an empty prefix.
    const QModelIndex bPrefix = dialog.model()->index(1, CDlgDetpPsnNumPrefix::ColPrefix);
    QCOMPARE(bPrefix.data().toString(), u"OLD"_s);
    dialog.model()->setData(bPrefix, QString());
    QCOMPARE(text(u"SELECT PNRule FROM qz_Dept WHERE DID = ?"_s, { did(u"B"_s) }), QString());
}

QTEST_MAIN(TestDeptDialogs)
#include "tst_deptdialogs.moc"
