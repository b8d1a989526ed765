#include "../script/wagefixture.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wageviewsource.h"
#include "core/query/scalarqueries.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "platform/vbscript/variant.h"
#include "scalaranswertostring.h"
#include "testdatabase.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;
using vantrel::payroll::CheckWageViewSql;
using vantrel::payroll::WageViewSource;
using Fragment = WageViewSource::Fragment;

Q_DECLARE_METATYPE(Fragment)

namespace {

QString evaluate(const QString &expression)
{
    CScriptHostProxy host;
    host.CreateEngine();
    vantrel::vbscript::Variant value;
    if (host.Evaluate(expression, &value) != CScriptHostProxy::S_OK_)
        return u"error:"_s + host.lastError().description();
    return value.typeName() + u':' + value.toText().value_or(u"?"_s);
}

int rowsOf(const QString &table)
{
    return GetScalarInt(u"SELECT COUNT(*) FROM "_s + table).valueOr(-1);
}

// vt_write(): adds a qz_Log row and gives 1, so that a statement calling it writes.
void sqliteWriteLog(sqlite3_context *context, int, sqlite3_value **)
{
    char *message = nullptr;
    if (sqlite3_exec(sqlite3_context_db_handle(context),
                     "INSERT INTO qz_Log (lDate, lUser, lAction) "
                     "VALUES ('2024-05-01 00:00:00', 'test', 'written')",
                     nullptr, nullptr, &message)
        != SQLITE_OK) {
        sqlite3_result_error(context, message ? message : "the write failed", -1);
        sqlite3_free(message);
        return;
    }
    sqlite3_result_int(context, 1);
}

bool createWritingFunction(CADODatabase &db)
{
    if (db.backend() == vantrel::db::Backend::Postgres)
        return db.Execute(u"CREATE FUNCTION vt_write() RETURNS integer LANGUAGE plpgsql AS $$"
                          " BEGIN INSERT INTO qz_Log (lDate, lUser, lAction)"
                          " VALUES (now(), 'test', 'written'); RETURN 1; END $$"_s);
    const QVariant handle = db.GetActiveConnection().driver()->handle();
    sqlite3 *sqlite = *static_cast<sqlite3 *const *>(handle.data());
    return sqlite
        && sqlite3_create_function(sqlite, "vt_write", 0, SQLITE_UTF8, nullptr, sqliteWriteLog,
                                   nullptr, nullptr)
        == SQLITE_OK;
}

} // namespace

// The rows of the wage view that COUNT and the aggregates read: built from parts, rendered with
// its values, checked before it runs, and run so that it cannot change anything.
class TestWageViewSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void checkRefusesMoreThanOneSource_data();
    void checkRefusesMoreThanOneSource();
    void renderedFromItsParts();
    void renderRefuses_data();
    void renderRefuses();
    void hostileConditionsNeverRun_data();
    void hostileConditionsNeverRun();
    void valuesAreBoundNotPasted_data();
    void valuesAreBoundNotPasted();
    void aggregatesCannotWrite();
    void sessionSettingsStayAsTheyWere();

private:
    TestDatabase *m_fixture = nullptr;
    WageFixture m_wages;
};

void TestWageViewSource::initTestCase()
{
    registerHostFunctions();
    CScriptHostProxy::setErrorPresenter({});
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY2(m_wages.build(theDatabase, m_fixture->connectionString()), qPrintable(m_wages.error));
}

void TestWageViewSource::init()
{
    m_wages.publish(m_fixture->connectionString());
}

void TestWageViewSource::cleanupTestCase()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

