#pragma once

#include "platform/workbook/sheet.h"

#include <QList>
#include <QVariant>

namespace workbook {

// Collects the cells of a sheet in any order and shapes them into a Sheet: header names, rows
// of equal width, no trailing empty rows.
class CellGrid
{
public:
    // 0-based row and column. An invalid value (an empty cell) is not stored.
    void set(int row, int column, const QVariant &value);

    Sheet toSheet(const QString &name) &&;

private:
    QList<QVariantList> m_rows;
    int m_width = 0;
};

} // namespace workbook
