#pragma once

#include <QString>

class CADODatabase;

namespace vantrel::payroll {

// An item as the item editor holds it (defaults of a new item).
struct WageItemFields
{
    bool isNew = true; // mode 1: the item is added
    int sid = 0;
    int itemId = 0;      // 0 for a new item until it is saved
    QString alias;       // as typed; saved trimmed
    QString aliasBefore; // the alias the item had when the editor opened
    int dataType = 0;    // 0 number, 3 dictionary; 1 and 2 only for items that have them
    int property = 0;    // 0 typed in, 1 formula, 2 standard-table lookup
    bool active = true;
    bool retain = true;
    QString dictionaryCode; // IdRef
    int standardTableId = 0;
    int decimals = 2;
    int rounding = 0;
    QString formula;          // FExp2 as typed
    QString formulaRewritten; // FExp, set by the save
};

// Where a refused save puts the focus.
enum class WageItemField { None, Name, Formula, StandardTable, Dictionary };

struct WageItemSaveOutcome
{
    bool saved = false;
    QString message;      // the refusal, as shown to the user; empty when saved
    bool warning = false; // shown with the warning icon instead of the information icon
    WageItemField focus = WageItemField::None;
};

// Checks the fields and saves them through qz_AddDBTableWageItem on db (the formula check
// reads the session's connection). On success fields holds what was saved: the trimmed
// alias, the formula with brackets in literals removed, FExp, and the new item's id. A refused
// or failed save changes nothing in the database.
WageItemSaveOutcome SaveWageItem(CADODatabase &db, WageItemFields &fields);

} // namespace vantrel::payroll
