#include "core/payroll/wageround.h"

#include <QString>

#include <cmath>

namespace vantrel::payroll {

namespace {

// Powers of ten that a double holds exactly.
constexpr double exactPowers[]
    = { 1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };

double at15DigitsByText(double value)
{
    return QString::number(value, 'g', 15).toDouble();
}

} // namespace

double At15Digits(double value)
{
    if (!std::isfinite(value) || value == 0 || value == std::trunc(value))
        return std::abs(value) < 1e15 || !std::isfinite(value) ? value : at15DigitsByText(value);
    // value × 10^shift as a whole number of 15 digits, divided back: exact whenever the
    // product is not within an ulp of a half, where the text is asked instead.
    const double magnitude = std::abs(value);
    int shift = 14 - int(std::floor(std::log10(magnitude)));
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (shift < 0 || shift > 22)
            return at15DigitsByText(value);
        const double scaled = magnitude * exactPowers[shift];
        if (scaled >= 1e15) {
            --shift;
            continue;
        }
        if (scaled < 1e14) {
            ++shift;
            continue;
        }
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        const double ulp = std::nextafter(scaled, 2e15) - scaled;
        if (std::abs(fraction - 0.5) <= 2 * ulp)
            return at15DigitsByText(value);
        const double digits = fraction > 0.5 ? whole + 1 : whole;
        return std::copysign(digits / exactPowers[shift], value);
    }
    return at15DigitsByText(value);
}

double RoundDecimal(double value, int decimals, DecimalRounding mode)
{
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    // The scaled value is read at 15 digits again, so 267.49999999999997 counts as 267.5 and
    // 0.30000000000000004 × 10 as 3.
    const double scaled = At15Digits(At15Digits(value) * scale);
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
    return At15Digits(whole / scale) + 0.0;
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
