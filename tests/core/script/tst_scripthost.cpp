#include "core/db/cadodatabase.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/scriptinterface.h"
#include "core/script/scriptvalue.h"
#include "platform/vbscript/engine.h"
#include "testdatabase.h"

#include <QDateTime>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;
using vantrel::vbscript::HostCall;
using vantrel::vbscript::Variant;

class TestScriptHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void hostFunctionsByAnyCase_data();
    void hostFunctionsByAnyCase();
    void noEngineGivesOne();
    void globalScriptAndRestart();
    void errorsShownOnlyOnTheInterfaceThread();
    void valuesCrossBothWays_data();
    void valuesCrossBothWays();

private:
    QStringList m_shown;
};

void TestScriptHost::initTestCase()
{
    ScriptInterface::registerFunction(u"Twice"_s, [](HostCall &call) {
        if (call.count() != 1) {
            call.raise(450);
            return Variant();
        }
        return Variant::fromDouble(call.argument(0).toDouble().value_or(0) * 2);
    });
    CScriptHostProxy::setErrorPresenter(
        [this](const QString &text, const QString &) { m_shown << text; });
}

void TestScriptHost::hostFunctionsByAnyCase_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("expected");
    QTest::newRow("lower") << u"twice(2)"_s << 4.0;
    QTest::newRow("upper") << u"TWICE(3)"_s << 6.0;
    QTest::newRow("through myApp") << u"myApp.Twice(4)"_s << 8.0;
    QTest::newRow("in a formula") << u"Twice(1.5) + 1"_s << 4.0;
}

void TestScriptHost::hostFunctionsByAnyCase()
{
    QFETCH(QString, expression);
    QFETCH(double, expected);
    CScriptHostProxy proxy;
    QCOMPARE(proxy.CreateEngine(), 1);
    QVariant result;
    QCOMPARE(proxy.Evaluate(expression, &result), 0);
    QCOMPARE(result.toDouble(), expected);
    QCOMPARE(ScriptInterface().memberId(u"nosuchfunction"_s), -1);
    QVERIFY(ScriptInterface().memberId(u"twice"_s) > 0);
}

void TestScriptHost::noEngineGivesOne()
{
    CScriptHostProxy proxy;
    QVariant result;
    QCOMPARE(proxy.Evaluate(u"1+1"_s, &result), 1);
    QVERIFY(!result.isValid());
    QCOMPARE(proxy.LoadScript(u"x = 1"_s), 0);
}

void TestScriptHost::globalScriptAndRestart()
{
    TestDatabase fixture;
    VANTREL_OPEN_TEST_DB(fixture, theDatabase, true);
    QVERIFY(theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = ? WHERE nType = 1"_s,
                                { u"Dim counter\ncounter = 10\nFunction Tax(x)\n  Tax = x * 0.1\n"
                                  "End Function\n"_s }));
    CScriptHostProxy proxy;
    RestartScriptHost(&proxy);
    QVariant result;
    QCOMPARE(proxy.Evaluate(u"Tax(5000) + counter"_s, &result), 0);
    QCOMPARE(result.toDouble(), 510.0);
    QVERIFY(proxy.LoadScript(u"counter = counter + 1"_s));
    RestartScriptHost(&proxy); // a clean engine: the change is gone
    QCOMPARE(proxy.Evaluate(u"counter"_s, &result), 0);
    QCOMPARE(result.toInt(), 10);

    // A broken global script is shown once; the engine still evaluates expressions.
    QVERIFY(theDatabase.Execute(u"UPDATE qz_SysOption SET sContent = 'If Then' WHERE nType = 1"_s));
    m_shown.clear();
    RestartScriptHost(&proxy);
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(proxy.Evaluate(u"2 * 3"_s, &result), 0);
    QCOMPARE(result.toInt(), 6);
    theDatabase.Close();
}

void TestScriptHost::errorsShownOnlyOnTheInterfaceThread()
{
    m_shown.clear();
    CScriptHostProxy proxy;
    proxy.CreateEngine();
    QVariant result;
    QVERIFY(proxy.Evaluate(u"1 / 0"_s, &result) < 0);
    QCOMPARE(m_shown, QStringList { u"Division by zero"_s });
    QCOMPARE(proxy.lastError().number(), 11);

    int workerCode = 0;
    int workerNumber = 0;
    QThread *worker = QThread::create([&] {
        CScriptHostProxy own;
        own.CreateEngine();
        QVariant r;
        workerCode = own.Evaluate(u"CInt(\"x\")"_s, &r);
        workerNumber = own.lastError().number();
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    QVERIFY(workerCode < 0);
    QCOMPARE(workerNumber, 13);
    QCOMPARE(m_shown.size(), 1); // nothing shown from the worker
}

void TestScriptHost::valuesCrossBothWays_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("text") << QVariant(u"张三"_s);
    QTest::newRow("integer") << QVariant(42);
    QTest::newRow("double") << QVariant(1234.56);
    QTest::newRow("bool") << QVariant(true);
    QTest::newRow("date") << QVariant(QDateTime(QDate(2024, 2, 29), QTime(13, 30)));
    QTest::newRow("before 1900") << QVariant(QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
}

void TestScriptHost::valuesCrossBothWays()
{
    QFETCH(QVariant, value);
    QCOMPARE(ScriptValue::toQVariant(ScriptValue::fromQVariant(value)), value);
}

QTEST_GUILESS_MAIN(TestScriptHost)
#include "tst_scripthost.moc"
