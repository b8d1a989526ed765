#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "core/db/databasefile.h"
#include "core/db/rowcursor.h"
#include "testdatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

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
    void hostileValuesRoundTrip_data();
    void hostileValuesRoundTrip();
    void unknownValueTypesAreRefused();
    void commitAfterFailedStatementFails();
    void batchWritesAllOrNothing();
    void readOnlyQueriesCannotWrite();
    void cursorReadsForward();
    void cursorCannotWrite_data();
    void cursorCannotWrite();
    void cursorHoldsTheConnection();
    void missingDatabaseFileIsNotCreated();
    void catalogAsksOnlyForNames();
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

    if (TestDatabase::backend() == Backend::Postgres) {
        // The SSL mode reaches the client library: the test server offers no SSL.
        QVERIFY(db.Open(fixture.connectionString() + u";SSL Mode=disable"_s));
        QVERIFY(!db.Open(fixture.connectionString() + u";SSL Mode=require"_s));
        QVERIFY(!db.Open(fixture.connectionString() + u";SSL Mode=sometimes"_s));
        QCOMPARE(db.GetLastError(), ErrorCode::InvalidArgument);
    }
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
    const QueryResult rows = db.run(u"SELECT a FROM t ORDER BY a"_s);
    QCOMPARE(rows.rows.rowCount(), 1);
    QCOMPARE(rows.scalar().toInt(), 1);
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
    QCOMPARE(db.run(u"SELECT COUNT(*) FROM t"_s).scalar().toInt(), 1);
}

namespace {

QString allCharacters()
{
    QString text;
    for (char16_t c = 1; c < 0x800; ++c)
        text += QChar(c);
    return text + u"\U0001F600"_s; // and a surrogate pair
}

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

// Compares what came back with what went in: exactly, bit for bit for doubles.
bool sameValue(const QVariant &back, const QVariant &sent)
{
    if (!sent.isValid())
        return !back.isValid();
    switch (sent.typeId()) {
    case QMetaType::Double: {
        // SQLite keeps -0.0 as 0: equal, if not the same bits.
        const double a = back.toDouble(), b = sent.toDouble();
        return back.typeId() == QMetaType::Double && (a == b || (std::isnan(a) && std::isnan(b)));
    }
    case QMetaType::LongLong:
        return back.toLongLong() == sent.toLongLong();
    case QMetaType::QDateTime:
        return back.toDateTime() == sent.toDateTime();
    default:
        return back == sent;
    }
}

} // namespace

void TestDatabaseConnection::hostileValuesRoundTrip_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("sqliteOnly");
    const auto text = [](const char *name, const QString &value, bool sqliteOnly = false) {
        QTest::newRow(name) << u"v"_s << QVariant(value) << sqliteOnly;
    };
    text("quote and statement", u"x'); DROP TABLE canary; --"_s);
    text("backslash quote", u"\\'); DROP TABLE canary; --"_s);
    text("backslashes", u"C:\\tmp\\'\\"_s);
    text("question marks", u"谁? 何时? ?"_s);
    text("dollar quotes", u"$$; DROP TABLE canary; $$ $1 $tag$"_s);
    text("E string", u"E'\\x27; DROP TABLE canary; --'"_s);
    text("double quotes", u"\"canary\"; \"\""_s);
    text("comment openers", u"/* -- */ */ /*"_s);
    text("line breaks", u"a\r\nb\rc\nd\te"_s);
    text("empty", QString());
    text("every character", allCharacters());
    text("NUL inside", QString(u"a\0b"_s), true);
    text("8 MB", QString(8 * 1024 * 1024, u'薪').left(4 * 1024 * 1024) + u"'\\"_s);
    QTest::newRow("NULL") << u"v"_s << QVariant() << false;
    QTest::newRow("every byte") << u"b"_s << QVariant(allBytes()) << false;
    QTest::newRow("no bytes") << u"b"_s << QVariant(QByteArray("")) << false;
    QTest::newRow("biggest integer")
        << u"i"_s << QVariant(std::numeric_limits<qint64>::max()) << false;
    QTest::newRow("smallest integer")
        << u"i"_s << QVariant(std::numeric_limits<qint64>::min()) << false;
    QTest::newRow("negative zero") << u"d"_s << QVariant(-0.0) << false;
    QTest::newRow("tenth") << u"d"_s << QVariant(-0.1) << false;
    QTest::newRow("largest double")
        << u"d"_s << QVariant(std::numeric_limits<double>::max()) << false;
    QTest::newRow("smallest double")
        << u"d"_s << QVariant(std::numeric_limits<double>::denorm_min()) << false;
    QTest::newRow("infinity") << u"d"_s << QVariant(std::numeric_limits<double>::infinity())
                              << false;
    QTest::newRow("first day") << u"t"_s << QVariant(QDateTime(QDate(1, 1, 1), QTime(0, 0)))
                               << false;
    QTest::newRow("last moment") << u"t"_s
                                 << QVariant(QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)))
                                 << false;
    QTest::newRow("leap day") << u"t"_s << QVariant(QDateTime(QDate(2024, 2, 29), QTime(12, 0)))
                              << false;
}

