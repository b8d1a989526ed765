#include "personnel/psnstat.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/query/querybuilders.h"
#include "personnel/psnscope.h"

#include <QDateTime>
#include <QHash>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

const QString PsnBaseTable = u"QZ_PSNBASE"_s;

bool isPsnBase(const QString &table)
{
    return table.toUpper() == PsnBaseTable;
}

QString crossRefused()
{
    return u"不能创建这两横纵指标统计项!"_s;
}

struct Bucket
{
    QString label;
    SqlCondition condition; // without the scope
    QString key;            // a grouped side's key of the value (see keyOf)
    bool counted = true;    // false: a range that counts nothing
};

// One statistic's buckets: either ranges (one conditional sum per range) or values and links
// (grouped by keyExpr).
struct StatSide
{
    QString table;
    bool ranges = false;
    QString keyExpr;
    QVector<Bucket> buckets;
};

// Keeps NULL apart from the empty text, which QString's own comparison does not.
QString keyOf(const QVariant &value)
{
    return value.isNull() ? u"n"_s : u"v:"_s + value.toString();
}

template<typename T> Result<T> failed(const db::QueryResult &result)
{
    return Result<T>::failure(result.error.description);
}

Result<QVector<Bucket>> rangeBuckets(CADODatabase &db, int tid, const QString &column, bool dates)
{
    const Result<QVector<StatRange>> ranges = LoadStatRanges(db, tid);
    if (!ranges)
        return Result<QVector<Bucket>>::failure(ranges.error());
    const db::SqlDialect &dialect = db.dialect();
    QVector<Bucket> buckets;
    for (const StatRange &range : *ranges) {
        Bucket bucket { range.title, { u"(1=0)"_s, {} }, {}, false };
        if (dates) {
            const QDate lower = ParseStatDate(range.lower);
            const QDate upper = ParseStatDate(range.upper);
            // The upper day counts whole, whatever time a value holds.
            if (lower.isValid() && upper.isValid())
                bucket = { range.title,
                           { u"("_s + dialect.dateTimeComparison(column, u">=") + u" AND "_s
                                 + dialect.dateTimeComparison(column, u"<") + u')',
                             { QDateTime(lower, QTime(0, 0)),
                               QDateTime(upper.addDays(1), QTime(0, 0)) } },
                           {},
                           true };
        } else {
            const std::optional<double> lower = ParseStatNumber(range.lower);
            const std::optional<double> upper = ParseStatNumber(range.upper);
            if (lower && upper)
                bucket = { range.title,
                           { u"(%1>=? AND %1<=?)"_s.arg(column), { *lower, *upper } },
                           {},
                           true };
        }
        buckets.append(bucket);
    }
    return buckets;
}

// Distinct trimmed values of the whole table, NULL first on both backends.
Result<QVector<Bucket>> valueBuckets(CADODatabase &db, const QString &table, const QString &column,
                                     const QString &keyExpr)
{
    const db::QueryResult values
        = db.run(u"SELECT k FROM (SELECT DISTINCT %1 AS k FROM %2) d"
                 " ORDER BY CASE WHEN k IS NULL THEN 0 ELSE 1 END, k"_s.arg(keyExpr, table));
    if (!values.ok)
        return failed<QVector<Bucket>>(values);
    QVector<Bucket> buckets;
    for (int row = 0; row < values.rows.rowCount(); ++row) {
        const QVariant value = values.rows.value(row, 0);
        if (value.isNull()) {
            buckets.append({ u"<未知>"_s, { column + u" IS NULL"_s, {} }, keyOf(value) });
            continue;
        }
        const QString text = value.toString();
        buckets.append(
            { text.isEmpty() ? u"<空白>"_s : text, { keyExpr + u"=?"_s, { text } }, keyOf(value) });
    }
    return buckets;
}

// The linked values that the referenced table holds, in its Ord, with its names.
Result<QVector<Bucket>> linkBuckets(CADODatabase &db, const QString &table, const QString &column,
                                    const QString &idRef)
{
    const qsizetype dot = idRef.indexOf(u'.');
    const QString linked = idRef.left(dot);
    const QString key = idRef.mid(dot + 1);
    if (dot <= 0 || !IsSqlIdentifier(linked) || !IsSqlIdentifier(key))
        return Result<QVector<Bucket>>::failure(
            u"The link %1 of %2 names no table and key column."_s.arg(idRef, column));
    const db::QueryResult values
        = db.run(u"SELECT DISTINCT %1, %2.Ord, %2.Name FROM %3 INNER JOIN %2 ON %1=%2.%4"
                 " ORDER BY %2.Ord, %1"_s.arg(column, linked, table, key));
    if (!values.ok)
        return failed<QVector<Bucket>>(values);
    QVector<Bucket> buckets;
    for (int row = 0; row < values.rows.rowCount(); ++row) {
        const QVariant value = values.rows.value(row, 0);
        const QString name = values.rows.value(row, 2).toString().trimmed();
        buckets.append(
            { name.isEmpty() ? u"<空白>"_s : name, { column + u"=?"_s, { value } }, keyOf(value) });
    }
    return buckets;
}

