#pragma once

#include "core/db/errorreport.h"
#include "core/db/rowset.h"

namespace vantrel::db {

// One running statement's rows, handed out a piece at a time: the backend's half of a
// RowCursor. Destroying a stream that has not reached its end stops the statement.
class RowStream
{
public:
    virtual ~RowStream() = default;

    // Adds the statement's columns, as it describes them, to an empty RowSet.
    virtual void describe(RowSet &rows) const = 0;
    // Appends up to limit further rows to rows (made by describe). Fewer than limit means the
    // end; false when the statement failed, with *error saying why.
    virtual bool fetch(RowSet &rows, int limit, ErrorInfo *error) = 0;
};

} // namespace vantrel::db