void TestDatabaseConnection::hostileValuesRoundTrip()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(bool, sqliteOnly);
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE canary (a INTEGER)"_s));
    QVERIFY(db.Execute(db.dialect().ddl(u"CREATE TABLE t (k INTEGER, v TEXT, b %BLOB%, "
                                        "d DOUBLE PRECISION, i BIGINT, t %DATETIME%)"_s)));
    const bool postgres = TestDatabase::backend() == Backend::Postgres;
    for (const bool conforming : { true, false }) {
        if (!postgres && !conforming)
            break;
        // The old driver's escaping followed this setting, so a value could end its literal.
        if (postgres)
            QVERIFY(db.Execute(u"SET standard_conforming_strings = "_s
                               + (conforming ? u"on"_s : u"off"_s)));
        QVERIFY(db.Execute(u"DELETE FROM t"_s));
        // A '?' in a comment or a quoted text is not a placeholder.
        const bool stored = db.Execute(u"INSERT INTO t (k, %1) -- the value ? goes in\n"
                                       "VALUES (?, ?)"_s.arg(column),
                                       { 1, value });
        if (sqliteOnly && postgres) {
            QVERIFY(!stored); // PostgreSQL keeps no NUL in a text: refused, not cut
            QVERIFY(db.GetLastErrorString().contains(u"NUL"_s));
            continue;
        }
        QVERIFY2(stored, qPrintable(db.GetLastErrorString()));
        const QueryResult back = db.run(
            u"SELECT %1, '?' AS \"a?b\" FROM t WHERE k = ? AND %1 IS NOT DISTINCT FROM ?"_s.arg(
                column),
            { 1, value });
        QVERIFY2(back.ok, qPrintable(back.error.description));
        QCOMPARE(back.rows.rowCount(), 1); // found again by the same value
        QCOMPARE(back.rows.value(0, 1).toString(), u"?"_s);
        QVERIFY2(sameValue(back.rows.value(0, 0), value),
                 qPrintable(back.rows.value(0, 0).toString().left(80)));
    }
    QVERIFY(db.run(u"SELECT COUNT(*) FROM canary"_s).ok);
}

