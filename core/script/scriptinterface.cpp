#include "core/script/scriptinterface.h"

#include <QMutex>
#include <QReadWriteLock>
#include <QStringList>

#include <vector>

using vantrel::vbscript::HostCall;
using vantrel::vbscript::Variant;

namespace {

struct FunctionTable
{
    QReadWriteLock lock;
    QStringList names; // upper case; index + 1 is the member id
    std::vector<ScriptInterface::Function> functions;
};

FunctionTable &table()
{
    static FunctionTable t;
    return t;
}

} // namespace

void ScriptInterface::registerFunction(const QString &name, Function function)
{
    FunctionTable &t = table();
    QWriteLocker lock(&t.lock);
    const QString upper = name.toUpper();
    const qsizetype index = t.names.indexOf(upper);
    if (index >= 0) {
        t.functions[size_t(index)] = std::move(function);
        return;
    }
    t.names << upper;
    t.functions.push_back(std::move(function));
}

QStringList ScriptInterface::functionNames()
{
    FunctionTable &t = table();
    QReadLocker lock(&t.lock);
    return t.names;
}

int ScriptInterface::memberId(const QString &name) const
{
    FunctionTable &t = table();
    QReadLocker lock(&t.lock);
    const qsizetype index = t.names.indexOf(name.toUpper());
    return index < 0 ? -1 : int(index) + 1;
}

Variant ScriptInterface::invoke(int memberId, HostCall &call)
{
    Function function;
    {
        FunctionTable &t = table();
        QReadLocker lock(&t.lock);
        if (memberId >= 1 && size_t(memberId) <= t.functions.size())
            function = t.functions[size_t(memberId - 1)];
    }
    if (!function) {
        call.raise(438); // Object doesn't support this property or method
        return Variant();
    }
    return function(call);
}
