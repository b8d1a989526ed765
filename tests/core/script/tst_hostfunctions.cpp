#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/hostfunctions.h"
#include "core/script/scriptsession.h"
#include "core/script/scriptsessionscope.h"
#include "core/util/cxmldocument.h"
#include "platform/vbscript/variant.h"
#include "testdatabase.h"
#include "wagefixture.h"

#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;
using vantrel::payroll::WageViewSource;
using vantrel::vbscript::Variant;

class TestHostFunctions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void values_data();
    void values();
    void argumentErrors_data();
    void argumentErrors();
    void manyConditionValues();
    void workerReadsItsSnapshot();
    void catalogueFunctionsAreCallable();
    // Last: it drops a data table.
    void failingQueriesRaise_data();
    void failingQueriesRaise();

private:
    // The value as "TypeName:text" so that one column checks both.
    static QString evaluate(const QString &expression, int *error = nullptr);

    TestDatabase *m_fixture = nullptr;
    WageFixture m_wages;
};

void TestHostFunctions::initTestCase()
{
    registerHostFunctions();
    m_fixture = new TestDatabase;
    VANTREL_OPEN_TEST_DB(*m_fixture, theDatabase, true);
    QVERIFY2(m_wages.build(theDatabase, m_fixture->connectionString()), qPrintable(m_wages.error));
}

void TestHostFunctions::init()
{
    m_wages.publish(m_fixture->connectionString());
}

void TestHostFunctions::cleanupTestCase()
{
    theDatabase.Close();
    delete m_fixture;
    m_fixture = nullptr;
}

QString TestHostFunctions::evaluate(const QString &expression, int *error)
{
    CScriptHostProxy host;
    host.CreateEngine();
    Variant value;
    if (host.Evaluate(expression, &value) != CScriptHostProxy::S_OK_) {
        if (error)
            *error = host.lastError().number();
        return u"error:"_s + host.lastError().description();
    }
    return value.typeName() + u':' + value.toText().value_or(u"?"_s);
}

void TestHostFunctions::values_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const QString &expression, const QString &expected) {
        QTest::newRow(name) << expression << expected;
    };
    row("USERNAME", u"USERNAME"_s, u"String:admin"_s);
    row("SDATE", u"SDate()"_s, u"Long:200701"_s);
    row("SNAME", u"sname"_s, u"String:月度工资"_s);
    row("COUNT", u"COUNT"_s, u"Double:4"_s);
    row("SUM skips NULL", u"SUM(\"基本工资\")"_s, u"Double:12600"_s);
    row("sum takes the last argument", u"sum(\"奖金\", \"基本工资\")"_s, u"Double:12600"_s);
    row("AVG", u"AVG(\"基本工资\")"_s, u"Double:4200"_s);
    row("MAX", u"MAX(\"基本工资\")"_s, u"Double:5200"_s);
    row("MIN", u"myApp.Min(\"基本工资\")"_s, u"Double:3200"_s);
    row("SUM unknown item", u"SUM(\"不存在\")"_s, u"Double:0"_s);
    row("SUM text item", u"SUM(\"备注\")"_s, u"Double:0"_s);
    row("GETSALARY number", u"GETSALARY(\"0001\", \"月度工资\", 200612, \"基本工资\")"_s,
        u"Double:3100"_s);
    row("GETSALARY other set", u"GETSALARY(\"0001\", \"年终奖\", 200612, \"奖金\")"_s,
        u"Double:10000"_s);
    row("GETSALARY text", u"GETSALARY(\"0002\", \"月度工资\", \"200612\", \"备注\")"_s,
        u"String:12月"_s);
    row("GETSALARY NULL", u"GETSALARY(\"0004\", \"月度工资\", 200701, \"基本工资\")"_s,
        u"Double:0"_s);
    row("GETSALARY no person", u"GETSALARY(\"0009\", \"月度工资\", 200701, \"基本工资\")"_s,
        u"Double:0"_s);
    row("GETSALARY no period", u"GETSALARY(\"0001\", \"月度工资\", 200702, \"基本工资\")"_s,
        u"Double:0"_s);
    row("GETPRESALARY one back", u"GETPRESALARY(\"0003\", \"月度工资\", 200701, 1, \"基本工资\")"_s,
        u"Double:5100"_s);
    row("GETPRESALARY over the year",
        u"GETPRESALARY(\"0003\", \"月度工资\", 200701, 2, \"基本工资\")"_s, u"Double:5000"_s);
    row("GETPRESALARY forward", u"GETPRESALARY(\"0001\", \"月度工资\", 200611, -2, \"基本工资\")"_s,
        u"Double:3200"_s);
    row("GETPRESALARY before the data",
        u"GETPRESALARY(\"0001\", \"月度工资\", 200701, 3, \"基本工资\")"_s, u"Double:0"_s);
    row("IIF true", u"IIF(1 < 2, \"文本\", 2)"_s, u"String:文本"_s);
    row("IIF false keeps the type", u"IIF(False, \"文本\", 2)"_s, u"Integer:2"_s);
    row("CEIL", u"CEIL(2.1)"_s, u"Double:3"_s);
    row("CEIL of numeric text", u"Ceil(\"-2.5\")"_s, u"Double:-2"_s);
    row("CEIL negative zero", u"CEIL(-0.5)"_s, u"Double:0"_s);
    row("FLOOR", u"FLOOR(-2.1)"_s, u"Double:-3"_s);
    row("DX", u"DX(1234.56)"_s, u"String:壹仟贰佰叁拾肆元伍角陆分"_s);
    row("in a formula", u"SUM(\"基本工资\") / COUNT + CEIL(0.2)"_s, u"Double:3151"_s);
}

