#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/query/itemmetadata.h"
#include "personnel/advsearch.h"
#include "personnel/psnhistory.h"
#include "psnfixture.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

// Transfers: 7 O'Brien 2024-03-01 15:30, 1 张一 2024-03-02 00:00, 3 张三 2024-03-05 09:00,
// 6 张六 2024-02-01 08:00.
bool fillHistory(QString *error)
{
    const QList<std::pair<int, QDateTime>> rows {
        { 7, QDateTime(QDate(2024, 3, 1), QTime(15, 30)) },
        { 1, QDateTime(QDate(2024, 3, 2), QTime(0, 0)) },
        { 3, QDateTime(QDate(2024, 3, 5), QTime(9, 0)) },
        { 6, QDateTime(QDate(2024, 2, 1), QTime(8, 0)) },
    };
    for (const auto &[pid, when] : rows) {
        if (!theDatabase.Execute(u"INSERT INTO qz_PsnRedeploy (PID, BeforeDep, AfterDep, MobDate)"
                                 " VALUES (?, '旧部门', '新部门', ?)"_s,
                                 { pid, when })) {
            *error = theDatabase.GetLastErrorString();
            return false;
        }
    }
    return true;
}

// The PIDs the list shows for the filter, in its order.
QString listed(const SqlCondition &where, const QString &order = {})
{
    const vantrel::Result<HistorySelect> select
        = BuildHistorySelect(theDatabase, TransferHistory());
    if (!select)
        return select.error();
    const vantrel::db::QueryResult rows = theDatabase.run(
        HistoryQuery(TransferHistory(), select->columns, where.sql,
                     order.isEmpty() ? HistoryDefaultOrder(TransferHistory()) : order),
        where.values);
    if (!rows.ok)
        return rows.error.description;
    QStringList pids;
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        pids << rows.rows.text(row, 1);
    return pids.join(u',');
}

} // namespace

class TestPsnHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void rightsScope_data();
    void rightsScope();
    void quickFilter_data();
    void quickFilter();
    void captionsAndWidths();
    void historyItemsSearched();
    void deletesCounted();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnHistory::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    QString error;
    QVERIFY2(fillHistory(&error), qPrintable(error));
    loginAs(u"admin"_s);
}

void TestPsnHistory::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnHistory::rightsScope_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("pids");
    QTest::newRow("all departments") << u"admin"_s << u"3,1,7,6"_s;
    QTest::newRow("departments 3 and 5") << u"dept35"_s << u"3,6"_s;
    QTest::newRow("no department") << u"nodept"_s << QString();
}

void TestPsnHistory::rightsScope()
{
    QFETCH(QString, user);
    QFETCH(QString, pids);
    loginAs(user);
    QCOMPARE(listed(HistoryScope(theCurrentUser)), pids);
}

void TestPsnHistory::quickFilter_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("pids");

    const QDate first(2024, 3, 1);
    const QDate second(2024, 3, 2);
    const QDate fifth(2024, 3, 5);
    QTest::newRow("a quoted name, without case")
        << u"admin"_s << u"o'brien"_s << QDate() << QDate() << u"7"_s;
    QTest::newRow("a day holds its afternoon")
        << u"admin"_s << QString() << first << QDate() << u"7"_s;
    QTest::newRow("the to date alone") << u"admin"_s << QString() << QDate() << fifth << u"3"_s;
    QTest::newRow("a range to its last evening")
        << u"admin"_s << QString() << first << second << u"1,7"_s;
    QTest::newRow("name and range") << u"admin"_s << u"张一"_s << first << fifth << u"1"_s;
    QTest::newRow("a text that tries to end the name")
        << u"admin"_s << u"x' OR '1'='1"_s << QDate() << QDate() << QString();
    QTest::newRow("within the rights")
        << u"dept35"_s << QString() << QDate(2024, 1, 1) << fifth << u"3,6"_s;
}

