#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// Builds .xlsx packages part by part for the reader's tests.

using ZipEntries = QList<std::pair<QString, QByteArray>>;

// Writes a ZIP file from in-memory entries; false when the file cannot be written.
bool writeZip(const QString &path, const ZipEntries &entries);

// Header 编号 | 姓名 | (empty) | 日期 | 金额, then rows 2 and 4 with every kind of cell.
QByteArray handmadeFirstSheet();

// A workbook as Excel saves it, with two sheets: "工资" (handmadeFirstSheet() unless another
// first sheet is given) and the empty "Other"; shared strings, date styles and, when asked,
// the 1904 date system.
ZipEntries handmadeXlsxParts(bool date1904 = false,
                             const QByteArray &firstSheet = handmadeFirstSheet());

// A sheet whose first row holds `cell`, the XML of one <c> element.
QByteArray sheetWithCell(const QByteArray &cell);
