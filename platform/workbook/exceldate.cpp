#include "platform/workbook/exceldate.h"

#include <cmath>

namespace workbook {

namespace {

constexpr qint64 msPerDay = 24 * 60 * 60 * 1000;
constexpr double lastSerial = 2958466.0; // 10000-01-01 in the 1900 system

// The day before 1900-01-01: with it, serials from 61 on are plain day counts, because Excel
// treats 1900 as a leap year and so counts one day too many from March 1900 on.
QDate epoch1900()
{
    return QDate(1899, 12, 30);
}

} // namespace

QVariant dateFromSerial(double serial, DateSystem system)
{
    if (!std::isfinite(serial) || serial < 0 || serial >= lastSerial)
        return {};
    const qint64 totalMs = std::llround(serial * msPerDay);
    qint64 days = totalMs / msPerDay;
    const int ms = int(totalMs % msPerDay);
    QDate date;
    if (system == DateSystem::Excel1904) {
        date = QDate(1904, 1, 1).addDays(days);
    } else {
        // Serials 1 to 59 lie before the phantom 1900-02-29 and need one day more; serial 60,
        // the phantom itself, lands on 1900-02-28; serial 0 (a bare time) on the epoch.
        if (days >= 1 && days < 60)
            ++days;
        date = epoch1900().addDays(days);
    }
    if (date.year() > 9999)
        return {};
    if (ms == 0)
        return date;
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(ms));
}

std::optional<double> serialFromDateTime(QDate date, QTime time)
{
    if (!date.isValid() || date < QDate(1900, 1, 1) || date > QDate(9999, 12, 31))
        return std::nullopt;
    qint64 days = epoch1900().daysTo(date);
    if (date < QDate(1900, 3, 1))
        --days;
    const double fraction = time.isValid() ? double(time.msecsSinceStartOfDay()) / msPerDay : 0.0;
    return double(days) + fraction;
}

} // namespace workbook
