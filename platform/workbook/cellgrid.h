#pragma once

#include "platform/workbook/sheet.h"

#include <QList>
#include <QVariant>

namespace workbook {

// Where a sheet source puts the cells it reads.
class CellSink
{
public:
    virtual ~CellSink();
    // 0-based row and column. An invalid value (an empty cell) is not stored.
    virtual void set(int row, int column, const QVariant &value) = 0;
    // True once the receiver wants no more cells: the source may stop reading.
    virtual bool stopped() const { return false; }
};

// The name of a header cell: its value as text, "F" + the 1-based column when empty.
QString headerName(const QVariant &value, int column);

// Collects the cells of a sheet in any order and shapes them into a Sheet: header names, rows
// of equal width, no trailing empty rows.
class CellGrid : public CellSink
{
public:
    void set(int row, int column, const QVariant &value) override;

    Sheet toSheet(const QString &name) &&;

private:
    QList<QVariantList> m_rows;
    int m_width = 0;
};

} // namespace workbook
