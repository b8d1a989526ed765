#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/query/itemmetadata.h"
#include "core/query/querybuilders.h"
#include "personnel/advsavedqueries.h"
#include "personnel/advsearch.h"
#include "personnel/psnscope.h"
#include "psnfixture.h"
#include "searchfixture.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;
using vantrel::Result;

Q_DECLARE_METATYPE(AdvQuery)

namespace {

CItemInfoArray personItems()
{
    CItemInfoArray items;
    LoadItemInfos(items, u"WHERE (UPPER(TblName)='QZ_PSNBASE') ORDER BY Ord"_s);
    return items;
}

Result<AdvSearchResult> build(const AdvQuery &query)
{
    return BuildAdvSearch(theDatabase.dialect(), personItems(),
                          LoadRelatedTables(theDatabase, RelatedTables::All), query,
                          [](const QString &table, const QString &name) {
                              return LookupTableItem(theDatabase, table, name, false);
                          });
}

// The PIDs the person list shows with the search applied, in its order.
QString listed(const AdvSearchResult &result)
{
    const SqlCondition where = CombineWhere({}, result.condition);
    const QString order
        = result.orderBy.isEmpty() ? PsnOrderBy() : u" ORDER BY "_s + result.orderBy;
    const vantrel::db::QueryResult rows = theDatabase.run(
        u"SELECT qz_PsnBase.PID"_s + BuildPsnFromClause(false) + where.sql + order, where.values);
    if (!rows.ok)
        return rows.error.description;
    QStringList pids;
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        pids << rows.rows.value(row, 0).toString();
    return pids.join(u',');
}

AdvConditionRow mainRow(const QString &andOr, const QString &item, const QString &op,
                        const QString &value)
{
    return { 0, andOr, {}, item, op, value };
}

AdvConditionRow relRow(const QString &andOr, const QString &table, const QString &item,
                       const QString &op, const QString &value)
{
    return { 0, andOr, table, item, op, value };
}

QString conditionsOf(const QVector<AdvConditionRow> &rows)
{
    QStringList texts;
    for (const AdvConditionRow &row : rows)
        texts << QStringList { row.andOr, row.tblName, row.itemName, row.opSgn, row.value }.join(
            u'/');
    return texts.join(u';');
}

int countOf(const QString &sql)
{
    return theDatabase.run(sql).scalar().toInt();
}

} // namespace

class TestAdvSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void search_data();
    void search();
    void messages_data();
    void messages();
    void quotedValuesLeaveAsLiterals();
    void operatorsByType();
    void savedPerUserAndType();
    void savedTwice();
    void sortListKept();
    void failureMidway();
    void renameAndDelete();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestAdvSearch::initTestCase()
{
    registerAdvSearchProcedures();
}

void TestAdvSearch::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    QString error;
    QVERIFY2(fillSearchFixture(theDatabase, &error), qPrintable(error));
    loginAs(u"admin"_s);
}

