#include "core/db/cadodatabase.h"
#include "core/db/connectionstring.h"
#include "testdatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;
using vantrel::db::Backend;
using vantrel::db::ConnectionString;

namespace {

const QString kMask = u"******"_s;

// Passwords that break a naive writer, reader or masker.
void addPasswords()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("plain") << u"secret"_s;
    QTest::newRow("single quote") << u"it's"_s;
    QTest::newRow("double quotes") << u"say \"hi\""_s;
    QTest::newRow("semicolon") << u"a;b"_s;
    QTest::newRow("all of them") << u"a;b'c\"\"d"_s;
    QTest::newRow("braces") << u"{x}y}"_s;
    QTest::newRow("closing brace first") << u"}{"_s;
    QTest::newRow("leading quote") << u"\"a;b"_s;
    QTest::newRow("trailing blanks") << u"pw  "_s;
    QTest::newRow("leading blanks") << u"  pw"_s;
    QTest::newRow("key inside") << u"x;PWD=y;Password=z"_s;
    QTest::newRow("equals signs") << u"a=b=c"_s;
    QTest::newRow("line break") << u"a\nb"_s;
    QTest::newRow("chinese") << u"密码;工资'"_s;
    QTest::newRow("empty") << QString();
}

} // namespace

class TestConnectionString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passwordRoundTrip_data() { addPasswords(); }
    void passwordRoundTrip();
    void passwordMasked_data() { addPasswords(); }
    void passwordMasked();
    void readForms_data();
    void readForms();
    void maskedForms_data();
    void maskedForms();
    void sqliteFile();
    void failedLoginShowsNoPassword_data();
    void failedLoginShowsNoPassword();
};

void TestConnectionString::passwordRoundTrip()
{
    QFETCH(QString, password);
    const QString text = ConnectionString::forPostgres(u"db01"_s, 5433, u"pay;roll "_s, password,
                                                       u"Morvel_VANTREL_DB"_s, u"require"_s);
    const ConnectionString cs = ConnectionString::parse(text);
    QCOMPARE(cs.backend(), Backend::Postgres);
    QCOMPARE(cs.password(), password);
    QCOMPARE(cs.userName(), u"pay;roll "_s);
    QCOMPARE(cs.host(), u"db01"_s);
    QCOMPARE(cs.port(), 5433);
    QCOMPARE(cs.databaseName(), u"Morvel_VANTREL_DB"_s);
    QCOMPARE(cs.sslMode(), u"require"_s);
    QVERIFY(!cs.integratedSecurity());
}

void TestConnectionString::passwordMasked()
{
    QFETCH(QString, password);
    const QString text
        = ConnectionString::forPostgres(u"db01"_s, 0, u"sa"_s, password, u"Morvel_VANTREL_DB"_s);
    const QString expected
        = ConnectionString::forPostgres(u"db01"_s, 0, u"sa"_s, kMask, u"Morvel_VANTREL_DB"_s);
    QCOMPARE(ConnectionString::masked(text), expected);
    // As an error report carries it: the lines around it stay as they were.
    const QString report = u"Error\n\tConnection String = %1\n\tDescription = refused\n"_s;
    QCOMPARE(ConnectionString::masked(report.arg(text)), report.arg(expected));
}

void TestConnectionString::readForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("database");
    QTest::newRow("braces") << u"PWD={a;b}}c};Database=x"_s << u"a;b}c"_s << u"x"_s;
    QTest::newRow("braces keep quotes") << u"PWD={a\"b'c};Database=x"_s << u"a\"b'c"_s << u"x"_s;
    QTest::newRow("older single quotes") << u"PWD='a;b''c';Database=x"_s << u"a;b'c"_s << u"x"_s;
    QTest::newRow("unquoted is trimmed") << u" pwd =  a b  ; database= x "_s << u"a b"_s << u"x"_s;
    QTest::newRow("quote inside unquoted") << u"PWD=it's;Database=x"_s << u"it's"_s << u"x"_s;
    QTest::newRow("text after closing quote")
        << u"PWD=\"ab\" junk;Database=x"_s << u"ab"_s << u"x"_s;
    QTest::newRow("unclosed quote") << u"PWD=\"a;Database=x"_s << u"a;Database=x"_s << QString();
    QTest::newRow("piece without '='") << u"junk;PWD=a;;Database=x;"_s << u"a"_s << u"x"_s;
}

