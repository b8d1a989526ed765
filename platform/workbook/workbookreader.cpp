#include "platform/workbook/workbookreader.h"

#include "platform/workbook/cellgrid.h"
#include "platform/workbook/errortexts.h"
#include "platform/workbook/isolatedxlsfile.h"
#include "platform/workbook/sheetsource.h"
#include "platform/workbook/xlsxfile.h"

#include <QFile>
#include <QFileInfo>

namespace workbook {

namespace {

// An .xls workbook is an OLE2 compound file; an .xlsx workbook is a ZIP package.
const QByteArray ole2Signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
const QByteArray zipSignature("PK\x03\x04", 4);

// Hands each row on as soon as the next one begins; the sources deliver rows in order.
class RowStream : public CellSink
{
public:
    explicit RowStream(const WorkbookReader::RowHandler &handler) : m_handler(handler) { }

    void set(int row, int column, const QVariant &value) override
    {
        if (m_stopped || !value.isValid() || row < 0 || column < 0)
            return;
        if (row != m_row)
            flush();
        m_row = row;
        if (column >= m_cells.size())
            m_cells.resize(column + 1);
        m_cells[column] = value;
    }
    bool stopped() const override { return m_stopped; }

    void flush()
    {
        if (!m_stopped && !m_cells.isEmpty())
            m_stopped = !m_handler(m_row, m_cells);
        m_cells.clear();
    }

private:
    const WorkbookReader::RowHandler &m_handler;
    QVariantList m_cells;
    int m_row = -1;
    bool m_stopped = false;
};

} // namespace

vantrel::Result<WorkbookReader> WorkbookReader::open(const QString &path)
{
    using R = vantrel::Result<WorkbookReader>;
    const QFileInfo info(path);
    if (!info.exists())
        return R::failure(errortexts::missingFile(path));
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return R::failure(errortexts::unreadableFile(path, file.errorString()));
    const QByteArray head = file.read(ole2Signature.size());
    file.close();
    Format format = Format::Xls;
    vantrel::Result<std::unique_ptr<SheetSource>> source
        = vantrel::Result<std::unique_ptr<SheetSource>>::failure(errortexts::unknownFormat(path));
    if (head.startsWith(ole2Signature)) {
        format = Format::Xls;
        source = IsolatedXlsFile::open(path);
    } else if (head.startsWith(zipSignature)) {
        format = Format::Xlsx;
        source = XlsxFile::open(path);
    }
    if (!source)
        return R::failure(source.error());
    return WorkbookReader(path, format, std::move(source).value());
}

WorkbookReader::WorkbookReader(QString path, Format format, std::unique_ptr<SheetSource> source)
    : m_path(std::move(path)), m_format(format), m_source(std::move(source))
{
}

WorkbookReader::WorkbookReader(WorkbookReader &&other) noexcept = default;
WorkbookReader &WorkbookReader::operator=(WorkbookReader &&other) noexcept = default;
WorkbookReader::~WorkbookReader() = default;

QStringList WorkbookReader::sheetNames() const
{
    return m_source->sheetNames();
}

vantrel::Result<Sheet> WorkbookReader::readFirstSheet()
{
    if (m_source->sheetNames().isEmpty())
        return vantrel::Result<Sheet>::failure(errortexts::noSheets(m_path));
    return readSheetAt(0);
}

vantrel::Status WorkbookReader::readFirstSheetRows(const RowHandler &handler)
{
    if (m_source->sheetNames().isEmpty())
        return vantrel::Status::failure(errortexts::noSheets(m_path));
    RowStream stream(handler);
    if (vantrel::Status status = m_source->readSheet(0, stream); !status)
        return status;
    stream.flush();
    return {};
}

vantrel::Result<Sheet> WorkbookReader::readSheet(const QString &name)
{
    const QStringList names = m_source->sheetNames();
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return readSheetAt(i);
    }
    return vantrel::Result<Sheet>::failure(errortexts::sheetNotFound(name));
}

vantrel::Result<Sheet> WorkbookReader::readSheetAt(int index)
{
    CellGrid grid;
    if (vantrel::Status status = m_source->readSheet(index, grid); !status)
        return vantrel::Result<Sheet>::failure(status.error());
    return std::move(grid).toSheet(m_source->sheetNames().at(index));
}

} // namespace workbook