void TestAdvSearch::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestAdvSearch::search_data()
{
    QTest::addColumn<AdvQuery>("query");
    QTest::addColumn<QString>("pids");

    // SQL's own precedence: (contains) OR ((from 2020) AND (a 甲公司 record)).
    QTest::newRow("contains or a date, with a related condition")
        << AdvQuery { { mainRow({}, u"F13"_s, u"包含"_s, u"%x%"_s),
                        mainRow(u"或"_s, u"F14"_s, u"不小于"_s, u"2020-01-01"_s) },
                      { relRow(u"且"_s, u"qz_Rel1"_s, u"R1"_s, u"等于"_s, u"甲公司"_s) },
                      {} }
        << u"1,3,6"_s;
    QTest::newRow("contains adds no wildcards")
        << AdvQuery { { mainRow({}, u"F13"_s, u"包含"_s, u"x"_s) }, {}, {} } << QString();
    QTest::newRow("texts without case")
        << AdvQuery { { mainRow({}, u"Number"_s, u"等于"_s, u"A004"_s) }, {}, {} } << u"4"_s;
    QTest::newRow("a quote in the value")
        << AdvQuery { { mainRow({}, u"Name"_s, u"等于"_s, u"O'Brien"_s) }, {}, {} } << u"7"_s;
    QTest::newRow("a value that tries to end the text")
        << AdvQuery { { mainRow({}, u"Name"_s, u"等于"_s, u"x' OR '1'='1"_s) }, {}, {} }
        << QString();
    // A date holding a time of day is after its own midnight.
    QTest::newRow("a date and its time")
        << AdvQuery { { mainRow({}, u"F14"_s, u"大于"_s, u"2019-12-31"_s) }, {}, {} } << u"2,6"_s;
    QTest::newRow("not equal to a date")
        << AdvQuery { { mainRow({}, u"F14"_s, u"不等于"_s, u"2021-05-01"_s) }, {}, {} } << u"2,6"_s;
    QTest::newRow("related rows only") << AdvQuery {
        {}, { relRow(u"且"_s, u"qz_Rel1"_s, u"R2"_s, u"不小于"_s, u"2020-01-01"_s) }, {}
    } << u"7"_s;
    QTest::newRow("two rows on one related table")
        << AdvQuery { {},
                      { relRow(u"且"_s, u"qz_Rel1"_s, u"R1"_s, u"等于"_s, u"乙公司"_s),
                        relRow(u"或"_s, u"qz_Rel1"_s, u"R2"_s, u"小于"_s, u"2019-01-01"_s) },
                      {} }
        << u"1,7"_s;
    QTest::newRow("two related tables")
        << AdvQuery { {},
                      { relRow(u"且"_s, u"qz_Rel1"_s, u"R1"_s, u"包含"_s, u"甲%"_s),
                        relRow(u"且"_s, u"qz_Rel2"_s, u"R4"_s, u"大于"_s, u"3"_s) },
                      {} }
        << u"6"_s;
    QTest::newRow("a dictionary item with text operators")
        << AdvQuery { {}, { relRow(u"且"_s, u"qz_Rel2"_s, u"R3"_s, u"不包含"_s, u"配%"_s) }, {} }
        << u"2"_s;
    QTest::newRow("a first row whose item is gone")
        << AdvQuery { { mainRow({}, u"F99"_s, u"等于"_s, u"1"_s),
                        mainRow(u"或"_s, u"Number"_s, u"等于"_s, u"A002"_s) },
                      {},
                      {} }
        << u"2"_s;
    QTest::newRow("a first related row whose item is gone")
        << AdvQuery { {},
                      { relRow(u"且"_s, u"qz_Rel1"_s, u"R9"_s, u"等于"_s, u"x"_s),
                        relRow(u"或"_s, u"qz_Rel1"_s, u"R1"_s, u"等于"_s, u"乙公司"_s) },
                      {} }
        << u"7"_s;
    QTest::newRow("a link item compares as a number")
        << AdvQuery { { mainRow({}, u"DID"_s, u"等于"_s, u"5"_s) }, {}, {} } << u"5,6"_s;
    QTest::newRow("a number") << AdvQuery { { mainRow({}, u"F12"_s, u"不大于"_s, u"10"_s),
                                              mainRow({}, u"AID"_s, u"等于"_s, u"2"_s) },
                                            {},
                                            {} }
                              << u"3,7,5"_s;
    QTest::newRow("descending by name")
        << AdvQuery { {}, {}, { { u"Name"_s, u"降序"_s } } } << u"4,6,5,2,3,1,7"_s;
    QTest::newRow("by category, then name")
        << AdvQuery { { mainRow({}, u"DID"_s, u"不小于"_s, u"4"_s) },
                      {},
                      { { u"F99"_s, u"降序"_s }, { u"AID"_s, {} }, { u"Name"_s, u"升序"_s } } }
        << u"6,4,7,5"_s;
}

void TestAdvSearch::search()
{
    QFETCH(AdvQuery, query);
    QFETCH(QString, pids);
    const Result<AdvSearchResult> result = build(query);
    QVERIFY2(result, qPrintable(result.error()));
    QCOMPARE(listed(*result), pids);
}

void TestAdvSearch::messages_data()
{
    QTest::addColumn<AdvQuery>("query");
    QTest::addColumn<QString>("message");

    QTest::newRow("12a") << AdvQuery { { mainRow({}, u"F12"_s, u"等于"_s, u"12a"_s) }, {}, {} }
                         << u"第 1 项 [数额] 字段条件值只能是数字！"_s;
    QTest::newRow("no number on row 2") << AdvQuery { { mainRow({}, u"Name"_s, u"等于"_s, u"x"_s),
                                                        mainRow(u"且"_s, u"DID"_s, u"等于"_s, {}) },
                                                      {},
                                                      {} }
                                        << u"第 2 项 [部门] 字段条件值只能是数字！"_s;
    QTest::newRow("an empty date") << AdvQuery { { mainRow({}, u"F14"_s, u"等于"_s, {}) }, {}, {} }
                                   << u"第 1 项 [入职日期] 字段条件值无效或为空！"_s;
    QTest::newRow("a stored date that is no date") << AdvQuery {
        {}, { relRow(u"且"_s, u"qz_Rel1"_s, u"R2"_s, u"等于"_s, u"2021-13-40"_s) }, {}
    } << u"第 1 项 [起始] 字段条件值无效或为空！"_s;
    QTest::newRow("nothing to run")
        << AdvQuery { { mainRow({}, {}, u"等于"_s, {}) }, {}, { { {}, u"升序"_s } } }
        << u"请设置查询条件或排序!"_s;
}

