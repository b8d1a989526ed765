#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "personnel/psnprocedures.h"
#include "personnel/psnstat.h"
#include "psnfixture.h"
#include "statfixture.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

Q_DECLARE_METATYPE(StatScope)

namespace {

// The statistics of the fixture, by TID.
enum Stat {
    Amount = 1, // F12 ranges 低 [0,50], 等 [100,100], 叠 [40,120], 隔 [200,250], 空 ["",300]
    Title,      // F13 values
    Dept,       // DID link
    Joined,     // F14 date ranges in old forms: 2020, 年中 2021-06-05…10, 坏 ["abc",…]
    Unit,       // qz_Rel1.R1 values (related rows)
    Sex,        // Sex values
    Years,      // qz_Rel1.R2 ranges [1,1], [2,5]
    AmountByTitle, // crosses: columns × rows
    TitleByDept,
    SexByTitle,
    TitleByAmount,
    UnitByTitle,
    UnitByYears,    // two related tables
    TitleMixedCase, // F13 named 'f13' of 'qz_psnbase'
    AmountByJoined, // range × range
    Missing,        // an item without its column
    StatCount = Missing
};

bool exec(const QString &sql)
{
    if (theDatabase.Execute(sql))
        return true;
    qWarning() << sql << theDatabase.GetLastErrorString();
    return false;
}

bool defineStatistics()
{
    const auto one = [](const QString &caption, const QString &table, const QString &field,
                        int type, const QVector<StatRange> &ranges = {}) {
        return bool(
            SaveStat1D(theDatabase, { 0, caption, 1, false, table, field, 0 }, type, ranges));
    };
    const auto cross = [](const QString &caption, int first, int second) {
        return bool(SaveStat2D(theDatabase, 0, caption, first, second));
    };
    return one(u"数额"_s, u"QZ_PSNBASE"_s, u"F12"_s, 0,
               { { 0, u"低"_s, u"0"_s, u"50"_s },
                 { 0, u"等"_s, u"100"_s, u"100"_s },
                 { 0, u"叠"_s, u"40"_s, u"120"_s },
                 { 0, u"隔"_s, u"200"_s, u"250"_s } })
        && exec(u"INSERT INTO qz_StatItmFilter (TID, fTitle, LowerVal, UperVal, Ord)"
                " VALUES (1, '空', '', '300', 4)"_s)
        && one(u"职称"_s, u"QZ_PSNBASE"_s, u"F13"_s, 3)
        && one(u"部门"_s, u"QZ_PSNBASE"_s, u"DID"_s, 4)
        && exec(u"INSERT INTO qz_Stat (sCaption, sFlag, bFixed, sTblName, sFldName, Ord)"
                " VALUES ('入职', 1, 0, 'QZ_PSNBASE', 'F14', 4)"_s)
        && exec(u"INSERT INTO qz_StatItmFilter (TID, fTitle, LowerVal, UperVal, Ord) VALUES"
                " (4, '2020', '2020/1/1', '2020-12-31 00:00:00', 0),"
                " (4, '年中', '2021-06-05', '2021/6/10', 1), (4, '坏', 'abc', '2022-01-01', 2)"_s)
        && one(u"单位"_s, u"qz_Rel1"_s, u"R1"_s, 1) && one(u"性别"_s, u"QZ_PSNBASE"_s, u"Sex"_s, 1)
        && one(u"年数"_s, u"qz_Rel1"_s, u"R2"_s, 0,
               { { 0, u"一"_s, u"1"_s, u"1"_s }, { 0, u"多"_s, u"2"_s, u"5"_s } })
        && cross(u"数额×职称"_s, Amount, Title) && cross(u"职称×部门"_s, Title, Dept)
        && cross(u"性别×职称"_s, Sex, Title) && cross(u"职称×数额"_s, Title, Amount)
        && cross(u"单位×职称"_s, Unit, Title)
        && exec(u"INSERT INTO qz_Stat (sCaption, sFlag, bFixed, sTblName, sFldName, Ord)"
                " VALUES ('单位×年数', 2, 0, '5', '7', 13),"
                " ('职称小写', 1, 0, 'qz_psnbase', 'f13', 14)"_s)
        && cross(u"数额×入职"_s, Amount, Joined)
        && exec(u"INSERT INTO qz_Items (TblName, Name, Alias, iDataType, Ord)"
                " VALUES ('QZ_REL1', 'R9', '无列', 1, 20)"_s)
        && one(u"无列"_s, u"qz_Rel1"_s, u"R9"_s, 1);
}

struct ScopeCase
{
    const char *name;
    QString user;
    StatScope scope;
};

const QVector<ScopeCase> &scopes()
{
    static const QVector<ScopeCase> cases {
        { "root", u"admin"_s, {} },
        { "subtree 2", u"admin"_s, { 2, 0 } },
        { "category 1", u"admin"_s, { 0, 1 } },
        { "subtree 2, category 2", u"admin"_s, { 2, 2 } },
        { "departments 3 and 5 at the root", u"dept35"_s, {} },
        { "departments 3 and 5 in subtree 2", u"dept35"_s, { 2, 0 } },
        { "no department", u"nodept"_s, {} },
    };
    return cases;
}

StatTable compute(int tid, const StatScope &scope)
{
    const auto table = ComputeStat(theDatabase, tid, scope, theCurrentUser);
    if (!table) {
        qWarning() << "statistic" << tid << table.error();
        return {};
    }
    return table->value_or(StatTable {});
}

// "label=count,count;…" row by row, then "合计:" with the totals.
QString tableText(const StatTable &table)
{
    QStringList rows;
    const auto numbers = [](const QVector<qint64> &counts) {
        QStringList texts;
        for (const qint64 count : counts)
            texts << QString::number(count);
        return texts.join(u',');
    };
    for (int row = 0; row < table.rowLabels.size(); ++row)
        rows << table.rowLabels.at(row) + u'=' + numbers(table.counts.value(row));
    rows << u"合计:="_s + numbers(table.totals);
    return rows.join(u';');
}

} // namespace

