#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/payroll/wageperiod.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "testdatabase.h"

#include <QDateTime>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

class TestWageSetSchema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void wageSetAndDataTable();
    void itemColumns();
    void refusesWhatIsNoIdentifier();
    void periodAndMemberTables();
    void aggregateRefusesUnknownFunctions();
    void shiftPeriod_data();
    void shiftPeriod();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestWageSetSchema::init()
{
    m_fixture = new TestDatabase;
    if (QByteArray(QTest::currentTestFunction()).startsWith("shiftPeriod"))
        return;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
}

void TestWageSetSchema::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestWageSetSchema::wageSetAndDataTable()
{
    const auto first = AddWageSet(theDatabase, u"月度工资"_s, u"每月"_s);
    const auto second = AddWageSet(theDatabase, u"年终奖"_s);
    QVERIFY2(first && second, qPrintable(first.error() + second.error()));
    const QString table = WageSetDataTableName(*first);
    QCOMPARE(table, u"qz_WageData%1"_s.arg(*first));
    QCOMPARE(
        GetScalarText(u"SELECT TblName FROM qz_Table WHERE ID = ? AND nType = 6"_s, { *first }),
        table);
    QCOMPARE(GetScalarInt(u"SELECT Ord FROM qz_Table WHERE ID = ?"_s, { *second }),
             GetScalarInt(u"SELECT Ord FROM qz_Table WHERE ID = ?"_s, { *first }).valueOr(-2) + 1);
    QVERIFY(TableExists(table));
    QCOMPARE(theDatabase.catalog().columns(table).join(u',').toLower(),
             u"id,pid,fdate,did,aid,ord"_s);

    // One row per person and period.
    const QString insert = u"INSERT INTO %1 (PID, fDate) VALUES (?, ?)"_s.arg(table);
    QVERIFY(theDatabase.Execute(insert, { 1, 200701 }));
    QVERIFY(theDatabase.Execute(insert, { 1, 200702 }));
    QVERIFY(!theDatabase.Execute(insert, { 1, 200701 }));
    const QString indexQuery = TestDatabase::backend() == vantrel::db::Backend::Postgres
        ? u"SELECT COUNT(*) FROM pg_indexes WHERE tablename = lower(?) AND indexdef LIKE '%(fdate)'"_s
        : u"SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = ?"
          " AND sql LIKE '%(fDate)'"_s;
    QCOMPARE(GetScalarInt(indexQuery, { table }), 1);
}

void TestWageSetSchema::itemColumns()
{
    const auto sid = AddWageSet(theDatabase, u"月度工资"_s);
    QVERIFY(sid);
    const QString table = WageSetDataTableName(*sid);
    WageItemDefinition pay;
    pay.alias = u"基本工资"_s;
    pay.decimals = 1;
    WageItemDefinition note;
    note.alias = u"备注"_s;
    note.dataType = ItemText;
    WageItemDefinition paid;
    paid.alias = u"发放日期"_s;
    paid.dataType = ItemDate;
    const auto payId = AddWageItem(theDatabase, *sid, pay);
    const auto noteId = AddWageItem(theDatabase, *sid, note);
    const auto paidId = AddWageItem(theDatabase, *sid, paid);
    QVERIFY2(payId && noteId && paidId,
             qPrintable(payId.error() + noteId.error() + paidId.error()));
    QCOMPARE(
        GetScalarText(u"SELECT Name FROM qz_Items WHERE ItemID = ? AND iSort = 1"_s, { *noteId }),
        WageItemColumnName(*noteId));
    QCOMPARE(GetScalarInt(u"SELECT Ord * 10 + OrdF FROM qz_Items WHERE ItemID = ?"_s, { *paidId }),
             33);
    QCOMPARE(GetScalarInt(u"SELECT iDec FROM qz_Items WHERE ItemID = ?"_s, { *payId }), 1);
    const QDateTime when(QDate(2007, 3, 5), QTime(0, 0));
    QVERIFY(theDatabase.Execute(
        u"INSERT INTO %1 (PID, fDate, %2, %3, %4) VALUES (1, 200703, ?, ?, ?)"_s.arg(
            table, WageItemColumnName(*payId), WageItemColumnName(*noteId),
            WageItemColumnName(*paidId)),
        { 1234.56, u"说明"_s, when }));
    QCOMPARE(GetScalarVariant(u"SELECT %1 FROM %2"_s.arg(WageItemColumnName(*payId), table))
                 .valueOr({})
                 .toDouble(),
             1234.56);
    QCOMPARE(GetScalarText(u"SELECT %1 FROM %2"_s.arg(WageItemColumnName(*noteId), table)),
             u"说明"_s);
    QCOMPARE(GetScalarVariant(u"SELECT %1 FROM %2"_s.arg(WageItemColumnName(*paidId), table))
                 .valueOr({})
                 .toDateTime(),
             when);
}