void TestAdvSearch::messages()
{
    QFETCH(AdvQuery, query);
    QFETCH(QString, message);
    const Result<AdvSearchResult> result = build(query);
    QVERIFY(!result);
    QCOMPARE(result.error(), message);
}

void TestAdvSearch::quotedValuesLeaveAsLiterals()
{
    const Result<AdvSearchResult> result
        = build({ { mainRow({}, u"Name"_s, u"等于"_s, u"x' OR '1'='1"_s) }, {}, {} });
    QVERIFY(result);
    QVERIFY(!result->condition.sql.contains(u"x'"_s));
    QCOMPARE(result->condition.literalText(),
             u"(upper(QZ_PSNBASE.Name) = upper('x'' OR ''1''=''1'))"_s);
}

void TestAdvSearch::operatorsByType()
{
    QCOMPARE(AdvOperators(ItemNumber).size(), 6);
    QCOMPARE(AdvOperators(ItemDate), AdvOperators(ItemNumber));
    QCOMPARE(AdvOperators(ItemText).mid(6), (QStringList { u"包含"_s, u"不包含"_s }));
    QCOMPARE(AdvOperators(ItemDictionary), AdvOperators(ItemText));
}

void TestAdvSearch::savedPerUserAndType()
{
    const AdvQuery query { { mainRow({}, u"Name"_s, u"等于"_s, u"张一"_s) }, {}, {} };
    const int admin = theCurrentUser.UserID;
    loginAs(u"dept35"_s);
    const int dept35 = theCurrentUser.UserID;
    QVERIFY(SaveQuery(theDatabase, 0, AdvPersonData, admin, u"甲"_s, query));
    QVERIFY(SaveQuery(theDatabase, 0, AdvTransfers, admin, u"乙"_s, query));
    QVERIFY(SaveQuery(theDatabase, 0, AdvPersonData, dept35, u"丙"_s, query));
    QVERIFY(SaveQuery(theDatabase, 0, AdvPersonData, admin, u"丁"_s, query));
    const auto names = [](int user, int type) {
        QStringList list;
        const Result<QVector<SavedQueryEntry>> entries = ListSavedQueries(theDatabase, user, type);
        for (const SavedQueryEntry &entry : *entries)
            list << entry.name;
        return list.join(u',');
    };
    QCOMPARE(names(admin, AdvPersonData), u"甲,丁"_s);
    QCOMPARE(names(admin, AdvTransfers), u"乙"_s);
    QCOMPARE(names(dept35, AdvPersonData), u"丙"_s);
    QCOMPARE(names(dept35, AdvTransfers), QString());
}

void TestAdvSearch::savedTwice()
{
    const AdvQuery query { { mainRow({}, u"F13"_s, u"包含"_s, u"%x%"_s),
                             mainRow(u"或"_s, u"F14"_s, u"不小于"_s, u"2020-01-01"_s) },
                           { relRow(u"且"_s, u"qz_Rel1"_s, u"R1"_s, u"等于"_s, u"甲公司"_s) },
                           { { u"Name"_s, u"降序"_s } } };
    const Result<int> rid = SaveQuery(theDatabase, 0, AdvPersonData, 1, u"查询一"_s, query);
    QVERIFY2(rid, qPrintable(rid.error()));
    Result<AdvQuery> loaded = LoadSavedQuery(theDatabase, *rid);
    QVERIFY(loaded);
    QCOMPARE(conditionsOf(loaded->main), conditionsOf(query.main));
    QCOMPARE(conditionsOf(loaded->related), conditionsOf(query.related));
    QCOMPARE(SortListText(loaded->sort), u"Name,降序"_s);
    QVERIFY(loaded->main.at(0).id > 0);
    // The reloaded rows carry their ids: a second save rewrites them and adds the new one.
    AdvQuery edited = *loaded;
    edited.main[1].value = u"2021-01-01"_s;
    edited.main << mainRow(u"且"_s, u"Sex"_s, u"等于"_s, u"男"_s);
    QCOMPARE(*SaveQuery(theDatabase, *rid, AdvPersonData, 1, u"查询一"_s, edited), *rid);
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_ResearchDetail"_s), 4);
    loaded = LoadSavedQuery(theDatabase, *rid);
    QCOMPARE(conditionsOf(loaded->main), conditionsOf(edited.main));
    // What was saved runs as it was built.
    const Result<AdvSearchResult> again = build(*LoadSavedQuery(theDatabase, *rid));
    QVERIFY(again);
    QCOMPARE(again->orderBy, u"QZ_PSNBASE.Name DESC"_s);
}

