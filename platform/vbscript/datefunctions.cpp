// Date, Time, Now, Year, Month, Day, Hour, Minute, Second, Weekday, DateAdd, DateDiff, DatePart,
// DateSerial, DateValue, TimeSerial, TimeValue.
#include "platform/vbscript/builtins.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/datemath.h"
#include "platform/vbscript/scripterror.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval interval(const Variant &v)
{
    const QString text = Coerce::toString(v).toLower();
    static const std::pair<const char16_t *, Interval> names[] = {
        { u"yyyy", Interval::Year },   { u"q", Interval::Quarter }, { u"m", Interval::Month },
        { u"y", Interval::DayOfYear }, { u"d", Interval::Day },     { u"w", Interval::Weekday },
        { u"ww", Interval::Week },     { u"h", Interval::Hour },    { u"n", Interval::Minute },
        { u"s", Interval::Second },
    };
    for (const auto &[name, value] : names) {
        if (text == QStringView(name))
            return value;
    }
    raiseError(5);
}

qint64 secondsOf(double serial)
{
    const DateMath::Parts p = DateMath::split(serial);
    return DateMath::dayIndex(serial) * 86400 + p.hour * 3600 + p.minute * 60 + p.second;
}

Variant checkedDate(double serial)
{
    if (!DateMath::isValid(serial))
        raiseError(5);
    return Variant::fromDate(serial);
}

int firstDay(std::span<const Variant> a, size_t index)
{
    const qint32 day = args::optionalLong(a, index, 1);
    if (day < 0 || day > 7)
        raiseError(5);
    return day == 0 ? 1 : day;
}

Variant dateFunction(Runtime &, std::span<const Variant>)
{
    return Variant::fromDate(double(DateMath::dayIndex(DateMath::now())));
}

Variant timeFunction(Runtime &, std::span<const Variant>)
{
    const DateMath::Parts p = DateMath::split(DateMath::now());
    return Variant::fromDate(DateMath::join(0, p.hour * 3600 + p.minute * 60 + p.second));
}

Variant nowFunction(Runtime &, std::span<const Variant>)
{
    return Variant::fromDate(DateMath::now());
}

template<int DateMath::Parts::*Field> Variant partFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    return Variant::fromInteger(qint16(DateMath::split(Coerce::toDate(a[0])).*Field));
}

Variant weekdayFunction(Runtime &, std::span<const Variant> a)
{
    const int first = firstDay(a, 1);
    if (a[0].isNull())
        return a[0];
    return Variant::fromInteger(qint16(DateMath::weekday(Coerce::toDate(a[0]), first)));
}

Variant dateSerialFunction(Runtime &, std::span<const Variant> a)
{
    const qint64 year = DateMath::windowYear(Coerce::toLong(a[0]));
    double serial = 0;
    if (!DateMath::fromDate(year, Coerce::toLong(a[1]), Coerce::toLong(a[2]), serial))
        raiseError(5);
    return Variant::fromDate(serial);
}

Variant timeSerialFunction(Runtime &, std::span<const Variant> a)
{
    const qint64 seconds = qint64(Coerce::toLong(a[0])) * 3600 + qint64(Coerce::toLong(a[1])) * 60
        + Coerce::toLong(a[2]);
    return checkedDate(DateMath::fromSeconds(seconds));
}

Variant dateValueFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    return Variant::fromDate(double(DateMath::dayIndex(Coerce::toDate(a[0]))));
}

Variant timeValueFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    const DateMath::Parts p = DateMath::split(Coerce::toDate(a[0]));
    return Variant::fromDate(DateMath::join(0, p.hour * 3600 + p.minute * 60 + p.second));
}

double addMonths(double serial, qint64 months)
{
    DateMath::Parts p = DateMath::split(serial);
    const qint64 total = qint64(p.year) * 12 + (p.month - 1) + months;
    if (total < 100 * 12 || total >= 10000 * 12)
        raiseError(5);
    p.year = int(total / 12);
    p.month = int(total % 12) + 1;
    p.day = std::min(p.day, DateMath::daysInMonth(p.year, p.month));
    double result = 0;
    DateMath::fromParts(p, result);
    return result;
}

