#pragma once

#include <QString>

// Letters, digits and underscores, not starting with a digit: the only names that enter SQL
// text unquoted (tables and columns that come from metadata or from the program itself).
bool IsSqlIdentifier(const QString &name);
