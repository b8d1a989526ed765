// CInt, CLng, CDbl, CSng, CCur, CStr, CBool, CDate, CByte and the type tests.
#include "platform/vbscript/builtins.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/dateparser.h"
#include "platform/vbscript/numbertext.h"
#include "platform/vbscript/scripterror.h"

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

Variant cintFunction(Runtime &, std::span<const Variant> a)
{
    return Variant::fromInteger(Coerce::toInteger(a[0]));
}

Variant clngFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(Coerce::toLong(a[0]));
}

Variant cdblFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(Coerce::toDouble(a[0]));
}

Variant csngFunction(Runtime &, std::span<const Variant> a)
{
    return Variant::fromSingle(Coerce::toSingle(a[0]));
}

Variant ccurFunction(Runtime &, std::span<const Variant> a)
{
    return Variant::fromCurrencyRaw(Coerce::toCurrency(a[0]));
}

Variant cstrFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(Coerce::toString(a[0]));
}

Variant cboolFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(Coerce::toBool(a[0]));
}

Variant cdateFunction(Runtime &, std::span<const Variant> a)
{
    return Variant::fromDate(Coerce::toDate(a[0]));
}

Variant cbyteFunction(Runtime &, std::span<const Variant> a)
{
    return Variant::fromByte(Coerce::toByte(a[0]));
}

Variant isNumericFunction(Runtime &, std::span<const Variant> a)
{
    const Variant &v = a[0];
    if (v.isString()) {
        double ignored = 0;
        return Variant(NumberText::parse(v.stringValue(), ignored));
    }
    return Variant(v.isEmpty() || v.isNumber());
}

Variant isEmptyFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(a[0].isEmpty());
}

Variant isNullFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(a[0].isNull());
}

Variant isDateFunction(Runtime &, std::span<const Variant> a)
{
    const Variant &v = a[0];
    if (v.type() == VarType::Date)
        return Variant(true);
    double ignored = 0;
    return Variant(v.isString() && DateParser::parse(v.stringValue(), ignored));
}

Variant isArrayFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(a[0].isArray());
}

Variant isObjectFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(a[0].isObject());
}

Variant varTypeFunction(Runtime &, std::span<const Variant> a)
{
    return Variant::fromInteger(qint16(a[0].type()));
}

Variant typeNameFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(a[0].typeName());
}

} // namespace

void addConversionFunctions(std::vector<BuiltinInfo> &table)
{
    table.push_back({ u"CInt"_s, cintFunction, 1, 1 });
    table.push_back({ u"CLng"_s, clngFunction, 1, 1 });
    table.push_back({ u"CDbl"_s, cdblFunction, 1, 1 });
    table.push_back({ u"CSng"_s, csngFunction, 1, 1 });
    table.push_back({ u"CCur"_s, ccurFunction, 1, 1 });
    table.push_back({ u"CStr"_s, cstrFunction, 1, 1 });
    table.push_back({ u"CBool"_s, cboolFunction, 1, 1 });
    table.push_back({ u"CDate"_s, cdateFunction, 1, 1 });
    table.push_back({ u"CByte"_s, cbyteFunction, 1, 1 });
    table.push_back({ u"IsNumeric"_s, isNumericFunction, 1, 1 });
    table.push_back({ u"IsEmpty"_s, isEmptyFunction, 1, 1 });
    table.push_back({ u"IsNull"_s, isNullFunction, 1, 1 });
    table.push_back({ u"IsDate"_s, isDateFunction, 1, 1 });
    table.push_back({ u"IsArray"_s, isArrayFunction, 1, 1 });
    table.push_back({ u"IsObject"_s, isObjectFunction, 1, 1 });
    table.push_back({ u"VarType"_s, varTypeFunction, 1, 1 });
    table.push_back({ u"TypeName"_s, typeNameFunction, 1, 1 });
}

} // namespace vantrel::vbscript
