#include "core/db/rowset.h"

namespace vantrel::db {

void RowSet::addColumn(const FieldDef &field)
{
    fields.push_back(field);
    m_columns.emplace_back(field.kind);
    for (int i = 0; i < m_rowCount; ++i)
        m_columns.back().appendNull();
}

void RowSet::hideLastField()
{
    if (!fields.isEmpty())
        fields.removeLast();
}

int RowSet::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant RowSet::value(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= columnCount())
        return {};
    return m_columns[size_t(column)].value(row);
}

bool RowSet::isNull(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= columnCount())
        return true;
    return m_columns[size_t(column)].isNull(row);
}

QString RowSet::text(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= columnCount())
        return {};
    return m_columns[size_t(column)].text(row);
}

QVector<QVariant> RowSet::row(int row) const
{
    QVector<QVariant> values;
    values.reserve(columnCount());
    for (int c = 0; c < columnCount(); ++c)
        values.push_back(value(row, c));
    return values;
}

void RowSet::setValue(int row, int column, const QVariant &value)
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= columnCount())
        return;
    m_columns[size_t(column)].set(row, value);
}

void RowSet::setRow(int row, const QVector<QVariant> &values)
{
    for (int c = 0; c < columnCount(); ++c)
        setValue(row, c, values.value(c));
}

int RowSet::appendRow()
{
    for (ColumnStore &c : m_columns)
        c.appendNull();
    return m_rowCount++;
}

void RowSet::appendRow(const QVector<QVariant> &values)
{
    for (int c = 0; c < columnCount(); ++c)
        m_columns[size_t(c)].appendVariant(values.value(c));
    ++m_rowCount;
}

void RowSet::removeRow(int row)
{
    if (row < 0 || row >= m_rowCount)
        return;
    for (ColumnStore &c : m_columns)
        c.remove(row);
    --m_rowCount;
}

void RowSet::reserve(int rows)
{
    for (ColumnStore &c : m_columns)
        c.reserve(rows);
}

void RowSet::finish()
{
    for (int c = 0; c < fields.size() && c < columnCount(); ++c)
        fields[c].kind = m_columns[size_t(c)].kind();
}

qsizetype RowSet::byteSize() const
{
    qsizetype total = 0;
    for (const ColumnStore &c : m_columns)
        total += c.byteSize();
    return total;
}

} // namespace vantrel::db
