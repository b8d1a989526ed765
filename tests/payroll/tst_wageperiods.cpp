#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/payroll/wageround.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "payroll/wagebatchupdate.h"
#include "payroll/wagecellwrite.h"
#include "payroll/wageitemsave.h"
#include "payroll/wageperiods.h"
#include "payroll/wagescope.h"
#include "payroll/wagesetupprocedures.h"
#include "personnel/psncolumns.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;
using vantrel::personnel::SqlCondition;

namespace {

int scalar(const QString &sql, const QVariantList &values = {}, CADODatabase *db = &theDatabase)
{
    return GetScalarInt(sql, values, db).valueOr(-99);
}

int insert(const QString &table, const QStringList &columns, const QVariantList &values,
           const QString &key)
{
    return InsertReturningId(table, columns, values, key);
}

// Departments root > middle > leaf and a second root; two categories; five persons, all
// members of one wage set with items 基本工资 (carried over), 奖金 (not) and 备注 (text).
struct Fixture
{
    int root = 0, middle = 0, leaf = 0, other = 0;
    int kindA = 0, kindB = 0;
    QVector<int> pids; // in root, middle, leaf, other, leaf
    int sid = 0;
    QString table;
    QString basic, bonus, note; // columns

    bool make()
    {
        root = dept(0, {});
        middle = dept(root, u"|%1|"_s.arg(root));
        leaf = dept(middle, u"|%1|%2|"_s.arg(middle).arg(root));
        other = dept(0, {});
        kindA = insert(u"qz_PsnSort"_s, { u"Name"_s }, { u"正式"_s }, u"AID"_s);
        kindB = insert(u"qz_PsnSort"_s, { u"Name"_s }, { u"临时"_s }, u"AID"_s);
        const QVector<std::pair<int, int>> people = {
            { root, kindA }, { middle, kindB }, { leaf, kindA }, { other, kindA }, { leaf, kindB }
        };
        for (int i = 0; i < people.size(); ++i)
            pids << insert(u"qz_PsnBase"_s,
                           { u"DID"_s, u"AID"_s, u"Number"_s, u"Name"_s, u"Ord"_s },
                           { people[i].first, people[i].second, u"N%1"_s.arg(i + 1),
                             u"人员%1"_s.arg(i + 1), i + 1 },
                           u"PID"_s);
        const vantrel::Result<int> set = AddWageSet(theDatabase, u"月薪"_s);
        if (!set)
            return false;
        sid = *set;
        table = WageSetDataTableName(sid);
        basic = item(u"基本工资"_s, 0, true);
        bonus = item(u"奖金"_s, 0, false);
        note = item(u"备注"_s, 1, false);
        for (int i = 0; i < pids.size(); ++i)
            insert(u"qz_WagePsn"_s, { u"SID"_s, u"PID"_s, u"Ord"_s }, { sid, pids[i], 10 - i },
                   u"ID"_s);
        return sid > 0 && !basic.isEmpty() && !bonus.isEmpty() && !note.isEmpty();
    }

    int dept(int parent, const QString &ancestors)
    {
        const int did = insert(u"qz_Dept"_s, { u"ParentID"_s, u"Name"_s, u"Ord"_s },
                               { parent, u"部门"_s, 0 }, u"DID"_s);
        theDatabase.Execute(
            u"UPDATE qz_Dept SET Name = ?, ParentArr = ? WHERE DID = ?"_s,
            { u"部门%1"_s.arg(did),
              QString(u"|%1"_s.arg(did) + (ancestors.isEmpty() ? u"|"_s : ancestors)), did });
        return did;
    }

    QString item(const QString &alias, int dataType, bool retain)
    {
        WageItemFields fields;
        fields.sid = sid;
        fields.alias = alias;
        fields.dataType = dataType;
        fields.retain = retain;
        if (!SaveWageItem(theDatabase, fields).saved)
            return {};
        return WageItemColumnName(fields.itemId);
    }

    QVariant value(const QString &column, int pid, int period, CADODatabase *db = &theDatabase)
    {
        return db
            ->run(u"SELECT %1 FROM %2 WHERE PID = ? AND fDate = ?"_s.arg(column, table),
                  { pid, period })
            .scalar();
    }

    bool set(const QString &column, int pid, int period, const QVariant &v)
    {
        return theDatabase.Execute(
            u"UPDATE %1 SET %2 = ? WHERE PID = ? AND fDate = ?"_s.arg(table, column),
            { v, pid, period });
    }

