#include "ui/controls/recordwriter.h"

#include "core/db/cadorecordset.h"

using namespace vantrel::db;
using namespace Qt::StringLiterals;

ErrorInfo RecordWriter::WriteField(const GridRecordRef &record, int field, const QVariant &value)
{
    if (!record.recordset || !record.recordset->SetAbsolutePosition(record.position))
        return ErrorInfo::make(ErrorCode::RowConflict, u"The row was deleted by another user."_s);
    CADORecordset &recordset = *record.recordset;
    recordset.Edit();
    if (!recordset.SetFieldValueVariant(field, value)) {
        const ErrorInfo error = lastErrorOf(recordset);
        recordset.CancelUpdate();
        return error;
    }
    if (!recordset.Update()) {
        // The cell goes back to what was read; the message tells the user why.
        const ErrorInfo error = lastErrorOf(recordset);
        recordset.CancelUpdate();
        return error;
    }
    return {};
}

RecordWriter *RecordWriter::defaultWriter()
{
    static RecordWriter writer;
    return &writer;
}

ErrorInfo RecordWriter::lastErrorOf(const CADORecordset &recordset)
{
    const QString report = recordset.GetLastErrorString();
    const QString marker = u"\tDescription = "_s;
    const qsizetype at = report.indexOf(marker);
    const QString description
        = at < 0 ? report.trimmed() : report.mid(at + marker.size()).trimmed();
    const quint32 code = recordset.GetLastError() ? recordset.GetLastError() : ErrorCode::Failed;
    return ErrorInfo::make(code, description);
}