// The buckets of a one-dimensional statistic and the alias of its item.
Result<StatSide> loadSide(CADODatabase &db, const StatDefinition &definition, QString *alias)
{
    const Result<std::optional<StatItem>> item
        = LoadStatItem(db, definition.table, definition.field);
    if (!item)
        return Result<StatSide>::failure(item.error());
    if (!item->has_value() || !IsSqlIdentifier((*item)->table) || !IsSqlIdentifier((*item)->name))
        return Result<StatSide>::failure(
            u"The statistic '%1' counts %2.%3, which no item describes."_s.arg(
                definition.caption, definition.table, definition.field));
    const StatItem &counted = **item;
    if (alias)
        *alias = counted.alias;
    StatSide side;
    side.table = counted.table;
    const QString column = counted.table + u'.' + counted.name;
    Result<QVector<Bucket>> buckets = QVector<Bucket>();
    if (CountsByRanges(counted.dataType)) {
        side.ranges = true;
        buckets = rangeBuckets(db, definition.tid, column, counted.dataType == StatDateItem);
    } else if (counted.dataType == StatLinkItem) {
        side.keyExpr = column;
        buckets = linkBuckets(db, counted.table, column, counted.idRef);
    } else {
        side.keyExpr = u"trim(CAST(%1 AS VARCHAR))"_s.arg(column);
        buckets = valueBuckets(db, counted.table, column, side.keyExpr);
    }
    if (!buckets)
        return Result<StatSide>::failure(buckets.error());
    side.buckets = std::move(buckets).value();
    return side;
}

Result<StatSide> loadCrossedSide(CADODatabase &db, const QString &tidText)
{
    bool ok = false;
    const int tid = tidText.toInt(&ok);
    const Result<std::optional<StatDefinition>> definition
        = ok ? LoadStatDefinition(db, tid) : std::optional<StatDefinition>();
    if (!definition)
        return Result<StatSide>::failure(definition.error());
    if (!definition->has_value() || (*definition)->flag != 1)
        return Result<StatSide>::failure(
            u"The crossed statistic %1 is no one-dimensional statistic."_s.arg(tidText));
    return loadSide(db, **definition, nullptr);
}

// The persons of the statistic's rows: the person table, or a related table's rows with their
// persons; always with the department and category rows the scope and the select list use. A
// cross needs one side on the person table.
Result<QString> fromClauseOf(const QString &table, const QString &crossed = {})
{
    QString related = isPsnBase(table) ? crossed : table;
    if (!crossed.isEmpty() && !isPsnBase(crossed)) {
        if (!isPsnBase(table))
            return Result<QString>::failure(crossRefused());
        related = crossed;
    }
    if (related.isEmpty() || isPsnBase(related))
        return BuildPsnFromClause(false);
    return u" FROM %1 INNER JOIN qz_PsnBase ON %1.PID=qz_PsnBase.PID"
           " LEFT OUTER JOIN qz_PsnSort ON qz_PsnBase.AID=qz_PsnSort.AID"
           " LEFT OUTER JOIN qz_Dept ON qz_PsnBase.DID=qz_Dept.DID "_s.arg(related);
}

// One counted column of the query: a sum over the rows in both buckets' conditions.
struct CountColumn
{
    int row = -1; // bucket of a range side, -1 when that side is grouped
    int column = -1;
};

// The buckets of a range side that count, or {-1} for a grouped (or absent) side.
QVector<int> countedRanges(const StatSide *side)
{
    if (!side || !side->ranges)
        return { -1 };
    QVector<int> indexes;
    for (int i = 0; i < side->buckets.size(); ++i) {
        if (side->buckets.at(i).counted)
            indexes << i;
    }
    return indexes;
}

