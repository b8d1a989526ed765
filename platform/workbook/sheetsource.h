#pragma once

#include "platform/common/result.h"

#include <QStringList>

namespace workbook {

class CellSink;

// One open workbook file of a given format, as the reader sees it.
class SheetSource
{
public:
    virtual ~SheetSource();

    // Sheet names in workbook order.
    virtual QStringList sheetNames() const = 0;
    // Puts the cells of sheet `index` (0-based, from sheetNames()) into `grid`.
    virtual vantrel::Status readSheet(int index, CellSink &grid) = 0;
};

} // namespace workbook
