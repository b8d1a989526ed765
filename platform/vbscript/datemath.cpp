#include "platform/vbscript/datemath.h"

#include <QDateTime>
#include <QList>

#include <cmath>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

constexpr qint64 kEpochOffset = 25569;   // days from 1899-12-30 to 1970-01-01
constexpr double kMinSerial = -657434.0; // 100-01-01
constexpr double kMaxSerial = 2958466.0; // 10000-01-01 (exclusive)

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

qint64 floorMod(qint64 a, qint64 b)
{
    return a - floorDiv(a, b) * b;
}

// Days since 1970-01-01 in the proleptic Gregorian calendar.
qint64 daysFromCivil(qint64 y, qint64 m, qint64 d)
{
    y -= m <= 2 ? 1 : 0;
    const qint64 era = floorDiv(y, 400);
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(qint64 z, int &year, int &month, int &day)
{
    z += 719468;
    const qint64 era = floorDiv(z, 146097);
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

const char16_t *const kMonthNames[]
    = { u"January", u"February", u"March",     u"April",   u"May",      u"June",
        u"July",    u"August",   u"September", u"October", u"November", u"December" };
const char16_t *const kDayNames[]
    = { u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday" };

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

} // namespace

bool DateMath::isValid(double serial)
{
    return serial > kMinSerial - 1 && serial < kMaxSerial;
}

DateMath::Parts DateMath::split(double serial)
{
    const double whole = std::trunc(serial);
    qint64 day = qint64(whole);
    qint64 seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    Parts parts;
    civilFromDays(day - kEpochOffset, parts.year, parts.month, parts.day);
    parts.hour = int(seconds / 3600);
    parts.minute = int(seconds / 60 % 60);
    parts.second = int(seconds % 60);
    return parts;
}

double DateMath::join(qint64 day, qint64 seconds)
{
    const double time = double(seconds) / 86400.0;
    return day >= 0 ? double(day) + time : double(day) - time;
}

bool DateMath::fromDate(qint64 year, qint64 month, qint64 day, double &serial)
{
    if (std::llabs(year) > 100000 || std::llabs(month) > 1200000 || std::llabs(day) > 100000000)
        return false;
    year += floorDiv(month - 1, 12);
    month = floorMod(month - 1, 12) + 1;
    const qint64 index = daysFromCivil(year, month, 1) + kEpochOffset + day - 1;
    if (double(index) < kMinSerial || double(index) >= kMaxSerial)
        return false;
    serial = double(index);
    return true;
}

double DateMath::fromSeconds(qint64 seconds)
{
    const qint64 day = floorDiv(seconds, 86400);
    return join(day, seconds - day * 86400);
}

bool DateMath::fromParts(const Parts &parts, double &serial)
{
    double date = 0;
    if (!fromDate(parts.year, parts.month, parts.day, date))
        return false;
    serial = join(qint64(date), qint64(parts.hour) * 3600 + parts.minute * 60 + parts.second);
    return true;
}

qint64 DateMath::dayIndex(double serial)
{
    const Parts parts = split(serial);
    return daysFromCivil(parts.year, parts.month, parts.day) + kEpochOffset;
}

int DateMath::weekday(double serial, int firstDayOfWeek)
{
    if (firstDayOfWeek < 1)
        firstDayOfWeek = 1;
    const int sundayBased = int(floorMod(dayIndex(serial) + 6, 7)) + 1;
    return int(floorMod(sundayBased - firstDayOfWeek, 7)) + 1;
}

int DateMath::daysInMonth(int year, int month)
{
    return int(daysFromCivil(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1)
               - daysFromCivil(year, month, 1));
}

double DateMath::now()
{
    const QDateTime local = QDateTime::currentDateTime();
    const QDate date = local.date();
    const QTime time = local.time();
    double serial = 0;
    fromDate(date.year(), date.month(), date.day(), serial);
    return join(qint64(serial), time.hour() * 3600 + time.minute() * 60 + time.second());
}

QString DateMath::shortDate(double serial)
{
    const Parts p = split(serial);
    return QString::number(p.month) + u'/' + QString::number(p.day) + u'/'
        + QString::number(p.year);
}

QString DateMath::longDate(double serial)
{
    const Parts p = split(serial);
    return weekdayName(weekday(serial), false) + u", "_s + monthName(p.month, false) + u' '
        + QString::number(p.day) + u", "_s + QString::number(p.year);
}

QString DateMath::longTime(double serial)
{
    const Parts p = split(serial);
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    return QString::number(hour12) + u':' + twoDigits(p.minute) + u':' + twoDigits(p.second)
        + (p.hour < 12 ? u" AM"_s : u" PM"_s);
}

QString DateMath::shortTime(double serial)
{
    const Parts p = split(serial);
    return twoDigits(p.hour) + u':' + twoDigits(p.minute);
}

QString DateMath::toText(double serial)
{
    const Parts p = split(serial);
    const bool hasTime = p.hour != 0 || p.minute != 0 || p.second != 0;
    const bool hasDate = dayIndex(serial) != 0;
    if (hasDate && hasTime)
        return shortDate(serial) + u' ' + longTime(serial);
    if (hasDate)
        return shortDate(serial);
    return longTime(serial);
}

QString DateMath::monthName(int month, bool abbreviate)
{
    const QString name = QString::fromUtf16(kMonthNames[(month - 1) % 12]);
    return abbreviate ? name.left(3) : name;
}

QString DateMath::weekdayName(int weekday, bool abbreviate)
{
    const QString name = QString::fromUtf16(kDayNames[(weekday - 1) % 7]);
    return abbreviate ? name.left(3) : name;
}

} // namespace vantrel::vbscript