void TestDatabaseConnection::unknownValueTypesAreRefused()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (v TEXT)"_s));
    const QVariantList refused { QVariant(QStringList { u"x'); DROP TABLE t; --"_s }),
                                 QVariant::fromValue(QPoint(1, 2)),
                                 QVariant(std::numeric_limits<quint64>::max()) };
    for (const QVariant &value : refused) {
        QVERIFY(!db.Execute(u"INSERT INTO t (v) VALUES (?)"_s, { value }));
        QCOMPARE(db.GetLastError(), ErrorCode::InvalidArgument);
    }
    QVERIFY(db.GetLastErrorString().contains(u"too large"_s));
    QCOMPARE(db.run(u"SELECT COUNT(*) FROM t"_s).scalar().toInt(), 0);
    // Too few values is an error, not a statement with a hole; a second statement is refused.
    QVERIFY(!db.Execute(u"UPDATE t SET v = ? WHERE v = ?"_s, { u"only one"_s }));
    QVERIFY(!db.Execute(u"DELETE FROM t WHERE v = ?; DROP TABLE t"_s, { u"x"_s }));
    QVERIFY(!db.Execute(u"DELETE FROM t; DROP TABLE t"_s));
    QVERIFY(db.run(u"SELECT COUNT(*) FROM t"_s).ok);
}

void TestDatabaseConnection::commitAfterFailedStatementFails()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER PRIMARY KEY)"_s));
    // The same calls end the same way on both backends: the failed statement fails the commit
    // and nothing of the transaction stays.
    QVERIFY(db.BeginTrans());
    QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (1)"_s));
    QVERIFY(!db.Execute(u"INSERT INTO t (a) VALUES (1)"_s));
    QVERIFY(!db.CommitTrans());
    QCOMPARE(db.transactionDepth(), 0);
    QCOMPARE(db.run(u"SELECT COUNT(*) FROM t"_s).scalar().toInt(), 0);

    // A row that fails inside its own savepoint, rolled back, does not fail the rest.
    QVERIFY(db.BeginTrans());
    for (int a : { 1, 1, 2 }) {
        QVERIFY(db.BeginTrans());
        if (db.Execute(u"INSERT INTO t (a) VALUES (?)"_s, { a }))
            QVERIFY(db.CommitTrans());
        else
            QVERIFY(db.RollbackTrans());
    }
    QVERIFY(db.CommitTrans());
    QCOMPARE(db.run(u"SELECT COUNT(*) FROM t"_s).scalar().toInt(), 2);

    // A failed inner level that is committed anyway fails the outer one as well.
    {
        DbTransaction outer(db);
        DbTransaction inner(db);
        QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (3)"_s));
        QVERIFY(!db.Execute(u"INSERT INTO t (a) VALUES (3)"_s));
        QVERIFY(!inner.commit());
        QVERIFY(!outer.commit());
    }
    QCOMPARE(db.run(u"SELECT COUNT(*) FROM t"_s).scalar().toInt(), 2);
}

