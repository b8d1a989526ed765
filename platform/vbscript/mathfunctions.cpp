// Abs, Int, Fix, Round, Sgn, Sqr, Exp, Log, Atn, Sin, Cos, Tan, Hex, Oct, RGB, Rnd, Randomize,
// Timer.
#include "platform/vbscript/builtins.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/datemath.h"
#include "platform/vbscript/numbertext.h"
#include "platform/vbscript/runtime.h"
#include "platform/vbscript/scripterror.h"

#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

Variant numberOrDouble(const Variant &v)
{
    return v.isString() || v.isObject() ? Variant(Coerce::toDouble(v)) : v;
}

Variant absFunction(Runtime &, std::span<const Variant> a)
{
    const Variant v = numberOrDouble(a[0]);
    switch (v.type()) {
    case VarType::Null:
    case VarType::Byte:
        return v;
    case VarType::Empty:
        return Variant::fromInteger(0);
    case VarType::Boolean:
        return Variant::fromInteger(v.boolValue() ? 1 : 0);
    case VarType::Integer:
        if (v.integerValue() == -32768)
            return Variant(qint32(32768));
        return Variant::fromInteger(qint16(std::abs(v.integerValue())));
    case VarType::Long:
        if (v.longValue() == INT32_MIN)
            return Variant(2147483648.0);
        return Variant(qint32(std::abs(v.longValue())));
    case VarType::Single:
        return Variant::fromSingle(std::fabs(v.singleValue()));
    case VarType::Currency:
        if (v.currencyRaw() == INT64_MIN)
            raiseError(6);
        return Variant::fromCurrencyRaw(std::llabs(v.currencyRaw()));
    default:
        return Variant(std::fabs(Coerce::toDouble(v)));
    }
}

// Int and Fix keep the subtype of their argument.
Variant wholePart(const Variant &value, bool floor)
{
    const Variant v = numberOrDouble(value);
    auto cut = [floor](double x) { return floor ? std::floor(x) : std::trunc(x); };
    switch (v.type()) {
    case VarType::Null:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Empty:
        return Variant::fromInteger(0);
    case VarType::Boolean:
        return Variant::fromInteger(v.boolValue() ? -1 : 0);
    case VarType::Single:
        return Variant::fromSingle(float(cut(double(v.singleValue()))));
    case VarType::Date:
        return Variant::fromDate(cut(v.dateValue()));
    case VarType::Currency: {
        const qint64 raw = v.currencyRaw();
        qint64 whole = raw / 10000 * 10000;
        if (floor && raw < 0 && whole != raw)
            whole -= 10000;
        return Variant::fromCurrencyRaw(whole);
    }
    default:
        return Variant(cut(Coerce::toDouble(v)));
    }
}

Variant intFunction(Runtime &, std::span<const Variant> a)
{
    return wholePart(a[0], true);
}

Variant fixFunction(Runtime &, std::span<const Variant> a)
{
    return wholePart(a[0], false);
}

qint64 roundCurrency(qint64 raw, int decimals)
{
    if (decimals >= 4)
        return raw;
    qint64 unit = 1;
    for (int i = decimals; i < 4; ++i)
        unit *= 10;
    qint64 quotient = raw / unit;
    const qint64 twice = std::llabs(raw % unit) * 2;
    if (twice > unit || (twice == unit && quotient % 2 != 0))
        quotient += raw < 0 ? -1 : 1;
    return quotient * unit;
}

Variant roundFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 decimals = args::optionalLong(a, 1, 0);
    if (decimals < 0)
        raiseError(5);
    const Variant v = numberOrDouble(a[0]);
    switch (v.type()) {
    case VarType::Null:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Empty:
        return Variant::fromInteger(0);
    case VarType::Boolean:
        return Variant::fromInteger(v.boolValue() ? -1 : 0);
    case VarType::Single:
        return Variant::fromSingle(
            float(NumberText::roundDecimal(double(v.singleValue()), decimals, true)));
    case VarType::Currency:
        return Variant::fromCurrencyRaw(roundCurrency(v.currencyRaw(), decimals));
    default:
        return Variant(NumberText::roundDecimal(Coerce::toDouble(v), decimals, true));
    }
}

Variant sgnFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    const double x = Coerce::toDouble(a[0]);
    return Variant::fromInteger(x > 0 ? 1 : (x < 0 ? -1 : 0));
}

Variant sqrFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    const double x = Coerce::toDouble(a[0]);
    if (x < 0)
        raiseError(5);
    return Variant(std::sqrt(x));
}

Variant expFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    const double r = std::exp(Coerce::toDouble(a[0]));
    if (!std::isfinite(r))
        raiseError(6);
    return Variant(r);
}

Variant logFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    const double x = Coerce::toDouble(a[0]);
    if (x <= 0)
        raiseError(5);
    return Variant(std::log(x));
}

