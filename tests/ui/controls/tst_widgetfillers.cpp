#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "testdatabase.h"
#include "ui/controls/widgetfillers.h"

#include <QComboBox>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

// The widget side of the fillers, for the session's operator.
class TestWidgetFillers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void treesUnderTheCallersRoot();
    void combos();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestWidgetFillers::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    const QStringList statements {
        u"INSERT INTO qz_Dept (DID, ParentID, Name, Ord) VALUES (1, 0, 'A', 1), (2, 1, 'A1', 2)"_s,
        u"INSERT INTO qz_PsnSort (AID, Name, Ord) VALUES (1, 'S1', 1), (2, 'S2', 2)"_s,
        u"INSERT INTO qz_Table (ID, TblName, Title, nType, Ord) VALUES (20, 'W20', 'Pay', 6, 1)"_s,
        u"INSERT INTO qz_DictItem (ID, DictId, DictValue, ParentValue, Title, Active) VALUES"
        " (1, 'XL', '01', NULL, 'One', 1), (2, 'XL', '0101', '01', 'One-one', 1)"_s,
    };
    for (const QString &sql : statements)
        QVERIFY2(theDatabase.Execute(sql), qPrintable(theDatabase.GetLastErrorString()));
    theCurrentUser.ISuper = 1;
    theCurrentUser.ParsePurview(u"0|||"_s);
}

void TestWidgetFillers::cleanup()
{
    theCurrentUser.reset();
    theDatabase.Close();
    delete m_fixture;
}

void TestWidgetFillers::treesUnderTheCallersRoot()
{
    QTreeWidget tree;
    auto *root = new QTreeWidgetItem(&tree, { u"全部"_s });
    FillDeptTree(&tree, 0, root);
    QCOMPARE(root->childCount(), 1);
    QTreeWidgetItem *a = root->child(0);
    QCOMPARE(a->text(0), u"A"_s);
    QCOMPARE(a->data(0, RefIdRole).toInt(), 1);
    QVERIFY(a->isExpanded());
    QCOMPARE(a->child(0)->text(0), u"A1"_s);

    FillPsnSortTree(&tree, nullptr);
    QCOMPARE(tree.topLevelItemCount(), 3);
    QCOMPARE(tree.topLevelItem(2)->data(0, RefIdRole).toInt(), 2);

    // A dictionary item shows an expand button; its children come when the caller asks.
    QTreeWidget dict;
    FillDictTree(&dict, nullptr, u"XL"_s, QString());
    QCOMPARE(dict.topLevelItemCount(), 1);
    QTreeWidgetItem *one = dict.topLevelItem(0);
    QCOMPARE(one->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    QCOMPARE(one->childCount(), 0);
    FillDictTree(&dict, one, u"XL"_s, one->data(0, RefValueRole).toString());
    QCOMPARE(one->childCount(), 1);
    QCOMPARE(one->child(0)->data(0, RefIdRole).toInt(), 2);
}

void TestWidgetFillers::combos()
{
    QComboBox sorts, wageSets, users;
    QVERIFY(FillPsnSortCombo(&sorts));
    QCOMPARE(sorts.count(), 3);
    QCOMPARE(sorts.itemText(2), u"<所有类别>"_s);
    QCOMPARE(sorts.itemData(2).toInt(), 0);
    QVERIFY(FillWageSetCombo(&wageSets));
    QCOMPARE(wageSets.itemData(0).toInt(), 20);
    QVERIFY(FillUserCombo(&users));
    QCOMPARE(users.itemText(0), u"admin"_s);
    QVERIFY(!FillPsnSortCombo(nullptr));

    // A failed query empties the category combo but leaves the wage-set combo as it was.
    theDatabase.Close();
    QVERIFY(!FillPsnSortCombo(&sorts));
    QCOMPARE(sorts.count(), 0);
    QVERIFY(!FillWageSetCombo(&wageSets));
    QCOMPARE(wageSets.count(), 1);
}

QTEST_MAIN(TestWidgetFillers)
#include "tst_widgetfillers.moc"