    QVector<int> periodPids(int period, const SqlCondition &where = {})
    {
        const SqlCondition query
            = SqlCondition { u"SELECT %1.PID"_s.arg(table) + WageFromClause(table), {} }
            + (where.isEmpty() ? SqlCondition { u" WHERE %1.fDate = ?"_s.arg(table), { period } }
                               : where)
            + SqlCondition { u" ORDER BY %1.PID"_s.arg(table), {} };
        const vantrel::db::QueryResult rows = theDatabase.run(query.sql, query.values);
        QVector<int> found;
        for (int r = 0; r < rows.rows.rowCount(); ++r)
            found << rows.rows.value(r, 0).toInt();
        return found;
    }
};

// An operator with every right who sees the departments listed; with allDepts they are all.
CCurrentUser user(bool allDepts, const QString &depts)
{
    CCurrentUser u(u"op"_s, {}, 0);
    u.ParsePurview(u"ffffffffffffffff||%1|"_s.arg(depts));
    if (bool(u.allDepts()) != allDepts)
        qWarning("the operator's department list does not give the expected reach");
    return u;
}

} // namespace

class TestWagePeriods : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void roundWage_data();
    void roundWage();
    void roundWageExactHalves();
    void createPeriod();
    void deletePeriods_data();
    void deletePeriods();
    void whereBuilder_data();
    void whereBuilder();
    void deletePersonsAllOrNothing();
    void batchUpdate_data();
    void batchUpdate();
    void closedElsewhereRefusesChanges();
    void addPersons_data();
    void addPersons();
    void addListsKeptApart();
    void columnLookKeyedByTable();
    void cellWrite_data();
    void cellWrite();

private:
    TestDatabase *m_fixture = nullptr;
    Fixture f;
};

void TestWagePeriods::initTestCase()
{
    registerWageSetupProcedures(vantrel::db::ProcedureRegistry::instance());
    registerWagePeriodProcedures(vantrel::db::ProcedureRegistry::instance());
}

void TestWagePeriods::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    f = Fixture();
    QVERIFY2(f.make(), qPrintable(theDatabase.GetLastErrorString()));
}

void TestWagePeriods::cleanup()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestWagePeriods::roundWage_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("choice");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.675 at 2") << 2.675 << 2 << 0 << 2.68;
    QTest::newRow("1.005 at 2") << 1.005 << 2 << 0 << 1.01;
    QTest::newRow("-2.5 at 0") << -2.5 << 0 << 0 << -3.0;
    QTest::newRow("1234.56 at 1") << 1234.56 << 1 << 0 << 1234.6;
    QTest::newRow("1234.56 floor") << 1234.56 << 2 << 1 << 1234.0;
    QTest::newRow("1234.56 ceiling") << 1234.56 << 2 << 2 << 1235.0;
    QTest::newRow("0.1+0.2 ceiling") << (0.1 + 0.2) * 10 << 0 << 2 << 3.0;
    QTest::newRow("-1.5 floor") << -1.5 << 0 << 1 << -2.0;
    QTest::newRow("125 at -1") << 125.0 << -1 << 0 << 130.0;
    QTest::newRow("a carry through 15 digits") << 0.99999999999999956 << 2 << 0 << 1.0;
    QTest::newRow("a carry at 15 digits, negative") << -9.9999999999999982 << 1 << 0 << -10.0;
}

void TestWagePeriods::roundWage()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(int, choice);
    QFETCH(double, expected);
    QCOMPARE(RoundWage(value, decimals, choice), expected);
    const vantrel::db::QueryResult sql = theDatabase.run(
        u"SELECT wage_round(CAST(? AS DOUBLE PRECISION), ?, ?)"_s, { value, decimals, choice });
    QVERIFY2(sql.ok, qPrintable(sql.error.description));
    QCOMPARE(sql.scalar().toDouble(), expected);
}

// A value whose 16th digit is an exact half is read at 15 digits away from zero.
void TestWagePeriods::roundWageExactHalves()
{
    QCOMPARE(RoundWage(123456789012345.5, 0, 0), 123456789012346.0);
    QCOMPARE(RoundWage(-123456789012344.5, 0, 0), -123456789012345.0);
    QCOMPARE(RoundWage(1234567890123445.0, 0, 0), 1234567890123450.0);
}