class TestPsnStat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void oneDimensional_data();
    void oneDimensional();
    void valuesKeepTheirCase();
    void crosses_data();
    void crosses();
    void crossColumnsAddUpToTheirStatistic_data();
    void crossColumnsAddUpToTheirStatistic();
    void everyCellListsWhatItCounted_data();
    void everyCellListsWhatItCounted();
    void failures();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestPsnStat::initTestCase()
{
    registerPsnProcedures();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QString error;
    QVERIFY2(fillStatFixture(theDatabase, &error), qPrintable(error));
    QVERIFY(defineStatistics());
    QCOMPARE(theDatabase.run(u"SELECT MAX(TID) FROM qz_Stat"_s).scalar().toInt(), int(StatCount));
}

void TestPsnStat::cleanupTestCase()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestPsnStat::cleanup()
{
    theCurrentUser.reset();
}

void TestPsnStat::oneDimensional_data()
{
    QTest::addColumn<int>("tid");
    QTest::addColumn<QString>("user");
    QTest::addColumn<StatScope>("scope");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("table");
    const QString admin = u"admin"_s;

    // Overlaps count in each range, gaps in none, a bound equal to a value counts, an empty
    // bound counts nothing.
    QTest::newRow("number ranges") << int(Amount) << admin << StatScope {} << u"数额"_s
                                   << u"低=5;等=1;叠=9;隔=6;空=0;合计:=21"_s;
    QTest::newRow("number ranges, subtree") << int(Amount) << admin << StatScope { 2, 0 }
                                            << u"数额"_s << u"低=1;等=1;叠=8;隔=0;空=0;合计:=10"_s;
    QTest::newRow("number ranges, category") << int(Amount) << admin << StatScope { 0, 1 }
                                             << u"数额"_s << u"低=3;等=0;叠=4;隔=3;空=0;合计:=10"_s;
    QTest::newRow("number ranges, restricted at the root")
        << int(Amount) << u"dept35"_s << StatScope {} << u"数额"_s
        << u"低=0;等=0;叠=0;隔=6;空=0;合计:=6"_s;
    QTest::newRow("number ranges, no department")
        << int(Amount) << u"nodept"_s << StatScope {} << u"数额"_s
        << u"低=0;等=0;叠=0;隔=0;空=0;合计:=0"_s;
    // NULL first, blank and blank-only text together, values compared trimmed, case as stored.
    QTest::newRow("values") << int(Title) << admin << StatScope {} << u"职称"_s
                            << u"<未知>=3;<空白>=4;O'Brien=8;Zed=6;abc=9;合计:=30"_s;
    // Values that only persons outside the scope hold stay as rows of 0.
    QTest::newRow("values, subtree") << int(Title) << admin << StatScope { 2, 0 } << u"职称"_s
                                     << u"<未知>=0;<空白>=3;O'Brien=6;Zed=0;abc=5;合计:=14"_s;
    QTest::newRow("values, restricted at the root")
        << int(Title) << u"dept35"_s << StatScope {} << u"职称"_s
        << u"<未知>=0;<空白>=0;O'Brien=2;Zed=6;abc=4;合计:=12"_s;
    QTest::newRow("mixed-case item names")
        << int(TitleMixedCase) << admin << StatScope {} << u"职称"_s
        << u"<未知>=3;<空白>=4;O'Brien=8;Zed=6;abc=9;合计:=30"_s;
    // Links in the referenced table's Ord, with its names.
    QTest::newRow("links") << int(Dept) << admin << StatScope {} << u"部门"_s
                           << u"总公司=4;二部=5;一部=8;二组=7;一组=6;合计:=30"_s;
    QTest::newRow("links, category") << int(Dept) << admin << StatScope { 0, 1 } << u"部门"_s
                                     << u"总公司=2;二部=3;一部=4;二组=3;一组=3;合计:=15"_s;
    // Bounds in older forms; the upper day counts whole (PID 20 joined at 15:30).
    QTest::newRow("date ranges") << int(Joined) << admin << StatScope {} << u"入职日期"_s
                                 << u"2020=10;年中=6;坏=0;合计:=16"_s;
    // A related table counts its rows, not persons.
    QTest::newRow("related rows") << int(Unit) << admin << StatScope {} << u"单位"_s
                                  << u"乙=10;甲=15;合计:=25"_s;
    QTest::newRow("related rows, category")
        << int(Unit) << admin << StatScope { 0, 1 } << u"单位"_s << u"乙=5;甲=8;合计:=13"_s;
    QTest::newRow("related ranges")
        << int(Years) << admin << StatScope {} << u"年数"_s << u"一=10;多=15;合计:=25"_s;
}

