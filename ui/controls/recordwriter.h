#pragma once

#include "core/db/errorreport.h"

#include <QVariant>

class CADORecordset;

// The one way a grid writes a changed cell to the database. The grid hands it the record
// (the recordset position the row shows, never a view row), the field and the value; the
// writer puts the value into the record and writes that record back, found by its key, with
// an optimistic check of the value read before. Scripts and imports use the same call.
//
// This writer uses the recordset's own write-back, which serves queries over one table with a
// key. Windows that show joined rows install a writer of their own (SetRecordWriter).
class RecordWriter
{
public:
    virtual ~RecordWriter() = default;

    // Error code 0 on success. On failure the record keeps the value it had, and the code tells
    // the failure apart (ErrorCode::RowConflict: another user changed or deleted the row).
    virtual vantrel::db::ErrorInfo WriteField(CADORecordset &recordset, long record, int field,
                                              const QVariant &value);

    // The writer grids use unless they are given another.
    static RecordWriter *defaultWriter();

    // The description of the recordset's last error (its report without the heading lines).
    static vantrel::db::ErrorInfo lastErrorOf(const CADORecordset &recordset);
};