void TestWagePeriods::createPeriod()
{
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202401));
    QVERIFY(f.set(f.basic, f.pids[0], 202401, 3000));
    QVERIFY(f.set(f.bonus, f.pids[0], 202401, 500));
    QVERIFY(f.set(f.basic, f.pids[1], 202401, 2000));
    // The second person has no row in 202402: 202403 takes 202401's value for that person.
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202402));
    QVERIFY(theDatabase.Execute(u"DELETE FROM %1 WHERE fDate = 202402 AND PID = ?"_s.arg(f.table),
                                { f.pids[1] }));
    QVERIFY(f.set(f.basic, f.pids[0], 202402, 3100));
    // A person moved since the member row was made: the new period takes the department now.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET DID = ? WHERE PID = ?"_s,
                                { f.other, f.pids[2] }));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202403));

    QCOMPARE(f.periodPids(202403).size(), f.pids.size());
    QCOMPARE(f.value(f.basic, f.pids[0], 202403).toDouble(), 3100.0);
    QCOMPARE(f.value(f.basic, f.pids[1], 202403).toDouble(), 2000.0);
    QVERIFY(f.value(f.bonus, f.pids[0], 202403).isNull());
    QCOMPARE(scalar(u"SELECT DID FROM %1 WHERE PID = ? AND fDate = 202403"_s.arg(f.table),
                    { f.pids[2] }),
             f.other);
    QCOMPARE(scalar(u"SELECT Ord FROM %1 WHERE PID = ? AND fDate = 202403"_s.arg(f.table),
                    { f.pids[4] }),
             6);
    QCOMPARE(scalar(u"SELECT Stat FROM qz_WageTable WHERE SID = ? AND fDate = 202403"_s, { f.sid }),
             0);
    const QDateTime created
        = theDatabase
              .run(u"SELECT CreateDate FROM qz_WageTable WHERE SID = ? AND fDate = 202403"_s,
                   { f.sid })
              .scalar()
              .toDateTime();
    QVERIFY(created >= before && created <= QDateTime::currentDateTime().addSecs(1));

    // A second creation of the period fails and leaves its rows as they were.
    const vantrel::Status again = CreateWagePeriod(theDatabase, 1, f.sid, 202403);
    QVERIFY(!again);
    QVERIFY(again.error().contains(u"薪资表(2024年03月) 已存在!"_s));
    QCOMPARE(f.periodPids(202403).size(), f.pids.size());
    QVERIFY(!CreateWagePeriod(theDatabase, 1, f.sid + 100, 202404));
    QVERIFY(!SetWagePeriodClosed(theDatabase, f.sid, 209912, true));
}

void TestWagePeriods::deletePeriods_data()
{
    QTest::addColumn<int>("mode"); // 0 one period, 1 a range
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("left");
    QTest::newRow("range") << 1 << 202401 << 202403 << QList<int> { 202404 };
    QTest::newRow("reversed range")
        << 1 << 202403 << 202401 << QList<int> { 202401, 202402, 202403, 202404 };
    QTest::newRow("one period") << 0 << 202402 << 202402 << QList<int> { 202401, 202403, 202404 };
}

void TestWagePeriods::deletePeriods()
{
    QFETCH(int, mode);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, left);
    const int otherSid = *AddWageSet(theDatabase, u"年终奖"_s);
    insert(u"qz_WagePsn"_s, { u"SID"_s, u"PID"_s, u"Ord"_s }, { otherSid, f.pids[0], 1 }, u"ID"_s);
    for (const int period : { 202401, 202402, 202403, 202404 }) {
        QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, period));
        QVERIFY(CreateWagePeriod(theDatabase, 1, otherSid, period));
    }
    if (mode == 1) {
        QVERIFY(DeleteWagePeriodRange(theDatabase, f.sid, from, to));
    } else {
        const int id
            = scalar(u"SELECT ID FROM qz_WageTable WHERE SID = ? AND fDate = ?"_s, { f.sid, from });
        const int otherId = scalar(u"SELECT ID FROM qz_WageTable WHERE SID = ? AND fDate = ?"_s,
                                   { otherSid, from });
        // Another set's period row is never touched, even by its own id.
        QVERIFY(DeleteWagePeriod(theDatabase, f.sid, otherId, from));
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WageTable WHERE ID = ?"_s, { otherId }), 1);
        QVERIFY(DeleteWagePeriod(theDatabase, f.sid, id, from));
    }
    const vantrel::db::QueryResult periods = theDatabase.run(
        u"SELECT fDate FROM qz_WageTable WHERE SID = ? ORDER BY fDate"_s, { f.sid });
    QList<int> found;
    for (int r = 0; r < periods.rows.rowCount(); ++r)
        found << periods.rows.value(r, 0).toInt();
    QCOMPARE(found, left);
    QCOMPARE(scalar(u"SELECT COUNT(DISTINCT fDate) FROM %1"_s.arg(f.table)), int(left.size()));
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_WageTable WHERE SID = ?"_s, { otherSid }), 4);
}