void TestPsnStat::oneDimensional()
{
    QFETCH(int, tid);
    QFETCH(QString, user);
    QFETCH(StatScope, scope);
    QFETCH(QString, header);
    QFETCH(QString, table);
    loginAs(user);
    const StatTable computed = compute(tid, scope);
    QCOMPARE(computed.dim, 1);
    QCOMPARE(computed.headers, (QStringList { header, u"人数"_s }));
    QCOMPARE(tableText(computed), table);
}

// Values compare trimmed, with their case as stored (two persons for this test only).
void TestPsnStat::valuesKeepTheirCase()
{
    loginAs(u"admin"_s);
    vantrel::db::DbTransaction transaction(theDatabase);
    QVERIFY(theDatabase.Execute(u"INSERT INTO qz_PsnBase (PID, DID, AID, Number, Name, F13)"
                                " VALUES (31, 1, 1, 'P031', '人31', 'ABC'),"
                                " (32, 1, 1, 'P032', '人32', '  abc')"_s));
    QCOMPARE(tableText(compute(Title, {})),
             u"<未知>=3;<空白>=4;ABC=1;O'Brien=8;Zed=6;abc=10;合计:=32"_s);
}

void TestPsnStat::crosses_data()
{
    QTest::addColumn<int>("tid");
    QTest::addColumn<StatScope>("scope");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QString>("table");
    const QStringList amounts { u"参考项"_s, u"低"_s, u"等"_s, u"叠"_s, u"隔"_s, u"空"_s };
    const QStringList titles { u"参考项"_s,  u"<未知>"_s, u"<空白>"_s,
                               u"O'Brien"_s, u"Zed"_s,    u"abc"_s };

    QTest::newRow("ranges × values") << int(AmountByTitle) << StatScope {} << amounts
                                     << u"<未知>=3,0,0,0,0;<空白>=2,0,4,0,0;O'Brien=0,0,0,1,0;"
                                        "Zed=0,0,0,1,0;abc=0,1,5,4,0;合计:=5,1,9,6,0"_s;
    QTest::newRow("ranges × values, subtree")
        << int(AmountByTitle) << StatScope { 2, 0 } << amounts
        << u"<未知>=0,0,0,0,0;<空白>=1,0,3,0,0;O'Brien=0,0,0,0,0;"
           "Zed=0,0,0,0,0;abc=0,1,5,0,0;合计:=1,1,8,0,0"_s;
    QTest::newRow("values × ranges") << int(TitleByAmount) << StatScope {} << titles
                                     << u"低=3,2,0,0,0;等=0,0,0,0,1;叠=0,4,0,0,5;隔=0,0,1,1,4;"
                                        "空=0,0,0,0,0;合计:=3,6,1,1,10"_s;
    QTest::newRow("values × links") << int(TitleByDept) << StatScope { 0, 2 } << titles
                                    << u"总公司=1,1,0,0,0;二部=0,0,1,0,1;一部=0,1,0,0,3;"
                                       "二组=0,0,0,3,1;一组=0,0,3,0,0;合计:=1,2,4,3,5"_s;
    QTest::newRow("values × values")
        << int(SexByTitle) << StatScope {} << QStringList { u"参考项"_s, u"女"_s, u"男"_s }
        << u"<未知>=0,3;<空白>=0,4;O'Brien=5,3;Zed=6,0;abc=4,5;合计:=15,15"_s;
    QTest::newRow("ranges × ranges")
        << int(AmountByJoined) << StatScope {} << amounts
        << u"2020=5,1,7,0,0;年中=0,0,0,1,0;坏=0,0,0,0,0;合计:=5,1,7,1,0"_s;
    QTest::newRow("related values × values")
        << int(UnitByTitle) << StatScope {} << QStringList { u"参考项"_s, u"乙"_s, u"甲"_s }
        << u"<未知>=3,3;<空白>=4,4;O'Brien=0,3;Zed=0,0;abc=3,5;合计:=10,15"_s;
}

