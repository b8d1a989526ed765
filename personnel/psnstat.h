#pragma once

// The statistics of the person archive: the stored definitions and their ranges (the store),
// and their counts over a scope of persons.
#include "personnel/psnstatstore.h"
#include "personnel/sqlcondition.h"

#include <QStringList>

class CCurrentUser;

namespace vantrel::personnel {

// The persons a statistic counts: a department with its subtree and a category (0: all).
struct StatScope
{
    int department = 0;
    int category = 0;
};

// A computed statistic. A one-dimensional one has one counted column ("人数") and a row per
// bucket; a cross has a row per bucket of its second (vertical) statistic and a counted
// column per bucket of its first (horizontal) one. Buckets: ranges in their Ord (both bounds
// inclusive, a date's upper bound for its whole day; a range with a bound that is empty or no
// number or date counts 0); values by their trimmed text over the whole table, NULL "<未知>"
// first, blank text "<空白>", then in text order, also those that only persons outside the
// scope hold (they count 0); links by the key the item's IdRef names, in the referenced
// table's Ord, labelled with its Name (a NULL link, or one to a row that is gone, is in no
// bucket). A statistic over a related table counts its rows.
struct StatTable
{
    QString title; // sCaption
    int dim = 1;   // sFlag
    // Column 0 (Alias, or "参考项" for a cross), then one per counted column ("人数", or the
    // first statistic's bucket labels).
    QStringList headers;
    QStringList rowLabels;           // one per bucket row, no footer
    QVector<QVector<qint64>> counts; // [row][counted column]
    QVector<qint64> totals;          // the "合计:" row: the column sums
    QString fromClause;              // FROM … of the counts
    // The WHERE … (scope and bucket, with its values) of each counted cell, row by row, left to
    // right.
    QVector<SqlCondition> cellWhere;

    // The index into cellWhere of a cell; columns count from 1 (column 0 is the label). -1
    // outside the table.
    int cellIndex(int row, int column) const;
};

// Counts a statistic with one query (besides those that read its buckets) on the persons of
// the scope that the user may see. nullopt when the definition is gone; an error for a
// failing query, an item the metadata does not describe, or a cross of two related tables
// ("不能创建这两横纵指标统计项!").
Result<std::optional<StatTable>> ComputeStat(CADODatabase &db, int tid, const StatScope &scope,
                                             const CCurrentUser &user);

// "SELECT " + BuildPsnBaseSelectList() + fromClause + the cell's WHERE, with its values: the
// persons (for a related table, its rows with their persons) behind one cell, exactly those it
// counted. Empty for a cell outside the table.
SqlCondition StatCellQuery(const StatTable &table, int row, int column);

} // namespace vantrel::personnel
