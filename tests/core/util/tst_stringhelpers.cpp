#include "core/db/connectionstring.h"
#include "core/db/recordsetfilter.h"
#include "core/db/selectstatement.h"
#include "core/db/valuetext.h"
#include "core/util/appfiles.h"
#include "core/util/stringhelpers.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

class TestStringHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void splitString();
    void numericText_data();
    void numericText();
    void periodsAndColours();
    void safeArrayCell();
    void doubleText_data();
    void doubleText();
    void connectionStrings();
    void selectStatements_data();
    void selectStatements();
    void filters_data();
    void filters();
    void iniFileKeepsCommas();
};

void TestStringHelpers::splitString()
{
    QStringList pieces { u"kept"_s };
    QCOMPARE(SplitString(u"a,,b"_s, u',', pieces), 3);
    QCOMPARE(pieces, QStringList({ u"kept"_s, u"a"_s, QString(), u"b"_s }));
    pieces.clear();
    QCOMPARE(SplitString(u"a,"_s, u',', pieces), 2);
    QCOMPARE(SplitString(QString(), u',', pieces), 0);
    QCOMPARE(pieces.size(), 2);
}

void TestStringHelpers::numericText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("negative decimal") << u"-12.5"_s << true << u"-12.5"_s;
    QTest::newRow("blanks around") << u"  42 "_s << true << u"42"_s;
    QTest::newRow("plus") << u"+7"_s << true << u"+7"_s;
    QTest::newRow("minus between digits") << u"1-2"_s << false << u"1-2"_s;
    QTest::newRow("two points") << u"1.2.3"_s << false << u"1.2.3"_s;
    QTest::newRow("lone sign") << u"-"_s << false << u"-"_s;
    QTest::newRow("lone point") << u"."_s << false << u"."_s;
    QTest::newRow("empty") << u"   "_s << false << QString();
    QTest::newRow("letter") << u"1e5"_s << false << u"1e5"_s;
}

void TestStringHelpers::numericText()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(QString, trimmed);
    QCOMPARE(IsNumericText(text), numeric);
    QCOMPARE(text, trimmed);
}

void TestStringHelpers::periodsAndColours()
{
    QCOMPARE(FormatWagePeriod(190001), u"1900年01月"_s);
    QCOMPARE(FormatWagePeriod(202412), u"2024年12月"_s);
    QCOMPARE(ColorFromHtmlText(u"#FF0000"_s), ColorRef(0x0000FF));
    QCOMPARE(ColorFromHtmlText(u"#0080ff"_s), ColorRef(0xFF8000));
    QCOMPARE(ColorFromHtmlText(u"FF0000"_s), InvalidColor);
    QCOMPARE(ColorToHtmlText(0x0000FF), u"ff0000"_s);
    QCOMPARE(ColorToHtmlText(ColorFromHtmlText(u"#12abEF"_s)), u"12abef"_s);
}

void TestStringHelpers::safeArrayCell()
{
    const RowBlock block = { { 1, QVariant() }, { u"x"_s, 2.5 } };
    QVariant v;
    QVERIFY(GetSafeArrayCell(block, 1, 0, v));
    QCOMPARE(v.toString(), u"x"_s);
    QVERIFY(!GetSafeArrayCell(block, 0, 1, v)); // NULL
    QVERIFY(!GetSafeArrayCell(block, 2, 0, v));
    QVERIFY(!GetSafeArrayCell(RowBlock(), 0, 0, v));
}

void TestStringHelpers::doubleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("money") << 12345.67 << u"12345.67"_s;
    QTest::newRow("integral") << 5000.0 << u"5000"_s;
    QTest::newRow("binary fraction") << 0.1 << u"0.1"_s;
    QTest::newRow("sum") << 0.1 + 0.2 << u"0.30000000000000004"_s;
    QTest::newRow("negative") << -0.5 << u"-0.5"_s;
}

void TestStringHelpers::doubleText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(DoubleToText(value), text);
    QCOMPARE(text.toDouble(), value);
}

void TestStringHelpers::connectionStrings()
{
    const QString pg = ConnectionString::forPostgres(u"db.local"_s, 5433, u"hr"_s, u"p;w'd"_s,
                                                     u"Morvel_VANTREL_DB"_s);
    const ConnectionString cs = ConnectionString::parse(pg);
    QCOMPARE(cs.backend(), Backend::Postgres);
    QCOMPARE(cs.host(), u"db.local"_s);
    QCOMPARE(cs.port(), 5433);
    QCOMPARE(cs.userName(), u"hr"_s);
    QCOMPARE(cs.password(), u"p;w'd"_s);
    QCOMPARE(cs.databaseName(), u"Morvel_VANTREL_DB"_s);
    QVERIFY(!ConnectionString::masked(pg).contains(u"p;w'd"_s));
    QVERIFY(!ConnectionString::masked(u"X=1;Password=abc;Y=2"_s).contains(u"abc"_s));

    const ConnectionString file
        = ConnectionString::parse(ConnectionString::forSqlite(u"/tmp/a;b/vantrel.db"_s));
    QCOMPARE(file.backend(), Backend::Sqlite);
    QCOMPARE(file.filePath(), u"/tmp/a;b/vantrel.db"_s);
    QVERIFY(ConnectionString::parse(u"Provider=QPSQL;Server=h;Integrated Security=SSPI"_s)
                .integratedSecurity());
}

