#include "core/payroll/wageperiod.h"

namespace vantrel::payroll {

int ShiftWagePeriod(int period, int monthsBefore)
{
    const int year = period / 100;
    const int month = period % 100;
    if (period <= 0 || month < 1 || month > 12)
        return 0;
    const long long index = year * 12LL + (month - 1) - monthsBefore;
    if (index < 0 || index / 12 > 9999)
        return 0;
    return int(index / 12) * 100 + int(index % 12) + 1;
}

} // namespace vantrel::payroll
