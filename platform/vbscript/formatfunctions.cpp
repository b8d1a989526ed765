// FormatNumber, FormatCurrency, FormatPercent, FormatDateTime, MonthName and WeekdayName in the
// English neutral locale: two decimals, '.' and ',' grouping, "$" and "($1.00)" for negative
// amounts, Sunday as the first day of the week.
#include "platform/vbscript/builtins.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/datemath.h"
#include "platform/vbscript/numbertext.h"
#include "platform/vbscript/scripterror.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

struct NumberStyle
{
    int decimals = 2;
    bool leadingDigit = true;
    bool parentheses = false;
    bool grouping = true;
};

bool tristate(std::span<const Variant> a, size_t index, bool fallback)
{
    const qint32 value = args::optionalLong(a, index, -2);
    if (value < -2 || value > 0)
        raiseError(5);
    return value == -2 ? fallback : value != 0;
}

NumberStyle style(std::span<const Variant> a, bool parenthesesByDefault)
{
    NumberStyle s;
    const qint32 decimals = args::optionalLong(a, 1, -1);
    if (decimals < -1 || decimals > 255)
        raiseError(5);
    s.decimals = decimals == -1 ? 2 : decimals;
    s.leadingDigit = tristate(a, 2, true);
    s.parentheses = tristate(a, 3, parenthesesByDefault);
    s.grouping = tristate(a, 4, true);
    return s;
}

// The number with prefix and suffix, negative as -prefix…suffix or (prefix…suffix).
QString decorate(double value, const NumberStyle &s, const QString &prefix, const QString &suffix)
{
    const double rounded = NumberText::roundDecimal(value, s.decimals, false);
    const QString body = prefix
        + NumberText::formatFixed(std::fabs(rounded), s.decimals, s.leadingDigit, false, s.grouping)
        + suffix;
    if (rounded >= 0)
        return body;
    return s.parentheses ? QString(u'(' + body + u')') : QString(u'-' + body);
}

Variant formatNumberFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(decorate(Coerce::toDouble(a[0]), style(a, false), QString(), QString()));
}

Variant formatCurrencyFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(decorate(Coerce::toDouble(a[0]), style(a, true), u"$"_s, QString()));
}

Variant formatPercentFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(decorate(Coerce::toDouble(a[0]) * 100, style(a, false), QString(), u"%"_s));
}

Variant formatDateTimeFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 format = args::optionalLong(a, 1, 0);
    const double date = Coerce::toDate(a[0]);
    switch (format) {
    case 0:
        return Variant(DateMath::toText(date));
    case 1:
        return Variant(DateMath::longDate(date));
    case 2:
        return Variant(DateMath::shortDate(date));
    case 3:
        return Variant(DateMath::longTime(date));
    case 4:
        return Variant(DateMath::shortTime(date));
    default:
        raiseError(5);
    }
}

bool optionalFlag(std::span<const Variant> a, size_t index)
{
    return args::given(a, index) && Coerce::toBool(a[index]);
}

Variant monthNameFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 month = Coerce::toLong(a[0]);
    if (month < 1 || month > 12)
        raiseError(5);
    return Variant(DateMath::monthName(month, optionalFlag(a, 1)));
}

// WeekdayName(weekday[, abbreviate[, firstdayofweek]]): weekday counts from firstdayofweek.
Variant weekdayNameFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 weekday = Coerce::toLong(a[0]);
    const bool abbreviate = optionalFlag(a, 1);
    qint32 first = args::optionalLong(a, 2, 0);
    if (first < 0 || first > 7 || weekday < 1 || weekday > 7)
        raiseError(5);
    if (first == 0)
        first = 1;
    return Variant(DateMath::weekdayName((weekday - 1 + first - 1) % 7 + 1, abbreviate));
}

} // namespace

void addFormatFunctions(std::vector<BuiltinInfo> &table)
{
    table.push_back({ u"FormatNumber"_s, formatNumberFunction, 1, 5 });
    table.push_back({ u"FormatCurrency"_s, formatCurrencyFunction, 1, 5 });
    table.push_back({ u"FormatPercent"_s, formatPercentFunction, 1, 5 });
    table.push_back({ u"FormatDateTime"_s, formatDateTimeFunction, 1, 2 });
    table.push_back({ u"MonthName"_s, monthNameFunction, 1, 2 });
    table.push_back({ u"WeekdayName"_s, weekdayNameFunction, 1, 3 });
}

} // namespace vantrel::vbscript
