#pragma once

#include "core/db/queryresult.h"
#include "core/db/rowstream.h"

#include <QVariantList>
#include <QVector>

#include <memory>

typedef struct pg_conn PGconn;

namespace vantrel::db::postgres {

// Runs one statement with its values sent as parameters of the extended protocol: typed,
// outside the SQL text, so no session setting and no value can change what the statement
// means. The '?' placeholders become $1, $2 … One round trip; a second statement in the text
// is refused by the server.
QueryResult run(PGconn *conn, const QString &sql, const QVariantList &values);

// Sends one statement as run() does and reads its rows one at a time (libpq's single-row mode)
// as the stream is read; the connection takes no other statement until the stream is gone.
// Null when the statement fails or returns no rows, with *error set.
std::unique_ptr<RowStream> openStream(PGconn *conn, const QString &sql, const QVariantList &values,
                                      ErrorInfo *error);

// Runs one statement once per value list in pipeline mode: prepared once, sent in chunks,
// one round trip per chunk. The caller holds the transaction. Stops at the first failing row
// and names it in the error.
QueryResult runBatch(PGconn *conn, const QString &sql, const QVector<QVariantList> &rows);

// True when the open transaction was aborted by a failed statement: its COMMIT would only
// roll back.
bool transactionAborted(PGconn *conn);

} // namespace vantrel::db::postgres
