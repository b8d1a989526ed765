// The script object vbo over a database: aggregates of the record source, wage values, report
// objects from layout files.
#include "../core/script/wagefixture.h"
#include "core/db/cadodatabase.h"
#include "platform/reportengine/layoutxml.h"
#include "platform/reportengine/reportscript.h"
#include "reportlib/modmain.h"
#include "reportlib/vbo.h"
#include "tests/support/testdatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using vantrel::vbscript::Variant;

namespace {

Variant call(ferrolyn::Vbo &vbo, const QString &method, std::vector<Variant> args = {})
{
    vantrel::vbscript::HostCall c(args);
    return vbo.invoke(vbo.memberId(method), c);
}

QString show(const Variant &v)
{
    if (v.isNull())
        return u"<Null>"_s;
    if (v.isObject())
        return v.objectValue() ? u"<object>"_s : u"<Nothing>"_s;
    return v.toText().value_or(u"<?>"_s);
}

} // namespace

class TestVbo : public QObject
{
    Q_OBJECT

private:
    TestDatabase m_fixture;
    CADODatabase m_db;
    WageFixture m_wages;

private Q_SLOTS:
    void initTestCase()
    {
        VANTREL_OPEN_TEST_DB(m_fixture, m_db, true);
        QVERIFY2(m_wages.build(m_db, m_fixture.connectionString()), qPrintable(m_wages.error));
        QVERIFY(m_db.Execute(u"CREATE TABLE W (Number VARCHAR(10), Amount DOUBLE PRECISION, "
                             u"Note VARCHAR(10), Empty DOUBLE PRECISION)"_s));
        QVERIFY(m_db.Execute(u"INSERT INTO W (Number, Amount, Note) VALUES ('1', 3, 'abc'), "
                             u"('2', 7, 'x'), ('3', NULL, 'y'), ('4', 5, 'z')"_s));
        ferrolyn::modMain().gConnectionString = m_fixture.connectionString();
    }

