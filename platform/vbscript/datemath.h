#pragma once

#include <QString>
#include <QStringView>

namespace vantrel::vbscript {

// Calendar arithmetic on the Date subtype: a serial day count since 1899-12-30 whose fraction is
// the time of day (for days before that date the fraction still counts forwards from midnight,
// so -1.25 is 1899-12-29 06:00). Valid years are 100 to 9999. Text forms follow the English
// neutral locale (M/d/yyyy h:mm:ss AM).
class DateMath
{
public:
    struct Parts
    {
        int year = 1899;
        int month = 12;
        int day = 30;
        int hour = 0;
        int minute = 0;
        int second = 0;
    };

    static bool isValid(double serial);
    // The calendar parts, the time rounded to the second.
    static Parts split(double serial);
    // Day index and seconds into the day, joined by the rule above.
    static double join(qint64 day, qint64 seconds);
    // DateSerial: month and day may run over (month 13, day 0, day -1) and are carried.
    // False when the result falls outside years 100 to 9999.
    static bool fromDate(qint64 year, qint64 month, qint64 day, double &serial);
    // TimeSerial: any number of seconds, carried into days.
    static double fromSeconds(qint64 seconds);
    static bool fromParts(const Parts &parts, double &serial);
    // The day index of a serial (its date without the time, after rounding the time).
    static qint64 dayIndex(double serial);
    // 1 for firstDayOfWeek (1 = Sunday ... 7 = Saturday; 0 means Sunday) to 7.
    static int weekday(double serial, int firstDayOfWeek = 1);
    static int daysInMonth(int year, int month);
    // A two-digit year in the window 1930 to 2029; other years as they are.
    static qint64 windowYear(qint64 year)
    {
        if (year < 0 || year > 99)
            return year;
        return year < 30 ? 2000 + year : 1900 + year;
    }

    static double now();
    // CStr of a Date: the date alone when there is no time, the time alone on day 0.
    static QString toText(double serial);
    static QString shortDate(double serial);
    static QString longDate(double serial);
    static QString longTime(double serial);
    static QString shortTime(double serial);
    static QString monthName(int month, bool abbreviate);
    static QString weekdayName(int weekday, bool abbreviate);
};

} // namespace vantrel::vbscript
