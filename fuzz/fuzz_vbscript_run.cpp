// Compiles and runs any text as a script, then as an expression, in a fresh engine. The engine
// has no step limit, so texts that could run without end are left out: loops, procedures
// (recursion), classes and the functions that run text as code.
#include "platform/vbscript/engine.h"

#include <QRegularExpression>
#include <QString>

#include <cstdint>

namespace {

bool mayRunForever(const QString &source)
{
    static const QRegularExpression words(
        QStringLiteral("\\b(do|while|wend|for|loop|sub|function|class|property|execute|"
                       "executeglobal|eval|getref)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(source).hasMatch();
}

// Space(1E9) is a fair request that the engine answers with Out of memory; under the
// sanitizer's allocation limit it would count as a finding, so large counts are left out.
bool asksForHugeText(const QString &source)
{
    static const QRegularExpression bigNumber(
        QStringLiteral("\\d{7,}|[eE]\\s*\\+?\\s*\\d{2,}|\\^"));
    return bigNumber.match(source).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString source = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (mayRunForever(source) || asksForHugeText(source))
        return 0;
    vantrel::vbscript::Engine engine;
    (void)engine.loadScript(source);
    (void)engine.evaluate(source);
    return 0;
}
