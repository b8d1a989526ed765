#pragma once

#include "core/query/itemmetadata.h"
#include "personnel/arctableinfo.h"
#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

#include <QStringList>
#include <QVector>

#include <functional>

class CADODatabase;

namespace vantrel::db {
class SqlDialect;
}

namespace vantrel::personnel {

// One condition row of the advanced search, in the texts the grid shows and qz_ResearchDetail
// keeps; the SQL is made from them on every run.
struct AdvConditionRow
{
    int id = 0;       // qz_ResearchDetail.id; 0 while the row is not saved
    QString andOr;    // "且", "或" or empty (and)
    QString tblName;  // the related table; empty on a main-table row
    QString itemName; // the item's column name; empty while none is chosen
    QString opSgn;    // "等于" … "不包含"
    QString value;    // as typed; a date as yyyy-MM-dd
};

struct AdvSortRow
{
    QString itemName;  // empty while none is chosen
    QString direction; // "升序", "降序" or empty (ascending)
};

struct AdvQuery
{
    QVector<AdvConditionRow> main;
    QVector<AdvConditionRow> related;
    QVector<AdvSortRow> sort;
};

// What a run gives the window that opened the search: a condition over its FROM clause
// (without WHERE; its values bound by whoever runs it) and a sort list (without ORDER BY).
// At least one of them is non-empty.
struct AdvSearchResult
{
    SqlCondition condition;
    QString orderBy;
};

// The operators a row offers for an item of the data type: six comparisons, and for text and
// dictionary items also "包含" and "不包含".
QStringList AdvOperators(int dataType);

// The index in `items` of the first item whose column name is `name` (without case), or -1.
int FindItemByName(const CItemInfoArray &items, const QString &name);

// An item of a related table by its alias or its column name (both without case): ItemID 0
// when there is none; fails when the query does.
Result<tagVANTRELITEMINFO> LookupTableItem(CADODatabase &db, const QString &table,
                                           const QString &text, bool byAlias);

// The aliases a related table's rows are searched by (data types below 4, in Ord order).
Result<QStringList> RelatedItemAliases(CADODatabase &db, const QString &table);

using RelatedItemLookup
    = std::function<Result<tagVANTRELITEMINFO>(const QString &table, const QString &name)>;

// Turns the rows into the result. Rows whose item is not found are skipped; the first row
// that contributes opens the text (of the main rows, and of each related table). Main rows
// test the item's table and column; related rows become "qz_PsnBase.PID IN (SELECT PID FROM
// <table> WHERE …)", one per table in `tables` order. Sort columns are qualified by their
// item's table. Texts and dictionary values compare without case; "包含" adds no wildcards.
// Fails with the message to show: a number row without a number, a date row without a date,
// nothing to return, or a lookup that failed.
Result<AdvSearchResult> BuildAdvSearch(const db::SqlDialect &dialect, const CItemInfoArray &items,
                                       const QVector<tagARCTABLEINFO> &tables,
                                       const AdvQuery &query, const RelatedItemLookup &lookup);

// Combines a caller's WHERE text with a search condition: " AND (…)" after it, or
// " WHERE (…)" when it is empty. The condition left out when empty.
SqlCondition CombineWhere(const SqlCondition &where, const SqlCondition &condition);

} // namespace vantrel::personnel