void TestAdvSearch::sortListKept()
{
    const AdvQuery noSort { { mainRow({}, u"Name"_s, u"等于"_s, u"张一"_s) }, {}, {} };
    const Result<int> plain = SaveQuery(theDatabase, 0, AdvPersonData, 1, u"无排序"_s, noSort);
    QVERIFY(plain);
    QCOMPARE(theDatabase.run(u"SELECT OrdCol FROM qz_Research WHERE RID = ?"_s, { *plain })
                 .scalar()
                 .toString(),
             QString());
    AdvQuery sorted = noSort;
    sorted.sort = { { u"Number"_s, u"降序"_s }, { {}, u"升序"_s }, { u"Name"_s, {} } };
    const Result<int> rid = SaveQuery(theDatabase, 0, AdvPersonData, 1, u"排序"_s, sorted);
    QVERIFY(rid);
    const auto ordCol = [&] {
        return theDatabase.run(u"SELECT OrdCol FROM qz_Research WHERE RID = ?"_s, { *rid })
            .scalar()
            .toString();
    };
    QCOMPARE(ordCol(), u"Number,降序|Name,"_s);
    AdvQuery cleared = *LoadSavedQuery(theDatabase, *rid);
    cleared.sort.clear();
    QVERIFY(SaveQuery(theDatabase, *rid, AdvPersonData, 1, u"排序"_s, cleared));
    QCOMPARE(ordCol(), u"Number,降序|Name,"_s);
}

void TestAdvSearch::failureMidway()
{
    const AdvQuery query { { mainRow({}, u"Name"_s, u"等于"_s, u"张一"_s),
                             { 9999, u"且"_s, {}, u"Number"_s, u"等于"_s, u"A001"_s } },
                           {},
                           { { u"Name"_s, u"降序"_s } } };
    // A new query whose second row was deleted elsewhere: nothing stays.
    QVERIFY(!SaveQuery(theDatabase, 0, AdvPersonData, 1, u"新"_s, query));
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_Research"_s), 0);
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_ResearchDetail"_s), 0);

    // A saved one keeps its rows and sort list as they were.
    const AdvQuery first { { mainRow({}, u"Name"_s, u"等于"_s, u"张二"_s) }, {}, {} };
    const Result<int> rid = SaveQuery(theDatabase, 0, AdvPersonData, 1, u"旧"_s, first);
    QVERIFY(rid);
    AdvQuery edited = *LoadSavedQuery(theDatabase, *rid);
    edited.main[0].value = u"张三"_s;
    edited.main << query.main.at(1);
    edited.sort = query.sort;
    const Result<int> failed = SaveQuery(theDatabase, *rid, AdvPersonData, 1, u"旧"_s, edited);
    QVERIFY(!failed);
    QVERIFY(!failed.error().isEmpty());
    const Result<AdvQuery> kept = LoadSavedQuery(theDatabase, *rid);
    QCOMPARE(conditionsOf(kept->main), conditionsOf(first.main));
    QVERIFY(kept->sort.isEmpty());
    // The same statement goes through once the stale row is left out.
    edited.main.removeLast();
    QVERIFY(SaveQuery(theDatabase, *rid, AdvPersonData, 1, u"旧"_s, edited));
    QCOMPARE(LoadSavedQuery(theDatabase, *rid)->main.at(0).value, u"张三"_s);
}

void TestAdvSearch::renameAndDelete()
{
    const AdvQuery query { { mainRow({}, u"Name"_s, u"等于"_s, u"张一"_s) },
                           { relRow(u"且"_s, u"qz_Rel1"_s, u"R1"_s, u"等于"_s, u"甲公司"_s) },
                           { { u"Name"_s, u"降序"_s } } };
    const Result<int> rid = SaveQuery(theDatabase, 0, AdvPersonData, 1, u"旧名"_s, query);
    QVERIFY(rid);
    QVERIFY(RenameQuery(theDatabase, *rid, AdvPersonData, 1, u"新名"_s));
    QCOMPARE(ListSavedQueries(theDatabase, 1, AdvPersonData)->at(0).name, u"新名"_s);
    QCOMPARE(SortListText(LoadSavedQuery(theDatabase, *rid)->sort), u"Name,降序"_s);
    QVERIFY(!RenameQuery(theDatabase, 9999, AdvPersonData, 1, u"无"_s));

    const int rowId = LoadSavedQuery(theDatabase, *rid)->related.at(0).id;
    QVERIFY(DeleteConditionRow(theDatabase, rowId));
    QVERIFY(LoadSavedQuery(theDatabase, *rid)->related.isEmpty());
    QVERIFY(DeleteSavedQuery(theDatabase, *rid));
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_Research"_s), 0);
    QCOMPARE(countOf(u"SELECT COUNT(*) FROM qz_ResearchDetail"_s), 0);
}

QTEST_GUILESS_MAIN(TestAdvSearch)
#include "tst_advsearch.moc"
