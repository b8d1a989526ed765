#pragma once

#include "platform/common/result.h"

#include <QString>

namespace vantrel::db {

// Creates a new, empty embedded database file (and its folder). Opening a connection never
// creates one: a database is made only when the user asks for a new one. An existing file is
// left as it is and reported as an error.
Status createSqliteDatabase(const QString &filePath);

} // namespace vantrel::db