void TestWageViewSource::checkRefusesMoreThanOneSource_data()
{
    QTest::addColumn<QString>("fromWhere");
    QTest::addColumn<int>("values");
    QTest::addColumn<QString>("refusal"); // a part of the reason; empty: accepted
    const auto row = [](const char *name, const QString &text, int values, const QString &why) {
        QTest::newRow(name) << text << values << why;
    };
    row("one table", u" FROM t WHERE (t.fDate = ?)"_s, 1, {});
    row("joins and conditions",
        u" FROM t INNER JOIN qz_PsnBase ON t.PID = qz_PsnBase.PID"
        " WHERE (t.fDate = ?) AND (qz_PsnBase.Name IN (?, ?))"_s,
        3, {});
    row("line breaks", u"\n FROM t\r\nWHERE t.a = 1"_s, 0, {});
    row("keywords in a quoted text", u" FROM t WHERE (t.Note = 'x UNION SELECT 1; -- ?')"_s, 0, {});
    row("keywords in a quoted name", u" FROM t WHERE (t.\"union; select\" = ?)"_s, 1, {});
    row("closed comment", u" FROM t /* the rows; all */ WHERE (t.fDate = ?)"_s, 1, {});

    row("UNION", u" FROM t WHERE 1=0 UNION SELECT COUNT(*) FROM qz_Users"_s, 0, u"UNION"_s);
    row("union in lower case", u" FROM t WHERE 1=0 union all select 1"_s, 0, u"UNION"_s);
    row("INTERSECT", u" FROM t INTERSECT SELECT 1"_s, 0, u"INTERSECT"_s);
    row("EXCEPT", u" FROM t WHERE 1=1 EXCEPT SELECT 1"_s, 0, u"EXCEPT"_s);
    row("set_config in a union",
        u" FROM t WHERE 1=0 UNION SELECT length(set_config('search_path', 'x', false))"_s, 0,
        u"UNION"_s);
    row("second statement", u" FROM t; DELETE FROM t"_s, 0, u"';'"_s);
    row("statement after a comment", u" FROM t /* x */; DROP TABLE t"_s, 0, u"';'"_s);
    row("line comment ends at CR", u" FROM t WHERE 1=1 -- x\r; DELETE FROM t"_s, 0, u"';'"_s);
    row("line comment ends at LF", u" FROM t WHERE 1=1 -- x\n; DELETE FROM t"_s, 0, u"';'"_s);
    row("comment in a comment", u" FROM t /* /* */ ; DELETE FROM t */"_s, 0,
        u"comment inside a comment"_s);
    row("unclosed comment", u" FROM t WHERE 1=1 /* ; DELETE FROM t"_s, 0, u"not closed"_s);
    row("subquery", u" FROM t WHERE t.PID IN (SELECT UserID FROM qz_Users)"_s, 0, u"SELECT"_s);
    row("TABLE query", u" FROM t WHERE EXISTS (TABLE qz_Users)"_s, 0, u"TABLE"_s);
    row("VALUES", u" FROM t WHERE t.PID IN (VALUES (1))"_s, 0, u"VALUES"_s);
    row("WITH", u" FROM t WHERE 1=1 WITH x AS (SELECT 1)"_s, 0, u"WITH"_s);
    row("second table", u" FROM t, qz_Users WHERE 1=1"_s, 0, u"comma"_s);
    row("dollar quoting", u" FROM t WHERE t.a = $$ ' $$ ; DELETE FROM t; $$ ' $$"_s, 0, u"'$'"_s);
    row("bracket quoting", u" FROM t WHERE [x'] = 1; DELETE FROM t; SELECT [']"_s, 0, u"'['"_s);
    row("backquote", u" FROM t WHERE `a` = 1"_s, 0, u"'`'"_s);
    row("backslash escape", u" FROM t WHERE t.a = E'\\'' ; DELETE FROM t ; --'"_s, 0,
        u"backslash"_s);
    row("unclosed text", u" FROM t WHERE t.a = 'x"_s, 0, u"quoted text that is not closed"_s);
    row("unclosed name", u" FROM t WHERE \"x = 1"_s, 0, u"quoted name that is not closed"_s);
    row("breaking out of parentheses", u" FROM t WHERE (1=1)) OR ((1=1)"_s, 0,
        u"without its '('"_s);
    row("open parenthesis", u" FROM t WHERE (1=1"_s, 0, u"without its ')'"_s);
    row("no FROM", u"SELECT 1"_s, 0, u"FROM"_s);
    row("FROM inside a word", u" FROMt WHERE 1=1"_s, 0, u"FROM"_s);
    row("more values than placeholders", u" FROM t WHERE t.a = ?"_s, 2, u"placeholders"_s);
    row("placeholder in a quoted text", u" FROM t WHERE t.a = '?'"_s, 1, u"placeholders"_s);
}

