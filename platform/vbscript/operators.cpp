#include "platform/vbscript/operators.h"

#include "platform/vbscript/coerce.h"
#include "platform/vbscript/datemath.h"
#include "platform/vbscript/hostobject.h"
#include "platform/vbscript/numbertext.h"
#include "platform/vbscript/scripterror.h"

#include <algorithm>

namespace vantrel::vbscript {

namespace {

// Arithmetic operand kinds, in widening order.
enum class Kind { Byte, Integer, Long, Single, Double, Currency, Date };

struct Number
{
    Kind kind = Kind::Integer;
    double real = 0;
    qint64 whole = 0;    // Byte, Integer, Long
    qint64 currency = 0; // Currency: raw, times 10,000
};

Number wholeNumber(Kind kind, qint64 value)
{
    return Number { kind, double(value), value, 0 };
}

Number numeric(const Variant &v)
{
    switch (v.type()) {
    case VarType::Empty:
        return wholeNumber(Kind::Integer, 0);
    case VarType::Boolean:
        return wholeNumber(Kind::Integer, v.boolValue() ? -1 : 0);
    case VarType::Byte:
        return wholeNumber(Kind::Byte, v.byteValue());
    case VarType::Integer:
        return wholeNumber(Kind::Integer, v.integerValue());
    case VarType::Long:
        return wholeNumber(Kind::Long, v.longValue());
    case VarType::Single:
        return Number { Kind::Single, double(v.singleValue()) };
    case VarType::Double:
        return Number { Kind::Double, v.doubleValue() };
    case VarType::Date:
        return Number { Kind::Date, v.dateValue() };
    case VarType::Currency:
        return Number { Kind::Currency, double(v.currencyRaw()) / 10000.0, 0, v.currencyRaw() };
    case VarType::String: {
        double value = 0;
        if (!NumberText::parse(v.stringValue(), value))
            raiseError(13);
        return Number { Kind::Double, value };
    }
    case VarType::Object:
        return numeric(Coerce::defaultValue(v));
    case VarType::Reference:
        return numeric(v.deref());
    default:
        raiseError(13);
    }
}

Variant fitKind(qint64 value, Kind kind)
{
    if (kind == Kind::Byte && value >= 0 && value <= 255)
        return Variant::fromByte(quint8(value));
    if (kind <= Kind::Integer && value >= -32768 && value <= 32767)
        return Variant::fromInteger(qint16(value));
    if (value >= INT32_MIN && value <= INT32_MAX)
        return Variant(qint32(value));
    return Variant(double(value));
}

Variant currencyFromReal(double value)
{
    qint64 raw = 0;
    if (Coerce::currencyFromDouble(value, raw) != 0)
        raiseError(6);
    return Variant::fromCurrencyRaw(raw);
}

Variant fromReal(double value, Kind kind)
{
    if (!std::isfinite(value))
        raiseError(6);
    switch (kind) {
    case Kind::Single:
        if (std::fabs(value) <= 3.4028234663852886e38)
            return Variant::fromSingle(float(value));
        return Variant(value);
    case Kind::Date:
        if (!DateMath::isValid(value))
            raiseError(6);
        return Variant::fromDate(value);
    case Kind::Currency:
        return currencyFromReal(value);
    default:
        return Variant(value);
    }
}

Kind widen(Kind a, Kind b)
{
    if ((a == Kind::Single && b == Kind::Long) || (a == Kind::Long && b == Kind::Single))
        return Kind::Double;
    return std::max(a, b);
}

qint64 currencyOf(const Number &n)
{
    if (n.kind == Kind::Currency)
        return n.currency;
    if (n.kind <= Kind::Long)
        return n.whole * 10000;
    return currencyFromReal(n.real).currencyRaw();
}

enum class Arith { Add, Subtract, Multiply };

Variant currencyArithmetic(Arith op, const Number &x, const Number &y)
{
    const bool exact = (x.kind == Kind::Currency || x.kind <= Kind::Long)
        && (y.kind == Kind::Currency || y.kind <= Kind::Long);
    if (op == Arith::Multiply && !exact)
        return currencyFromReal(x.real * y.real);
    const qint64 a = currencyOf(x);
    const qint64 b = currencyOf(y);
    qint64 r = 0;
    if (op == Arith::Add) {
        if (__builtin_add_overflow(a, b, &r))
            raiseError(6);
        return Variant::fromCurrencyRaw(r);
    }
    if (op == Arith::Subtract) {
        if (__builtin_sub_overflow(a, b, &r))
            raiseError(6);
        return Variant::fromCurrencyRaw(r);
    }
    __int128 product = __int128(a) * b;
    __int128 quotient = product / 10000;
    const __int128 remainder = product % 10000;
    const __int128 twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice > 10000 || (twice == 10000 && (quotient % 2 != 0)))
        quotient += product < 0 ? -1 : 1;
    if (quotient > INT64_MAX || quotient < INT64_MIN)
        raiseError(6);
    return Variant::fromCurrencyRaw(qint64(quotient));
}

Variant arithmetic(Arith op, const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    const Number x = numeric(a);
    const Number y = numeric(b);
    Kind kind;
    if (x.kind == Kind::Date || y.kind == Kind::Date) {
        if (op == Arith::Multiply || (op == Arith::Subtract && x.kind == y.kind))
            kind = Kind::Double;
        else
            kind = Kind::Date;
    } else {
        kind = widen(x.kind, y.kind);
        // A product ranks Double above Currency.
        if (op == Arith::Multiply && kind == Kind::Currency
            && (x.kind == Kind::Double || y.kind == Kind::Double))
            kind = Kind::Double;
    }
    if (kind <= Kind::Long) {
        const qint64 r = op == Arith::Add ? x.whole + y.whole
            : op == Arith::Subtract       ? x.whole - y.whole
                                          : x.whole * y.whole;
        return fitKind(r, kind);
    }
    if (kind == Kind::Currency)
        return currencyArithmetic(op, x, y);
    const double r = op == Arith::Add ? x.real + y.real
        : op == Arith::Subtract       ? x.real - y.real
                                      : x.real * y.real;
    return fromReal(r, kind);
}

// Operands of \ and Mod: whole numbers, rounded half to even.
Number wholeOperand(const Variant &v)
{
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return numeric(v);
    default:
        return wholeNumber(Kind::Long, Coerce::toLong(v));
    }
}

