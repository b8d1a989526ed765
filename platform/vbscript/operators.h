#pragma once

#include "platform/vbscript/variant.h"

#include <cmath>

namespace vantrel::vbscript {

// The language's operators on Variants, with its type rules: the result takes the wider operand
// type (Byte, Integer, Long, Single, Double, Currency; Date with + and -), an integer result
// that overflows widens (Byte to Integer to Long to Double), Null propagates, Empty counts as 0
// or "", a string operand of arithmetic is read as a Double. Errors are raised as script errors.
// The common cases (Double with Double, Integer and Long pairs) are inline.
class Operators
{
public:
    enum class Compare { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

    static Variant add(const Variant &a, const Variant &b)
    {
        const VarType ta = a.type();
        const VarType tb = b.type();
        if (ta == VarType::Double && tb == VarType::Double) {
            const double r = a.doubleValue() + b.doubleValue();
            if (std::isfinite(r))
                return Variant(r);
        } else if (isWhole(ta) && isWhole(tb)) {
            return fitWhole(qint64(whole(a)) + whole(b),
                            ta == VarType::Long || tb == VarType::Long);
        } else if (isReal(ta) && isReal(tb)) {
            const double r = real(a) + real(b);
            if (std::isfinite(r))
                return Variant(r);
        }
        return addSlow(a, b);
    }
    static Variant subtract(const Variant &a, const Variant &b)
    {
        const VarType ta = a.type();
        const VarType tb = b.type();
        if (ta == VarType::Double && tb == VarType::Double) {
            const double r = a.doubleValue() - b.doubleValue();
            if (std::isfinite(r))
                return Variant(r);
        } else if (isWhole(ta) && isWhole(tb)) {
            return fitWhole(qint64(whole(a)) - whole(b),
                            ta == VarType::Long || tb == VarType::Long);
        } else if (isReal(ta) && isReal(tb)) {
            const double r = real(a) - real(b);
            if (std::isfinite(r))
                return Variant(r);
        }
        return subtractSlow(a, b);
    }
    static Variant multiply(const Variant &a, const Variant &b)
    {
        if (isReal(a.type()) && isReal(b.type())
            && (a.type() == VarType::Double || b.type() == VarType::Double)) {
            const double r = real(a) * real(b);
            if (std::isfinite(r))
                return Variant(r);
        }
        return multiplySlow(a, b);
    }
    static Variant divide(const Variant &a, const Variant &b)
    {
        if (isReal(a.type()) && isReal(b.type())
            && (a.type() == VarType::Double || b.type() == VarType::Double)) {
            const double divisor = real(b);
            if (divisor != 0) {
                const double r = real(a) / divisor;
                if (std::isfinite(r))
                    return Variant(r);
            }
        }
        return divideSlow(a, b);
    }
    static Variant integerDivide(const Variant &a, const Variant &b);
    static Variant modulo(const Variant &a, const Variant &b);
    static Variant power(const Variant &a, const Variant &b);
    static Variant negate(const Variant &a);
    static Variant concat(const Variant &a, const Variant &b);

    static Variant logicalNot(const Variant &a);
    static Variant logicalAnd(const Variant &a, const Variant &b);
    static Variant logicalOr(const Variant &a, const Variant &b);
    static Variant logicalXor(const Variant &a, const Variant &b);
    static Variant logicalEqv(const Variant &a, const Variant &b);
    static Variant logicalImp(const Variant &a, const Variant &b);

    // A comparison giving True, False or Null. A literal operand (a number or text written in
    // the script) keeps its type: the other side is converted to it, so x = "1" holds for x = 1;
    // between two variables a number is less than any text.
    static Variant compare(Compare op, const Variant &a, const Variant &b, bool aLiteral = false,
                           bool bLiteral = false)
    {
        if (a.type() == VarType::Double && b.type() == VarType::Double)
            return Variant(test(op, threeWay(a.doubleValue(), b.doubleValue())));
        if (a.type() == VarType::Long && b.type() == VarType::Long)
            return Variant(test(op, threeWay(a.longValue(), b.longValue())));
        if (isReal(a.type()) && isReal(b.type()))
            return Variant(test(op, threeWay(real(a), real(b))));
        return compareSlow(op, a, b, aLiteral, bLiteral);
    }
    // -1, 0 or 1; 2 when either side is Null.
    static int order(const Variant &a, const Variant &b, bool aLiteral, bool bLiteral);
    // Object identity (Is): both sides must be objects.
    static bool identical(const Variant &a, const Variant &b);
    // The condition of If, While, Until: Null and Empty are false; text must read as a boolean.
    static bool isTrue(const Variant &condition)
    {
        if (condition.type() == VarType::Boolean)
            return condition.boolValue();
        return isTrueSlow(condition);
    }

private:
    static bool isWhole(VarType t) { return t == VarType::Integer || t == VarType::Long; }
    static bool isReal(VarType t) { return isWhole(t) || t == VarType::Double; }
    static qint32 whole(const Variant &v)
    {
        return v.type() == VarType::Long ? v.longValue() : v.integerValue();
    }
    static double real(const Variant &v)
    {
        return v.type() == VarType::Double ? v.doubleValue() : double(whole(v));
    }
    static Variant fitWhole(qint64 value, bool atLeastLong)
    {
        if (!atLeastLong && value >= -32768 && value <= 32767)
            return Variant::fromInteger(qint16(value));
        if (value >= INT32_MIN && value <= INT32_MAX)
            return Variant(qint32(value));
        return Variant(double(value));
    }
    template<typename T> static int threeWay(T x, T y) { return x < y ? -1 : (x > y ? 1 : 0); }
    static bool test(Compare op, int order)
    {
        switch (op) {
        case Compare::Equal:
            return order == 0;
        case Compare::NotEqual:
            return order != 0;
        case Compare::Less:
            return order < 0;
        case Compare::LessEqual:
            return order <= 0;
        case Compare::Greater:
            return order > 0;
        case Compare::GreaterEqual:
            return order >= 0;
        }
        return false;
    }

    static Variant addSlow(const Variant &a, const Variant &b);
    static Variant subtractSlow(const Variant &a, const Variant &b);
    static Variant multiplySlow(const Variant &a, const Variant &b);
    static Variant divideSlow(const Variant &a, const Variant &b);
    static Variant compareSlow(Compare op, const Variant &a, const Variant &b, bool aLiteral,
                               bool bLiteral);
    static bool isTrueSlow(const Variant &condition);
};

} // namespace vantrel::vbscript