void TestWageViewSource::checkRefusesMoreThanOneSource()
{
    QFETCH(QString, fromWhere);
    QFETCH(int, values);
    QFETCH(QString, refusal);
    const vantrel::Status status = CheckWageViewSql(fromWhere, values);
    if (refusal.isEmpty()) {
        QVERIFY2(status, qPrintable(status.error()));
        return;
    }
    QVERIFY(!status);
    QVERIFY2(status.error().contains(refusal), qPrintable(status.error()));
}

void TestWageViewSource::renderedFromItsParts()
{
    const auto source = m_wages.wageView(200612).render(theDatabase);
    QVERIFY2(source, qPrintable(source.error()));
    QCOMPARE(source->sql,
             u" FROM %1 INNER JOIN qz_PsnBase ON %1.PID = qz_PsnBase.PID"
             " INNER JOIN qz_Dept ON %1.DID = qz_Dept.DID"
             " INNER JOIN qz_PsnSort ON %1.AID = qz_PsnSort.AID WHERE (%1.fDate = ?)"_s.arg(
                 m_wages.monthlyTable));
    QCOMPARE(source->values, QVariantList { 200612 });
    QCOMPARE(evaluate(u"COUNT"_s), u"Double:4"_s);
}

void TestWageViewSource::renderRefuses_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<Fragment>("extra"); // a condition added to the fixture's view
    QTest::addColumn<QString>("refusal");
    const Fragment none { u"1 = 1"_s, {} };
    QTest::newRow("not a wage set") << u"qz_Users"_s << none << u"not the data table"_s;
    QTest::newRow("not a name") << u"qz_WageData1 x; DROP TABLE qz_Users"_s << none
                                << u"not a table name"_s;
    QTest::newRow("no such table") << u"qz_WageData999"_s << none << u"not the data table"_s;
    QTest::newRow("fewer values") << QString() << Fragment { u"a = ? OR b = ?"_s, { 1 } }
                                  << u"2 placeholders for 1 values"_s;
    QTest::newRow("more values") << QString() << Fragment { u"a = 1"_s, { 1 } }
                                 << u"0 placeholders for 1 values"_s;
    QTest::newRow("line comment hides the rest")
        << QString() << Fragment { u"1 = 1 --"_s, {} } << u"line comment"_s;
    QTest::newRow("empty condition") << QString() << Fragment { u"  "_s, {} } << u"empty"_s;
    QTest::newRow("union in a condition")
        << QString() << Fragment { u"1 = 0 UNION SELECT COUNT(*) FROM qz_Users"_s, {} }
        << u"UNION"_s;
    QTest::newRow("leaving the parentheses")
        << QString() << Fragment { u"1 = 1) OR (1 = 1"_s, {} } << u"without its '('"_s;
}

void TestWageViewSource::renderRefuses()
{
    QFETCH(QString, table);
    QFETCH(Fragment, extra);
    QFETCH(QString, refusal);
    WageViewSource view = m_wages.wageView(200701);
    if (!table.isEmpty())
        view.table = table;
    view.conditions << extra;
    const auto source = view.render(theDatabase);
    QVERIFY(!source);
    QVERIFY2(source.error().contains(refusal), qPrintable(source.error()));
}

void TestWageViewSource::hostileConditionsNeverRun_data()
{
    QTest::addColumn<QString>("condition");
    QTest::newRow("union") << u"1 = 0 UNION SELECT COUNT(*) FROM qz_Users"_s;
    QTest::newRow("second statement") << u"1 = 1); DELETE FROM qz_PsnBase; SELECT (1"_s;
    QTest::newRow("statement after a comment") << u"1 = 1 /* x */; DELETE FROM qz_PsnBase"_s;
    QTest::newRow("statement behind a line comment") << u"1 = 1 -- x\n; DELETE FROM qz_PsnBase"_s;
    QTest::newRow("subquery") << u"EXISTS (SELECT 1 FROM qz_Users)"_s;
}

void TestWageViewSource::hostileConditionsNeverRun()
{
    QFETCH(QString, condition);
    theApp.m_wageView.conditions << Fragment { condition, {} };
    for (const QString &call : { u"COUNT"_s, u"SUM(\"基本工资\")"_s, u"MAX(\"基本工资\")"_s }) {
        const QString result = evaluate(call);
        QVERIFY2(result.contains(u"refused"_s), qPrintable(call + u" → "_s + result));
    }
    QCOMPARE(rowsOf(u"qz_PsnBase"_s), 4);
}

