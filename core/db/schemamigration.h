#pragma once

#include <QString>
#include <QStringList>

namespace vantrel::db {

// One numbered step of the database schema. Statements are written once for both backends;
// the dialect replaces these placeholders before running them:
//   %IDENTITY%  an integer key filled by the insert itself (INTEGER PRIMARY KEY …)
//   %BLOB%      a binary column of any size
//   %DATETIME%  a date and time column (local time, no zone)
// Everything else is plain SQL that SQLite and PostgreSQL both accept: unquoted lower- or
// mixed-case identifiers, INTEGER for flags (0/1), VARCHAR(n), TEXT, DOUBLE PRECISION.
struct SchemaMigration
{
    int version = 0;
    QString description;
    QStringList statements;
    // The step (re)creates the server-side functions of the dialect first (PostgreSQL only).
    bool serverFunctions = false;
};

} // namespace vantrel::db
