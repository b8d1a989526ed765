#pragma once

namespace vantrel::db {

class ProcedureRegistry;

// The procedures of the system log and of the payroll and print templates.
void registerCoreProcedures(ProcedureRegistry &registry);

} // namespace vantrel::db