void TestWageViewSource::valuesAreBoundNotPasted_data()
{
    QTest::addColumn<QString>("name");  // 0001's name for this row
    QTest::addColumn<QString>("asked"); // the value of the condition
    QTest::addColumn<QString>("found"); // COUNT|SUM
    QTest::newRow("quote") << u"O'Brien"_s << u"O'Brien"_s << u"1|3200"_s;
    QTest::newRow("backslash") << u"back\\slash\\"_s << u"back\\slash\\"_s << u"1|3200"_s;
    QTest::newRow("escaped quote") << u"a\\'b"_s << u"a\\'b"_s << u"1|3200"_s;
    QTest::newRow("statement") << u"x'); DELETE FROM qz_PsnBase; --"_s
                               << u"x'); DELETE FROM qz_PsnBase; --"_s << u"1|3200"_s;
    QTest::newRow("always true") << u"张三"_s << u"x' OR '1'='1"_s << u"0|0"_s;
    QTest::newRow("backslash before quote") << u"张三"_s << u"\\' OR 1=1 --"_s << u"0|0"_s;
}

void TestWageViewSource::valuesAreBoundNotPasted()
{
    QFETCH(QString, name);
    QFETCH(QString, asked);
    QFETCH(QString, found);
    QVERIFY(
        theDatabase.Execute(u"UPDATE qz_PsnBase SET Name = ? WHERE Number = '0001'"_s, { name }));
    theApp.m_wageView.conditions << Fragment { u"qz_PsnBase.Name = ?"_s, { asked } };
    QCOMPARE(evaluate(u"COUNT & \"|\" & SUM(\"基本工资\")"_s), u"String:"_s + found);
    QCOMPARE(rowsOf(u"qz_PsnBase"_s), 4);
    QVERIFY(theDatabase.Execute(u"UPDATE qz_PsnBase SET Name = '张三' WHERE Number = '0001'"_s));
}

void TestWageViewSource::aggregatesCannotWrite()
{
    QVERIFY2(createWritingFunction(theDatabase), qPrintable(theDatabase.GetLastErrorString()));
    // The function writes when nothing stops it.
    const int before = rowsOf(u"qz_Log"_s);
    QVERIFY(theDatabase.run(u"SELECT vt_write()"_s).ok);
    QCOMPARE(rowsOf(u"qz_Log"_s), before + 1);

    theApp.m_wageView.conditions << Fragment { u"vt_write() = ?"_s, { 1 } };
    for (const QString &call : { u"COUNT"_s, u"SUM(\"基本工资\")"_s, u"AVG(\"基本工资\")"_s }) {
        const QString result = evaluate(call);
        QVERIFY2(result.startsWith(u"error:"_s), qPrintable(call + u" → "_s + result));
        QVERIFY2(result.contains(QRegularExpression(u"read-?only"_s)), qPrintable(result));
    }
    QCOMPARE(rowsOf(u"qz_Log"_s), before + 1);
    // The connection reads and writes as before.
    QVERIFY(theDatabase.Execute(u"DELETE FROM qz_Log WHERE lAction = 'written'"_s));
    QCOMPARE(rowsOf(u"qz_Log"_s), before);
}

void TestWageViewSource::sessionSettingsStayAsTheyWere()
{
    if (TestDatabase::backend() != vantrel::db::Backend::Postgres)
        QSKIP("Only PostgreSQL has settings that a query can change");
    const QString setting = u"SELECT current_setting('application_name')"_s;
    const ScalarAnswer<QString> before = GetScalarText(setting);
    QVERIFY(before.hasRow());
    theApp.m_wageView.conditions << Fragment {
        u"length(set_config('application_name', ?, false)) > 0"_s, { u"vt_x"_s }
    };
    // Whatever the call gives, the session keeps its own setting.
    evaluate(u"COUNT"_s);
    evaluate(u"SUM(\"基本工资\")"_s);
    QCOMPARE(GetScalarText(setting), before.value());
}

QTEST_GUILESS_MAIN(TestWageViewSource)
#include "tst_wageviewsource.moc"
