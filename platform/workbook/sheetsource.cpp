#include "platform/workbook/sheetsource.h"

namespace workbook {

SheetSource::~SheetSource() = default;

} // namespace workbook
