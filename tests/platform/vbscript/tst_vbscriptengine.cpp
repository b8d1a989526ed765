// The C++ interface of the engine: compile once and evaluate many times, host functions and
// named items, calls by name, error reports and the dialog host.
#include "platform/vbscript/dialoghost.h"
#include "platform/vbscript/engine.h"
#include "platform/vbscript/hostobject.h"

#include <QThread>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace vantrel::vbscript;

namespace {

// A stand-in for the program's "myApp": a property Rate, a method UserName and Sum(alias).
class AppObject : public HostObject
{
public:
    int memberId(const QString &name) const override
    {
        if (name.compare(u"Rate"_s, Qt::CaseInsensitive) == 0)
            return 1;
        if (name.compare(u"UserName"_s, Qt::CaseInsensitive) == 0)
            return 2;
        if (name.compare(u"Sum"_s, Qt::CaseInsensitive) == 0)
            return 3;
        return -1;
    }
    Variant invoke(int memberId, HostCall &call) override
    {
        switch (memberId) {
        case 1:
            if (call.isPropertyPut())
                rate = call.argument(call.count() - 1);
            return rate;
        case 2:
            return Variant(u"张三"_s);
        case 3:
            if (call.count() < 1) {
                call.raise(5);
                return Variant(0.0);
            }
            return Variant(*call.argument(call.count() - 1).toText() == u"F1"_s ? 100.5 : 0.0);
        default:
            call.raise(438);
            return Variant();
        }
    }
    QString typeName() const override { return u"ScriptInterface"_s; }

    Variant rate = Variant(0.5);
};

// A tree of named nodes: Name (read and write) and Child (made on first read; reads counted).
class Node : public HostObject
{
public:
    int memberId(const QString &name) const override
    {
        if (name.compare(u"Name"_s, Qt::CaseInsensitive) == 0)
            return 1;
        if (name.compare(u"Child"_s, Qt::CaseInsensitive) == 0)
            return 2;
        return -1;
    }
    Variant invoke(int memberId, HostCall &call) override
    {
        if (memberId == 1) {
            if (call.isPropertyPut())
                text = call.argument(call.count() - 1);
            return text;
        }
        if (memberId == 2) {
            ++childReads;
            if (!child)
                child = std::make_shared<Node>();
            return Variant::fromObject(child);
        }
        call.raise(438);
        return Variant();
    }

    Variant text;
    std::shared_ptr<Node> child;
    int childReads = 0;
};

class RecordingDialogs : public DialogHost
{
public:
    int messageBox(const QString &prompt, int buttons, const QString &title) override
    {
        shown = prompt + u'|' + QString::number(buttons) + u'|' + title;
        return 6; // vbYes
    }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    QString shown;
};

Variant iif(HostCall &call)
{
    if (call.count() != 3) {
        call.raise(5);
        return Variant();
    }
    return *call.argument(0).toBool() ? call.argument(1) : call.argument(2);
}

} // namespace

class TestVbscriptEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepLimitStopsEndlessScripts_data();
    void stepLimitStopsEndlessScripts();
    void compileOnceEvaluateMany();
    void compiledPayrollFormula_data();
    void compiledPayrollFormula();
    void compiledExpressionSeesGlobals();
    void evaluateComparesWithEquals();
    void hostFunctions_data();
    void hostFunctions();
    void hostFunctionRaisesError();
    void namedItemProperties();
    void withStatement();
    void objectsOutliveTheEngine();
    void compilationErrors_data();
    void compilationErrors();
    void failedScriptsLeaveEngineUsable();
    void classNameStaysTakenAcrossScripts();
    void hostMessageNamesTheVariable();
    void callByName();
    void dialogHost();
    void wrapperFunctionsOverNamedItem();
    void enginesOnSeveralThreads();
};