Variant dateAddFunction(Runtime &, std::span<const Variant> a)
{
    const Interval unit = interval(a[0]);
    const qint64 n = Coerce::toLong(a[1]);
    if (a[2].isNull())
        return a[2];
    const double date = Coerce::toDate(a[2]);
    switch (unit) {
    case Interval::Year:
        return checkedDate(addMonths(date, n * 12));
    case Interval::Quarter:
        return checkedDate(addMonths(date, n * 3));
    case Interval::Month:
        return checkedDate(addMonths(date, n));
    case Interval::Week:
        return checkedDate(DateMath::fromSeconds(secondsOf(date) + n * 7 * 86400));
    case Interval::Hour:
        return checkedDate(DateMath::fromSeconds(secondsOf(date) + n * 3600));
    case Interval::Minute:
        return checkedDate(DateMath::fromSeconds(secondsOf(date) + n * 60));
    case Interval::Second:
        return checkedDate(DateMath::fromSeconds(secondsOf(date) + n));
    default:
        return checkedDate(DateMath::fromSeconds(secondsOf(date) + n * 86400));
    }
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

qint64 weekStart(double serial, int first)
{
    return DateMath::dayIndex(serial) - (DateMath::weekday(serial, first) - 1);
}

Variant dateDiffFunction(Runtime &, std::span<const Variant> a)
{
    const Interval unit = interval(a[0]);
    const int first = firstDay(a, 3);
    if (a[1].isNull() || a[2].isNull())
        return Variant::null();
    const double d1 = Coerce::toDate(a[1]);
    const double d2 = Coerce::toDate(a[2]);
    const DateMath::Parts p1 = DateMath::split(d1);
    const DateMath::Parts p2 = DateMath::split(d2);
    qint64 r = 0;
    switch (unit) {
    case Interval::Year:
        r = p2.year - p1.year;
        break;
    case Interval::Quarter:
        r = (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3);
        break;
    case Interval::Month:
        r = (p2.year * 12 + p2.month) - (p1.year * 12 + p1.month);
        break;
    case Interval::Weekday:
        r = (DateMath::dayIndex(d2) - DateMath::dayIndex(d1)) / 7;
        break;
    case Interval::Week:
        r = (weekStart(d2, first) - weekStart(d1, first)) / 7;
        break;
    case Interval::Hour:
        r = floorDiv(secondsOf(d2), 3600) - floorDiv(secondsOf(d1), 3600);
        break;
    case Interval::Minute:
        r = floorDiv(secondsOf(d2), 60) - floorDiv(secondsOf(d1), 60);
        break;
    case Interval::Second:
        r = secondsOf(d2) - secondsOf(d1);
        break;
    default:
        r = DateMath::dayIndex(d2) - DateMath::dayIndex(d1);
        break;
    }
    if (r < INT32_MIN || r > INT32_MAX)
        raiseError(6);
    return Variant(qint32(r));
}

qint64 firstWeekStart(int year, int first, int rule)
{
    double jan1 = 0;
    DateMath::fromDate(year, 1, 1, jan1);
    const qint64 day = qint64(jan1);
    const int weekday = DateMath::weekday(jan1, first);
    if (rule == 2)
        return weekday <= 4 ? day - (weekday - 1) : day + (8 - weekday);
    if (rule == 3)
        return weekday == 1 ? day : day + (8 - weekday);
    return day - (weekday - 1);
}

int weekOfYear(double serial, int first, int rule)
{
    const qint64 day = DateMath::dayIndex(serial);
    int year = DateMath::split(serial).year;
    qint64 start = firstWeekStart(year, first, rule);
    if (day < start)
        start = firstWeekStart(year - 1, first, rule);
    return int((day - start) / 7) + 1;
}

Variant datePartFunction(Runtime &, std::span<const Variant> a)
{
    const Interval unit = interval(a[0]);
    const int first = firstDay(a, 2);
    const qint32 rule = args::optionalLong(a, 3, 1);
    if (rule < 0 || rule > 3)
        raiseError(5);
    if (a[1].isNull())
        return a[1];
    const double date = Coerce::toDate(a[1]);
    const DateMath::Parts p = DateMath::split(date);
    int r = 0;
    switch (unit) {
    case Interval::Year:
        r = p.year;
        break;
    case Interval::Quarter:
        r = (p.month - 1) / 3 + 1;
        break;
    case Interval::Month:
        r = p.month;
        break;
    case Interval::DayOfYear: {
        double jan1 = 0;
        DateMath::fromDate(p.year, 1, 1, jan1);
        r = int(DateMath::dayIndex(date) - qint64(jan1)) + 1;
        break;
    }
    case Interval::Day:
        r = p.day;
        break;
    case Interval::Weekday:
        r = DateMath::weekday(date, first);
        break;
    case Interval::Week:
        r = weekOfYear(date, first, rule == 0 ? 1 : rule);
        break;
    case Interval::Hour:
        r = p.hour;
        break;
    case Interval::Minute:
        r = p.minute;
        break;
    case Interval::Second:
        r = p.second;
        break;
    }
    return Variant::fromInteger(qint16(r));
}

} // namespace

void addDateFunctions(std::vector<BuiltinInfo> &table)
{
    table.push_back({ u"Date"_s, dateFunction, 0, 0 });
    table.push_back({ u"Time"_s, timeFunction, 0, 0 });
    table.push_back({ u"Now"_s, nowFunction, 0, 0 });
    table.push_back({ u"Year"_s, partFunction<&DateMath::Parts::year>, 1, 1 });
    table.push_back({ u"Month"_s, partFunction<&DateMath::Parts::month>, 1, 1 });
    table.push_back({ u"Day"_s, partFunction<&DateMath::Parts::day>, 1, 1 });
    table.push_back({ u"Hour"_s, partFunction<&DateMath::Parts::hour>, 1, 1 });
    table.push_back({ u"Minute"_s, partFunction<&DateMath::Parts::minute>, 1, 1 });
    table.push_back({ u"Second"_s, partFunction<&DateMath::Parts::second>, 1, 1 });
    table.push_back({ u"Weekday"_s, weekdayFunction, 1, 2 });
    table.push_back({ u"DateSerial"_s, dateSerialFunction, 3, 3 });
    table.push_back({ u"TimeSerial"_s, timeSerialFunction, 3, 3 });
    table.push_back({ u"DateValue"_s, dateValueFunction, 1, 1 });
    table.push_back({ u"TimeValue"_s, timeValueFunction, 1, 1 });
    table.push_back({ u"DateAdd"_s, dateAddFunction, 3, 3 });
    table.push_back({ u"DateDiff"_s, dateDiffFunction, 3, 5 });
    table.push_back({ u"DatePart"_s, datePartFunction, 2, 4 });
}

} // namespace vantrel::vbscript