void TestHostFunctions::values()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    QCOMPARE(evaluate(expression), expected);
}

void TestHostFunctions::argumentErrors_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("number");
    QTest::newRow("IIF two") << u"IIF(True, 1)"_s << 5;
    QTest::newRow("IIF four") << u"IIF(True, 1, 2, 3)"_s << 5;
    QTest::newRow("IIF condition") << u"IIF(\"x\", 1, 2)"_s << 5;
    QTest::newRow("CEIL text") << u"CEIL(\"abc\")"_s << 5;
    QTest::newRow("FLOOR none") << u"FLOOR()"_s << 5;
    QTest::newRow("SUM none") << u"SUM()"_s << 5;
    QTest::newRow("SUM Null") << u"SUM(Null)"_s << 13;
    QTest::newRow("GETSALARY three") << u"GETSALARY(\"0001\", \"月度工资\", 200612)"_s << 5;
    QTest::newRow("GETSALARY period")
        << u"GETSALARY(\"0001\", \"月度工资\", \"abc\", \"基本工资\")"_s << 5;
    QTest::newRow("GETPRESALARY months")
        << u"GETPRESALARY(\"0001\", \"月度工资\", 200701, \"x\", \"基本工资\")"_s << 5;
    QTest::newRow("DX too large") << u"DX(1E16)"_s << 6;
}

void TestHostFunctions::argumentErrors()
{
    QFETCH(QString, expression);
    QFETCH(int, number);
    int error = 0;
    const QString result = evaluate(expression, &error);
    QVERIFY2(result.startsWith(u"error:"_s), qPrintable(result));
    QCOMPARE(error, number);
}

void TestHostFunctions::manyConditionValues()
{
    // The view's conditions may run far past the 1000 characters a parameter once held.
    QVariantList excluded;
    for (int i = 1; i <= 500; ++i)
        excluded << -i;
    const QStringList marks(excluded.size(), u"?"_s);
    theApp.m_wageView.conditions << WageViewSource::Fragment {
        u"%1.PID NOT IN (%2)"_s.arg(m_wages.monthlyTable, marks.join(u',')), excluded
    } << WageViewSource::Fragment { u"%1.PID <> ?"_s.arg(m_wages.monthlyTable), { 2 } };
    QCOMPARE(evaluate(u"SUM(\"基本工资\")"_s), u"Double:8400"_s);
    QCOMPARE(evaluate(u"COUNT"_s), u"Double:3"_s);
    // No active wage view: nothing to count or sum.
    theApp.m_wageView = WageViewSource();
    QCOMPARE(evaluate(u"COUNT + SUM(\"基本工资\")"_s), u"Double:0"_s);
}

void TestHostFunctions::failingQueriesRaise_data()
{
    QTest::addColumn<QString>("expression");
    QTest::newRow("COUNT") << u"COUNT"_s;
    QTest::newRow("SUM") << u"SUM(\"基本工资\")"_s;
    QTest::newRow("AVG") << u"AVG(\"基本工资\")"_s;
    QTest::newRow("MAX") << u"MAX(\"基本工资\")"_s;
    QTest::newRow("MIN") << u"MIN(\"基本工资\")"_s;
    QTest::newRow("GETSALARY") << u"GETSALARY(\"0001\", \"年终奖\", 200612, \"奖金\")"_s;
    QTest::newRow("GETPRESALARY") << u"GETPRESALARY(\"0001\", \"年终奖\", 200701, 1, \"奖金\")"_s;
}

