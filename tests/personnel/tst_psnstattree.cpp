#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "personnel/ui/cpsnstattreeview.h"
#include "personnel/ui/personnelmodule.h"
#include "psnfixture.h"
#include "statwindowfixture.h"
#include "testdatabase.h"
#include "testprofile.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/cmytreectrl.h"
#include "ui/controls/widgetfillers.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QStringList childTexts(const QTreeWidgetItem *group)
{
    QStringList texts;
    for (int i = 0; group && i < group->childCount(); ++i)
        texts << group->child(i)->text(0);
    return texts;
}

QTreeWidgetItem *childNamed(const QTreeWidgetItem *group, const QString &text)
{
    for (int i = 0; group && i < group->childCount(); ++i) {
        if (group->child(i)->text(0) == text)
            return group->child(i);
    }
    return nullptr;
}

} // namespace

// The statistics tree pane over a real database: groups, order, scope and drops.
class TestPsnStatTree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void emptyGroupsExpandedRootSelected();
    void statisticsInOrdOrder();
    void scopeSignal();
    void rightClickSelects();
    void drops_data();
    void drops();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnStatTree::initTestCase()
{
    QVERIFY(useTestProfile());
    qRegisterMetaType<QTreeWidgetItem *>();
    RegisterPersonnelModule();
}

void TestPsnStatTree::init()
{
    clearTestProfile();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    theApp.m_strConnection = m_fixture->connectionString();
    loginAs(QStringLiteral("admin"));
}

void TestPsnStatTree::cleanup()
{
    closeStatTestDb(m_fixture);
}

void TestPsnStatTree::emptyGroupsExpandedRootSelected()
{
    CPsnStatTreeView view;
    view.OnInitialUpdate();
    CMyTreeCtrl *tree = view.tree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem *root = tree->topLevelItem(0);
    QCOMPARE(root->text(0), u"统计事项"_s);
    QVERIFY(root->font(0).bold());
    QCOMPARE(root->childCount(), 2);
    QCOMPARE(view.groupItem(1)->text(0), u"一维分析"_s);
    QCOMPARE(view.groupItem(2)->text(0), u"二维分析"_s);
    QCOMPARE(view.groupItem(1)->data(0, Qt::UserRole).toInt(), -1);
    QCOMPARE(view.groupItem(2)->data(0, Qt::UserRole).toInt(), -2);
    for (const QTreeWidgetItem *item : { root, view.groupItem(1), view.groupItem(2) })
        QVERIFY(item->isExpanded());
    QCOMPARE(view.groupItem(1)->childCount(), 0);
    QCOMPARE(view.groupItem(2)->childCount(), 0);
    QCOMPARE(tree->currentItem(), root);
    QCOMPARE(view.selectedData(), 0);
}

void TestPsnStatTree::statisticsInOrdOrder()
{
    const int age = addStatRow(u"年龄段"_s, 1, u"QZ_PSNBASE"_s, u"F12"_s, 5);
    const int sex = addStatRow(u"性别"_s, 1, u"QZ_PSNBASE"_s, u"Sex"_s, 2);
    QVERIFY(age > 0 && sex > 0);
    QVERIFY(addCrossRow(u"性别×年龄"_s, sex, age, 1) > 0);
    CPsnStatTreeView view;
    view.OnInitialUpdate();
    QCOMPARE(childTexts(view.groupItem(1)), QStringList({ u"性别"_s, u"年龄段"_s }));
    QCOMPARE(childTexts(view.groupItem(2)), QStringList({ u"性别×年龄"_s }));
    QCOMPARE(view.groupItem(1)->child(0)->data(0, Qt::UserRole).toInt(), sex);

    // A reload shows what was added meanwhile, and selects the root again.
    view.tree()->setCurrentItem(view.groupItem(1)->child(1));
    QVERIFY(addStatRow(u"入职"_s, 1, u"QZ_PSNBASE"_s, u"F14"_s, 9) > 0);
    view.LoadTree();
    QCOMPARE(childTexts(view.groupItem(1)), QStringList({ u"性别"_s, u"年龄段"_s, u"入职"_s }));
    QCOMPARE(view.tree()->currentItem(), view.tree()->topLevelItem(0));
}

void TestPsnStatTree::scopeSignal()
{
    const int tid = addStatRow(u"数额"_s, 1, u"QZ_PSNBASE"_s, u"F12"_s, 1);
    CPsnStatTreeView view;
    QSignalSpy spy(&view, &CPsnStatTreeView::treeSelChanged);
    view.OnInitialUpdate();
    // Filling tells nobody; the root selected at the end does.
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).value<StatTreeScope>(), (StatTreeScope { 1, 0, 0 }));
    QCOMPARE(view.sortCombo()->count(), 3); // 在职, 退休, all categories
    QCOMPARE(view.deptPicker()->text(), u"<全体部门>"_s);

    view.tree()->setCurrentItem(view.groupItem(1)->child(0));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).value<StatTreeScope>(), (StatTreeScope { 1, 0, tid }));

    view.sortCombo()->setCurrentIndex(1);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).value<StatTreeScope>(), (StatTreeScope { 2, 0, tid }));

    // A department accepted in the picker.
    QTreeWidget *depts = view.deptPicker()->GetDropTree();
    for (QTreeWidgetItemIterator it(depts); *it; ++it) {
        if ((*it)->data(0, RefIdRole).toInt() == 3)
            depts->setCurrentItem(*it);
    }
    view.deptPicker()->Notify(CEditBrowseDropCtrl::CBN_SELENDOK);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).value<StatTreeScope>(), (StatTreeScope { 2, 3, tid }));

    view.tree()->setCurrentItem(view.groupItem(2));
    QCOMPARE(spy.takeFirst().at(0).value<StatTreeScope>(), (StatTreeScope { 2, 3, -2 }));
}

