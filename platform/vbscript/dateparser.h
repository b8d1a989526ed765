#pragma once

#include <QStringView>

namespace vantrel::vbscript {

// Reads date and time text as CDate, IsDate and #date# literals do: 3/5/2024, 2024-03-05,
// March 5, 2024, 5-Mar-2024, 14:30, 2:30:15 PM and combinations. The month comes before the
// day as in the English locale, swapped when only the other order is a valid date; two-digit
// years 0-29 are 2000-2029 and 30-99 are 1930-1999; a date without a year is in this year.
class DateParser
{
public:
    static bool parse(QStringView text, double &serial);
};

} // namespace vantrel::vbscript
