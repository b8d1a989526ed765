#pragma once

#include "core/db/errorreport.h"
#include "ui/controls/gridrowsource.h"

#include <QVariant>

class CADORecordset;

// The one way a grid writes a changed cell to the database. The grid hands it the record that
// the row shows (never a view row: rows may be sorted), with its key value when the grid has a
// key field, the field and the value; the writer writes that record, found by its key, with an
// optimistic check of the value read before. Scripts and imports use the same call.
//
// This writer uses the recordset's own write-back, which serves whole recordsets of a query
// over one table with a key. Windows that show joined rows, or rows read by key a page at a
// time, install a writer of their own (SetRecordWriter) that writes their table by the key.
class RecordWriter
{
public:
    virtual ~RecordWriter() = default;

    // Error code 0 on success. On failure the record keeps the value it had, and the code tells
    // the failure apart (ErrorCode::RowConflict: another user changed or deleted the row).
    virtual vantrel::db::ErrorInfo WriteField(const GridRecordRef &record, int field,
                                              const QVariant &value);

    // The writer grids use unless they are given another.
    static RecordWriter *defaultWriter();

    // The description of the recordset's last error (its report without the heading lines).
    static vantrel::db::ErrorInfo lastErrorOf(const CADORecordset &recordset);
};
