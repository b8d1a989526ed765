#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "testdatabase.h"

#include <QSqlQuery>
#include <QTest>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

class TestDatabaseConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failedCallsKeepTheirReport();
    void reopenWithStoredString();
    void countsAffectedRows();
    void transactionsNestAndRollBack();
    void failedStatementLeavesNoPartialChange();
    void boundValuesStayValues_data();
    void boundValuesStayValues();
};

void TestDatabaseConnection::failedCallsKeepTheirReport()
{
    CADODatabase db;
    QVERIFY(!db.Execute(u"SELECT 1"_s));
    QVERIFY(db.GetLastErrorString().startsWith(u"Connection String = "_s));

    TestDatabase fixture;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    // The report names the connection but never its password.
    QString secret = qEnvironmentVariable("VANTREL_PG_PASSWORD");
    if (TestDatabase::backend() == Backend::Sqlite) {
        secret = u"s3cret-word"_s;
        QVERIFY(db.Open(fixture.connectionString() + u";PWD="_s + secret));
    }
    QVERIFY(!db.Execute(u"SELECT * FROM no_such_table"_s));
    const QString report = db.GetLastErrorString();
    QVERIFY2(report.contains(u"\nCADODataBase Error\n\tCode = "_s), qPrintable(report));
    QVERIFY(report.contains(u"no_such_table"_s));
    QVERIFY(!report.contains(secret));
    QVERIFY(report.contains(u"******"_s));
    QCOMPARE(db.GetLastError(), ErrorCode::CommandError);

    // A later success does not clear the report.
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER)"_s));
    QCOMPARE(db.GetLastErrorString(), report);
}

void TestDatabaseConnection::reopenWithStoredString()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER)"_s));
    db.Close();
    QVERIFY(!db.IsOpen());
    QVERIFY(db.Open());
    QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (?)"_s, { 7 }));

    // A failing reopen leaves the object closed.
    QVERIFY(!db.Open(u"Provider=NoSuchThing"_s));
    QVERIFY(!db.IsOpen());
}

void TestDatabaseConnection::countsAffectedRows()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER)"_s));
    QVERIFY(db.Execute(u"INSERT INTO t (a) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                       "SELECT i + 1 FROM n WHERE i < 40000) SELECT i FROM n"_s));
    QVERIFY(db.Execute(u"UPDATE t SET a = a + 1"_s));
    QCOMPARE(db.GetRecordsAffected(), 40000);
}

void TestDatabaseConnection::transactionsNestAndRollBack()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER)"_s));
    {
        DbTransaction outer(db);
        QVERIFY(outer.isActive());
        QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (1)"_s));
        {
            DbTransaction inner(db);
            QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (2)"_s));
        } // rolled back to its savepoint
        QCOMPARE(db.transactionDepth(), 1);
        QVERIFY(outer.commit());
    }
    {
        DbTransaction dropped(db);
        QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (3)"_s));
    }
    QCOMPARE(db.transactionDepth(), 0);
    QSqlQuery q(db.GetActiveConnection());
    QVERIFY(q.exec(u"SELECT a FROM t ORDER BY a"_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QVERIFY(!q.next());
}

void TestDatabaseConnection::failedStatementLeavesNoPartialChange()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER PRIMARY KEY)"_s));
    QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (1)"_s));
    // One statement inserting a new row and a duplicate: neither stays.
    QVERIFY(!db.Execute(u"INSERT INTO t (a) VALUES (2), (1)"_s));
    QSqlQuery q(db.GetActiveConnection());
    QVERIFY(q.exec(u"SELECT COUNT(*) FROM t"_s) && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
}

void TestDatabaseConnection::boundValuesStayValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("quote and statement") << QVariant(u"x'); DROP TABLE t; --"_s);
    QTest::newRow("backslashes") << QVariant(u"C:\\tmp\\'\\"_s);
    QTest::newRow("question mark") << QVariant(u"谁? 何时?"_s);
    QTest::newRow("NULL") << QVariant();
    QTest::newRow("bytes") << QVariant(QByteArray("\x00'\\\xff", 4));
    QTest::newRow("negative double") << QVariant(-0.1);
}

void TestDatabaseConnection::boundValuesStayValues()
{
    QFETCH(QVariant, value);
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(db.dialect().ddl(u"CREATE TABLE t (k INTEGER, v TEXT, b %BLOB%, d DOUBLE "
                                        "PRECISION)"_s)));
    const QString column = value.typeId() == QMetaType::QByteArray ? u"b"_s
        : value.typeId() == QMetaType::Double                      ? u"d"_s
                                                                   : u"v"_s;
    // Question marks inside quotes, quoted names and comments are not placeholders.
    QVERIFY2(db.Execute(u"INSERT INTO t (k, %1) -- the value ? goes in\n"
                        "VALUES (?, ?)"_s.arg(column),
                        { 1, value }),
             qPrintable(db.GetLastErrorString()));
    QSqlQuery q(db.GetActiveConnection());
    QVERIFY(db.runQuery(q, u"SELECT %1, '?' AS \"a?b\" FROM t WHERE k = ?"_s.arg(column), { 1 }));
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), u"?"_s);
    if (!value.isValid())
        QVERIFY(q.value(0).isNull());
    else if (value.typeId() == QMetaType::QByteArray)
        QCOMPARE(q.value(0).toByteArray(), value.toByteArray());
    else
        QCOMPARE(q.value(0), value);
    // Too few values is an error, not a statement with a hole.
    QVERIFY(!db.Execute(u"UPDATE t SET v = ? WHERE k = ?"_s, { u"only one"_s }));
}

QTEST_GUILESS_MAIN(TestDatabaseConnection)
#include "tst_database.moc"
