#pragma once

// Wage periods are year × 100 + month (200703 is March 2007).
namespace vantrel::payroll {

// The period the given number of calendar months before (after, when negative) the period:
// 200702 and 3 give 200611. 0 when the period is no valid year and month.
int ShiftWagePeriod(int period, int monthsBefore);

} // namespace vantrel::payroll