void TestVbscriptEngine::compileOnceEvaluateMany()
{
    Engine engine;
    auto formula = engine.compile(u"a * 2 + B"_s, { u"a"_s, u"b"_s });
    QVERIFY2(formula.ok(), qPrintable(formula.error()));
    QCOMPARE(formula->parameters(), QStringList({ u"a"_s, u"b"_s }));
    QCOMPARE(formula->parameterIndex(u"A"_s), 0);
    QCOMPARE(formula->parameterIndex(u"c"_s), -1);
    double sum = 0;
    for (int i = 0; i < 1000; ++i) {
        const Variant values[] = { Variant(double(i)), Variant(0.5) };
        const auto value = formula->evaluate(values);
        QVERIFY(value.ok());
        sum += value->doubleValue();
    }
    QCOMPARE(sum, 999.0 * 1000 + 500);
    const auto integers
        = formula->evaluate({ Variant::fromInteger(20000), Variant::fromInteger(1) });
    QCOMPARE(integers->type(), VarType::Long); // 40001 no longer fits an Integer
    QCOMPARE(integers->longValue(), 40001);
    const auto missing = formula->evaluate({ Variant(3) });
    QCOMPARE(missing->longValue(), 6); // b left out is Empty
    const auto text = formula->evaluate({ Variant(u"x"_s), Variant(1) });
    QVERIFY(!text.ok());
    QCOMPARE(formula->lastError().number(), 13);
}

void TestVbscriptEngine::compiledPayrollFormula_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");
    QTest::addColumn<double>("expected");
    QTest::newRow("below threshold") << 4000.0 << 1000.0 << 100.0 << 46.67;
    QTest::newRow("above threshold") << 6000.0 << 1000.0 << 100.0 << 146.67;
    QTest::newRow("zeros") << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("half cent to even") << 0.0 << 0.0 << 0.375 << -0.12;
}

void TestVbscriptEngine::compiledPayrollFormula()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    QFETCH(double, expected);
    Engine engine;
    engine.registerFunction(u"IIf"_s, iif);
    auto formula = engine.compile(u"IIf(a>5000,(a-5000)*0.1,0)+b*0.08-Round(c/3,2)"_s,
                                  { u"a"_s, u"b"_s, u"c"_s });
    QVERIFY(formula.ok());
    const auto value = formula->evaluate({ Variant(a), Variant(b), Variant(c) });
    QVERIFY2(value.ok(), qPrintable(value.error()));
    QCOMPARE(value->toDouble().value_or(-1), expected);
}

void TestVbscriptEngine::compiledExpressionSeesGlobals()
{
    Engine engine;
    QVERIFY(
        engine
            .loadScript(u"Dim Bonus : Bonus = 10\nFunction Tax(x) : Tax = x * 0.2 : End Function"_s)
            .ok());
    auto formula = engine.compile(u"Tax(base) + Bonus + Later"_s, { u"base"_s });
    QVERIFY(formula.ok());
    QCOMPARE(formula->evaluate({ Variant(100) })->doubleValue(), 30.0);
    engine.setGlobalValue(u"bonus"_s, Variant(20));
    QVERIFY(engine.loadScript(u"Later = 5"_s).ok()); // defined after the formula was compiled
    QCOMPARE(formula->evaluate({ Variant(100) })->doubleValue(), 45.0);
    QCOMPARE(engine.globalValue(u"LATER"_s).longValue(), 5);
}

void TestVbscriptEngine::evaluateComparesWithEquals()
{
    Engine engine;
    QCOMPARE(engine.evaluate(u"1 = 1"_s)->type(), VarType::Boolean);
    QVERIFY(engine.evaluate(u"1 = 1"_s)->boolValue());
    QVERIFY(engine.evaluate(u"undefinedName"_s)->isEmpty());
    QVERIFY(engine.evaluate(u"  "_s)->isEmpty());
    QCOMPARE(*engine.evaluate(u"\"工资\" & 1"_s)->toText(), u"工资1"_s);
    const auto failed = engine.evaluate(u"1 +"_s);
    QVERIFY(!failed.ok());
    QCOMPARE(engine.lastError().number(), 1023);
    QVERIFY(engine.lastError().isCompilationError());
    QCOMPARE(engine.lastError().column(), 4);
    QVERIFY(!engine.evaluate(u"1 / 0"_s).ok());
    QCOMPARE(engine.lastError().hresult(), qint32(0x800A000B));
    QCOMPARE(engine.lastError().source(), u"Microsoft VBScript runtime error"_s);
}

