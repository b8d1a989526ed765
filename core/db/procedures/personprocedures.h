#pragma once

namespace vantrel::db {

class ProcedureRegistry;

// The procedures of the person pickers.
void registerPersonProcedures(ProcedureRegistry &registry);

} // namespace vantrel::db