void TestPsnStatTree::rightClickSelects()
{
    addStatRow(u"数额"_s, 1, u"QZ_PSNBASE"_s, u"F12"_s, 1);
    CPsnStatTreeView view;
    view.resize(240, 400);
    view.OnInitialUpdate();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy clicks(&view, &CPsnStatTreeView::itemRClick);
    QTreeWidgetItem *item = view.groupItem(1)->child(0);
    const QPoint at = view.tree()->visualItemRect(item).center();
    Q_EMIT view.tree()->customContextMenuRequested(at);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.first().at(0).value<QTreeWidgetItem *>(), item);
    QCOMPARE(view.tree()->currentItem(), item);
    // Nothing under the cursor: nothing happens.
    Q_EMIT view.tree()->customContextMenuRequested(QPoint(200, 390));
    QCOMPARE(clicks.count(), 1);
}

void TestPsnStatTree::drops_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target"); // a caption, or "一维分析" for the group itself
    QTest::addColumn<QStringList>("oneDim");
    QTest::addColumn<QStringList>("twoDim");

    const QStringList one = { u"A"_s, u"B"_s, u"C"_s, u"D"_s };
    const QStringList two = { u"X"_s, u"Y"_s };
    QTest::newRow("last onto first")
        << u"D"_s << u"A"_s << QStringList({ u"D"_s, u"A"_s, u"B"_s, u"C"_s }) << two;
    QTest::newRow("first onto last")
        << u"A"_s << u"D"_s << QStringList({ u"B"_s, u"C"_s, u"D"_s, u"A"_s }) << two;
    QTest::newRow("middle up") << u"C"_s << u"B"_s
                               << QStringList({ u"A"_s, u"C"_s, u"B"_s, u"D"_s }) << two;
    QTest::newRow("in the cross group")
        << u"Y"_s << u"X"_s << one << QStringList({ u"Y"_s, u"X"_s });
    QTest::newRow("across groups") << u"A"_s << u"X"_s << one << two;
    QTest::newRow("onto a group") << u"B"_s << u"一维分析"_s << one << two;
    QTest::newRow("onto the other group") << u"B"_s << u"二维分析"_s << one << two;
    QTest::newRow("onto itself") << u"B"_s << u"B"_s << one << two;
    QTest::newRow("a group dragged") << u"一维分析"_s << u"A"_s << one << two;
}

void TestPsnStatTree::drops()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(QStringList, oneDim);
    QFETCH(QStringList, twoDim);

    int ord = 10;
    for (const QString &caption : { u"A"_s, u"B"_s, u"C"_s, u"D"_s })
        QVERIFY(addStatRow(caption, 1, u"QZ_PSNBASE"_s, u"F12"_s, ord += 3) > 0);
    const int a = theDatabase.run(u"SELECT TID FROM qz_Stat WHERE sCaption='A'"_s).scalar().toInt();
    const int b = theDatabase.run(u"SELECT TID FROM qz_Stat WHERE sCaption='B'"_s).scalar().toInt();
    QVERIFY(addCrossRow(u"X"_s, a, b, 1) > 0);
    QVERIFY(addCrossRow(u"Y"_s, b, a, 2) > 0);

    CPsnStatTreeView view;
    view.resize(240, 400);
    view.OnInitialUpdate();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const auto find = [&view](const QString &text) -> QTreeWidgetItem * {
        for (int flag = 1; flag <= 2; ++flag) {
            if (view.groupItem(flag)->text(0) == text)
                return view.groupItem(flag);
            if (QTreeWidgetItem *item = childNamed(view.groupItem(flag), text))
                return item;
        }
        return nullptr;
    };
    QTreeWidgetItem *from = find(dragged);
    QTreeWidgetItem *onto = find(target);
    QVERIFY(from && onto);
    const auto ordOf = [](const QString &caption) {
        return theDatabase.run(u"SELECT Ord FROM qz_Stat WHERE sCaption=?"_s, { caption })
            .scalar()
            .toInt();
    };
    const int targetOrd = ordOf(target);
    QSignalSpy selections(&view, &CPsnStatTreeView::treeSelChanged);

    // Through the tree's own drop, as a mouse drag ends.
    Q_EMIT view.tree()->treeDrop(from, onto);

    QCOMPARE(childTexts(view.groupItem(1)), oneDim);
    QCOMPARE(childTexts(view.groupItem(2)), twoDim);
    QCOMPARE(statCaptions(1), oneDim);
    QCOMPARE(statCaptions(2), twoDim);
    const bool moved = oneDim != QStringList({ u"A"_s, u"B"_s, u"C"_s, u"D"_s })
        || twoDim != QStringList({ u"X"_s, u"Y"_s });
    if (moved) {
        QCOMPARE(ordOf(dragged), targetOrd); // it takes the target's place
        QCOMPARE(view.tree()->currentItem()->text(0), dragged);
        QVERIFY(!selections.isEmpty());
        QCOMPARE(selections.last().at(0).value<StatTreeScope>().itemData,
                 view.tree()->currentItem()->data(0, Qt::UserRole).toInt());
    }
}

QTEST_MAIN(TestPsnStatTree)
#include "tst_psnstattree.moc"