// The one statement that counts every cell: the grouped sides' keys in GROUP BY, then a
// conditional sum per range, or COUNT(*) when no side has ranges. When both sides have ranges,
// the row side is grouped by which of its ranges a row is in (one bit per range), so the
// statement sums each column range once instead of each pair of ranges.
struct CountQuery
{
    SqlCondition statement;
    int keys = 0;              // leading key columns
    QVector<int> maskRows;     // the row bucket of each bit of a range mask key, else empty
    QVector<CountColumn> sums; // the count columns after the keys
};

constexpr int MaxMaskRanges = 62;

CountQuery countQuery(const StatSide &rows, const StatSide *columns, const QString &from,
                      const SqlCondition &scope)
{
    CountQuery query;
    QStringList select;
    QVariantList values;
    const bool mask
        = rows.ranges && columns && columns->ranges && countedRanges(&rows).size() <= MaxMaskRanges;
    if (mask) {
        QStringList bits;
        for (const int r : countedRanges(&rows)) {
            bits << u"CASE WHEN %1 THEN %2 ELSE 0 END"_s.arg(rows.buckets.at(r).condition.sql)
                        .arg(qint64(1) << query.maskRows.size());
            values += rows.buckets.at(r).condition.values;
            query.maskRows << r;
        }
        if (bits.isEmpty())
            return query;
        select << u"("_s + bits.join(u" + "_s) + u')';
    }
    for (const StatSide *side : { &rows, columns }) {
        if (side && !side->ranges)
            select << side->keyExpr;
    }
    query.keys = int(select.size());
    for (const int r : mask ? QVector<int> { -1 } : countedRanges(&rows)) {
        for (const int c : countedRanges(columns)) {
            SqlCondition when;
            if (r >= 0)
                when += rows.buckets.at(r).condition;
            if (c >= 0)
                when += SqlCondition { when.isEmpty() ? QString() : u" AND "_s, {} }
                    + columns->buckets.at(c).condition;
            select << (when.isEmpty() ? u"COUNT(*)"_s
                                      : u"SUM(CASE WHEN %1 THEN 1 ELSE 0 END)"_s.arg(when.sql));
            values += when.values;
            query.sums.append({ r, c });
        }
    }
    QString sql = u"SELECT "_s + select.join(u", "_s) + from + scope.sql;
    if (query.keys > 0)
        sql += query.keys == 1 ? u" GROUP BY 1"_s : u" GROUP BY 1,2"_s;
    query.statement = { sql, values + scope.values };
    return query;
}

QHash<QString, int> bucketsByKey(const StatSide *side)
{
    QHash<QString, int> index;
    if (side && !side->ranges) {
        for (int i = 0; i < side->buckets.size(); ++i)
            index.insert(side->buckets.at(i).key, i);
    }
    return index;
}

// The row buckets of one result line of the count query: those its key names (none for a
// linked value without a row in the referenced table), or {-1} when each sum names its own.
QVector<int> rowsOfLine(const CountQuery &query, const StatSide &rows,
                        const QHash<QString, int> &index, const QVariant &key)
{
    if (!query.maskRows.isEmpty()) {
        QVector<int> buckets;
        const qint64 bits = key.toLongLong();
        for (int bit = 0; bit < query.maskRows.size(); ++bit) {
            if (bits & (qint64(1) << bit))
                buckets << query.maskRows.at(bit);
        }
        return buckets;
    }
    if (rows.ranges)
        return { -1 };
    const int bucket = index.value(keyOf(key), -1);
    return bucket >= 0 ? QVector<int> { bucket } : QVector<int> {};
}

// Runs the count query and adds each of its values to its cell: counts[row][column].
Status countCells(CADODatabase &db, const StatSide &rows, const StatSide *columns,
                  const QString &from, const SqlCondition &scope, QVector<QVector<qint64>> *counts)
{
    const CountQuery query = countQuery(rows, columns, from, scope);
    if (query.sums.isEmpty())
        return {};
    const db::QueryResult result = db.run(query.statement.sql, query.statement.values);
    if (!result.ok)
        return Status::failure(result.error.description);
    const QHash<QString, int> rowIndex = bucketsByKey(&rows);
    const QHash<QString, int> columnIndex = bucketsByKey(columns);
    const bool rowKey = !rows.ranges || !query.maskRows.isEmpty();
    const bool columnKey = columns && !columns->ranges;
    for (int line = 0; line < result.rows.rowCount(); ++line) {
        const QVector<int> lineRows
            = rowsOfLine(query, rows, rowIndex, rowKey ? result.rows.value(line, 0) : QVariant());
        const int lineColumn = columnKey
            ? columnIndex.value(keyOf(result.rows.value(line, rowKey ? 1 : 0)), -2)
            : -1;
        if (lineColumn == -2)
            continue;
        for (int s = 0; s < query.sums.size(); ++s) {
            const qint64 count = result.rows.value(line, query.keys + s).toLongLong();
            const int c = lineColumn >= 0 ? lineColumn : qMax(0, query.sums.at(s).column);
            for (const int lineRow : lineRows)
                (*counts)[lineRow >= 0 ? lineRow : query.sums.at(s).row][c] += count;
        }
    }
    return {};
}

