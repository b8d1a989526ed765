#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "personnel/wakeupservice.h"
#include "psnfixture.h"
#include "testdatabase.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

namespace {

const QDate today(2026, 3, 10);

QDateTime at(const QDate &date, QTime time = QTime(0, 0))
{
    return QDateTime(date, time);
}

bool addDefinition(const QString &title, const QString &field, int days, bool custom = false,
                   const QString &condition = {}, int ord = 0)
{
    return theDatabase.Execute(u"INSERT INTO qz_PsnCaseWakeup (Title, WTable, WField, BefDays, "
                               "ISCustom, WCondit, Ord) VALUES (?, 'QZ_PSNBASE', ?, ?, ?, ?, ?)"_s,
                               { title, field, days, custom ? 1 : 0, condition, ord });
}

QVector<int> countsOf(const QString &connectionString, const QDate &day)
{
    const auto rows = CountWakeupRows(connectionString, day);
    if (!rows)
        return { -100 };
    QVector<int> counts;
    for (const tagWAKEUPROW &row : *rows)
        counts << row.count;
    return counts;
}

} // namespace

// The reminders' definitions, their date window and custom conditions, counted the way the
// frame's due test and the manager count them: on a read-only connection of their own.
class TestWakeupService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void dateWindow_data();
    void dateWindow();
    void customCondition_data();
    void customCondition();
    void conditionCannotWrite();
    void slowConditionIsStopped();
    void countsIgnoreDepartmentRights();
    void personList();
    void saveProcedure();
    void definitionOrder();
    void personTableIsOffered();

private:
    TestDatabase *m_fixture = nullptr;
};

void TestWakeupService::initTestCase()
{
    registerWakeupProcedures();
}

void TestWakeupService::init()
{
    m_fixture = new TestDatabase;
    VANTREL_OPEN_PSN_FIXTURE(*m_fixture);
    loginAs(u"admin"_s);
}

void TestWakeupService::cleanup()
{
    theDatabase.Close();
    theCurrentUser.reset();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestWakeupService::dateWindow_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("count");

    const QDate endOfYear(2026, 12, 30);
    QTest::newRow("today") << today << QVariant(at(today)) << 5 << 0;
    QTest::newRow("late today") << today << QVariant(at(today, QTime(23, 59))) << 5 << 0;
    QTest::newRow("tomorrow, one day") << today << QVariant(at(today.addDays(1))) << 1 << 1;
    QTest::newRow("last day of 30") << today << QVariant(at(today.addDays(30))) << 30 << 1;
    QTest::newRow("day after 30") << today << QVariant(at(today.addDays(31))) << 30 << 0;
    QTest::newRow("past, near month and day")
        << today << QVariant(at(today.addYears(-1).addDays(2))) << 30 << 0;
    QTest::newRow("no days ahead") << today << QVariant(at(today.addDays(1))) << 0 << 0;
    QTest::newRow("NULL") << today << QVariant() << 30 << 0;
    QTest::newRow("1899-12-30") << today << QVariant(at(QDate(1899, 12, 30))) << 30 << 0;
    QTest::newRow("with a time, last day")
        << today << QVariant(at(today.addDays(5), QTime(18, 30))) << 5 << 1;
    QTest::newRow("across the year end") << endOfYear << QVariant(at(QDate(2027, 1, 3))) << 5 << 1;
    QTest::newRow("across the year end, last year's")
        << endOfYear << QVariant(at(QDate(2026, 1, 3))) << 5 << 0;
}

void TestWakeupService::dateWindow()
{
    QFETCH(QDate, day);
    QFETCH(QVariant, stored);
    QFETCH(int, days);
    QFETCH(int, count);

    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET F14=NULL"_s));
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET F14=? WHERE PID=4"_s, { stored }));
    QVERIFY(addDefinition(u"合同到期"_s, u"f14"_s, days));
    const auto rows = CountWakeupRows(m_fixture->connectionString(), day);
    QVERIFY2(rows, qPrintable(rows.error()));
    QCOMPARE(rows->size(), 1);
    QCOMPARE(rows->first().count, count);
    QCOMPARE(IsAnyReminderDue(*rows), count > 0);
}

