#pragma once

#include "core/db/connectionstring.h"

#include <QString>

class CADODatabase;
namespace benchmark {
class State;
}
class QTemporaryDir;

// What the benchmarks share: fresh databases on either backend, the person table filled as an
// office's would be, and the process's memory.
namespace bench {

// Resident memory ("VmRSS:") or its peak ("VmHWM:") of this process, in MB.
double memoryMb(const char *key);

// A fresh database of the backend: a file in dir, or a new database named after tag and this
// process on the PostgreSQL server of VANTREL_PG_HOST/PORT/USER/PASSWORD (as ./test.sh starts
// one). Its connection string, or empty with *why (no server named, or the server's error).
QString createDatabase(vantrel::db::Backend backend, QTemporaryDir &dir, const QString &tag,
                       QString *why);

// The item kind of user column i (0 number, 1 text, 2 date), mixed as a person table has them.
int userColumnType(int i);

// On a database with the program's schema: user items F1…F<userColumns>, twenty departments
// (four at the top, four below each, with their paths), two categories, and `persons` persons
// spread over the sixteen lower departments, in one transaction.
bool fillPersons(CADODatabase &db, int persons, int userColumns);

// On a database with the program's schema, for the payroll benchmarks: sixteen departments at
// the top, the category 在职 and `persons` persons (numbers N000000…) spread over the
// departments, in one transaction.
bool fillWagePersons(CADODatabase &db, int persons);

// Opens theDatabase on a database prepared for a benchmark (its connection string, or empty
// with why it could not be made), as the session's connection; false with the benchmark
// skipped and the reason given.
bool openPrepared(benchmark::State &state, const QString &connection, const QString &why);

} // namespace bench