void TestDatabaseConnection::batchWritesAllOrNothing()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER PRIMARY KEY, v TEXT, d DOUBLE PRECISION)"_s));
    QVector<QVariantList> rows;
    for (int i = 1; i <= 2500; ++i)
        rows.push_back({ i, i % 7 ? QVariant(u"名'%1"_s.arg(i)) : QVariant(), i / 3.0 });
    QueryResult result = db.runBatch(u"INSERT INTO t (a, v, d) VALUES (?, ?, ?)"_s, rows);
    QVERIFY2(result.ok, qPrintable(result.error.description));
    QCOMPARE(result.rowsAffected, 2500);
    QCOMPARE(db.run(u"SELECT v FROM t WHERE a = 2498"_s).scalar().toString(), u"名'2498"_s);
    QVERIFY(db.run(u"SELECT v FROM t WHERE a = 2499"_s).hasRow());
    QVERIFY(!db.run(u"SELECT v FROM t WHERE a = 2499"_s).scalar().isValid());

    // A duplicate in the middle: named, and none of the batch stays.
    rows.clear();
    for (int i : { 3000, 3001, 5, 3002 })
        rows.push_back({ i, u"x"_s, 0.5 });
    result = db.runBatch(u"INSERT INTO t (a, v, d) VALUES (?, ?, ?)"_s, rows);
    QVERIFY(!result.ok);
    // PostgreSQL writes many rows with one statement: it names the rows of that statement and
    // the key at fault.
    const QString where
        = TestDatabase::backend() == Backend::Postgres ? u"Rows 1 to 4: "_s : u"Row 3: "_s;
    QVERIFY2(result.error.description.startsWith(where), qPrintable(result.error.description));
    // Far into a long batch, after whole chunks have gone through: still nothing stays.
    rows.clear();
    for (int i = 1; i <= 2600; ++i)
        rows.push_back({ i == 2300 ? 5 : 10000 + i, u"y"_s, 1.0 });
    result = db.runBatch(u"INSERT INTO t (a, v, d) VALUES (?, ?, ?)"_s, rows);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.description.contains(u"2300"_s)
                 || result.error.description.startsWith(u"Rows 2201 to 2400"_s),
             qPrintable(result.error.description));
    QCOMPARE(db.run(u"SELECT COUNT(*) FROM t"_s).scalar().toInt(), 2500);
    QCOMPARE(db.transactionDepth(), 0);

    // Updates by key, values of mixed types in one column.
    rows = { { 1.5, 1 }, { 2, 2 }, { QVariant(), 3 } };
    result = db.runBatch(u"UPDATE t SET d = ? WHERE a = ?"_s, rows);
    QVERIFY2(result.ok, qPrintable(result.error.description));
    QCOMPARE(result.rowsAffected, 3);
    QCOMPARE(db.run(u"SELECT d FROM t WHERE a = 1"_s).scalar().toDouble(), 1.5);

    // Many keys, then one key twice: as one row after the other, the last value stays.
    rows.clear();
    for (int a = 1; a <= 2500; ++a)
        rows.push_back({ a * 2.0, a });
    result = db.runBatch(u"UPDATE t SET d = ? WHERE a = ?"_s, rows);
    QVERIFY2(result.ok, qPrintable(result.error.description));
    QCOMPARE(result.rowsAffected, 2500);
    QCOMPARE(db.run(u"SELECT SUM(d) FROM t"_s).scalar().toDouble(), 2500.0 * 2501.0);
    rows = { { 10.0, 7 }, { 20.0, 8 }, { 30.0, 7 } };
    result = db.runBatch(u"UPDATE t SET d = ? WHERE a = ?"_s, rows);
    QCOMPARE(result.rowsAffected, 3);
    QCOMPARE(db.run(u"SELECT d FROM t WHERE a = 7"_s).scalar().toDouble(), 30.0);
}

void TestDatabaseConnection::readOnlyQueriesCannotWrite()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER)"_s));
    QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (1)"_s));
    QVERIFY(db.runReadOnly(u"SELECT COUNT(*) FROM t WHERE a = ?"_s, { 1 }).hasRow());
    QVERIFY(!db.runReadOnly(u"DELETE FROM t"_s).ok);
    if (TestDatabase::backend() == Backend::Postgres)
        QVERIFY(!db.runReadOnly(u"SELECT set_config('search_path', 'x', false)"_s).ok
                || db.run(u"SHOW search_path"_s).scalar().toString() != u"x"_s);
    if (TestDatabase::backend() == Backend::Sqlite) {
        // ATTACH would create a file, and a pragma could switch the guard off.
        QTemporaryDir dir;
        const QString attached = dir.filePath(u"made.db"_s);
        QVERIFY(!db.runReadOnly(u"ATTACH DATABASE ? AS x"_s, { attached }).ok);
        QVERIFY(!QFile::exists(attached));
        QVERIFY(!db.runReadOnly(u"PRAGMA query_only = OFF"_s).ok);
        QVERIFY(!db.runReadOnly(u"DELETE FROM t"_s).ok);
        QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (0)"_s)); // the guard is gone afterwards
    }
    // Inside a transaction of the caller too, and the caller's transaction goes on.
    QVERIFY(db.BeginTrans());
    QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (2)"_s));
    QVERIFY(!db.runReadOnly(u"UPDATE t SET a = 5"_s).ok);
    QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (3)"_s));
    QVERIFY(db.CommitTrans());
    QCOMPARE(db.run(u"SELECT SUM(a) FROM t"_s).scalar().toInt(), 6);
}