enum class Whole { Divide, Modulo };

Variant wholeArithmetic(Whole op, const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    const Number x = wholeOperand(a);
    const Number y = wholeOperand(b);
    if (y.whole == 0)
        raiseError(11);
    const qint64 r = op == Whole::Divide ? x.whole / y.whole : x.whole % y.whole;
    const Kind kind = std::max(x.kind, y.kind);
    if (r < INT32_MIN || r > INT32_MAX)
        raiseError(6);
    return fitKind(r, kind);
}

// Operands of Not, And, Or, Xor, Eqv, Imp as bit patterns.
struct Bits
{
    qint32 value = 0;
    int kind = 0; // 0 Boolean, 1 Byte, 2 Integer, 3 Long
};

Bits bitsOf(const Variant &v)
{
    switch (v.type()) {
    case VarType::Boolean:
        return Bits { v.boolValue() ? -1 : 0, 0 };
    case VarType::Empty:
        return Bits { 0, 2 };
    case VarType::Byte:
        return Bits { v.byteValue(), 1 };
    case VarType::Integer:
        return Bits { v.integerValue(), 2 };
    case VarType::Long:
        return Bits { v.longValue(), 3 };
    case VarType::String: {
        double number = 0;
        if (!NumberText::parse(v.stringValue(), number))
            return Bits { Coerce::toBool(v) ? -1 : 0, 0 };
        return Bits { Coerce::toLong(v), 3 };
    }
    case VarType::Object:
        return bitsOf(Coerce::defaultValue(v));
    default:
        return Bits { Coerce::toLong(v), 3 };
    }
}

int combinedKind(const Bits &x, const Bits &y)
{
    if (x.kind == 0 && y.kind == 0)
        return 0;
    const int kind = std::max(x.kind, y.kind);
    return kind == 1 && (x.kind == 0 || y.kind == 0) ? 2 : kind;
}

Variant makeBits(qint32 value, int kind)
{
    switch (kind) {
    case 0:
        return Variant(value != 0);
    case 1:
        return Variant::fromByte(quint8(value));
    case 2:
        return Variant::fromInteger(qint16(value));
    default:
        return Variant(value);
    }
}

bool allOnes(const Bits &bits)
{
    return bits.value == -1 || (bits.kind == 1 && bits.value == 255);
}

enum class Logic { And, Or, Xor, Eqv, Imp };

