#pragma once

namespace vantrel::personnel {

// Adds the person list's procedures to the program's registry (once per run; again is
// harmless):
//   qz_DeletePsnBaseByID (PID): the person with its photo, attachments, related-archive rows,
//     history rows and wage-set memberships; past wage rows stay. Fails when there is no such
//     person.
//   qz_SelectPsnbaseReOrderByDeptID (DID): the persons of the department in their order:
//     0 PID, 1 number, 2 name, 3 department, 4 category, 5 Ord.
//   qz_RefreshPsnBaseOrder (DID): renumbers the department's Ord 1 … n in the present order.
//   qz_AddStatItmFilter (ID, TID, Title, LowerVal, UperVal, Ord): ID 0 adds a statistic's
//     range, another ID rewrites that range (fails when it is gone).
void registerPsnProcedures();

} // namespace vantrel::personnel
