#pragma once

#include <QDateTime>
#include <QVariant>

#include <optional>

namespace workbook {

// Which day a workbook's serial number 0 stands for.
enum class DateSystem {
    Excel1900, // the default; counts the nonexistent 1900-02-29 as serial 60
    Excel1904, // serial 0 is 1904-01-01 (old Mac workbooks)
};

// An Excel serial date (days since the system's epoch, the fraction being the time of day,
// kept to the millisecond) as a QDate when the time is midnight, else as a QDateTime in local
// time. An invalid QVariant when the number is no date Excel can show (negative, past 9999).
QVariant dateFromSerial(double serial, DateSystem system);

// The serial number of a date and time in the 1900 system; std::nullopt before 1900-01-01 or
// after 9999-12-31, which a cell cannot hold as a date.
std::optional<double> serialFromDateTime(QDate date, QTime time);

} // namespace workbook
