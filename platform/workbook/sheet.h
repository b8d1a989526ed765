#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace workbook {

// One worksheet read into memory. The sheet's first row is the header; every other row up to
// the last one that holds a value is a data row.
struct Sheet
{
    QString name;
    // One name per column. An empty header cell is named "F" + its 1-based column number.
    QStringList header;
    // Each row has exactly header.size() values: double, QString, QDate (a date at midnight),
    // QDateTime (a bare time falls on 1899-12-30), bool, or an invalid QVariant for an empty
    // cell or an error value. An empty text counts as an empty cell. In .xls files booleans
    // read as 1.0 and 0.0: FreeXL does not tell them from numbers.
    QList<QVariantList> rows;
};

} // namespace workbook
