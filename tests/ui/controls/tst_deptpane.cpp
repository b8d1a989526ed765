#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "testdatabase.h"
#include "ui/controls/cdeptpane.h"
#include "ui/controls/widgetfillers.h"

#include <QComboBox>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QTreeWidgetItem *findDept(QTreeWidget *tree, int did)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->data(0, RefIdRole).toInt() == did)
            return *it;
    }
    return nullptr;
}

} // namespace

// The pane sends both choices, category and department, whenever either changes.
class TestDeptPane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void sendsBothChoices();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestDeptPane::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord) VALUES"
                                " (1, 0, '总部', 1), (2, 1, '财务部', 1), (3, 1, '研发部', 2)"_s));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (4, '正式', 1), (5, '临时', 2)"_s));
    theCurrentUser.ISuper = 1;
    theCurrentUser.ParsePurview(u"0|||"_s);
}

void TestDeptPane::cleanup()
{
    theCurrentUser.reset();
    theDatabase.Close();
    delete m_fixture;
}

void TestDeptPane::sendsBothChoices()
{
    CDeptPane pane(u"部门"_s);
    QList<DeptPaneSelection> sent;
    connect(&pane, &CDeptPane::treeSelChanged, this,
            [&](const DeptPaneSelection &selection) { sent << selection; });
    pane.Reload();
    QComboBox *categories = pane.GetCategoryList();
    QTreeWidget *tree = pane.GetDeptTree();
    QCOMPARE(categories->count(), 3);
    QCOMPARE(categories->currentIndex(), -1);
    QCOMPARE(tree->topLevelItemCount(), 1);
    QVERIFY(sent.isEmpty()); // filling chooses nothing

    // A department while no category is chosen: category -1 and no text.
    tree->setCurrentItem(findDept(tree, 2));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.last(), (DeptPaneSelection { -1, 2, QString(), u"财务部"_s }));

    // Picking a category sends it with the selected department.
    QTest::keyClick(categories, Qt::Key_Down);
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.last(), (DeptPaneSelection { 4, 2, u"正式"_s, u"财务部"_s }));

    // No department selected: the last one sent stays in the record.
    tree->setCurrentItem(nullptr);
    QCOMPARE(sent.size(), 2);
    QTest::keyClick(categories, Qt::Key_Down);
    QCOMPARE(sent.last(), (DeptPaneSelection { 5, 2, u"临时"_s, u"财务部"_s }));

    // Texts are cut to 199 characters.
    findDept(tree, 3)->setText(0, QString(250, u'长'));
    tree->setCurrentItem(findDept(tree, 3));
    QCOMPARE(sent.last().department, 3);
    QCOMPARE(sent.last().departmentName, QString(199, u'长'));
    QCOMPARE(pane.GetSelection(), sent.last());
}

QTEST_MAIN(TestDeptPane)
#include "tst_deptpane.moc"