qint32 applyLogic(Logic op, qint32 x, qint32 y)
{
    switch (op) {
    case Logic::And:
        return x & y;
    case Logic::Or:
        return x | y;
    case Logic::Xor:
        return x ^ y;
    case Logic::Eqv:
        return ~(x ^ y);
    case Logic::Imp:
        return ~x | y;
    }
    return 0;
}

// Null with a known other side: the truth tables of the language.
Variant logicWithNull(Logic op, const Variant &a, const Variant &b)
{
    if (a.isNull() && b.isNull())
        return Variant::null();
    const bool nullFirst = a.isNull();
    const Bits other = bitsOf(nullFirst ? b : a);
    switch (op) {
    case Logic::And:
        return other.value == 0 ? makeBits(0, other.kind) : Variant::null();
    case Logic::Or:
        return allOnes(other) ? makeBits(other.value, other.kind) : Variant::null();
    case Logic::Imp:
        if (nullFirst)
            return allOnes(other) ? makeBits(other.value, other.kind) : Variant::null();
        return other.value == 0 ? makeBits(-1, other.kind) : Variant::null();
    default:
        return Variant::null();
    }
}

Variant logic(Logic op, const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return logicWithNull(op, a, b);
    const Bits x = bitsOf(a);
    const Bits y = bitsOf(b);
    return makeBits(applyLogic(op, x.value, y.value), combinedKind(x, y));
}