    void aggregates_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        const QString all = u"SELECT * FROM W ORDER BY Number"_s;
        const QString none = u"SELECT * FROM W WHERE 1=0"_s;
        QTest::newRow("Sum bare") << all << u"Sum"_s << u"Amount"_s << u"15"_s;
        QTest::newRow("Sum [bracketed]") << all << u"Sum"_s << u"[Amount]"_s << u"15"_s;
        QTest::newRow("Avg skips the NULL") << all << u"Avg"_s << u"Amount"_s << u"5"_s;
        QTest::newRow("Max of 3, 7, NULL, 5") << all << u"Max"_s << u"Amount"_s << u"7"_s;
        QTest::newRow("Min of 3, 7, NULL, 5") << all << u"Min"_s << u"amount"_s << u"3"_s;
        QTest::newRow("Count") << all << u"Count"_s << QString() << u"4"_s;
        QTest::newRow("text is no number") << all << u"Sum"_s << u"Note"_s << QString();
        QTest::newRow("only NULLs") << all << u"Max"_s << u"Empty"_s << QString();
        QTest::newRow("no such field") << all << u"Sum"_s << u"Nope"_s << QString();
        QTest::newRow("Sum, no rows") << none << u"Sum"_s << u"Amount"_s << QString();
        QTest::newRow("Avg, no rows") << none << u"Avg"_s << u"Amount"_s << QString();
        QTest::newRow("Count, no rows") << none << u"Count"_s << QString() << QString();
        QTest::newRow("bad SQL") << u"SELECT * FROM Nowhere"_s << u"Sum"_s << u"Amount"_s
                                 << QString();
    }
    void aggregates()
    {
        QFETCH(QString, sql);
        QFETCH(QString, method);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        ferrolyn::modMain().gRecordSourceSQL = sql;
        ferrolyn::Vbo vbo;
        const Variant result
            = method == u"Count"_s ? call(vbo, method) : call(vbo, method, { Variant(field) });
        QCOMPARE(show(result), expected);
    }

    // A total in every detail row reads the record source once.
    void sourceReadOnce()
    {
        ferrolyn::modMain().gRecordSourceSQL = u"SELECT * FROM W"_s;
        ferrolyn::Vbo vbo;
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(show(call(vbo, u"Sum"_s, { Variant(u"Amount"_s) })), u"15"_s);
            QCOMPARE(show(call(vbo, u"Count"_s)), u"4"_s);
        }
        QCOMPARE(vbo.sourceReads(), 1);
        ferrolyn::modMain().gRecordSourceSQL = u"SELECT * FROM W WHERE Amount > 4"_s;
        QCOMPARE(show(call(vbo, u"Sum"_s, { Variant(u"Amount"_s) })), u"12"_s);
        QCOMPARE(vbo.sourceReads(), 2);
    }

    void noConnection()
    {
        const QString saved = ferrolyn::modMain().gConnectionString;
        ferrolyn::modMain().gConnectionString = u"Provider=QSQLITE;Data Source=/nonexistent/x.db"_s;
        ferrolyn::Vbo vbo;
        ferrolyn::modMain().gConnectionString = saved;
        QCOMPARE(show(call(vbo, u"Count"_s)), QString());
        QCOMPARE(show(call(vbo, u"GetSalary"_s,
                           { Variant(u"0001"_s), Variant(u"月度工资"_s), Variant(qint32(200701)),
                             Variant(u"基本工资"_s) })),
                 QString());
    }

    void wageValues_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("GetSalary")
            << u"GetSalary"_s
            << QStringList { u"0001"_s, u"月度工资"_s, u"200701"_s, u"基本工资"_s } << u"3200"_s;
        QTest::newRow("GetSalary, another person")
            << u"GetSalary"_s
            << QStringList { u"0002"_s, u"月度工资"_s, u"200612"_s, u"基本工资"_s } << u"4100"_s;
        QTest::newRow("GetSalary: the wage set is the second argument")
            << u"GetSalary"_s
            << QStringList { u"0001"_s, u"基本工资"_s, u"200701"_s, u"月度工资"_s } << QString();
        QTest::newRow("GetSalary, other wage set")
            << u"GetSalary"_s << QStringList { u"0001"_s, u"年终奖"_s, u"200612"_s, u"奖金"_s }
            << u"10000"_s;
        QTest::newRow("GetPreSalary one month back")
            << u"GetPreSalary"_s
            << QStringList { u"0001"_s, u"月度工资"_s, u"200701"_s, u"1"_s, u"基本工资"_s }
            << u"3100"_s;
        QTest::newRow("GetPreSalary two months back")
            << u"GetPreSalary"_s
            << QStringList { u"0003"_s, u"月度工资"_s, u"200701"_s, u"2"_s, u"基本工资"_s }
            << u"5000"_s;
        QTest::newRow("quote in a person number")
            << u"GetSalary"_s << QStringList { u"0'1"_s, u"月度工资"_s, u"200701"_s, u"基本工资"_s }
            << QString();
        QTest::newRow("period no number")
            << u"GetSalary"_s << QStringList { u"0001"_s, u"月度工资"_s, u"abc"_s, u"基本工资"_s }
            << QString();
    }
    void wageValues()
    {
        QFETCH(QString, method);
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        ferrolyn::Vbo vbo;
        std::vector<Variant> values;
        for (const QString &a : args)
            values.push_back(Variant(a));
        QCOMPARE(show(call(vbo, method, values)), expected);
    }

    void reportFromTemplate()
    {
        QTemporaryDir dir;
        vantrel::report::ReportLayout withData;
        withData.sections.append(vantrel::report::Section());
        auto *data = withData.addControl(withData.sections[0], u"DDActiveReports2.DataControl"_s,
                                         u"Data1"_s);
        data->props.set(u"Source"_s, u"SELECT 1"_s);
        const QString withPath = dir.filePath(u"with.rpx"_s);
        QVERIFY(vantrel::report::LayoutXml::writeFile(withData, withPath));
        vantrel::report::ReportLayout bare;
        bare.sections.append(vantrel::report::Section());
        const QString barePath = dir.filePath(u"bare.rpx"_s);
        QVERIFY(vantrel::report::LayoutXml::writeFile(bare, barePath));

        ferrolyn::Vbo vbo;
        const QString cn = ferrolyn::modMain().gConnectionString;
        auto layoutOf = [](const Variant &v) {
            auto *object = dynamic_cast<vantrel::report::ReportObject *>(v.objectValue().get());
            return object ? object->layout() : nullptr;
        };
        QCOMPARE(show(call(vbo, u"CreateReportByFileTemplate"_s,
                           { Variant(dir.filePath(u"none.rpx"_s)), Variant(QString()),
                             Variant(QString()) })),
                 u"<Nothing>"_s);

        // Its data control is renamed and pointed; an Empty cnn is the caller's connection, an
        // empty rssql keeps the layout's SQL.
        Variant r = call(vbo, u"CreateReportByFileTemplate"_s,
                         { Variant(withPath), Variant(), Variant(QString()) });
        QVERIFY(layoutOf(r));
        auto *control = layoutOf(r)->dataControl();
        QCOMPARE(control->name, u"DataControl"_s);
        QCOMPARE(control->props.value(u"ConnectionString"_s), cn);
        QCOMPARE(control->props.value(u"Source"_s), u"SELECT 1"_s);

        r = call(vbo, u"CreateReportByFileTemplate"_s,
                 { Variant(barePath), Variant(u"Provider=QSQLITE;Data Source=a.db"_s),
                   Variant(u"SELECT 2"_s) });
        control = layoutOf(r)->dataControl();
        QVERIFY(control);
        QCOMPARE(control->name, u"DataControl"_s);
        QCOMPARE(control->props.value(u"ConnectionString"_s),
                 u"Provider=QSQLITE;Data Source=a.db"_s);
        QCOMPARE(control->props.value(u"Source"_s), u"SELECT 2"_s);

        // A missing file gives an empty report.
        r = call(vbo, u"CreateReportByFile"_s, { Variant(dir.filePath(u"none.rpx"_s)) });
        QVERIFY(layoutOf(r));
        QVERIFY(layoutOf(r)->sections.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVbo)
#include "tst_vbo.moc"
