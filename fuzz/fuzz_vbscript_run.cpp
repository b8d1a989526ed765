// Compiles and runs any text as a script, then as an expression, in a fresh engine whose step
// limit stops texts that would run without end (loops, recursion within the call depth, code
// run by Execute).
#include "platform/vbscript/engine.h"

#include <QRegularExpression>
#include <QString>

#include <cstdint>

namespace {

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
    if (asksForHugeText(source))
        return 0;
    vantrel::vbscript::Engine engine;
    engine.setStepLimit(100000);
    (void)engine.loadScript(source);
    (void)engine.evaluate(source);
    return 0;
}
