#include "core/payroll/wageround.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <iterator>
#include <string_view>

namespace vantrel::payroll {

namespace {

// The double as a decimal of 15 significant digits reads it, as QString's conversion gives it.
// std::to_chars writes its exact digits many times faster (a batch change calls this per row);
// an exact half at the 16th digit (5 and nothing after it), which the two may settle
// differently, takes QString's way.
double at15Digits(double value)
{
    if (value == 0)
        return 0.0; // QString writes a zero without its sign
    char wide[48];
    const std::to_chars_result printed
        = std::to_chars(std::begin(wide), std::end(wide), value, std::chars_format::scientific, 24);
    const std::string_view text(wide, printed.ptr);
    const std::size_t point = text.find('.');
    const std::size_t exponent = text.find('e');
    if (printed.ec != std::errc() || point == std::string_view::npos
        || exponent == std::string_view::npos || text.substr(point + 15, 10) == "5000000000")
        return QString::number(value, 'g', 15).toDouble();
    // Sign, a 0 to take a carry out of the first digit, the first 15 digits, the exponent.
    char narrow[48];
    std::size_t size = 0;
    const std::size_t first = text.front() == '-' ? 1 : 0;
    if (first)
        narrow[size++] = '-';
    narrow[size++] = '0';
    for (std::size_t i = first; i < point + 15; ++i)
        narrow[size++] = text[i];
    if (text[point + 15] >= '5') {
        for (std::size_t i = size - 1; narrow[i] != '-'; --i) {
            if (narrow[i] == '.')
                continue;
            if (narrow[i] != '9') {
                ++narrow[i];
                break;
            }
            narrow[i] = '0';
        }
    }
    for (std::size_t i = exponent; i < text.size(); ++i)
        narrow[size++] = text[i];
    double read = value;
    std::from_chars(narrow, narrow + size, read);
    return read;
}

} // namespace

double RoundWage(double value, int decimals, int choice)
{
    if (!std::isfinite(value))
        return value;
    const double exact = at15Digits(value);
    if (choice == 1)
        return std::floor(exact);
    if (choice == 2)
        return std::ceil(exact);
    const double scale = std::pow(10.0, decimals);
    // The scaled value is read at 15 digits again, so 267.49999999999997 counts as 267.5.
    const double scaled = at15Digits(exact * scale);
    return at15Digits(std::round(scaled) / scale);
}

} // namespace vantrel::payroll
