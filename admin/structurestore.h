#pragma once

#include "admin/adminoutcome.h"

#include <QString>

class CADODatabase;

namespace vantrel::admin {

// A data table as the table editor hands it over.
struct TableInput
{
    bool adding = true;
    int id = 0;          // qz_Table.ID when changing
    QString title;       // as typed; compared trimmed, stored as typed
    QString openedTitle; // the title the editor was opened with
    QString description;
    int parentId = 0; // the chosen main table (adding only)
    bool show = true;
};

// An item as the item editor hands it over.
struct ItemInput
{
    bool adding = true;
    int itemId = 0;      // qz_Items.ItemID when changing
    QString tableName;   // the SQL name of the item's table, any case
    QString alias;       // as typed
    QString openedAlias; // the alias the editor was opened with
    int dataType = 0;    // 0 to 4, 255 built-in
    QString idRef;       // already resolved from the reference list
    QString defaultValue;
    int length = 50;
    bool notNull = false;
    bool show = true;
};

// The editors' and the manager's work on the data structure, apart from their windows. The
// checks run in the editors' order and give their messages; the writes go through the
// structure procedures.
class StructureStore
{
public:
    explicit StructureStore(CADODatabase &db) : m_db(db) { }

    AdminOutcome saveTable(const TableInput &input);
    AdminOutcome saveItem(const ItemInput &input);

    // The refusals before a table is deleted, in order: fixed, items left (names compared
    // without regard to case), child tables. done() when it may go.
    AdminOutcome checkTableDelete(int tableId, const QString &tableName, bool fixed);
    // Runs the delete procedures; the refusal carries the database's reason.
    AdminOutcome deleteTable(int tableId);
    AdminOutcome deleteItem(int itemId);

    // How an alias is stored: trimmed and upper-cased by Unicode rules.
    static QString storedAlias(const QString &typed);
    // qz_Items.iSort of an item of that table: 0 persons, 3 categories, 4 departments, 5 others.
    static int itemSortOf(const QString &tableName);
    // Whether a default value suits the data type: a number in the C locale, a yyyy-MM-dd
    // date, a text within the length; empty always does.
    static bool defaultSuits(int dataType, int length, const QString &value);

private:
    CADODatabase &m_db;
};

} // namespace vantrel::admin