void TestPsnHistory::quickFilter()
{
    QFETCH(QString, user);
    QFETCH(QString, name);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, pids);
    loginAs(user);
    const SqlCondition filter
        = HistoryQuickFilter(theDatabase.dialect(), TransferHistory(), name, from, to);
    QVERIFY(!filter.isEmpty());
    QCOMPARE(listed(CombineWhere(HistoryScope(theCurrentUser), filter)), pids);
    QVERIFY(HistoryQuickFilter(theDatabase.dialect(), TransferHistory(), {}, {}, {}).isEmpty());
}

void TestPsnHistory::captionsAndWidths()
{
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Items SET Alias = '调动 后\"部门\", (新)', iWid = 140"
                                " WHERE TblName = 'QZ_PSNREDEPLOY' AND Name = 'AfterDep'"_s));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Items SET Alias = '工 号' WHERE Name = 'Number'"
                                " AND TblName = 'QZ_PSNBASE'"_s));
    const vantrel::Result<HistorySelect> select
        = BuildHistorySelect(theDatabase, TransferHistory());
    QVERIFY2(select, qPrintable(select.error()));
    const vantrel::db::QueryResult rows = theDatabase.run(HistoryQuery(
        TransferHistory(), select->columns, {}, HistoryDefaultOrder(TransferHistory())));
    QVERIFY2(rows.ok, qPrintable(rows.error.description));
    QStringList captions;
    for (const vantrel::db::FieldDef &field : rows.rows.fields)
        captions << field.name;
    QCOMPARE(captions.mid(2),
             (QStringList { u"工 号"_s, u"姓名"_s, u"性别"_s, u"调动前部门"_s,
                            u"调动 后\"部门\", (新)"_s, u"调动日期"_s }));
    QCOMPARE(select->widths, (QVector<int> { 20, 20, 120, 120, 50, 120, 140, 100 }));
    QCOMPARE(rows.rows.text(0, 3), u"张三"_s);
}

void TestPsnHistory::historyItemsSearched()
{
    CItemInfoArray items;
    QVERIFY(LoadItemInfos(items,
                          u"WHERE (UPPER(TblName)='QZ_PSNBASE') AND iDataType<4 ORDER BY Ord"_s));
    QVERIFY(LoadItemInfos(items, u"WHERE (UPPER(TblName)=?) AND iDataType<4 ORDER BY Ord"_s,
                          { TransferHistory().itemTable }));
    QVERIFY(FindItemByName(items, u"MobDate"_s) >= 0);
    QVERIFY(FindItemByName(items, u"AfterDep"_s) >= 0);
    const vantrel::Result<AdvSearchResult> search
        = BuildAdvSearch(theDatabase.dialect(), items, {},
                         { { { 0, {}, {}, u"MobDate"_s, u"不小于"_s, u"2024-03-02"_s } },
                           {},
                           { { u"Name"_s, u"降序"_s } } },
                         {});
    QVERIFY2(search, qPrintable(search.error()));
    QCOMPARE(listed(CombineWhere(HistoryScope(theCurrentUser), search->condition),
                    u" ORDER BY "_s + search->orderBy),
             u"3,1"_s);
}

void TestPsnHistory::deletesCounted()
{
    const vantrel::db::QueryResult ids
        = theDatabase.run(u"SELECT ID FROM qz_PsnRedeploy WHERE PID IN (1, 7) ORDER BY ID"_s);
    QCOMPARE(ids.rows.rowCount(), 2);
    const HistoryDeleteOutcome outcome
        = DeleteHistoryRows(theDatabase, TransferHistory(),
                            { ids.rows.value(0, 0).toInt(), ids.rows.value(1, 0).toInt(), 9999 });
    QCOMPARE(outcome.deleted, 2);
    QVERIFY(outcome.failures.isEmpty());
    QCOMPARE(HistoryDeleteLogText(TransferHistory(), outcome.deleted),
             u"人员档案[调动记录删除2 条]"_s);
    QCOMPARE(listed(HistoryScope(theCurrentUser)), u"3,6"_s);
    // The persons keep what the wizard gave them.
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnBase"_s).scalar().toInt(), 7);
}

QTEST_GUILESS_MAIN(TestPsnHistory)
#include "tst_psnhistory.moc"