void TestWageSetSchema::refusesWhatIsNoIdentifier()
{
    WageItemDefinition item;
    item.alias = u"基本工资"_s;
    QVERIFY(!AddWageItem(theDatabase, 999, item));
    // A data table name that was tampered with never reaches a statement.
    const auto sid = AddWageSet(theDatabase, u"月度工资"_s);
    QVERIFY(sid);
    QVERIFY(theDatabase.Execute(
        u"UPDATE qz_Table SET TblName = 'x; DROP TABLE qz_Users' WHERE ID = ?"_s, { *sid }));
    const auto checked = CheckedWageSetTable(theDatabase, *sid);
    QVERIFY2(checked, qPrintable(checked.error()));
    QCOMPARE(*checked, QString());
    QVERIFY(!AddWageItem(theDatabase, *sid, item));
    QVERIFY(!CreateWageSetDataTable(theDatabase, *sid));
    QVERIFY(TableExists(u"qz_Users"_s));
}

void TestWageSetSchema::periodAndMemberTables()
{
    const QString period
        = u"INSERT INTO qz_WageTable (SID, fDate, Stat, CreateDate) VALUES (?, ?, 0, ?)"_s;
    QVERIFY(theDatabase.Execute(period, { 1, 200701, QDateTime::currentDateTime() }));
    QVERIFY(theDatabase.Execute(period, { 2, 200701, QDateTime::currentDateTime() }));
    QVERIFY(!theDatabase.Execute(period, { 1, 200701, QDateTime::currentDateTime() }));
    const int member = InsertReturningId(u"qz_WagePsn"_s, { u"SID"_s, u"PID"_s, u"Ord"_s },
                                         { 1, 7, 1 }, u"ID"_s);
    QVERIFY(member > 0);
}

void TestWageSetSchema::aggregateRefusesUnknownFunctions()
{
    CADOCommand command(&theDatabase, u"qz_GetAggregeWageValue"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, 1);
    command.AddParameterText(u"FromWhereSql"_s, adLongVarChar, adParamInput, 20,
                             u" FROM qz_Users"_s);
    command.AddParameterText(u"ItmAlias"_s, adVarChar, adParamInput, 50, u"x"_s);
    command.AddParameterText(u"AgFun"_s, adVarChar, adParamInput, 10, u"COUNT(*)--"_s);
    QVERIFY(!command.Execute());
}

void TestWageSetSchema::shiftPeriod_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("months");
    QTest::addColumn<int>("expected");
    QTest::newRow("same") << 200703 << 0 << 200703;
    QTest::newRow("one back") << 200703 << 1 << 200702;
    QTest::newRow("over the year") << 200702 << 3 << 200611;
    QTest::newRow("a year") << 200701 << 12 << 200601;
    QTest::newRow("forward over the year") << 200611 << -2 << 200701;
    QTest::newRow("no month 13") << 200713 << 1 << 0;
    QTest::newRow("no month 0") << 200700 << 1 << 0;
}

void TestWageSetSchema::shiftPeriod()
{
    QFETCH(int, period);
    QFETCH(int, months);
    QFETCH(int, expected);
    QCOMPARE(ShiftWagePeriod(period, months), expected);
}

QTEST_GUILESS_MAIN(TestWageSetSchema)
#include "tst_wagesetschema.moc"