void TestVbscriptEngine::hostFunctions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bare name") << u"USERNAME"_s << u"张三"_s;
    QTest::newRow("parentheses") << u"username()"_s << u"张三"_s;
    QTest::newRow("in an expression") << u"UserName & \"!\""_s << u"张三!"_s;
    QTest::newRow("through the item") << u"myApp.userName"_s << u"张三"_s;
    QTest::newRow("global member") << u"sum(\"F1\") + SUM(\"F2\")"_s << u"100.5"_s;
    QTest::newRow("registered function") << u"Twice(21)"_s << u"42"_s;
    QTest::newRow("registered, any case") << u"TWICE(1) + twice(2)"_s << u"6"_s;
    QTest::newRow("no arguments, no parentheses") << u"Answer + 1"_s << u"43"_s;
}

void TestVbscriptEngine::hostFunctions()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    Engine engine;
    engine.addNamedItem(u"myApp"_s, std::make_shared<AppObject>(), true);
    engine.registerFunction(u"Twice"_s,
                            [](HostCall &call) { return Variant(*call.argument(0).toLong() * 2); });
    engine.registerFunction(u"Answer"_s, [](HostCall &) { return Variant(42); });
    const auto value = engine.evaluate(expression);
    QVERIFY2(value.ok(), qPrintable(value.error()));
    QCOMPARE(*value->toText(), expected);
}

void TestVbscriptEngine::hostFunctionRaisesError()
{
    Engine engine;
    engine.registerFunction(u"Fails"_s, [](HostCall &call) {
        call.raise(5);
        return Variant();
    });
    engine.registerFunction(u"Explains"_s, [](HostCall &call) {
        call.raise(1001, u"项目不存在"_s);
        return Variant();
    });
    QVERIFY(!engine.evaluate(u"1 + Fails(2)"_s).ok());
    QCOMPARE(engine.lastError().number(), 5);
    QCOMPARE(engine.lastError().description(), u"Invalid procedure call or argument"_s);
    QCOMPARE(engine.lastError().column(), 5);
    QVERIFY(!engine.evaluate(u"Explains"_s).ok());
    QCOMPARE(engine.lastError().description(), u"项目不存在"_s);
    QVERIFY(engine.loadScript(u"On Error Resume Next\nx = Fails(1)\ncaught = Err.Number"_s).ok());
    QCOMPARE(engine.globalValue(u"caught"_s).longValue(), 5);
}

void TestVbscriptEngine::namedItemProperties()
{
    Engine engine;
    auto app = std::make_shared<AppObject>();
    engine.addNamedItem(u"myApp"_s, app);
    QVERIFY(engine.loadScript(u"myApp.Rate = 3\nr = myApp.Rate * 2\nt = TypeName(myApp)"_s).ok());
    QCOMPARE(app->rate.longValue(), 3);
    QCOMPARE(engine.globalValue(u"r"_s).longValue(), 6);
    QCOMPARE(*engine.globalValue(u"t"_s).toText(), u"ScriptInterface"_s);
    QVERIFY(!engine.evaluate(u"Rate"_s)->isNumber()); // not added with global members
    QVERIFY(!engine.evaluate(u"myApp.NoSuchMember"_s).ok());
    QCOMPARE(engine.lastError().number(), 438);
}

void TestVbscriptEngine::withStatement()
{
    Engine engine;
    auto root = std::make_shared<Node>();
    engine.addNamedItem(u"root"_s, root);
    const QString script = uR"(
With root.Child
    .Name = "first"
    With .Child
        .Name = "second"
        inner = .Name
    End With
    outer = .Name
    For i = 1 To 2
        With .Child
            Exit For
        End With
    Next
    afterExit = .Name
End With
)"_s;
    QVERIFY2(engine.loadScript(script).ok(), qPrintable(engine.lastError().message()));
    QCOMPARE(root->childReads, 1); // the With's object is evaluated once
    QVERIFY(root->child);
    QCOMPARE(*root->child->text.toText(), u"first"_s);
    QCOMPARE(*root->child->child->text.toText(), u"second"_s);
    QCOMPARE(*engine.globalValue(u"inner"_s).toText(), u"second"_s);
    QCOMPARE(*engine.globalValue(u"outer"_s).toText(), u"first"_s);
    QCOMPARE(*engine.globalValue(u"afterExit"_s).toText(), u"first"_s);
}