void TestDatabaseConnection::cursorReadsForward()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(
        db.Execute(u"CREATE TABLE t (a INTEGER, 名字 TEXT, d TIMESTAMP, x DOUBLE PRECISION)"_s));
    // More rows than one chunk holds, so reading goes on past several.
    const int count = 1000;
    QVector<QVariantList> rows;
    for (int i = 1; i <= count; ++i)
        rows.append(QVariantList { i, i % 3 ? QVariant(u"名%1"_s.arg(i)) : QVariant(),
                                   QDateTime(QDate(2024, 1, 1).addDays(i), QTime(8, 30)),
                                   i / 4.0 });
    QVERIFY(db.runBatch(u"INSERT INTO t VALUES (?, ?, ?, ?)"_s, rows).ok);

    const QueryResult whole = db.runReadOnly(u"SELECT a, 名字, d, x FROM t ORDER BY a"_s);
    QVERIFY(whole.ok);
    ErrorInfo error;
    auto cursor = db.openReadOnlyCursor(
        u"SELECT a, 名字 AS \"姓名\", d, x FROM t WHERE a > ? ORDER BY a"_s, { 0 }, &error);
    QVERIFY2(cursor, qPrintable(error.description));
    QCOMPARE(cursor->fields().size(), 4);
    QCOMPARE(cursor->fieldIndex(u"姓名"_s), 1);
    QCOMPARE(cursor->fieldIndex(u"X"_s), 3);
    for (int pass = 0; pass < 2; ++pass) {
        int n = 0;
        for (; !cursor->isEof(); ++n) {
            QCOMPARE(cursor->position(), qint64(n));
            for (int c = 0; c < 4; ++c)
                QCOMPARE(cursor->value(c), whole.rows.value(n, c));
            QVERIFY(cursor->moveNext());
        }
        QCOMPARE(n, count);
        QCOMPARE(cursor->position(), qint64(count));
        QVERIFY(!cursor->value(0).isValid());
        // Back to the start: the query runs again.
        QVERIFY(cursor->moveFirst());
    }
    // Running again, it holds the connection: a second cursor waits for it to go.
    QVERIFY(!db.openReadOnlyCursor(u"SELECT a FROM t"_s));
    cursor.reset();
    cursor = db.openReadOnlyCursor(u"SELECT a FROM t WHERE a < 0"_s);
    QVERIFY(cursor && cursor->isEof());
}

void TestDatabaseConnection::cursorCannotWrite_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("update") << u"UPDATE t SET a = 5"_s;
    QTest::newRow("delete") << u"DELETE FROM t"_s;
    QTest::newRow("insert returning rows") << u"INSERT INTO t (a) VALUES (9) RETURNING a"_s;
    QTest::newRow("drop") << u"DROP TABLE t"_s;
    QTest::newRow("two statements") << u"SELECT a FROM t; DELETE FROM t"_s;
    QTest::newRow("not SQL") << u"SELEKT a FROM t"_s;
}

void TestDatabaseConnection::cursorCannotWrite()
{
    QFETCH(QString, sql);
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER)"_s));
    QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (1)"_s));
    ErrorInfo error;
    QVERIFY(!db.openReadOnlyCursor(sql, {}, &error));
    QVERIFY(!error.description.isEmpty());
    QCOMPARE(db.run(u"SELECT a FROM t"_s).scalar().toInt(), 1);
    QCOMPARE(db.transactionDepth(), 0);
    QVERIFY(db.Execute(u"INSERT INTO t (a) VALUES (2)"_s)); // the guard is gone afterwards
}