SqlCondition cellWhere(const SqlCondition &scope, const SqlCondition &bucket)
{
    return scope
        + SqlCondition { (scope.isEmpty() ? u" WHERE ("_s : u" AND ("_s) + bucket.sql + u')',
                         bucket.values };
}

// Fills the labels, counts, totals and cell conditions of a table from its sides; columns is
// null for a one-dimensional statistic.
Status fillTable(CADODatabase &db, const StatSide &rows, const StatSide *columns,
                 const SqlCondition &scope, StatTable *table)
{
    const int width = columns ? int(columns->buckets.size()) : 1;
    if (columns) {
        for (const Bucket &bucket : columns->buckets)
            table->headers << bucket.label;
    }
    table->totals = QVector<qint64>(width, 0);
    if (width == 0)
        return {};
    table->counts = QVector<QVector<qint64>>(rows.buckets.size(), QVector<qint64>(width, 0));
    if (Status counted = countCells(db, rows, columns, table->fromClause, scope, &table->counts);
        !counted)
        return counted;
    for (int r = 0; r < rows.buckets.size(); ++r) {
        const Bucket &row = rows.buckets.at(r);
        table->rowLabels << row.label;
        for (int c = 0; c < width; ++c) {
            SqlCondition bucket = row.condition;
            if (columns)
                bucket = SqlCondition { u"("_s, {} } + bucket + SqlCondition { u") AND ("_s, {} }
                    + columns->buckets.at(c).condition + SqlCondition { u")"_s, {} };
            table->cellWhere.append(cellWhere(scope, bucket));
            table->totals[c] += table->counts.at(r).at(c);
        }
    }
    return {};
}

} // namespace

int StatTable::cellIndex(int row, int column) const
{
    const int width = int(headers.size()) - 1;
    if (row < 0 || row >= rowLabels.size() || column < 1 || column > width)
        return -1;
    return row * width + column - 1;
}

Result<std::optional<StatTable>> ComputeStat(CADODatabase &db, int tid, const StatScope &scope,
                                             const CCurrentUser &user)
{
    using Answer = Result<std::optional<StatTable>>;
    const Result<std::optional<StatDefinition>> definition = LoadStatDefinition(db, tid);
    if (!definition)
        return Answer::failure(definition.error());
    if (!definition->has_value())
        return std::optional<StatTable>();
    const StatDefinition &stat = **definition;
    StatTable table;
    table.title = stat.caption;
    table.dim = stat.flag;
    if (stat.flag != 1 && stat.flag != 2)
        return std::optional(table);

    QString alias;
    Result<StatSide> rows
        = stat.flag == 1 ? loadSide(db, stat, &alias) : loadCrossedSide(db, stat.field);
    if (!rows)
        return Answer::failure(rows.error());
    std::optional<StatSide> columns;
    if (stat.flag == 2) {
        Result<StatSide> first = loadCrossedSide(db, stat.table);
        if (!first)
            return Answer::failure(first.error());
        columns = std::move(first).value();
    }
    const Result<QString> from = fromClauseOf(rows->table, columns ? columns->table : QString());
    if (!from)
        return Answer::failure(from.error());
    table.fromClause = *from;
    const Result<SqlCondition> where
        = BuildScopeWhere(db, scope.department, scope.category, user, ScopeColumns());
    if (!where)
        return Answer::failure(where.error());
    table.headers << (columns ? u"参考项"_s : alias);
    if (!columns)
        table.headers << u"人数"_s;
    if (Status filled = fillTable(db, *rows, columns ? &*columns : nullptr, *where, &table);
        !filled)
        return Answer::failure(filled.error());
    return std::optional(table);
}

SqlCondition StatCellQuery(const StatTable &table, int row, int column)
{
    const int index = table.cellIndex(row, column);
    if (index < 0 || index >= table.cellWhere.size())
        return {};
    return SqlCondition { u"SELECT "_s + BuildPsnBaseSelectList() + table.fromClause, {} }
    + table.cellWhere.at(index);
}

} // namespace vantrel::personnel
