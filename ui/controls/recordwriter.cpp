#include "ui/controls/recordwriter.h"

#include "core/db/cadorecordset.h"

using namespace vantrel::db;
using namespace Qt::StringLiterals;

ErrorInfo RecordWriter::WriteField(CADORecordset &recordset, long record, int field,
                                   const QVariant &value)
{
    if (!recordset.SetAbsolutePosition(record))
        return ErrorInfo::make(ErrorCode::NoCurrentRecord,
                               u"Record %1 is not in the recordset."_s.arg(record));
    recordset.Edit();
    if (!recordset.SetFieldValueVariant(field, value)) {
        const ErrorInfo error = lastErrorOf(recordset);
        recordset.CancelUpdate();
        return error;
    }
    if (!recordset.Update())
        return lastErrorOf(recordset);
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