void TestPsnStat::crosses()
{
    QFETCH(int, tid);
    QFETCH(StatScope, scope);
    QFETCH(QStringList, headers);
    QFETCH(QString, table);
    loginAs(u"admin"_s);
    const StatTable computed = compute(tid, scope);
    QCOMPARE(computed.dim, 2);
    QCOMPARE(computed.headers, headers);
    QCOMPARE(tableText(computed), table);
}

void TestPsnStat::crossColumnsAddUpToTheirStatistic_data()
{
    QTest::addColumn<int>("cross");
    QTest::addColumn<int>("first");
    QTest::addColumn<QString>("user");
    QTest::addColumn<StatScope>("scope");
    // Rows of values or links put each counted row in exactly one bucket.
    for (const auto &[cross, first] :
         { std::pair { AmountByTitle, Amount }, std::pair { TitleByDept, Title },
           std::pair { SexByTitle, Sex }, std::pair { UnitByTitle, Unit } }) {
        for (const ScopeCase &scope : scopes())
            QTest::addRow("%d, %s", int(cross), scope.name)
                << int(cross) << int(first) << scope.user << scope.scope;
    }
}

void TestPsnStat::crossColumnsAddUpToTheirStatistic()
{
    QFETCH(int, cross);
    QFETCH(int, first);
    QFETCH(QString, user);
    QFETCH(StatScope, scope);
    loginAs(user);
    const StatTable crossed = compute(cross, scope);
    const StatTable single = compute(first, scope);
    QCOMPARE(crossed.headers.mid(1), single.rowLabels);
    QVector<qint64> counts;
    for (const QVector<qint64> &row : single.counts)
        counts << row.value(0);
    QCOMPARE(crossed.totals, counts);
}

void TestPsnStat::everyCellListsWhatItCounted_data()
{
    QTest::addColumn<int>("tid");
    QTest::addColumn<QString>("user");
    QTest::addColumn<StatScope>("scope");
    for (int tid = 1; tid < int(StatCount); ++tid) {
        if (tid == UnitByYears)
            continue;
        for (const ScopeCase &scope : scopes())
            QTest::addRow("%d, %s", tid, scope.name) << tid << scope.user << scope.scope;
    }
}

void TestPsnStat::everyCellListsWhatItCounted()
{
    QFETCH(int, tid);
    QFETCH(QString, user);
    QFETCH(StatScope, scope);
    loginAs(user);
    const StatTable table = compute(tid, scope);
    const int columns = int(table.headers.size()) - 1;
    QVERIFY(columns > 0);
    QCOMPARE(table.counts.size(), table.rowLabels.size());
    QCOMPARE(table.cellWhere.size(), table.rowLabels.size() * columns);
    QCOMPARE(table.totals.size(), columns);
    for (int column = 1; column <= columns; ++column) {
        qint64 sum = 0;
        for (int row = 0; row < table.rowLabels.size(); ++row) {
            const qint64 count = table.counts.at(row).at(column - 1);
            sum += count;
            const SqlCondition query = StatCellQuery(table, row, column);
            const vantrel::db::QueryResult listed = theDatabase.run(query.sql, query.values);
            QVERIFY2(listed.ok, qPrintable(listed.error.description));
            QVERIFY2(listed.rows.rowCount() == count,
                     qPrintable(u"%1 : %2 counts %3, lists %4"_s
                                    .arg(table.rowLabels.at(row), table.headers.at(column))
                                    .arg(count)
                                    .arg(listed.rows.rowCount())));
        }
        QCOMPARE(table.totals.at(column - 1), sum);
    }
    QVERIFY(StatCellQuery(table, 0, 0).isEmpty());
    QVERIFY(StatCellQuery(table, int(table.rowLabels.size()), 1).isEmpty());
}

void TestPsnStat::failures()
{
    loginAs(u"admin"_s);
    const auto gone = ComputeStat(theDatabase, 999, {}, theCurrentUser);
    QVERIFY(gone && !gone->has_value());

    const auto related = ComputeStat(theDatabase, UnitByYears, {}, theCurrentUser);
    QVERIFY(!related);
    QCOMPARE(related.error(), u"不能创建这两横纵指标统计项!"_s);

    // The database's own words, not a table of zeros.
    const auto failing = ComputeStat(theDatabase, Missing, {}, theCurrentUser);
    QVERIFY(!failing);
    QVERIFY2(failing.error().contains(u"R9"_s, Qt::CaseInsensitive), qPrintable(failing.error()));
}

QTEST_GUILESS_MAIN(TestPsnStat)
#include "tst_psnstat.moc"
