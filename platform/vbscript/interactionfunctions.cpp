// MsgBox, InputBox (through the host's DialogHost), Err and CreateObject.
#include "platform/vbscript/builtins.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/dialoghost.h"
#include "platform/vbscript/dictionaryobject.h"
#include "platform/vbscript/regexpobject.h"
#include "platform/vbscript/runtime.h"
#include "platform/vbscript/scripterror.h"

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

DialogHost &dialogs(Runtime &runtime)
{
    DialogHost *host = runtime.dialogHost();
    // No window may be shown from here (a worker thread): the language's answer is
    // Permission denied.
    if (!host)
        raiseError(70);
    return *host;
}

QString optionalText(std::span<const Variant> a, size_t index)
{
    return args::given(a, index) ? Coerce::toString(a[index]) : QString();
}

Variant msgBoxFunction(Runtime &runtime, std::span<const Variant> a)
{
    const QString prompt = Coerce::toString(a[0]);
    const qint32 buttons = args::optionalLong(a, 1, 0);
    const QString title = optionalText(a, 2);
    return Variant::fromInteger(qint16(dialogs(runtime).messageBox(prompt, buttons, title)));
}

Variant inputBoxFunction(Runtime &runtime, std::span<const Variant> a)
{
    const QString prompt = Coerce::toString(a[0]);
    const auto answer = dialogs(runtime).inputBox(prompt, optionalText(a, 1), optionalText(a, 2));
    return Variant(answer.value_or(QString()));
}

Variant errFunction(Runtime &runtime, std::span<const Variant>)
{
    return runtime.errValue();
}

// The objects scripts create by name; nothing else on this system is reachable that way.
Variant createObjectFunction(Runtime &, std::span<const Variant> a)
{
    const QString progId = Coerce::toString(a[0]);
    if (progId.compare(u"Scripting.Dictionary"_s, Qt::CaseInsensitive) == 0)
        return Variant::fromObject(std::make_shared<DictionaryObject>());
    if (progId.compare(u"VBScript.RegExp"_s, Qt::CaseInsensitive) == 0)
        return Variant::fromObject(std::make_shared<RegExpObject>());
    raiseError(429);
}

} // namespace

void addInteractionFunctions(std::vector<BuiltinInfo> &table)
{
    table.push_back({ u"MsgBox"_s, msgBoxFunction, 1, 5 });
    table.push_back({ u"InputBox"_s, inputBoxFunction, 1, 7 });
    table.push_back({ u"Err"_s, errFunction, 0, 0 });
    table.push_back({ u"CreateObject"_s, createObjectFunction, 1, 2 });
}

} // namespace vantrel::vbscript
