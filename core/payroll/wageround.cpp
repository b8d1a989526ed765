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

double RoundDecimal(double value, int decimals, DecimalRounding mode)
{
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    // The scaled value is read at 15 digits again, so 267.49999999999997 counts as 267.5 and
    // 0.30000000000000004 × 10 as 3.
    const double scaled = at15Digits(at15Digits(value) * scale);
    double whole = 0;
    switch (mode) {
    case DecimalRounding::Floor:
        whole = std::floor(scaled);
        break;
    case DecimalRounding::Ceiling:
        whole = std::ceil(scaled);
        break;
    case DecimalRounding::HalfAwayFromZero:
        whole = std::round(scaled);
        break;
    }
    // + 0.0 turns a negative zero into zero.
    return at15Digits(whole / scale) + 0.0;
}

double RoundWage(double value, int decimals, int choice)
{
    if (choice == 1)
        return RoundDecimal(value, 0, DecimalRounding::Floor);
    if (choice == 2)
        return RoundDecimal(value, 0, DecimalRounding::Ceiling);
    return RoundDecimal(value, decimals, DecimalRounding::HalfAwayFromZero);
}

} // namespace vantrel::payroll
