#include "core/db/cadodatabase.h"
#include "core/query/itemmetadata.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The item records and lookups over qz_Items and qz_Table on theDatabase. The schema seeds the
// built-in tables; the fixture adds a wage set with ASCII names, to compare without case.
class TestItemMetadata : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void loadsRecordsInOrderAndAppends();
    void lookups_data();
    void lookups();
    void identifiers_data();
    void identifiers();
    void failedQueriesGiveDefaults();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestItemMetadata::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Table (TblName, Title, nType, Ord) VALUES ('Wage_7', 'Pay Set', 6, 4)"_s));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, iDec, iChoice, iWid, Ord)"
        " VALUES ('WAGE_7', 'F20', 'Base Pay', 0, 2, 1, 90, 2),"
        " ('WAGE_7', 'F21', 'Bonus', 0, 0, 2, 80, 1),"
        " ('WAGE_7', 'F22', 'Note', 5, 0, 0, 0, 3)"_s));
}

void TestItemMetadata::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
}

void TestItemMetadata::loadsRecordsInOrderAndAppends()
{
    CItemInfoArray items;
    QVERIFY(LoadTableItemInfos(items, u"wage_7"_s));
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0).Name, u"F21"_s);
    const tagVANTRELITEMINFO &pay = items.at(1);
    QCOMPARE(pay.TblName, u"WAGE_7"_s);
    QVERIFY(pay.ItemID > 0);
    QCOMPARE(pay.Alias, u"Base Pay"_s);
    QCOMPARE(pay.iDataType, ItemNumber);
    QCOMPARE(pay.iDec, short(2));
    QCOMPARE(pay.iChoice, RoundDown);

    // Nothing matching leaves the array alone; a second load appends in call order.
    QVERIFY(LoadItemInfos(items, u"WHERE Name = ?"_s, { u"NoSuch"_s }));
    QCOMPARE(items.size(), 2);
    QVERIFY(LoadTableItemInfos(items, u"QZ_PSNBASE"_s));
    QStringList names;
    for (const tagVANTRELITEMINFO &item : std::as_const(items))
        names << item.Name;
    QCOMPARE(names,
             QStringList({ u"F21"_s, u"F20"_s, u"Number"_s, u"Name"_s, u"Sex"_s, u"Birthday"_s,
                           u"IDNumber"_s }));

    QVERIFY(!LoadItemInfos(items, u"WHERE NoSuchColumn = 1"_s));
    QCOMPARE(items.size(), 7);
}

void TestItemMetadata::lookups_data()
{
    QTest::addColumn<QString>("lookup");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("expected");

    QTest::newRow("title.alias") << "name" << u"人员信息.姓名"_s << ""
                                 << "Name";
    QTest::newRow("title.alias without case") << "name"
                                              << "pay set.BASE PAY"
                                              << ""
                                              << "F20";
    QTest::newRow("unknown alias") << "name" << u"人员信息.无此项"_s << "" << u"无此项"_s;
    QTest::newRow("no dot") << "name"
                            << "Bonus"
                            << ""
                            << "Bonus";
    QTest::newRow("quote in reference") << "name"
                                        << "Pay Set.it's"
                                        << ""
                                        << "it's";
    QTest::newRow("alias") << "alias"
                           << "number"
                           << "qz_psnbase" << u"编号"_s;
    QTest::newRow("alias of unknown column") << "alias"
                                             << "Nothing"
                                             << "QZ_PSNBASE"
                                             << "";
    QTest::newRow("width") << "width"
                           << "F20"
                           << ""
                           << "90";
    QTest::newRow("width in a table") << "width"
                                      << "name"
                                      << "qz_dept"
                                      << "200";
    QTest::newRow("width, first item") << "width"
                                       << "NAME"
                                       << ""
                                       << "120";
    QTest::newRow("width of no item") << "width"
                                      << "F99"
                                      << ""
                                      << "50";
    QTest::newRow("table title") << "title"
                                 << "QZ_PSNBASE.NAME"
                                 << "" << u"人员信息"_s;
    QTest::newRow("title, stored case differs") << "title"
                                                << "QZ_DEPT.Name"
                                                << "" << u"部门"_s;
    QTest::newRow("title without dot") << "title"
                                       << "QZ_PSNBASE"
                                       << ""
                                       << "";
}

void TestItemMetadata::lookups()
{
    QFETCH(QString, lookup);
    QFETCH(QString, argument);
    QFETCH(QString, table);
    QFETCH(QString, expected);
    QString actual;
    if (lookup == u"name")
        actual = GetItemNameByTitleAlias(argument);
    else if (lookup == u"alias")
        actual = GetItemAlias(table, argument);
    else if (lookup == u"width")
        actual = QString::number(GetItemWidth(argument, table));
    else
        actual = GetTableTitle(argument);
    QCOMPARE(actual, expected);
}

void TestItemMetadata::identifiers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("identifier");
    QTest::addColumn<bool>("knownTable");

    QTest::newRow("built-in table") << "qz_psnbase" << true << true;
    QTest::newRow("wage set") << "WAGE_7" << true << true;
    QTest::newRow("not described") << "qz_Nope" << true << false;
    QTest::newRow("leading underscore") << "_x1" << true << false;
    QTest::newRow("leading digit") << "1x" << false << false;
    QTest::newRow("blank") << "a b" << false << false;
    QTest::newRow("statement") << "qz_PsnBase;--" << false << false;
    QTest::newRow("trailing newline") << "qz_PsnBase\n" << false << false;
    QTest::newRow("bracketed") << "[qz_PsnBase]" << false << false;
    QTest::newRow("non-ASCII") << u"表"_s << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void TestItemMetadata::identifiers()
{
    QFETCH(QString, name);
    QFETCH(bool, identifier);
    QFETCH(bool, knownTable);
    QCOMPARE(IsSqlIdentifier(name), identifier);
    const vantrel::Result<bool> known = IsKnownDataTable(name);
    QVERIFY2(known, qPrintable(known.error()));
    QCOMPARE(*known, knownTable);
}

void TestItemMetadata::failedQueriesGiveDefaults()
{
    theDatabase.Close();
    CItemInfoArray items(1);
    QVERIFY(!LoadTableItemInfos(items, u"WAGE_7"_s));
    QCOMPARE(items.size(), 1);
    QCOMPARE(GetItemNameByTitleAlias(u"Pay Set.Bonus"_s), u"Bonus"_s);
    QCOMPARE(GetItemAlias(u"WAGE_7"_s, u"F21"_s), QString());
    QCOMPARE(GetItemWidth(u"F20"_s), 50);
    QCOMPARE(GetTableTitle(u"WAGE_7.F20"_s), QString());
}

QTEST_GUILESS_MAIN(TestItemMetadata)
#include "tst_itemmetadata.moc"
