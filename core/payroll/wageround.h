#pragma once

// How a wage item's number is rounded when it is stored: choice 1 cuts down to a whole number
// (floor), 2 raises to one (ceiling), anything else rounds half away from zero at `decimals`
// places. The value is first read at 15 significant digits, as the database's exact decimal
// reads a double, so 2.675 at 2 places is 2.68 on every backend. SQL reaches the same rule as
// wage_round(x, iDec, iChoice).
namespace vantrel::payroll {

double RoundWage(double value, int decimals, int choice);

// The double a decimal of 15 significant digits of value reads back as (what "%.15g" and a
// parse give), without the text where that can be done exactly.
double At15Digits(double value);

// The decimal core beneath RoundWage: the value read at 15 significant digits, then rounded at
// `decimals` places half away from zero, down or up.
enum class DecimalRounding { HalfAwayFromZero, Floor, Ceiling };
double RoundDecimal(double value, int decimals, DecimalRounding mode);

} // namespace vantrel::payroll