void TestDatabaseConnection::cursorHoldsTheConnection()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(u"CREATE TABLE t (a INTEGER)"_s));
    QVector<QVariantList> rows;
    for (int i = 0; i < 2000; ++i)
        rows.append(QVariantList { i });
    QVERIFY(db.runBatch(u"INSERT INTO t VALUES (?)"_s, rows).ok);

    // While rows are still to come, the connection takes nothing else.
    auto cursor = db.openReadOnlyCursor(u"SELECT a FROM t ORDER BY a"_s);
    QVERIFY(cursor);
    QVERIFY(!db.Execute(u"INSERT INTO t VALUES (-1)"_s));
    QVERIFY(db.GetLastErrorString().contains(u"open cursor"_s));
    // Left in the middle: the statement stops and the connection is free again.
    cursor.reset();
    QVERIFY2(db.Execute(u"INSERT INTO t VALUES (-1)"_s), qPrintable(db.GetLastErrorString()));

    // Once the last row is in, the connection is free while the cursor is still open.
    cursor = db.openReadOnlyCursor(u"SELECT a FROM t WHERE a < 3 ORDER BY a"_s);
    QVERIFY(cursor);
    QVERIFY(db.Execute(u"INSERT INTO t VALUES (-2)"_s));
    QStringList seen;
    for (; !cursor->isEof(); cursor->moveNext())
        seen.append(cursor->value(0).toString());
    QCOMPARE(seen, (QStringList { u"-1"_s, u"0"_s, u"1"_s, u"2"_s }));

    // Inside the caller's transaction, which goes on afterwards.
    QVERIFY(db.BeginTrans());
    QVERIFY(db.Execute(u"INSERT INTO t VALUES (-3)"_s));
    cursor = db.openReadOnlyCursor(u"SELECT a FROM t WHERE a = -3"_s);
    QVERIFY(cursor && !cursor->isEof());
    cursor.reset();
    QVERIFY(db.CommitTrans());
    QCOMPARE(db.run(u"SELECT COUNT(*) FROM t WHERE a < 0"_s).scalar().toInt(), 3);

    // Closing the connection closes the cursor.
    cursor = db.openReadOnlyCursor(u"SELECT a FROM t ORDER BY a"_s);
    QVERIFY(cursor);
    db.Close();
    QVERIFY(cursor->isEof());
    QVERIFY(db.Open());
    QVERIFY(db.Execute(u"INSERT INTO t VALUES (-4)"_s));
}

void TestDatabaseConnection::missingDatabaseFileIsNotCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"unplugged/vantrel.db"_s);
    CADODatabase db;
    QVERIFY(!db.Open(ConnectionString::forSqlite(path)));
    QCOMPARE(db.GetLastError(), ErrorCode::FileNotFound);
    QVERIFY(db.GetLastErrorString().contains(path));
    QVERIFY(!QFileInfo::exists(path));

    QVERIFY(createSqliteDatabase(path));
    QVERIFY(!createSqliteDatabase(path)); // never over an existing file
    QVERIFY2(db.Open(ConnectionString::forSqlite(path)), qPrintable(db.GetLastErrorString()));
}

void TestDatabaseConnection::catalogAsksOnlyForNames()
{
    TestDatabase fixture;
    CADODatabase db;
    VANTREL_OPEN_TEST_DB(fixture, db, false);
    QVERIFY(db.Execute(db.dialect().ddl(u"CREATE TABLE Staff (ID %IDENTITY%, Name TEXT)"_s)));
    QCOMPARE(db.catalog().primaryKey(u"staff"_s).toLower(), u"id"_s);
    QCOMPARE(db.catalog().columns(u"STAFF"_s).size(), 2);
    for (const QString &name : { u"staff; DROP TABLE staff"_s, u"staff')--"_s, u"\"staff\""_s })
        QVERIFY(db.catalog().columns(name).isEmpty());
    QVERIFY(db.run(u"SELECT COUNT(*) FROM staff"_s).ok);
}

QTEST_GUILESS_MAIN(TestDatabaseConnection)
#include "tst_database.moc"
