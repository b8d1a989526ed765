#pragma once

#include "platform/common/result.h"

#include <QString>
#include <QVector>

class CADODatabase;

namespace vantrel::personnel {

// One column of the person list, as the person items describe it. The first three columns
// (PID, DID, AID) have no item: empty names, width 0, never shown.
struct PsnGridColumn
{
    QString Name;  // the item's column
    QString Alias; // its caption
    int iDataType = 0;
    int iWid = 0;
    bool bShow = false;
    bool bNotNull = false;
    QString IdRef;
    QString ColFmt;
    QString choices; // dictionary items: the titles joined by '|'
};

// The person list's columns: the three key columns, then one per person item in item order
// (items whose names are not identifiers are left out). *selectList gets the item part of
// the select list: a link item shows the Name of the row it links to, every other item its
// own column, each with its caption as a double-quoted alias, distinct within the list.
Result<QVector<PsnGridColumn>> LoadPsnColumns(CADODatabase &db, QString *selectList);

// The three key columns: PID, DID, AID.
inline constexpr int PsnKeyColumns = 3;

} // namespace vantrel::personnel