void TestWakeupService::customCondition_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("count");

    QTest::newRow("valid") << u"qz_PsnSort.AID=2 AND qz_Dept.DID<>4"_s << 2;
    QTest::newRow("empty") << u"  "_s << -1;
    QTest::newRow("an SQL error") << u"no_such_column=1"_s << -1;
    QTest::newRow("a ';' stored earlier") << u"1=1; DELETE FROM qz_Users"_s << -1;
    QTest::newRow("a table outside the person query") << u"qz_Users.UserID=1"_s << -1;
}

void TestWakeupService::customCondition()
{
    QFETCH(QString, condition);
    QFETCH(int, count);

    QVERIFY(addDefinition(u"自定义"_s, QString(), 0, true, condition));
    const QVector<int> counts = countsOf(m_fixture->connectionString(), today);
    QCOMPARE(counts, QVector<int> { count });
    QVERIFY(theDatabase.run(u"SELECT COUNT(*) FROM qz_Users"_s).scalar().toInt() > 0);
}

void TestWakeupService::conditionCannotWrite()
{
    CADODatabase reader;
    QVERIFY(OpenWakeupConnection(reader, m_fixture->connectionString()));
    if (reader.backend() == vantrel::db::Backend::Postgres) {
        // Writes hidden in function calls of a condition: refused by the read-only
        // transaction, or (this server lets lo_create through) rolled back with it.
        QVERIFY(addDefinition(u"序列"_s, QString(), 0, true,
                              u"nextval(pg_get_serial_sequence('qz_psncasewakeup','id'))>0"_s));
        QVERIFY(addDefinition(u"大对象"_s, QString(), 0, true, u"lo_create(0)>0"_s));
        const QVector<int> counts = countsOf(m_fixture->connectionString(), today);
        QCOMPARE(counts.first(), -1);
        QCOMPARE(
            theDatabase.run(u"SELECT COUNT(*) FROM pg_largeobject_metadata"_s).scalar().toInt(), 0);
    } else {
        // The connection itself refuses: nothing in a condition can switch a guard off.
        const auto deleted = RunGuardedQuery(reader, u"DELETE FROM qz_Users"_s, {});
        QVERIFY(!deleted.ok);
        QVERIFY(theDatabase.run(u"SELECT COUNT(*) FROM qz_Users"_s).scalar().toInt() > 0);
        // A connection that could write is not used at all.
        const auto onWriter = RunGuardedQuery(theDatabase, u"SELECT 1"_s, {});
        QVERIFY(!onWriter.ok);
    }
    const auto inserted
        = RunGuardedQuery(reader, u"INSERT INTO qz_PsnCaseWakeup (Title) VALUES ('x')"_s, {});
    QVERIFY(!inserted.ok);
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnCaseWakeup WHERE Title='x'"_s)
                 .scalar()
                 .toInt(),
             0);
}

void TestWakeupService::slowConditionIsStopped()
{
    const tagWAKEUPITEM endless { 0,
                                  u"慢"_s,
                                  {},
                                  {},
                                  {},
                                  0,
                                  true,
                                  u"(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c)"
                                  " SELECT COUNT(*) FROM c)>0"_s,
                                  0 };
    CADODatabase reader;
    QVERIFY(OpenWakeupConnection(reader, m_fixture->connectionString()));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(CountWakeupPersons(reader, endless, today, QueryBound { 300, nullptr }), -1);
    QVERIFY(clock.elapsed() < 5000);
    const auto list = ListWakeupPersons(reader, endless, today, QueryBound { 300, nullptr });
    QVERIFY(!list);
    QVERIFY2(list.error().contains(u"longer than"), qPrintable(list.error()));
    // The connection still answers afterwards.
    QVERIFY(RunGuardedQuery(reader, u"SELECT COUNT(*) FROM qz_PsnBase"_s, {}).ok);
}

