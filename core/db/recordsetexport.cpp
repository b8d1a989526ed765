// CADORecordset::ExportToExcel: every row of the recordset into one .xlsx sheet.

#include "core/db/cadorecordset.h"
#include "platform/workbook/workbookwriter.h"

#include <QFileInfo>

using namespace vantrel::db;
using namespace Qt::StringLiterals;

bool CADORecordset::ExportToExcel(const QString &filePath)
{
    if (!IsOpen()) {
        StoreError(ErrorInfo::make(ErrorCode::ObjectClosed, u"The recordset is closed."_s));
        return false;
    }
    const QString path = workbook::WorkbookWriter::xlsxPath(filePath);
    // The sheet is named after the file, as the old spreadsheet driver named its table.
    workbook::WorkbookWriter writer(path, QFileInfo(path).completeBaseName().left(255));

    const int columns = int(GetFieldCount());
    QStringList header;
    for (int i = 0; i < columns; ++i) {
        header << GetFieldName(i);
    }
    vantrel::Status status = writer.open();
    if (status)
        status = writer.writeHeader(header);
    for (MoveFirst(); status && !IsEof(); MoveNext()) {
        QVariantList values;
        values.reserve(columns);
        for (int i = 0; i < columns; ++i) {
            QVariant value;
            // A cell cannot hold bytes; binary columns stay empty.
            if (GetFieldKind(i) != FieldKind::Binary)
                GetFieldValueVariant(i, value);
            values << value;
        }
        status = writer.writeRow(values);
    }
    if (status)
        status = writer.finish();
    while (!IsEof())
        MoveNext();
    if (!status) {
        StoreError(ErrorInfo::make(ErrorCode::Failed, status.error(), path));
        return false;
    }
    return true;
}
