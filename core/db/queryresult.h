#pragma once

#include "core/db/errorreport.h"
#include "core/db/rowset.h"

namespace vantrel::db {

// The outcome of one statement: the rows it returned (when it returns rows), how many rows
// it changed, or why it failed.
struct QueryResult
{
    bool ok = false;
    ErrorInfo error; // when !ok
    bool returnsRows = false;
    RowSet rows;
    qint64 rowsAffected = 0;

    bool hasRow() const { return ok && rows.rowCount() > 0; }
    // The first value of the first row; invalid when there is none.
    QVariant scalar() const { return rows.value(0, 0); }

    static QueryResult failure(ErrorInfo error)
    {
        QueryResult r;
        r.error = std::move(error);
        return r;
    }
};

} // namespace vantrel::db
