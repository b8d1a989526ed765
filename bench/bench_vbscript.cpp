// Speed of the VBScript interpreter on the work the payroll gives it: (a) one wage formula
// compiled once and evaluated per person, (b) a long integer loop in a script, (c) compiling a
// 2,000-line global script, (d) building a text by 100,000 appends of 10 characters.
#include "platform/vbscript/binder.h"
#include "platform/vbscript/engine.h"
#include "platform/vbscript/parser.h"
#include "platform/vbscript/runtime.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace vantrel::vbscript;

namespace {

Variant iif(HostCall &call)
{
    if (call.count() != 3) {
        call.raise(5);
        return Variant();
    }
    return *call.argument(0).toBool() ? call.argument(1) : call.argument(2);
}

void formulaEvaluation(benchmark::State &state)
{
    Engine engine;
    engine.registerFunction(u"IIf"_s, iif);
    auto formula = engine.compile(u"IIf(a>5000,(a-5000)*0.1,0)+b*0.08-Round(c/3,2)"_s,
                                  { u"a"_s, u"b"_s, u"c"_s });
    if (!formula.ok()) {
        state.SkipWithError(qPrintable(formula.error()));
        return;
    }
    qint32 person = 0;
    double total = 0;
    for (auto _ : state) {
        ++person;
        const Variant values[] = { Variant(3000.0 + person % 4000), Variant(800.0 + person % 500),
                                   Variant(100 + person % 1000 * 0.01) };
        const auto value = formula->evaluate(values);
        total += value->doubleValue();
    }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(formulaEvaluation);

void scriptLoop(benchmark::State &state)
{
    Engine engine;
    const QString script = u"s = 0\nFor i = 1 To 10000000\n    s = s + i\nNext"_s;
    for (auto _ : state) {
        const auto status = engine.loadScript(script);
        if (!status.ok())
            state.SkipWithError(qPrintable(status.error()));
    }
    if (engine.globalValue(u"s"_s).doubleValue() != 50000005000000.0)
        state.SkipWithError("wrong sum");
}
BENCHMARK(scriptLoop)->Unit(benchmark::kMillisecond);

QString globalScript(int lines)
{
    QString text = u"' A global script of the size users keep\nDim gRate, gBase\ngRate = 0.08\n"_s;
    int written = 3;
    for (int k = 0; written < lines; ++k) {
        const QString n = QString::number(k);
        text += u"Function Calc"_s + n
            + u"(a, b)\n"
              u"    Dim t, i\n"
              u"    t = a * gRate + b - "_s
            + n
            + u"\n"
              u"    If t > 100 Then\n"
              u"        t = Round(t, 2)\n"
              u"    ElseIf t < 0 Then\n"
              u"        t = 0\n"
              u"    Else\n"
              u"        t = t + Len(\"基本工资\" & a)\n"
              u"    End If\n"
              u"    For i = 1 To 3 : t = t + i : Next\n"
              u"    Select Case b\n"
              u"        Case 1, 2 : t = t * 2\n"
              u"        Case Else : t = t - 1\n"
              u"    End Select\n"
              u"    Do While t > 1000 : t = t / 2 : Loop\n"
              u"    Calc"_s
            + n
            + u" = IIf(t > 50, t, -t) ' result\n"
              u"End Function\n"
              u"gBase = gBase + Calc"_s
            + n + u"(1000, "_s + n
            + u")\n"
              u"\n"_s;
        written += 20;
    }
    return text;
}

void scriptCompilation(benchmark::State &state)
{
    const QString script = globalScript(2000);
    state.counters["lines"] = double(script.count(u'\n'));
    for (auto _ : state) {
        Runtime runtime;
        std::unique_ptr<Program> program = Parser::parseScript(script);
        Binder(runtime, *program).bindScript();
        benchmark::DoNotOptimize(program->code.size());
    }
}
BENCHMARK(scriptCompilation)->Unit(benchmark::kMillisecond);

// A report script builds its output line by line with s = s & x.
void textAppends(benchmark::State &state)
{
    Engine engine;
    const QString script = u"s = \"\"\nFor i = 1 To 100000\n    s = s & \"0123456789\"\nNext"_s;
    for (auto _ : state) {
        const auto status = engine.loadScript(script);
        if (!status.ok())
            state.SkipWithError(qPrintable(status.error()));
    }
    if (engine.globalValue(u"s"_s).stringValue().size() != 1000000)
        state.SkipWithError("wrong length");
}
BENCHMARK(textAppends)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
