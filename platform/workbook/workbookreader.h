#pragma once

#include "platform/common/result.h"
#include "platform/workbook/sheet.h"

#include <QStringList>
#include <QVariantList>

#include <functional>
#include <memory>

namespace workbook {

class SheetSource;

// Reads Excel workbooks: .xls (Excel 97-2003) and .xlsx, told apart by their content, not by
// the file name. Each sheet reads as a header row plus rows of values (see Sheet).
//
//     auto reader = WorkbookReader::open(path);
//     if (!reader) { show(reader.error()); return; }
//     auto sheet = reader->readFirstSheet();
//
// Failures come back as short texts for the user: missing file, unreadable or corrupt file,
// not a workbook, password protected, no such sheet.
class WorkbookReader
{
public:
    enum class Format { Xls, Xlsx };

    // Opens the file and reads its list of sheets.
    static vantrel::Result<WorkbookReader> open(const QString &path);

    WorkbookReader(WorkbookReader &&other) noexcept;
    WorkbookReader &operator=(WorkbookReader &&other) noexcept;
    ~WorkbookReader();

    Format format() const { return m_format; }
    // In workbook order (the order of the sheet tabs), hidden sheets included.
    QStringList sheetNames() const;

    vantrel::Result<Sheet> readFirstSheet();

    // Called for each row of a sheet that holds a value, in file order, with its 0-based sheet
    // row (0 is the header row) and its cells up to the last one with a value (values as in
    // Sheet). Returning false stops the reading.
    using RowHandler = std::function<bool(int sheetRow, const QVariantList &cells)>;
    // Reads the first sheet row by row: an .xlsx sheet is parsed as it is unpacked and only the
    // current row is held, so large sheets read in little memory.
    vantrel::Status readFirstSheetRows(const RowHandler &handler);
    // Sheet names are matched regardless of case, as Excel does.
    vantrel::Result<Sheet> readSheet(const QString &name);

private:
    WorkbookReader(QString path, Format format, std::unique_ptr<SheetSource> source);
    vantrel::Result<Sheet> readSheetAt(int index);

    QString m_path;
    Format m_format;
    std::unique_ptr<SheetSource> m_source;
};

} // namespace workbook
