// The .xlsx reader over any bytes (a zip archive of XML parts).
#include "fuzz/workbookinput.h"
#include "platform/workbook/xlsxfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    readWorkbookInput<workbook::XlsxFile>(data, size, QStringLiteral(".xlsx"));
    return 0;
}