void TestStringHelpers::selectStatements_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("updatable");
    QTest::addColumn<QStringList>("columns");
    QTest::newRow("columns") << u"SELECT a, b AS \"名\" FROM t WHERE x IN (1,2) ORDER BY a, b"_s
                             << u"t"_s << true << QStringList({ u"a"_s, u"b"_s });
    QTest::newRow("star") << u"select * from qz_Users"_s << u"qz_Users"_s << true << QStringList();
    QTest::newRow("expression") << u"SELECT a, COUNT(*) FROM t"_s << u"t"_s << false
                                << QStringList({ u"a"_s, QString() });
    QTest::newRow("computed column")
        << u"SELECT a, b + 1 AS c FROM t"_s << u"t"_s << true << QStringList({ u"a"_s, QString() });
    QTest::newRow("join") << u"SELECT a FROM t JOIN u ON t.x = u.x"_s << QString() << false
                          << QStringList();
    QTest::newRow("comma join") << u"SELECT a FROM t, u"_s << QString() << false << QStringList();
    QTest::newRow("group") << u"SELECT a FROM t GROUP BY a"_s << QString() << false
                           << QStringList();
    QTest::newRow("distinct") << u"SELECT DISTINCT a FROM t"_s << u"t"_s << false << QStringList();
    QTest::newRow("subquery in where") << u"SELECT a FROM t WHERE a IN (SELECT b FROM u)"_s
                                       << u"t"_s << true << QStringList({ u"a"_s });
}

void TestStringHelpers::selectStatements()
{
    QFETCH(QString, sql);
    QFETCH(QString, table);
    QFETCH(bool, updatable);
    QFETCH(QStringList, columns);
    const SelectStatement s = SelectStatement::parse(sql);
    QCOMPARE(s.table(), table);
    QCOMPARE(s.isUpdatable(), updatable);
    if (!columns.isEmpty()) {
        QStringList got;
        for (const auto &item : s.items())
            got << item.column;
        QCOMPARE(got, columns);
    }
}

void TestStringHelpers::filters_data()
{
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<QList<int>>("matching");
    QTest::newRow("equal text, any case") << u"Name = 'ZHANG'"_s << QList<int> { 0 };
    QTest::newRow("number") << u"Amount > 150"_s << QList<int> { 1, 2 };
    QTest::newRow("and or parentheses")
        << u"(Amount < 150 OR Amount >= 300) AND Name <> 'li'"_s << QList<int> { 0, 2 };
    QTest::newRow("like prefix") << u"Name LIKE 'w*'"_s << QList<int> { 2 };
    QTest::newRow("like inside") << u"[Name] LIKE '%an%'"_s << QList<int> { 0, 2 };
    QTest::newRow("null") << u"Day = NULL"_s << QList<int> { 2 };
    QTest::newRow("date") << u"Day >= #2024-02-01#"_s << QList<int> { 1 };
    QTest::newRow("quote in value") << u"Name = 'o''neil'"_s << QList<int> {};
}

void TestStringHelpers::filters()
{
    QFETCH(QString, criteria);
    QFETCH(QList<int>, matching);
    RowSet rows;
    rows.addColumn({ u"Name"_s, FieldKind::Text, {}, -1 });
    rows.addColumn({ u"Amount"_s, FieldKind::Double, {}, -1 });
    rows.addColumn({ u"Day"_s, FieldKind::DateTime, {}, -1 });
    rows.appendRow({ u"zhang"_s, 100.0, QDateTime(QDate(2024, 1, 5), QTime(0, 0)) });
    rows.appendRow({ u"li"_s, 200.0, QDateTime(QDate(2024, 3, 5), QTime(0, 0)) });
    rows.appendRow({ u"wang"_s, 300.0, QVariant() });
    const auto filter = RecordsetFilter::parse(criteria, rows);
    QVERIFY2(filter.ok(), qPrintable(filter.error()));
    QList<int> got;
    for (int i = 0; i < rows.rowCount(); ++i) {
        if (filter->matches(rows, i))
            got << i;
    }
    QCOMPARE(got, matching);
    QVERIFY(!RecordsetFilter::parse(u"Name = "_s, rows).ok());
    QVERIFY(!RecordsetFilter::parse(u"Name = 'x' AND"_s, rows).ok());
}

void TestStringHelpers::iniFileKeepsCommas()
{
    const QString line = u"加密,line=with;commas, and spaces "_s;
    AccessIniFile(u"write"_s, u"ConnectInfo"_s, u"DBConnect"_s, line);
    QCOMPARE(AccessIniFile(u"GET"_s, u"ConnectInfo"_s, u"DBConnect"_s), line.trimmed());
    QCOMPARE(AccessIniFile(u"get"_s, u"ConnectInfo"_s, u"Missing"_s, {}, u"dflt"_s), u"dflt"_s);
    QCOMPARE(AccessIniFile(u"OTHER"_s, u"ConnectInfo"_s, u"DBConnect"_s), QString());
    QFile::remove(IniFilePath());
}

QTEST_GUILESS_MAIN(TestStringHelpers)
#include "tst_stringhelpers.moc"
