#pragma once

#include "core/db/sqlidentifier.h"
#include "platform/common/result.h"

#include <QString>
#include <QVariantList>
#include <QVector>

class CADODatabase;

// Data types of an item (qz_Items.iDataType).
enum ItemDataType : short {
    ItemNumber = 0,
    ItemText = 1,
    ItemDate = 2,
    ItemDictionary = 3, // IdRef holds the dictionary code (qz_Dict.DictId)
    ItemLink = 4,       // IdRef holds "TABLE.COLUMN" of the row it links to
    ItemOffForms = 5,
    ItemBuiltIn = 255,
};

// Rounding of a number item (qz_Items.iChoice).
enum ItemRounding : short { RoundNearest = 0, RoundDown = 1, RoundUp = 2 };

// One item (column) of a data table as qz_Items describes it. A plain value: copied freely
// into arrays, form elements and field-label controls. LoadItemInfos fills TblName, ItemID,
// Name, Alias, iDataType, iDec and iChoice; the form loader fills the rest. Texts are kept
// whole (the columns that hold them bound their length).
struct tagVANTRELITEMINFO
{
    QString TblName; // the table's key as stored, e.g. "QZ_PSNBASE"
    int ItemID = 0;
    QString Name;  // the SQL column: built-in names, or F + item id for user columns
    QString Alias; // the caption users see: grid titles, template fields
    int bFixed = 0;
    int bNotNull = 0;
    QString IdRef; // dictionary code (type 3) or "TABLE.COLUMN" (type 4)
    short iDataType = ItemNumber;
    int iLength = 0;
    short iDec = 0;
    short iChoice = RoundNearest;
    QString DefValue;
    short iFlag = 0; // 2: not placed on forms
};

using CItemInfoArray = QVector<tagVANTRELITEMINFO>;

// --- Loading -------------------------------------------------------------------------------

// Appends one record per row of "SELECT ItemID, Name, Alias, iDataType, iDec, iChoice, TblName
// FROM qz_Items <condition>" (the array is not emptied). The condition is the caller's SQL,
// with its own WHERE and ORDER BY and a '?' for each value. False (array unchanged) when the
// query fails; nothing is shown.
bool LoadItemInfos(CItemInfoArray &items, const QString &condition,
                   const QVariantList &values = {});

// The grid columns of one table: its items of data types 0 to 3 in Ord order.
bool LoadTableItemInfos(CItemInfoArray &items, const QString &tableName);

// --- Lookups (no message; the default when nothing is found or the query fails) ------------

// "Table title.Item alias" (the form wage formulas use) → the item's column name, both parts
// compared without case; the alias part unchanged when nothing matches.
QString GetItemNameByTitleAlias(const QString &reference);

// The caption of a column of a table (both compared without case), or empty. A worker thread
// passes its own connection.
QString GetItemAlias(const QString &tableName, const QString &columnName,
                     CADODatabase *db = nullptr);

// The stored grid width in pixels of a column, or 50. Without a table the first item of that
// column name (by item id) answers.
int GetItemWidth(const QString &columnName, const QString &tableName = {});

// The title of the table named before the first '.' of "TABLE.COLUMN", or empty.
QString GetTableTitle(const QString &qualifiedColumn);

// --- Names in statements -------------------------------------------------------------------

// Whether qz_Table describes a table of that name (compared without case) and the name is an
// identifier; a failure when qz_Table cannot be read.
vantrel::Result<bool> IsKnownDataTable(const QString &tableName);