// Objects a host keeps after the engine has gone run no script code any more.
void TestVbscriptEngine::objectsOutliveTheEngine()
{
    Variant instance;
    Variant reference;
    {
        Engine engine;
        const auto loaded
            = engine.loadScript(u"Class C\n  Sub Class_Terminate() : Print 1 : End Sub\n"
                                u"  Function F() : F = 1 : End Function\nEnd Class\n"
                                u"Function G() : G = 2 : End Function\n"
                                u"Set c = New C\nSet r = GetRef(\"G\")"_s);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error()));
        instance = engine.globalValue(u"c"_s);
        reference = engine.globalValue(u"r"_s);
        QCOMPARE(*engine.evaluate(u"c.F() + r()"_s)->toLong(), 3);
    }
    HostCall call({});
    instance.objectValue()->invoke(instance.objectValue()->memberId(u"F"_s), call);
    QVERIFY(call.failed());
    HostCall refCall({});
    reference.objectValue()->invoke(HostObject::DefaultMember, refCall);
    QVERIFY(refCall.failed());
    instance = Variant(); // Class_Terminate would call Print, which the engine no longer has
}

void TestVbscriptEngine::compilationErrors_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::newRow("missing )") << u"x = (1 + 2"_s << 1006 << 1 << 11;
    QTest::newRow("missing expression") << u"x = 1 +* 2"_s << 1023 << 1 << 8;
    QTest::newRow("missing Then") << u"If x = 1\nEnd If"_s << 1017 << 1 << 9;
    QTest::newRow("missing End If") << u"If x Then\n  y = 1\n"_s << 1014 << 3 << 1;
    QTest::newRow("unterminated text") << u"a = 1\nx = \"abc"_s << 1033 << 2 << 9;
    QTest::newRow("parentheses on a Sub call") << u"Foo(1, 2)"_s << 1044 << 1 << 1;
    QTest::newRow("end of statement") << u"x = 5 5"_s << 1025 << 1 << 7;
    QTest::newRow("Next without For") << u"Next"_s << 1055 << 1 << 1;
    QTest::newRow("Loop without Do") << u"x = 1\nLoop"_s << 1038 << 2 << 1;
    QTest::newRow("name redefined") << u"Dim a\nDim b, a"_s << 1041 << 2 << 8;
    QTest::newRow("exit outside a loop") << u"Exit Do"_s << 1039 << 1 << 6;
    QTest::newRow("wrong End") << u"Sub A\nEnd Function"_s << 1016 << 2 << 5;
    QTest::newRow("bad date literal") << u"d = #13/45/2024#"_s << 1002 << 1 << 5;
    QTest::newRow("invalid character") << u"a = 1 ¤ 2"_s << 1032 << 1 << 7;
    QTest::newRow("Dim with a variable bound") << u"Dim a(n)"_s << 1026 << 1 << 7;
    QTest::newRow("Const needs a literal") << u"Const c = x"_s << 1045 << 1 << 11;
    // Case Is and Case … To are not the language: a script using them would not load elsewhere.
    QTest::newRow("Case Is") << u"Select Case n\n  Case 1\n  Case Is > 3\nEnd Select"_s << 1002 << 3
                             << 8;
    QTest::newRow("Case To") << u"Select Case n\n  Case 0, 1 To 5\nEnd Select"_s << 1002 << 2 << 13;
    QTest::newRow("member defined twice")
        << u"Class C\n  Public a\n  Sub A() : End Sub\nEnd Class"_s << 1041 << 3 << 7;
    QTest::newRow("Class defined twice")
        << u"Class C\nEnd Class\nClass c\nEnd Class"_s << 1041 << 3 << 7;
    QTest::newRow("Class after a Sub of its name")
        << u"Sub C()\nEnd Sub\nClass C\nEnd Class"_s << 1041 << 3 << 7;
    QTest::newRow("Function after a Class of its name")
        << u"Class C\nEnd Class\nFunction C()\nEnd Function"_s << 1041 << 3 << 10;
    QTest::newRow("Default on a Sub")
        << u"Class C\n  Public Default Sub S() : End Sub\nEnd Class"_s << 1002 << 2 << 22;
    QTest::newRow("two Default members")
        << u"Class C\n  Default Function A() : End Function\n  Default Property Get B()\n"
           u"  End Property\nEnd Class"_s
        << 1002 << 3 << 24;
    QTest::newRow("Class without End") << u"Class C\n  Public a\n"_s << 1014 << 3 << 1;
    QTest::newRow("With without End") << u"With a\n  .b = 1\n"_s << 1014 << 3 << 1;
}

