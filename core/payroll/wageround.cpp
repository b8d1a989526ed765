#include "core/payroll/wageround.h"

#include <QString>

#include <cmath>

namespace vantrel::payroll {

namespace {

// The double as a decimal of 15 significant digits reads it.
double at15Digits(double value)
{
    return QString::number(value, 'g', 15).toDouble();
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