void TestWagePeriods::whereBuilder_data()
{
    // After the period is made the person of index 2 moves from the leaf to the middle
    // department (and to category B), the person of index 1 to the other root: the pane
    // tests the period's row, the rights (root and middle) the person's department now.
    QTest::addColumn<int>("category");       // -1 none, 0 all, 1 category A
    QTest::addColumn<int>("department");     // 0 all, 1 leaf, 2 root (its subtree)
    QTest::addColumn<bool>("restricted");    // only the root and the middle department
    QTest::addColumn<QList<int>>("persons"); // indices into pids
    QTest::newRow("none, all") << -1 << 0 << false << QList<int> {};
    QTest::newRow("none, subtree, restricted") << -1 << 2 << true << QList<int> {};
    QTest::newRow("all") << 0 << 0 << false << QList<int> { 0, 1, 2, 3, 4 };
    QTest::newRow("all, restricted") << 0 << 0 << true << QList<int> { 0, 2 };
    QTest::newRow("leaf") << 0 << 1 << false << QList<int> { 2, 4 };
    QTest::newRow("leaf, restricted") << 0 << 1 << true << QList<int> { 2 };
    QTest::newRow("subtree") << 0 << 2 << false << QList<int> { 0, 1, 2, 4 };
    QTest::newRow("subtree, restricted") << 0 << 2 << true << QList<int> { 0, 2 };
    QTest::newRow("category") << 1 << 0 << false << QList<int> { 0, 2, 3 };
    QTest::newRow("category, restricted") << 1 << 0 << true << QList<int> { 0, 2 };
    QTest::newRow("category, leaf") << 1 << 1 << false << QList<int> { 2 };
    QTest::newRow("category, subtree, restricted") << 1 << 2 << true << QList<int> { 0, 2 };
}

void TestWagePeriods::whereBuilder()
{
    QFETCH(int, category);
    QFETCH(int, department);
    QFETCH(bool, restricted);
    QFETCH(QList<int>, persons);
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202403));
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202402));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET DID = ?, AID = ? WHERE PID = ?"_s,
                                { f.middle, f.kindB, f.pids[2] }));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET DID = ? WHERE PID = ?"_s,
                                { f.other, f.pids[1] }));
    const int dids[] = { 0, f.leaf, f.root };
    const int kinds[] = { 0, f.kindA };
    const CCurrentUser op = restricted
        ? user(false, u"%1,%2"_s.arg(f.root).arg(f.middle))
        : user(true, u"%1,%2,%3,%4"_s.arg(f.root).arg(f.middle).arg(f.leaf).arg(f.other));
    const vantrel::Result<SqlCondition> where = BuildWageWhere(
        theDatabase, { f.table, 202403, dids[department], category < 0 ? -1 : kinds[category] },
        op);
    QVERIFY2(where, qPrintable(where.error()));
    QVERIFY(!where->sql.contains(u"CHARINDEX"_s, Qt::CaseInsensitive));
    for (const QVariant &value : where->values)
        QCOMPARE(value.typeId(), QMetaType::Int);
    QVector<int> expected;
    for (const int index : std::as_const(persons))
        expected << f.pids[index];
    std::sort(expected.begin(), expected.end());
    QCOMPARE(f.periodPids(202403, *where), expected);
    // The published source renders and counts the same rows.
    const vantrel::Result<WageViewSource::Fragment> rendered
        = WageScopeSource(f.table, *where).render(theDatabase);
    QVERIFY2(rendered, qPrintable(rendered.error()));
    QCOMPARE(scalar(u"SELECT COUNT(*)"_s + rendered->sql, rendered->values), int(expected.size()));
}

