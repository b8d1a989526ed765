#pragma once

#include "core/db/columnstore.h"
#include "core/db/sqldialect.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <vector>

namespace vantrel::db {

// A database NULL as the rows hold it: an invalid or null QVariant.
inline bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

struct FieldDef
{
    QString name; // as the statement names it (alias or column)
    FieldKind kind = FieldKind::Unknown;
    QString table; // the table the value comes from, when the backend tells
    int definedSize = -1;
};

// A result held in memory, column by column (see ColumnStore), with values in one
// representation on both backends: NULL is an invalid QVariant, dates local QDateTime, flags
// and counts integers, booleans bool. There may be more columns than fields: a column kept
// for the program's own use (a key the query did not select) stays after the visible ones.
class RowSet
{
public:
    QVector<FieldDef> fields;

    // A new, empty column for a field; the field becomes visible.
    void addColumn(const FieldDef &field);
    // The last field goes out of sight; its values stay as the last column.
    void hideLastField();

    int rowCount() const { return m_rowCount; }
    int columnCount() const { return int(m_columns.size()); }
    int fieldIndex(const QString &name) const; // case-insensitive, -1 when absent

    // The value at a row and column; an invalid QVariant for NULL or out of range.
    QVariant value(int row, int column) const;
    bool isNull(int row, int column) const;
    QString text(int row, int column) const;
    QVector<QVariant> row(int row) const;

    // Changes: values are converted to the column's kind where they fit.
    void setValue(int row, int column, const QVariant &value);
    void setRow(int row, const QVector<QVariant> &values);
    int appendRow(); // every value NULL; returns the new row's index
    void appendRow(const QVector<QVariant> &values);
    void removeRow(int row);

    // For readers that fill the columns directly: append one value to every column, then
    // count the row; finish() sets the fields' kinds from what the columns found.
    ColumnStore &column(int column) { return m_columns[size_t(column)]; }
    const ColumnStore &column(int column) const { return m_columns[size_t(column)]; }
    void rowAppended() { ++m_rowCount; }
    void reserve(int rows);
    void finish();

    qsizetype byteSize() const;

private:
    std::vector<ColumnStore> m_columns;
    int m_rowCount = 0;
};

} // namespace vantrel::db