// Atn, Sin, Cos and Tan: Null passes through, everything else is a Double in radians.
double atanOf(double x)
{
    return std::atan(x);
}
double sinOf(double x)
{
    return std::sin(x);
}
double cosOf(double x)
{
    return std::cos(x);
}
double tanOf(double x)
{
    return std::tan(x);
}

template<double (*Fn)(double)> Variant trigFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    return Variant(Fn(Coerce::toDouble(a[0])));
}

// Hex and Oct round to a Long; the subtypes that hold 16 bits (Integer, Byte, Boolean) show a
// negative value in 16-bit two's complement ("FFFF"), the others in 32 bits ("FFFFFFFF").
Variant radixText(const Variant &value, int base)
{
    if (value.isNull())
        return value;
    if (value.isEmpty())
        return Variant(u"0"_s);
    const qint32 n = Coerce::toLong(value);
    const VarType type = value.type();
    const bool narrow
        = type == VarType::Integer || type == VarType::Byte || type == VarType::Boolean;
    const quint32 bits = narrow ? quint32(quint16(n)) : quint32(n);
    return Variant(QString::number(bits, base).toUpper());
}

Variant hexFunction(Runtime &, std::span<const Variant> a)
{
    return radixText(a[0], 16);
}

Variant octFunction(Runtime &, std::span<const Variant> a)
{
    return radixText(a[0], 8);
}

// RGB(red, green, blue): a part above 255 counts as 255, a negative one is an invalid argument.
Variant rgbFunction(Runtime &, std::span<const Variant> a)
{
    qint32 colour = 0;
    for (int i = 2; i >= 0; --i) {
        const qint32 part = Coerce::toLong(a[size_t(i)]);
        if (part < 0)
            raiseError(5);
        colour = colour * 256 + std::min(part, qint32(255));
    }
    return Variant(colour);
}

Variant timerFunction(Runtime &, std::span<const Variant>)
{
    // Hundredths of a second, as the language's own clock reports them.
    const int centiseconds = QTime::currentTime().msecsSinceStartOfDay() / 10;
    return Variant::fromSingle(float(centiseconds) / 100.0f);
}

// The language's generator: a 24-bit linear congruential sequence.
float nextRandom(quint32 &seed)
{
    seed = (seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return float(seed) / 16777216.0f;
}

Variant rndFunction(Runtime &runtime, std::span<const Variant> a)
{
    quint32 &seed = runtime.randomSeed();
    if (args::given(a, 0)) {
        const float x = Coerce::toSingle(a[0]);
        if (x == 0)
            return Variant::fromSingle(runtime.lastRandom());
        if (x < 0) {
            quint32 bits = 0;
            std::memcpy(&bits, &x, sizeof bits);
            seed = (bits + (bits >> 24)) & 0xFFFFFFu;
        }
    }
    runtime.lastRandom() = nextRandom(seed);
    return Variant::fromSingle(runtime.lastRandom());
}

Variant randomizeFunction(Runtime &runtime, std::span<const Variant> a)
{
    double number = 0;
    if (args::given(a, 0))
        number = Coerce::toDouble(a[0]);
    else
        number = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    quint64 bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    const quint32 high = quint32(bits >> 32);
    quint32 &seed = runtime.randomSeed();
    seed = (seed & 0xFFu) | (((high ^ (high >> 16)) & 0xFFFFu) << 8);
    return Variant();
}

} // namespace

void addMathFunctions(std::vector<BuiltinInfo> &table)
{
    table.push_back({ u"Abs"_s, absFunction, 1, 1 });
    table.push_back({ u"Int"_s, intFunction, 1, 1 });
    table.push_back({ u"Fix"_s, fixFunction, 1, 1 });
    table.push_back({ u"Round"_s, roundFunction, 1, 2 });
    table.push_back({ u"Sgn"_s, sgnFunction, 1, 1 });
    table.push_back({ u"Sqr"_s, sqrFunction, 1, 1 });
    table.push_back({ u"Exp"_s, expFunction, 1, 1 });
    table.push_back({ u"Log"_s, logFunction, 1, 1 });
    table.push_back({ u"Atn"_s, trigFunction<atanOf>, 1, 1 });
    table.push_back({ u"Sin"_s, trigFunction<sinOf>, 1, 1 });
    table.push_back({ u"Cos"_s, trigFunction<cosOf>, 1, 1 });
    table.push_back({ u"Tan"_s, trigFunction<tanOf>, 1, 1 });
    table.push_back({ u"Hex"_s, hexFunction, 1, 1 });
    table.push_back({ u"Oct"_s, octFunction, 1, 1 });
    table.push_back({ u"RGB"_s, rgbFunction, 3, 3 });
    table.push_back({ u"Timer"_s, timerFunction, 0, 0 });
    table.push_back({ u"Rnd"_s, rndFunction, 0, 1 });
    table.push_back({ u"Randomize"_s, randomizeFunction, 0, 1 });
}

} // namespace vantrel::vbscript