void TestWagePeriods::deletePersonsAllOrNothing()
{
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202403));
    // A row another table still refers to cannot go: the third delete fails.
    const int thirdId = scalar(u"SELECT ID FROM %1 WHERE PID = ? AND fDate = 202403"_s.arg(f.table),
                               { f.pids[2] });
    QVERIFY(theDatabase.Execute(
        u"CREATE TABLE wage_blocker (WID INTEGER REFERENCES %1 (ID))"_s.arg(f.table)));
    QVERIFY(theDatabase.Execute(u"INSERT INTO wage_blocker (WID) VALUES (?)"_s, { thirdId }));
    const vantrel::Status failed = DeleteWagePersons(
        theDatabase, f.sid, 202403, { f.pids[0], f.pids[1], f.pids[2], f.pids[3] });
    QVERIFY(!failed);
    QVERIFY(!failed.error().isEmpty());
    QCOMPARE(f.periodPids(202403).size(), f.pids.size());
    QVERIFY(theDatabase.Execute(u"DELETE FROM wage_blocker"_s));
    QVERIFY(DeleteWagePersons(theDatabase, f.sid, 202403, { f.pids[0], f.pids[1] }));
    QCOMPARE(f.periodPids(202403), (QVector<int> { f.pids[2], f.pids[3], f.pids[4] }));
}

void TestWagePeriods::batchUpdate_data()
{
    QTest::addColumn<QString>("item"); // basic or note
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariant>("expected"); // of the leaf persons; invalid: refused
    QTest::newRow("统加 100 at 2") << u"basic"_s << 0 << 1 << u"100"_s << QVariant(1334.57);
    QTest::newRow("统乘 全舍") << u"basic"_s << 1 << 3 << u"1.5"_s << QVariant(1851.0);
    QTest::newRow("统乘 全入") << u"basic"_s << 2 << 3 << u"1.5"_s << QVariant(1852.0);
    QTest::newRow("统除 0") << u"basic"_s << 0 << 4 << u"0"_s << QVariant();
    QTest::newRow("abc") << u"basic"_s << 0 << 1 << u"abc"_s << QVariant();
    QTest::newRow("comma decimal") << u"basic"_s << 0 << 1 << u"1,5"_s << QVariant();
    QTest::newRow("apostrophe") << u"note"_s << 0 << 3 << u"O'Brien"_s << QVariant(u"O'Brien"_s);
}

void TestWagePeriods::batchUpdate()
{
    QFETCH(QString, item);
    QFETCH(int, choice);
    QFETCH(int, mode);
    QFETCH(QString, value);
    QFETCH(QVariant, expected);
    const QString column = item == u"basic"_s ? f.basic : f.note;
    QVERIFY(theDatabase.Execute(u"UPDATE qz_Items SET iChoice = ? WHERE Name = ?"_s,
                                { choice, column }));
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202403));
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202402));
    QVERIFY(theDatabase.Execute(
        u"UPDATE %1 SET %2 = 1234.567, %3 = 'x'"_s.arg(f.table, f.basic, f.note)));
    const CCurrentUser op
        = user(true, u"%1,%2,%3,%4"_s.arg(f.root).arg(f.middle).arg(f.leaf).arg(f.other));
    const vantrel::Result<SqlCondition> where
        = BuildWageWhere(theDatabase, { f.table, 202403, f.leaf, 0 }, op);
    QVERIFY(where);
    const vantrel::Result<int> changed
        = RunWageBatchUpdate(theDatabase, f.table, { column, mode, value }, *where);
    QCOMPARE(bool(changed), expected.isValid());
    for (const int pid : f.pids) {
        const bool inScope = (pid == f.pids[2] || pid == f.pids[4]);
        for (const int period : { 202402, 202403 }) {
            const QVariant stored = f.value(column, pid, period);
            if (inScope && period == 202403 && expected.isValid()) {
                if (item == u"basic"_s)
                    QCOMPARE(stored.toDouble(), expected.toDouble());
                else
                    QCOMPARE(stored.toString(), expected.toString());
            } else if (item == u"basic"_s) {
                QCOMPARE(stored.toDouble(), 1234.567);
            } else {
                QCOMPARE(stored.toString(), u"x"_s);
            }
        }
    }
    if (expected.isValid())
        QCOMPARE(*changed, 2);
}

