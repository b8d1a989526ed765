// What the program reads back from the .xls reader program: the reader parses untrusted files
// with a library that can be led astray, so its output is not trusted either.
#include "platform/workbook/cellgrid.h"
#include "platform/workbook/isolatedxlsfile.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    auto source = workbook::IsolatedXlsFile::decode(bytes, QStringLiteral("fuzz.xls"));
    if (!source)
        return 0;
    const QStringList names = (*source)->sheetNames();
    for (int i = 0; i < names.size(); ++i) {
        workbook::CellGrid grid;
        if ((*source)->readSheet(i, grid))
            std::move(grid).toSheet(names[i]);
    }
    return 0;
}