void TestVbscriptEngine::compilationErrors()
{
    QFETCH(QString, script);
    QFETCH(int, number);
    QFETCH(int, line);
    QFETCH(int, column);
    Engine engine;
    const auto status = engine.loadScript(script);
    QVERIFY(!status.ok());
    const ScriptError &error = engine.lastError();
    QCOMPARE(error.number(), number);
    QCOMPARE(error.description(), ScriptError::standardDescription(number));
    QCOMPARE(error.source(), u"Microsoft VBScript compilation error"_s);
    QCOMPARE(error.line(), line);
    QCOMPARE(error.column(), column);
    QVERIFY(status.error().contains(error.description()));
}

void TestVbscriptEngine::failedScriptsLeaveEngineUsable()
{
    Engine engine;
    QVERIFY(engine.loadScript(QString()).ok()); // an empty global script loads as it is
    QVERIFY(engine.loadScript(u"Dim total : total = 1"_s).ok());
    QVERIFY(!engine.loadScript(u"total = 99\nFunction Broken(\n"_s).ok());
    QCOMPARE(engine.globalValue(u"total"_s).longValue(), 1); // nothing of the bad text ran
    QVERIFY(!engine.hasProcedure(u"Broken"_s));
    QVERIFY(
        !engine
             .loadScript(
                 u"total = 2\nFunction Kept() : Kept = 7 : End Function\nx = 1 / 0\ntotal = 3"_s)
             .ok());
    QCOMPARE(engine.lastError().number(), 11);
    QCOMPARE(engine.lastError().line(), 3);
    QCOMPARE(engine.globalValue(u"total"_s).longValue(), 2);
    QCOMPARE(engine.evaluate(u"Kept() + total"_s)->longValue(), 9);
}

// A global script loaded again replaces its procedures, but its Class cannot come twice; the
// refused text changes nothing.
void TestVbscriptEngine::classNameStaysTakenAcrossScripts()
{
    Engine engine;
    const QString script = u"Class Slip\n  Public Amount\nEnd Class\nFunction Net(a)\n"
                           u"  Net = a * 2\nEnd Function"_s;
    QVERIFY(engine.loadScript(script).ok());
    QVERIFY(!engine.loadScript(u"total = 1\n"_s + script).ok());
    QCOMPARE(engine.lastError().number(), 1041);
    QCOMPARE(engine.lastError().line(), 2);
    QCOMPARE(engine.lastError().column(), 7);
    QVERIFY(engine.globalValue(u"total"_s).isEmpty());
    QVERIFY(!engine.loadScript(u"Sub Slip()\nEnd Sub"_s).ok());
    QCOMPARE(engine.lastError().number(), 1041);
    QVERIFY(engine.loadScript(u"Function Net(a)\n  Net = a * 3\nEnd Function"_s).ok());
    QCOMPARE(*engine.evaluate(u"Net(2)"_s)->toLong(), 6);
    QCOMPARE(engine.evaluate(u"TypeName(New Slip)"_s)->stringValue(), u"Slip"_s);
}

// The host's report names the variable; the script's Err.Description does not.
void TestVbscriptEngine::hostMessageNamesTheVariable()
{
    Engine engine;
    const auto status = engine.loadScript(u"Option Explicit\nDim seen\nseen = missing + 1"_s);
    QVERIFY(!status.ok());
    QCOMPARE(engine.lastError().number(), 500);
    QCOMPARE(engine.lastError().description(), u"Variable is undefined: 'missing'"_s);
    QVERIFY(status.error().startsWith(u"Variable is undefined: 'missing' ("_s));
    QVERIFY(engine
                .loadScript(u"On Error Resume Next\nDim o\no.Run\nDim text\n"
                            u"text = Err.Description"_s)
                .ok());
    QCOMPARE(engine.globalValue(u"text"_s).stringValue(), u"Object required"_s);
    QVERIFY(!engine.loadScript(u"Dim o\no.Run"_s).ok());
    QCOMPARE(engine.lastError().description(), u"Object required: 'o'"_s);
}