void TestWagePeriods::closedElsewhereRefusesChanges()
{
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202403));
    CADODatabase second;
    QVERIFY(second.Open(m_fixture->connectionString()));
    QCOMPARE(*PeriodChangeRefusal(second, f.sid, 202403), QString());
    QVERIFY(SetWagePeriodClosed(theDatabase, f.sid, 202403, true));
    QCOMPARE(*PeriodChangeRefusal(second, f.sid, 202403), LoadResString(110));
    QVERIFY(SetWagePeriodClosed(theDatabase, f.sid, 202403, false));
    QCOMPARE(*PeriodChangeRefusal(second, f.sid, 202403), QString());
    QVERIFY(DeleteWagePeriodRange(theDatabase, f.sid, 202403, 202403));
    QCOMPARE(*PeriodChangeRefusal(second, f.sid, 202403), LoadResString(133));
    second.Close();
}

void TestWagePeriods::addPersons_data()
{
    QTest::addColumn<bool>("takeOver");
    QTest::newRow("with take-over") << true;
    QTest::newRow("without") << false;
}

void TestWagePeriods::addPersons()
{
    QFETCH(bool, takeOver);
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202402));
    QVERIFY(f.set(f.basic, f.pids[2], 202402, 4000));
    QVERIFY(f.set(f.bonus, f.pids[2], 202402, 400));
    QVERIFY(f.set(f.note, f.pids[2], 202402, u"旧"_s));
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202403));
    QVERIFY(DeleteWagePersons(theDatabase, f.sid, 202403, { f.pids[0], f.pids[2], f.pids[4] }));
    QCOMPARE(*OtherWagePeriods(theDatabase, f.sid, 202403), QVector<int> { 202402 });

    WagePeriodAddList list(theDatabase, f.sid, 202403);
    QVERIFY(list.build(f.middle));
    // Members of the middle department and below without a row: the two leaf persons.
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_PsnPickWork WHERE WorkKey = ?"_s, { list.workKey() }),
             2);
    QVERIFY(list.setTicked(f.pids[2], true));
    QCOMPARE(*list.tickedCount(), 1);
    const vantrel::Result<int> added = list.add(takeOver ? 202402 : 0);
    QVERIFY2(added, qPrintable(added.error()));
    QCOMPARE(*added, 1);
    QCOMPARE(f.periodPids(202403), (QVector<int> { f.pids[1], f.pids[2], f.pids[3] }));
    QCOMPARE(scalar(u"SELECT Ord FROM %1 WHERE PID = ? AND fDate = 202403"_s.arg(f.table),
                    { f.pids[2] }),
             8);
    if (takeOver) {
        QCOMPARE(f.value(f.basic, f.pids[2], 202403).toDouble(), 4000.0);
        QCOMPARE(f.value(f.bonus, f.pids[2], 202403).toDouble(), 400.0);
        QCOMPARE(f.value(f.note, f.pids[2], 202403).toString(), u"旧"_s);
    } else {
        QVERIFY(f.value(f.basic, f.pids[2], 202403).isNull());
    }
}

void TestWagePeriods::addListsKeptApart()
{
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202403));
    QVERIFY(DeleteWagePersons(theDatabase, f.sid, 202403, { f.pids[0], f.pids[3] }));
    QString firstKey;
    {
        WagePeriodAddList first(theDatabase, f.sid, 202403);
        WagePeriodAddList second(theDatabase, f.sid, 202403);
        firstKey = first.workKey();
        QVERIFY(first.build(0));
        QVERIFY(second.build(0));
        QVERIFY(first.setAllTicked(true));
        QCOMPARE(*first.tickedCount(), 2);
        QCOMPARE(*second.tickedCount(), 0);
        QVERIFY(second.setTicked(f.pids[3], true));
        QCOMPARE(*second.add(0), 1);
        // The first still holds both; the one added meanwhile is not added twice.
        QCOMPARE(*first.add(0), 1);
        QCOMPARE(f.periodPids(202403).size(), f.pids.size());
    }
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_PsnPickWork WHERE WorkKey = ?"_s, { firstKey }), 0);
}

