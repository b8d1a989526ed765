#include "platform/workbook/cellgrid.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

QString headerText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Bool:
        return value.toBool() ? u"TRUE"_s : u"FALSE"_s;
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    default:
        return value.toString();
    }
}

} // namespace

CellSink::~CellSink() = default;

QString headerName(const QVariant &value, int column)
{
    const QString text = headerText(value);
    // The same generated name the old Excel driver gave, which saved import matches rely on.
    return text.isEmpty() ? u"F"_s + QString::number(column + 1) : text;
}

void CellGrid::set(int row, int column, const QVariant &value)
{
    if (!value.isValid() || row < 0 || column < 0)
        return;
    if (row >= m_rows.size())
        m_rows.resize(row + 1);
    QVariantList &cells = m_rows[row];
    if (column >= cells.size())
        cells.resize(column + 1);
    cells[column] = value;
    m_width = std::max(m_width, column + 1);
}

Sheet CellGrid::toSheet(const QString &name) &&
{
    // Rows exist only up to the last one that got a value, so trailing empty rows never appear.
    Sheet sheet;
    sheet.name = name;
    const QVariantList headerCells = m_rows.isEmpty() ? QVariantList() : m_rows.first();
    for (int column = 0; column < m_width; ++column)
        sheet.header.append(headerName(headerCells.value(column), column));
    sheet.rows = std::move(m_rows);
    if (!sheet.rows.isEmpty())
        sheet.rows.removeFirst();
    for (QVariantList &cells : sheet.rows)
        cells.resize(m_width);
    return sheet;
}

} // namespace workbook