void TestVbscriptEngine::callByName()
{
    Engine engine;
    QVERIFY(engine
                .loadScript(u"Function Add(a, b) : Add = a + b : End Function\n"
                            "Sub Bump(n) : n = n + 1 : count = count + 1 : End Sub\n"
                            "Dim count"_s)
                .ok());
    QCOMPARE(engine.call(u"add"_s, { Variant(1), Variant(2.5) })->doubleValue(), 3.5);
    QVERIFY(engine.call(u"Bump"_s, { Variant(1) })->isEmpty());
    QCOMPARE(engine.globalValue(u"count"_s).longValue(), 1);
    QVERIFY(!engine.call(u"Add"_s, { Variant(1) }).ok());
    QCOMPARE(engine.lastError().number(), 450);
    QVERIFY(!engine.call(u"Missing"_s).ok());
    QCOMPARE(engine.lastError().number(), 35);
    QVERIFY(engine.hasProcedure(u"ADD"_s));
}

void TestVbscriptEngine::dialogHost()
{
    Engine engine;
    QVERIFY(!engine.evaluate(u"MsgBox(\"hi\")"_s).ok());
    QCOMPARE(engine.lastError().number(), 70); // no windows from here
    RecordingDialogs dialogs;
    engine.setDialogHost(&dialogs);
    QCOMPARE(
        engine.evaluate(u"MsgBox(\"继续?\", vbYesNo + vbQuestion, \"提示\")"_s)->integerValue(), 6);
    QCOMPARE(dialogs.shown, u"继续?|36|提示"_s);
    QCOMPARE(*engine.evaluate(u"InputBox(\"name\")"_s)->toText(), QString());
}

// Report scripts wrap the members of a named item in functions of the same names, in text
// with CR LF line ends and trailing blanks.
void TestVbscriptEngine::wrapperFunctionsOverNamedItem()
{
    Engine engine;
    auto app = std::make_shared<AppObject>();
    engine.addNamedItem(u"vbo"_s, app);
    const QString script
        = u"Function Sum(sField) \r\nSum = vbo.Sum(sField) \r\n\r\nEnd Function\r\n\r\n"
          u"Function Count() \r\nCount = 3 \r\n\r\nEnd Function\r\n\r\n"
          u"Function Self() \r\nSet Self = vbo \r\n\r\nEnd Function\r\n\r\n"_s;
    QVERIFY(engine.loadScript(script).ok());
    QCOMPARE(engine.evaluate(u"Sum(\"F1\") + Count"_s)->doubleValue(), 103.5);
    QCOMPARE(*engine.evaluate(u"TypeName(Self())"_s)->toText(), u"ScriptInterface"_s);
    QVERIFY(engine.evaluate(u"Self() Is vbo"_s)->boolValue());
}

void TestVbscriptEngine::enginesOnSeveralThreads()
{
    std::vector<qint32> results(4, 0);
    std::vector<std::unique_ptr<QThread>> threads;
    for (size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back(QThread::create([&results, i] {
            Engine engine;
            engine.loadScript(u"s = 0 : For k = 1 To 1000 : s = s + k : Next"_s);
            results[i] = engine.globalValue(u"s"_s).longValue();
        }));
        threads.back()->start();
    }
    for (auto &thread : threads)
        QVERIFY(thread->wait(10000));
    for (qint32 result : results)
        QCOMPARE(result, 500500);
}

void TestVbscriptEngine::stepLimitStopsEndlessScripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("empty loop") << u"Do : Loop"_s;
    QTest::newRow("while") << u"While True : x = x + 1 : Wend"_s;
    QTest::newRow("resume next cannot hide it") << u"On Error Resume Next\nDo : x = 1 / 0 : Loop"_s;
    QTest::newRow("in a procedure") << u"Sub S : Do : Loop : End Sub\nS"_s;
    QTest::newRow("through Execute") << u"Execute \"Do : Loop\""_s;
}

void TestVbscriptEngine::stepLimitStopsEndlessScripts()
{
    QFETCH(QString, script);
    Engine engine;
    engine.setStepLimit(100000);
    QVERIFY(!engine.loadScript(script).ok());
    QVERIFY2(engine.lastError().message().contains(u"ran longer than allowed"_s),
             qPrintable(engine.lastError().message()));

    // A script within the limit runs as ever; no limit is the default.
    Engine bounded;
    bounded.setStepLimit(100000);
    QVERIFY(bounded.loadScript(u"For i = 1 To 1000 : s = s + i : Next"_s).ok());
    Engine free;
    QVERIFY(free.loadScript(u"For i = 1 To 200000 : s = s + i : Next"_s).ok());
}

QTEST_GUILESS_MAIN(TestVbscriptEngine)
#include "tst_vbscriptengine.moc"
