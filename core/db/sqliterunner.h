#pragma once

#include "core/db/queryresult.h"
#include "core/db/rowstream.h"

#include <QVariantList>
#include <QVector>

#include <memory>

struct sqlite3;

namespace vantrel::db::sqlite {

// Runs one statement on the connection with its values bound, rows read whole. A text with a
// second statement after the first is refused.
QueryResult run(sqlite3 *db, const QString &sql, const QVariantList &values);

// Prepares one statement that returns rows, with its values bound; its rows are stepped through
// as the stream is read. Null when it cannot be prepared or returns no rows, with *error set.
std::unique_ptr<RowStream> openStream(sqlite3 *db, const QString &sql, const QVariantList &values,
                                      ErrorInfo *error);

// Runs one statement once per value list, prepared once. The caller holds the transaction.
// Stops at the first failing row and names it in the error.
QueryResult runBatch(sqlite3 *db, const QString &sql, const QVector<QVariantList> &rows);

// While on, ATTACH (which would create a file), DETACH and PRAGMA (which could lift
// query_only) fail to prepare with "not authorized".
void setReadOnly(sqlite3 *db, bool on);

} // namespace vantrel::db::sqlite
