#pragma once

#include "platform/common/result.h"

class CADODatabase;

namespace vantrel::db {

// Brings the database on the connection to the newest schema: creates it on an empty
// database (with the first administrator "admin" / "admin") and runs the numbered
// migrations it lacks, each in one transaction. Safe to call on every start.
Status upgradeSchema(CADODatabase &db);

// The schema version the database has now; 0 for an empty database.
int schemaVersion(CADODatabase &db);

// The newest version this program knows.
int latestSchemaVersion();

} // namespace vantrel::db