void TestConnectionString::readForms()
{
    QFETCH(QString, text);
    QFETCH(QString, password);
    QFETCH(QString, database);
    const ConnectionString cs = ConnectionString::parse(text);
    QCOMPARE(cs.password(), password);
    QCOMPARE(cs.databaseName(), database);
}

void TestConnectionString::maskedForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unquoted") << u"UID=sa;PWD=abc;Database=x"_s
                              << u"UID=sa;PWD=******;Database=x"_s;
    QTest::newRow("spelled out, blanks")
        << u"Password = a b ;Database=x"_s << u"Password =******;Database=x"_s;
    QTest::newRow("doubled quotes")
        << u"PWD=\"a\"\";b\"\"\";Database=x"_s << u"PWD=******;Database=x"_s;
    QTest::newRow("braces") << u"pwd={a;b}}c};Database=x"_s << u"pwd=******;Database=x"_s;
    QTest::newRow("older single quotes")
        << u"PWD='a;b''c';Database=x"_s << u"PWD=******;Database=x"_s;
    QTest::newRow("text after closing quote")
        << u"PWD=\"ab\"cd;Database=x"_s << u"PWD=******;Database=x"_s;
    QTest::newRow("unclosed quote") << u"PWD=\"a;b\nDescription = x"_s << u"PWD=******"_s;
    QTest::newRow("last on its line")
        << u"PWD=abc\nDescription = x"_s << u"PWD=******\nDescription = x"_s;
    QTest::newRow("twice") << u"PWD=a;x;Password=\"b;c\""_s << u"PWD=******;x;Password=******"_s;
    QTest::newRow("key inside the value")
        << u"PWD=\"x;PWD=y\";Database=z"_s << u"PWD=******;Database=z"_s;
    QTest::newRow("not a key") << u"NewPWD=a;password: b"_s << u"NewPWD=a;password: b"_s;
}

void TestConnectionString::maskedForms()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ConnectionString::masked(text), expected);
}

void TestConnectionString::sqliteFile()
{
    for (const QString &path : { u"/data/vantrel.db"_s, u"/data/a;b/x.db"_s, u"/data/{x}.db"_s,
                                 u"/data/it's \"here\".db"_s, u"/data/name.db "_s }) {
        const ConnectionString cs = ConnectionString::parse(ConnectionString::forSqlite(path));
        QCOMPARE(cs.backend(), Backend::Sqlite);
        QCOMPARE(cs.filePath(), path);
    }
    QCOMPARE(ConnectionString::forSqlite(u"/data/vantrel.db"_s),
             u"Provider=QSQLITE;Data Source=/data/vantrel.db"_s);
}

void TestConnectionString::failedLoginShowsNoPassword_data()
{
    // Letters that no server message holds, so any three of them in a row would be a leak.
    QTest::addColumn<QString>("password");
    QTest::newRow("quotes and semicolon") << u"Qx7;Zk'Wv\"\"Jm"_s;
    QTest::newRow("braces") << u"{Qx7}}Zk}Wv"_s;
    QTest::newRow("trailing blanks") << u"Qx7Zk  "_s;
    QTest::newRow("equals and quote") << u"Qx7=Zk'8;Wv"_s;
}

void TestConnectionString::failedLoginShowsNoPassword()
{
    QFETCH(QString, password);
    if (TestDatabase::backend() != Backend::Postgres)
        QSKIP("A password is checked by a server");
    const QString text = ConnectionString::forPostgres(
        qEnvironmentVariable("VANTREL_PG_HOST"), qEnvironmentVariable("VANTREL_PG_PORT").toInt(),
        qEnvironmentVariable("VANTREL_PG_USER"), password, u"postgres"_s);
    CADODatabase db;
    QVERIFY(!db.Open(text));
    const QString report = db.GetLastErrorString();
    QVERIFY2(report.contains(kMask), qPrintable(report));
    for (qsizetype i = 0; i + 3 <= password.size(); ++i) {
        const QString fragment = password.mid(i, 3);
        if (fragment.trimmed().size() == 3)
            QVERIFY2(!report.contains(fragment), qPrintable(fragment + u" in "_s + report));
    }
}

QTEST_GUILESS_MAIN(TestConnectionString)
#include "tst_connectionstring.moc"