int compareNumbers(const Variant &a, const Variant &b)
{
    if (a.type() == VarType::Currency && b.type() == VarType::Currency)
        return a.currencyRaw() < b.currencyRaw() ? -1 : (a.currencyRaw() > b.currencyRaw() ? 1 : 0);
    // A Single against a Double compares at the Single's precision: CSng(0.1) = 0.1.
    if ((a.type() == VarType::Single && b.type() == VarType::Double)
        || (a.type() == VarType::Double && b.type() == VarType::Single)) {
        const float x = float(Coerce::toDouble(a));
        const float y = float(Coerce::toDouble(b));
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const double x = Coerce::toDouble(a);
    const double y = Coerce::toDouble(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

int compareTexts(const QString &a, const QString &b)
{
    const int r = QString::compare(a, b, Qt::CaseSensitive);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// Text against a number: a literal decides the type; otherwise the number is less.
int compareTextWithNumber(const Variant &text, const Variant &number, bool textLiteral,
                          bool numberLiteral)
{
    if (numberLiteral)
        return compareNumbers(Variant(Coerce::toDouble(text)), number);
    if (textLiteral)
        return compareTexts(text.stringValue(), Coerce::toString(number));
    return 1;
}

} // namespace

Variant Operators::addSlow(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    if (a.isEmpty() && b.isEmpty())
        return Variant::fromInteger(0);
    if (a.isEmpty())
        return b.isObject() ? Coerce::defaultValue(b) : b;
    if (b.isEmpty())
        return a.isObject() ? Coerce::defaultValue(a) : a;
    if (a.isString() && b.isString())
        return concat(a, b);
    return arithmetic(Arith::Add, a, b);
}

Variant Operators::subtractSlow(const Variant &a, const Variant &b)
{
    return arithmetic(Arith::Subtract, a, b);
}

Variant Operators::multiplySlow(const Variant &a, const Variant &b)
{
    return arithmetic(Arith::Multiply, a, b);
}

Variant Operators::divideSlow(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    const Number x = numeric(a);
    const Number y = numeric(b);
    if (y.real == 0)
        raiseError(x.real == 0 ? 6 : 11);
    auto small = [](Kind k) { return k <= Kind::Integer || k == Kind::Single; };
    const bool single
        = (x.kind == Kind::Single || y.kind == Kind::Single) && small(x.kind) && small(y.kind);
    return fromReal(x.real / y.real, single ? Kind::Single : Kind::Double);
}

Variant Operators::integerDivide(const Variant &a, const Variant &b)
{
    return wholeArithmetic(Whole::Divide, a, b);
}

Variant Operators::modulo(const Variant &a, const Variant &b)
{
    return wholeArithmetic(Whole::Modulo, a, b);
}

Variant Operators::power(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    const double x = Coerce::toDouble(a);
    const double y = Coerce::toDouble(b);
    if ((x < 0 && y != std::floor(y)) || (x == 0 && y < 0))
        raiseError(5);
    return fromReal(std::pow(x, y), Kind::Double);
}

Variant Operators::negate(const Variant &a)
{
    switch (a.type()) {
    case VarType::Null:
        return a;
    case VarType::Empty:
        return Variant::fromInteger(0);
    case VarType::Single:
        return Variant::fromSingle(-a.singleValue());
    case VarType::Double:
        return Variant(-a.doubleValue());
    case VarType::Date:
        return fromReal(-a.dateValue(), Kind::Date);
    case VarType::Currency:
        if (a.currencyRaw() == INT64_MIN)
            raiseError(6);
        return Variant::fromCurrencyRaw(-a.currencyRaw());
    case VarType::Byte:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long: {
        const Number n = numeric(a);
        return fitKind(-n.whole, std::max(n.kind, Kind::Integer));
    }
    case VarType::Object:
        return negate(Coerce::defaultValue(a));
    default:
        return fromReal(-numeric(a).real, Kind::Double);
    }
}

namespace {

QByteArray bytesOf(const Variant &v)
{
    if (v.isNull())
        return QByteArray();
    return v.isString() ? v.stringBytes() : Variant(Coerce::toString(v)).stringBytes();
}

} // namespace

Variant Operators::concat(const Variant &a, const Variant &b)
{
    if (a.isNull() && b.isNull())
        return Variant::null();
    // Texts are joined byte by byte, so ChrB(65) & ChrB(0) is "A".
    if (a.hasOddByte() || b.hasOddByte()) [[unlikely]]
        return Variant::fromBytes(bytesOf(a) + bytesOf(b));
    QString left = a.isNull() ? QString() : Coerce::toString(a);
    if (!b.isNull())
        left += Coerce::toString(b);
    return Variant(std::move(left));
}

Variant Operators::logicalNot(const Variant &a)
{
    if (a.isNull())
        return a;
    const Bits bits = bitsOf(a);
    return makeBits(~bits.value, bits.kind);
}

Variant Operators::logicalAnd(const Variant &a, const Variant &b)
{
    return logic(Logic::And, a, b);
}

Variant Operators::logicalOr(const Variant &a, const Variant &b)
{
    return logic(Logic::Or, a, b);
}

Variant Operators::logicalXor(const Variant &a, const Variant &b)
{
    return logic(Logic::Xor, a, b);
}

Variant Operators::logicalEqv(const Variant &a, const Variant &b)
{
    return logic(Logic::Eqv, a, b);
}

Variant Operators::logicalImp(const Variant &a, const Variant &b)
{
    return logic(Logic::Imp, a, b);
}

int Operators::order(const Variant &left, const Variant &right, bool aLiteral, bool bLiteral)
{
    if (left.isNull() || right.isNull())
        return 2;
    if (left.isObject() || right.isObject()) {
        return order(left.isObject() ? Coerce::defaultValue(left) : left,
                     right.isObject() ? Coerce::defaultValue(right) : right, aLiteral, bLiteral);
    }
    const Variant &a = left.deref();
    const Variant &b = right.deref();
    if (a.isArray() || b.isArray())
        raiseError(13);
    if (a.isEmpty() && b.isEmpty())
        return 0;
    if (a.isString() && b.isString())
        return compareTexts(a.stringValue(), b.stringValue());
    if (a.isEmpty())
        return b.isString() ? compareTexts(QString(), b.stringValue()) : compareNumbers(a, b);
    if (b.isEmpty())
        return a.isString() ? compareTexts(a.stringValue(), QString()) : compareNumbers(a, b);
    if (a.isString())
        return compareTextWithNumber(a, b, aLiteral, bLiteral);
    if (b.isString())
        return -compareTextWithNumber(b, a, bLiteral, aLiteral);
    return compareNumbers(a, b);
}

Variant Operators::compareSlow(Compare op, const Variant &a, const Variant &b, bool aLiteral,
                               bool bLiteral)
{
    const int result = order(a, b, aLiteral, bLiteral);
    if (result == 2)
        return Variant::null();
    return Variant(test(op, result));
}

bool Operators::identical(const Variant &a, const Variant &b)
{
    if (!a.isObject() || !b.isObject())
        raiseError(424);
    return a.objectValue() == b.objectValue();
}

bool Operators::isTrueSlow(const Variant &condition)
{
    switch (condition.type()) {
    case VarType::Null:
    case VarType::Empty:
        return false;
    case VarType::Object:
        return isTrue(Coerce::defaultValue(condition));
    default:
        return Coerce::toBool(condition);
    }
}

} // namespace vantrel::vbscript
