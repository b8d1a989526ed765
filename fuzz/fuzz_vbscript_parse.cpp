// The lexer and parser over any text, as a script and as an expression: a compilation error is
// an answer, a crash or a hang is a fault.
#include "platform/vbscript/parser.h"
#include "platform/vbscript/program.h"
#include "platform/vbscript/scripterror.h"

#include <QString>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString source = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    using vantrel::vbscript::Parser;
    using vantrel::vbscript::ScriptError;
    try {
        Parser::parseScript(source);
    } catch (const ScriptError &) {
    }
    try {
        Parser::parseExpression(source);
    } catch (const ScriptError &) {
    }
    return 0;
}
