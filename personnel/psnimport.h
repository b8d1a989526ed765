#pragma once

#include "core/query/itemmetadata.h"
#include "platform/common/result.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

class CADODatabase;

namespace vantrel::personnel {

// One column of an import workbook's first sheet as the matching grid shows it.
struct ImportColumn
{
    QString title;        // the header cell whole; "F<n>" when empty
    QVariant first;       // the value in the first data row (invalid when empty)
    bool numeric = false; // every non-empty cell of the first 8 data rows is a number
};

struct ImportSource
{
    QString sheetName;
    QVector<ImportColumn> columns; // empty when the sheet has no data row
};

// Reads the header and the first data rows of the first sheet (in workbook order); empty rows
// are skipped. Fails with the workbook layer's text when the file cannot be read.
Result<ImportSource> ReadImportSource(const QString &path);

// A source column (0-based) matched to a person item.
struct ImportMatch
{
    int column = 0;
    tagVANTRELITEMINFO item;
};

struct PsnImportRequest
{
    QString path;
    int department = 0; // DID of every imported person
    int category = 0;   // AID of every imported person
    QVector<ImportMatch> matches;
};

// A row of the matching grid: the source column and the ItemID chosen for it (0: none).
struct ImportGridRow
{
    QString title;
    bool numeric = false;
    int itemId = 0;
};

// The item of that id, or null.
const tagVANTRELITEMINFO *FindImportItem(const CItemInfoArray &items, int itemId);

// The first check before an import that fails, in this order: a number item matched to a
// column that is not numeric, nothing matched, no match for the number, none for the name.
// An empty message when the import may go on; `exclamation` for the last three.
struct ImportCheck
{
    QString message;
    bool exclamation = false;
};
ImportCheck CheckImportMatches(const CItemInfoArray &items, const QVector<ImportGridRow> &rows);

// The matches in grid order (row i is source column i); an id no longer in the items adds
// nothing.
QVector<ImportMatch> ImportMatches(const CItemInfoArray &items, const QVector<ImportGridRow> &rows);

// Converts a cell for an item of the data type: numbers, texts (numbers without ".0", dates as
// yyyy-MM-dd), dates (date cells, serials, texts like "2024/5/10"). An empty cell is NULL.
// Fails with the reason when the cell does not convert.
Result<QVariant> ConvertImportCell(const QVariant &cell, int dataType);

struct PsnImportOutcome
{
    int imported = 0;
    bool cancelled = false;
    QString error; // "导入数据出错!" and the sheet row, column and reason; empty on success
    bool ok() const { return !cancelled && error.isEmpty(); }
};

// Called now and then with the number of rows read; returning false cancels the import.
using ImportProgress = std::function<bool(int rowsRead)>;

// Inserts one person per non-empty data row of the first sheet with one prepared INSERT, all
// rows in one transaction: a cell that does not convert, a number that is empty, longer than
// 50 characters or already used (compared upper-case, in the sheet or the table), a row the
// database refuses, or a cancel leave the table as it was. The sheet is read row by row.
PsnImportOutcome RunPsnImport(CADODatabase &db, const PsnImportRequest &request,
                              const ImportProgress &progress = {});

// "人员档案[数据导入：成功导入 N 条记录！|<path>]"
QString ImportSuccessText(int imported);
QString ImportLogText(int imported, const QString &path);

} // namespace vantrel::personnel
