#include "core/script/hostfunctions.h"

#include "core/script/chinesemoney.h"
#include "core/script/scriptinterface.h"
#include "core/script/scriptsession.h"
#include "core/script/scriptvalue.h"
#include "core/script/wagevalues.h"

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;
using vantrel::Result;
using vantrel::vbscript::HostCall;
using vantrel::vbscript::Variant;

namespace {

constexpr int InvalidArgument = 5; // how the script sees E_INVALIDARG
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int Failed = int(0x80004005); // E_FAIL

// The index of the first of the last n arguments; extra leading arguments are ignored.
std::optional<int> lastArguments(HostCall &call, int n)
{
    if (call.count() < n) {
        call.raise(InvalidArgument);
        return std::nullopt;
    }
    return call.count() - n;
}

std::optional<QString> textArgument(HostCall &call, int index)
{
    std::optional<QString> text = call.argument(index).deref().toText();
    if (!text)
        call.raise(TypeMismatch);
    return text;
}

std::optional<qint32> intArgument(HostCall &call, int index)
{
    const std::optional<qint32> value = call.argument(index).deref().toLong();
    if (!value)
        call.raise(InvalidArgument);
    return value;
}

std::optional<double> numberArgument(HostCall &call, int index)
{
    const std::optional<double> value = call.argument(index).deref().toDouble();
    if (!value)
        call.raise(InvalidArgument);
    return value;
}

Variant raiseFailure(HostCall &call, const QString &function, const QString &error)
{
    call.raise(Failed, function + u": "_s + error);
    return Variant();
}

Variant aggregate(const QString &function, HostCall &call)
{
    const auto first = lastArguments(call, 1);
    const auto alias = first ? textArgument(call, *first) : std::nullopt;
    if (!alias)
        return Variant();
    const Result<double> value = ScriptAggregate(ScriptSession::current(), function, *alias);
    return value ? Variant(*value) : raiseFailure(call, function, value.error());
}

Variant count(HostCall &call)
{
    const Result<double> value = ScriptCount(ScriptSession::current());
    return value ? Variant(*value) : raiseFailure(call, u"COUNT"_s, value.error());
}

// GETSALARY(number, wage set, period, item) and GETPRESALARY(number, wage set, period,
// months before, item).
Variant personSalary(HostCall &call, bool previous)
{
    const auto first = lastArguments(call, previous ? 5 : 4);
    if (!first)
        return Variant();
    const int i = *first;
    const auto number = textArgument(call, i);
    const auto wageSet = number ? textArgument(call, i + 1) : std::nullopt;
    const auto period = wageSet ? intArgument(call, i + 2) : std::nullopt;
    const auto back = period && previous ? intArgument(call, i + 3) : std::optional<qint32>(0);
    const auto alias = period && back ? textArgument(call, previous ? i + 4 : i + 3) : std::nullopt;
    if (!alias)
        return Variant();
    const ScriptSession session = ScriptSession::current();
    const Result<QVariant> value = previous
        ? PersonPreviousWageValue(session, *number, *wageSet, *period, *back, *alias)
        : PersonWageValue(session, *number, *wageSet, *period, *alias);
    if (!value)
        return raiseFailure(call, previous ? u"GETPRESALARY"_s : u"GETSALARY"_s, value.error());
    return ScriptWageValue(*value);
}

Variant iif(HostCall &call)
{
    if (call.count() != 3) {
        call.raise(InvalidArgument);
        return Variant();
    }
    const std::optional<bool> condition = call.argument(0).deref().toBool();
    if (!condition) {
        call.raise(InvalidArgument);
        return Variant();
    }
    return call.argument(*condition ? 1 : 2).deref();
}

template<double (*Round)(double)> Variant wholeNumber(HostCall &call)
{
    const auto first = lastArguments(call, 1);
    const auto value = first ? numberArgument(call, *first) : std::nullopt;
    // + 0.0 turns a negative zero into zero, which prints as 0.
    return value ? Variant(Round(*value) + 0.0) : Variant();
}

double ceilOf(double value)
{
    return std::ceil(value);
}

double floorOf(double value)
{
    return std::floor(value);
}

Variant dx(HostCall &call)
{
    const auto first = lastArguments(call, 1);
    const auto value = first ? numberArgument(call, *first) : std::nullopt;
    if (!value)
        return Variant();
    const std::optional<QString> text = ChineseMoneyText(*value);
    if (!text) {
        call.raise(Overflow);
        return Variant();
    }
    return Variant(*text);
}

} // namespace

Variant ScriptWageValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return Variant(0.0);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Double:
    case QMetaType::Float:
        return Variant(value.toDouble());
    default:
        break;
    }
    const std::optional<QString> text = ScriptValue::fromQVariant(value).toText();
    return text && !text->isEmpty() ? Variant(*text) : Variant(0.0);
}

void registerHostFunctions()
{
    ScriptInterface::registerFunction(
        u"USERNAME"_s, [](HostCall &) { return Variant(ScriptSession::current().userName); });
    ScriptInterface::registerFunction(
        u"SDATE"_s, [](HostCall &) { return Variant(qint32(ScriptSession::current().period)); });
    ScriptInterface::registerFunction(
        u"SNAME"_s, [](HostCall &) { return Variant(ScriptSession::current().wageSetName); });
    ScriptInterface::registerFunction(u"IIF"_s, iif);
    ScriptInterface::registerFunction(u"CEIL"_s, wholeNumber<ceilOf>);
    ScriptInterface::registerFunction(u"FLOOR"_s, wholeNumber<floorOf>);
    ScriptInterface::registerFunction(u"COUNT"_s, count);
    for (const QString &function : { u"SUM"_s, u"AVG"_s, u"MAX"_s, u"MIN"_s }) {
        ScriptInterface::registerFunction(
            function, [function](HostCall &call) { return aggregate(function, call); });
    }
    ScriptInterface::registerFunction(u"GETPRESALARY"_s,
                                      [](HostCall &call) { return personSalary(call, true); });
    ScriptInterface::registerFunction(u"GETSALARY"_s,
                                      [](HostCall &call) { return personSalary(call, false); });
    ScriptInterface::registerFunction(u"DX"_s, dx);
}
