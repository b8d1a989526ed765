// The .xls reader over any bytes.
#include "fuzz/workbookinput.h"
#include "platform/workbook/xlsfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    readWorkbookInput<workbook::XlsFile>(data, size, QStringLiteral(".xls"));
    return 0;
}