void TestHostFunctions::failingQueriesRaise()
{
    QFETCH(QString, expression);
    // The view's rows come from the bonus set's data table, which is gone.
    theApp.m_wageView = WageViewSource();
    theApp.m_wageView.table = m_wages.bonusTable;
    QVERIFY(theDatabase.Execute(u"DROP TABLE IF EXISTS %1"_s.arg(m_wages.bonusTable)));
    int error = 0;
    const QString result = evaluate(expression, &error);
    QVERIFY2(result.startsWith(u"error:%1: "_s.arg(QLatin1StringView(QTest::currentDataTag()))),
             qPrintable(result));
    QCOMPARE(error, int(0x80004005));
}

void TestHostFunctions::workerReadsItsSnapshot()
{
    const ScriptSession snapshot = ScriptSession::snapshot();
    // The interface thread moves on, and even loses its connection: the worker is not affected.
    theApp.SName = u"其他"_s;
    theApp.SDate = 190001;
    theApp.m_wageView = WageViewSource();
    theDatabase.Close();
    QString withSession;
    QString withoutSession;
    QThread *worker = QThread::create([&] {
        withoutSession = evaluate(u"SDATE & \"|\" & SNAME"_s);
        withoutSession += u'|' + evaluate(u"SUM(\"基本工资\")"_s);
        ScriptSessionScope scope(snapshot);
        if (!scope.isOpen()) {
            withSession = scope.error();
            return;
        }
        withSession
            = evaluate(u"SDATE & \"|\" & SNAME & \"|\" & SUM(\"基本工资\") & \"|\" & "
                       "COUNT & \"|\" & GETPRESALARY(\"0002\", SNAME, SDATE, 2, \"基本工资\")"_s);
    });
    worker->start();
    QVERIFY(worker->wait(30000));
    delete worker;
    QCOMPARE(withSession, u"String:200701|月度工资|12600|4|4000"_s);
    QCOMPARE(withoutSession,
             u"String:190001||error:SUM: No database connection for scripts on this thread."_s);
    QCOMPARE(evaluate(u"SNAME"_s), u"String:其他"_s);
    QVERIFY(theDatabase.Open(m_fixture->connectionString()));
}

void TestHostFunctions::catalogueFunctionsAreCallable()
{
    CXmlDocument catalogue;
    QVERIFY2(catalogue.LoadFile(QStringLiteral(VANTREL_FUNCDESCR)),
             qPrintable(catalogue.resultText()));
    QVERIFY(catalogue.FindElement());
    QVERIFY(catalogue.EnterElement());
    QStringList hostFunctions;
    int listed = 0;
    while (catalogue.FindElement(u"function"_s)) {
        const QString type = catalogue.GetAttributeAt(catalogue.currentPosition(), u"type"_s);
        QVERIFY(catalogue.FindChildElement(u"name"_s));
        const QString name = catalogue.GetNodeTextAt(catalogue.childPosition());
        QVERIFY(catalogue.FindChildElement(u"description"_s));
        QVERIFY2(!catalogue.GetNodeTextAt(catalogue.childPosition()).isEmpty(), qPrintable(name));
        QVERIFY(catalogue.FindChildElement(u"example"_s));
        const QString example = catalogue.GetNodeTextAt(catalogue.childPosition());
        QVERIFY2(QStringList({ u"const"_s, u"system"_s, u"vbscript"_s }).contains(type),
                 qPrintable(name));
        QVERIFY2(example.startsWith(name), qPrintable(name));
        const QString value = evaluate(example);
        QVERIFY2(!value.startsWith(u"error:"_s) && !value.startsWith(u"Empty:"_s),
                 qPrintable(example + u" → "_s + value));
        if (type != u"vbscript"_s)
            hostFunctions << name;
        ++listed;
    }
    QVERIFY(listed > 40);
    QCOMPARE(hostFunctions,
             QStringList({ u"USERNAME"_s, u"SDATE"_s, u"SNAME"_s, u"IIF"_s, u"CEIL"_s, u"FLOOR"_s,
                           u"COUNT"_s, u"SUM"_s, u"AVG"_s, u"MAX"_s, u"MIN"_s, u"GETSALARY"_s,
                           u"GETPRESALARY"_s, u"DX"_s }));
}

QTEST_GUILESS_MAIN(TestHostFunctions)
#include "tst_hostfunctions.moc"
