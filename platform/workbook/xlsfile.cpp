#include "platform/workbook/xlsfile.h"

#include "platform/workbook/cellgrid.h"
#include "platform/workbook/errortexts.h"

#include <QDateTime>
#include <QFile>

#include <freexl.h>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

QVariant textValue(const char *text)
{
    const QString value = QString::fromUtf8(text);
    return value.isEmpty() ? QVariant() : QVariant(value);
}

// FreeXL hands dates over as text in ISO form, already in the right date system.
QVariant dateValue(const FreeXL_CellValue &cell)
{
    const QString text = QString::fromLatin1(cell.value.text_value);
    if (cell.type == FREEXL_CELL_DATE)
        return QDate::fromString(text, Qt::ISODate);
    if (cell.type == FREEXL_CELL_TIME)
        return QDateTime(QDate(1899, 12, 30), QTime::fromString(text, Qt::ISODate));
    const QDateTime value = QDateTime::fromString(text, u"yyyy-MM-dd HH:mm:ss"_s);
    if (value.time() == QTime(0, 0))
        return value.date();
    return value;
}

QVariant cellValue(const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return double(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return cell.value.double_value;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return textValue(cell.value.text_value);
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return dateValue(cell);
    default:
        return {};
    }
}

} // namespace

vantrel::Result<std::unique_ptr<SheetSource>> XlsFile::open(const QString &path)
{
    using R = vantrel::Result<std::unique_ptr<SheetSource>>;
    const void *handle = nullptr;
    const int opened = freexl_open(QFile::encodeName(path).constData(), &handle);
    // FreeXL wants its handle closed even when opening failed.
    std::unique_ptr<XlsFile> file(new XlsFile(path, handle));
    if (opened != FREEXL_OK)
        return R::failure(file->failure(opened).error());
    unsigned int password = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK
        && password == FREEXL_BIFF_OBFUSCATED)
        return R::failure(errortexts::passwordProtected(path));
    if (vantrel::Status status = file->readNames(); !status)
        return R::failure(status.error());
    return R(std::unique_ptr<SheetSource>(std::move(file)));
}

XlsFile::XlsFile(QString path, const void *handle) : m_path(std::move(path)), m_handle(handle) { }

XlsFile::~XlsFile()
{
    if (m_handle)
        freexl_close(m_handle);
}

QStringList XlsFile::sheetNames() const
{
    return m_sheetNames;
}

vantrel::Status XlsFile::readNames()
{
    unsigned int count = 0;
    if (int code = freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count); code != FREEXL_OK)
        return failure(code);
    for (unsigned int i = 0; i < count; ++i) {
        const char *name = nullptr;
        if (int code = freexl_get_worksheet_name(m_handle, static_cast<unsigned short>(i), &name);
            code != FREEXL_OK)
            return failure(code);
        m_sheetNames.append(QString::fromUtf8(name));
    }
    return {};
}

vantrel::Status XlsFile::readSheet(int index, CellSink &grid)
{
    if (int code = freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(index));
        code != FREEXL_OK)
        return failure(code);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (int code = freexl_worksheet_dimensions(m_handle, &rows, &columns); code != FREEXL_OK)
        return failure(code);
    for (unsigned int row = 0; row < rows && !grid.stopped(); ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            if (int code = freexl_get_cell_value(m_handle, row, column, &cell); code != FREEXL_OK)
                return failure(code);
            grid.set(int(row), int(column), cellValue(cell));
        }
    }
    return {};
}

vantrel::Status XlsFile::failure(int code) const
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return vantrel::Status::failure(errortexts::unreadableFile(m_path, u"FreeXL"_s));
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        // An OLE2 file without a workbook stream: a Word file, or an encrypted .xlsx.
        return vantrel::Status::failure(errortexts::unknownFormat(m_path));
    default:
        return vantrel::Status::failure(errortexts::corruptFile(m_path, u"FreeXL %1"_s.arg(code)));
    }
}

} // namespace workbook
