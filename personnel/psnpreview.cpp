#include "personnel/psnpreview.h"

#include "core/db/cadodatabase.h"
#include "platform/workbook/workbookreader.h"
#include "platform/workbook/workbookwriter.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

PreviewLoad LoadQueryPreview(const QString &connectionString, const QString &sql,
                             const QVariantList &values)
{
    PreviewLoad load;
    CADODatabase db;
    if (!db.OpenReadOnly(connectionString)) {
        load.connectionFailed = true;
        load.error = u"打开数据库出错!"_s;
        return load;
    }
    const db::QueryResult result = db.runReadOnly(sql, values);
    db.Close();
    if (!result.ok) {
        load.error = result.error.description;
        return load;
    }
    const int fields = int(result.rows.fields.size());
    for (const db::FieldDef &field : result.rows.fields)
        load.table.header.append(field.name);
    for (int row = 0; row < result.rows.rowCount(); ++row) {
        QVariantList cells;
        for (int field = 0; field < fields; ++field)
            cells.append(result.rows.value(row, field));
        load.table.rows.append(cells);
    }
    return load;
}

PreviewLoad LoadSheetPreview(const QString &path)
{
    PreviewLoad load;
    auto reader = workbook::WorkbookReader::open(path);
    if (!reader) {
        load.error = reader.error();
        return load;
    }
    vantrel::Result<workbook::Sheet> sheet = reader->readFirstSheet();
    if (!sheet) {
        load.error = sheet.error();
        return load;
    }
    load.table.header = sheet->header;
    for (const QVariantList &cells : std::as_const(sheet->rows)) {
        bool empty = true;
        for (const QVariant &cell : cells)
            empty = empty && !cell.isValid();
        if (!empty)
            load.table.rows.append(cells);
    }
    return load;
}

vantrel::Status ExportPreview(const PreviewTable &table, const QString &path)
{
    workbook::WorkbookWriter writer(path, u"Sheet1"_s);
    if (vantrel::Status status = writer.open(); !status)
        return status;
    if (vantrel::Status status = writer.writeHeader(table.header); !status)
        return status;
    for (const QVariantList &row : table.rows) {
        if (vantrel::Status status = writer.writeRow(row); !status)
            return status;
    }
    return writer.finish();
}

QString PreviewFooterText(int rows)
{
    return u"共 %1 条记录"_s.arg(rows);
}

} // namespace vantrel::personnel