void TestWakeupService::countsIgnoreDepartmentRights()
{
    loginAs(u"dept35"_s);
    QVERIFY(addDefinition(u"全部"_s, QString(), 0, true, u"qz_PsnBase.PID>0"_s));
    QCOMPARE(countsOf(m_fixture->connectionString(), today), QVector<int> { 7 });
}

void TestWakeupService::personList()
{
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET F14=? WHERE PID IN (2, 6)"_s,
                                { at(today.addDays(3)) }));
    const tagWAKEUPITEM item { 1, u"合同到期"_s, {}, u"qz_psnbase"_s, u"F14"_s, 30, false, {}, 0 };
    const auto list = ListWakeupPersons(m_fixture->connectionString(), item, today);
    QVERIFY2(list, qPrintable(list.error()));
    QCOMPARE(list->rows.rowCount(), 2);
    QCOMPARE(list->rows.value(0, 0).toInt(), 2);
    QCOMPARE(list->rows.value(1, 0).toInt(), 6);
    QCOMPARE(list->rows.fieldIndex(u"姓名"_s) > 2, true);
    QCOMPARE(list->widths.size(), list->rows.columnCount() - 3);

    tagWAKEUPITEM empty = item;
    empty.ISCustom = true;
    const auto none = ListWakeupPersons(m_fixture->connectionString(), empty, today);
    QVERIFY(none && none->noCondition);
    tagWAKEUPITEM wrong = item;
    wrong.WField = u"Name"_s;
    QVERIFY(!ListWakeupPersons(m_fixture->connectionString(), wrong, today));
}

void TestWakeupService::saveProcedure()
{
    tagWAKEUPITEM item { 0, u"合同到期"_s, {}, u"QZ_PSNBASE"_s, u"F14"_s, 30, false, {}, 0 };
    int id = 0;
    QString error;
    QCOMPARE(SaveWakeupItem(theDatabase, item, &id, &error), WakeupSave::Saved);
    QVERIFY2(id > 0, qPrintable(error));
    int second = 0;
    QCOMPARE(SaveWakeupItem(theDatabase, item, &second), WakeupSave::Saved);
    QVERIFY(second > id);

    item.ID = id;
    item.Title = u"生日"_s;
    item.ISCustom = true;
    item.WCondit = u"1=1"_s;
    QCOMPARE(SaveWakeupItem(theDatabase, item), WakeupSave::Saved);
    const auto items = LoadWakeupItems(theDatabase);
    QVERIFY(items);
    QCOMPARE(items->size(), 2);
    QCOMPARE(items->first().Title, u"生日"_s);
    QVERIFY(items->first().ISCustom);
    QCOMPARE(items->first().Ord, 0);

    QCOMPARE(DeleteWakeupItem(theDatabase, id), WakeupSave::Saved);
    QCOMPARE(DeleteWakeupItem(theDatabase, id), WakeupSave::Vanished);
    QCOMPARE(SaveWakeupItem(theDatabase, item), WakeupSave::Vanished);
    QCOMPARE(theDatabase.run(u"SELECT COUNT(*) FROM qz_PsnCaseWakeup"_s).scalar().toInt(), 1);
}

void TestWakeupService::definitionOrder()
{
    QVERIFY(addDefinition(u"c"_s, u"F14"_s, 1, false, {}, 2));
    QVERIFY(addDefinition(u"a"_s, u"F14"_s, 1, false, {}, 1));
    QVERIFY(addDefinition(u"d"_s, u"F14"_s, 1, false, {}, 2));
    QVERIFY(addDefinition(u"b"_s, u"F14"_s, 1, false, {}, 1));
    const auto items = LoadWakeupItems(theDatabase);
    QVERIFY(items);
    QStringList titles;
    for (const tagWAKEUPITEM &item : *items)
        titles << item.Title;
    QCOMPARE(titles.join(u','), u"a,b,c,d"_s);
}

void TestWakeupService::personTableIsOffered()
{
    QCOMPARE(theDatabase.run(u"SELECT nType FROM qz_Table WHERE upper(TblName)='QZ_PSNBASE'"_s)
                 .scalar()
                 .toInt(),
             4);
}

QTEST_GUILESS_MAIN(TestWakeupService)
#include "tst_wakeupservice.moc"