void TestWagePeriods::columnLookKeyedByTable()
{
    const QString widthOf = u"SELECT iWid FROM qz_Items WHERE upper(TblName) = ? AND Name = ?"_s;
    QCOMPARE(scalar(u"SELECT COUNT(*) FROM qz_Items WHERE upper(TblName) = 'QZ_DEPT'"
                    u" AND Name = 'Name'"_s),
             1);
    const int deptWidth = scalar(widthOf, { u"QZ_DEPT"_s, u"Name"_s });
    using vantrel::personnel::SaveColumnFormat;
    using vantrel::personnel::SaveColumnWidth;
    QVERIFY(SaveColumnWidth(theDatabase, WageColumnTable(f.table, u"Name"_s), u"Name"_s, 177));
    QVERIFY(SaveColumnWidth(theDatabase, WageColumnTable(f.table, f.basic), f.basic, 88));
    QVERIFY(
        SaveColumnFormat(theDatabase, WageColumnTable(f.table, f.basic), f.basic, u"1;255;-1"_s));
    QCOMPARE(scalar(widthOf, { u"QZ_PSNBASE"_s, u"Name"_s }), 177);
    QCOMPARE(scalar(widthOf, { u"QZ_DEPT"_s, u"Name"_s }), deptWidth);
    QCOMPARE(scalar(widthOf, { f.table.toUpper(), f.basic }), 88);
    QCOMPARE(theDatabase.run(u"SELECT ColFmt FROM qz_Items WHERE Name = ?"_s, { f.basic })
                 .scalar()
                 .toString(),
             u"1;255;-1"_s);
}

void TestWagePeriods::cellWrite_data()
{
    QTest::addColumn<QString>("item"); // basic or note
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("before"); // done from a second connection first
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QVariant>("stored");
    const int none = int(WageCellRefusal::None);
    QTest::newRow("number") << u"basic"_s << u" 2500.5 "_s << QString() << none << QVariant(2500.5);
    QTest::newRow("empty is NULL") << u"basic"_s << QString() << QString() << none << QVariant();
    QTest::newRow("abc") << u"basic"_s << u"abc"_s << QString() << int(WageCellRefusal::Invalid)
                         << QVariant(1000.0);
    QTest::newRow("text with apostrophe")
        << u"note"_s << u"O'Brien"_s << QString() << none << QVariant(u"O'Brien"_s);
    QTest::newRow("text too long") << u"note"_s << QString(256, u'x') << QString()
                                   << int(WageCellRefusal::Invalid) << QVariant(u"旧"_s);
    QTest::newRow("row deleted elsewhere")
        << u"basic"_s << u"1"_s << u"delete row"_s << int(WageCellRefusal::Gone) << QVariant();
    QTest::newRow("closed elsewhere")
        << u"basic"_s << u"1"_s << u"close"_s << int(WageCellRefusal::Closed) << QVariant(1000.0);
    QTest::newRow("period deleted elsewhere")
        << u"basic"_s << u"1"_s << u"delete period"_s << int(WageCellRefusal::Gone) << QVariant();
}

void TestWagePeriods::cellWrite()
{
    QFETCH(QString, item);
    QFETCH(QString, text);
    QFETCH(QString, before);
    QFETCH(int, refusal);
    QFETCH(QVariant, stored);
    QVERIFY(CreateWagePeriod(theDatabase, 1, f.sid, 202403));
    QVERIFY(f.set(f.basic, f.pids[0], 202403, 1000.0));
    QVERIFY(f.set(f.note, f.pids[0], 202403, u"旧"_s));
    CADODatabase second;
    QVERIFY(second.Open(m_fixture->connectionString()));
    if (before == u"delete row"_s)
        QVERIFY(DeleteWagePersons(second, f.sid, 202403, { f.pids[0] }));
    else if (before == u"close"_s)
        QVERIFY(SetWagePeriodClosed(second, f.sid, 202403, true));
    else if (before == u"delete period"_s)
        QVERIFY(DeleteWagePeriodRange(second, f.sid, 202403, 202403));
    second.Close();
    const QString column = item == u"basic"_s ? f.basic : f.note;
    const WageCellOutcome outcome
        = WriteWageCell(theDatabase, { f.sid, f.table, 202403, f.pids[0], column, text });
    QCOMPARE(int(outcome.refusal), refusal);
    if (refusal == int(WageCellRefusal::Invalid))
        QVERIFY2(outcome.message.contains(item == u"basic"_s ? u"基本工资"_s : u"备注"_s),
                 qPrintable(outcome.message));
    const QVariant now = f.value(column, f.pids[0], 202403);
    QCOMPARE(now.isNull(), stored.isNull());
    if (!stored.isNull())
        QCOMPARE(now.toString(), stored.toString());
    // The other persons' rows are never touched.
    QVERIFY(f.value(f.basic, f.pids[1], 202403).isNull());
}

QTEST_GUILESS_MAIN(TestWagePeriods)
#include "tst_wageperiods.moc"
