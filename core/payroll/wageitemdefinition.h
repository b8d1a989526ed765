#pragma once

#include "core/query/itemmetadata.h"

#include <QString>

// The fields of a new wage item as its qz_Items row stores them; the column name (F + ItemID)
// and the display and calculation order are given when the item is added.
struct WageItemDefinition
{
    QString alias;                 // the title users see and formulas refer to
    short dataType = ItemNumber;   // 0 number, 1 text, 2 date, 3 dictionary
    int property = 0;              // 0 typed in, 1 formula, 2 standard-table lookup
    short decimals = 2;            // iDec, 0 to 3
    short rounding = RoundNearest; // iChoice
    QString formula;               // FExp: references as {column}
    QString formulaTyped;          // FExp2: references as [table title.item alias]
    int standardTableId = 0;       // StdTblID
    QString dictionaryCode;        // IdRef of a dictionary item
    bool active = true;
    bool retain = true;
    bool shown = true;
};
