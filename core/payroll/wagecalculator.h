#pragma once

#include "core/payroll/wageviewsource.h"
#include "platform/common/result.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>
#include <optional>

class CADODatabase;

namespace vantrel::vbscript {
class Engine;
}

namespace vantrel::payroll {

// One computed item of a wage set as the calculation reads it from qz_Items.
struct WageComputedItem
{
    QString name;  // the item's column in the data table
    QString alias; // for messages
    int decimals = 2;
    int choice = 0;
    QString formula; // FExp: references as {column}
    int standardTableId = 0;
    int property = 1; // 1 formula, 2 standard-table lookup
};

// The active number items of the table with a formula or a standard table, in calculation
// order (OrdF, then ItemID).
Result<QVector<WageComputedItem>> ReadComputedItems(CADODatabase &db, const QString &table);

// The values of one standard table for the persons of a pass: prepared once per item pass,
// then asked per person.
class WageStandardTable
{
public:
    virtual ~WageStandardTable() = default;
    virtual Status prepare(CADODatabase &db, int tableId, int period, const QVector<int> &pids) = 0;
    // The person's amount; none when the table holds no value for the person.
    virtual std::optional<double> value(int pid) const = 0;
};

// Until standard tables are kept, every lookup answers none.
class NoWageStandardTable : public WageStandardTable
{
public:
    Status prepare(CADODatabase &, int, int, const QVector<int> &) override { return {}; }
    std::optional<double> value(int) const override { return std::nullopt; }
};

// What the caller sees of a run: the progress of the full form and the formula failures of
// both forms.
class WageCalcObserver
{
public:
    virtual ~WageCalcObserver() = default;
    // Item index (from 1) of count starts over rows persons.
    virtual void beginItem(const QString &alias, int index, int count, int rows)
    {
        Q_UNUSED(alias);
        Q_UNUSED(index);
        Q_UNUSED(count);
        Q_UNUSED(rows);
    }
    // After each row of the full form; true skips the rest of the current item (a press of
    // Cancel answers true once).
    virtual bool rowDone() { return false; }
    // A formula could not be compiled or evaluated: shown once per item (full form) or per
    // item and person (one-person form).
    virtual void formulaFailed(const QString &alias, const QString &why)
    {
        Q_UNUSED(alias);
        Q_UNUSED(why);
    }
};

// The rows to compute: the data table, the period, and the view's WHERE text (" WHERE …",
// with its '?' values), which follows the table's detail FROM clause.
struct WageCalcScope
{
    QString table;
    int period = 0;
    WageViewSource::Fragment where;
};

struct WageCalcReport
{
    int rows = 0;
    int stored = 0;          // values written
    QStringList failedItems; // aliases whose formula failed
    QStringList skipped;     // one line per value that could not be kept or stored

    // One message naming every skipped value; empty when none was skipped.
    QString skippedMessage() const;
};

// Computes the formula and standard-table items of a period on the given script engine (which
// holds the global script and the host functions; the aggregates read the session's published
// view) and stores the results on db. Formulas are compiled once per item with one parameter
// per distinct reference; values are bound, never pasted into SQL or script text.
class WageCalculator
{
public:
    // standard may be null: no lookups answer. Neither is owned.
    WageCalculator(CADODatabase &db, vbscript::Engine &engine,
                   WageStandardTable *standard = nullptr);
    ~WageCalculator();
    WageCalculator(const WageCalculator &) = delete;
    WageCalculator &operator=(const WageCalculator &) = delete;

    // Every computed item, in calculation order, for every row of the scope, item by item in
    // memory; later items see earlier results. The results are written a row at a time, before
    // any script reads the database and at the end, in one transaction; Cancel or a failing
    // formula ends only the current item and its rows done stay. Fails when the items or the
    // rows cannot be read; values that cannot be stored are skipped and reported.
    Result<WageCalcReport> RecalculateAll(const WageCalcScope &scope, WageCalcObserver *observer);

    // The same for one person of the scope, read in one query: every item in order in memory,
    // then the changed values in one transaction. No row: nothing is done.
    Result<WageCalcReport> RecalculatePerson(const WageCalcScope &scope, int pid,
                                             WageCalcObserver *observer);

    // One formula of one person of the scope: the value to store (NULL for none).
    Result<QVariant> EvaluatePersonFormula(const WageCalcScope &scope, int pid,
                                           const WageComputedItem &item);
    // One standard-table item of one person: the rounded amount, or NULL when none.
    Result<QVariant> LookupStandardValue(const WageCalcScope &scope, int pid,
                                         const WageComputedItem &item);
    // Writes one value of one person's row of the period.
    Status StoreComputedValue(const WageCalcScope &scope, const QString &column, int pid,
                              const QVariant &value);

    struct Run;

private:
    void reclaimRewrittenRows(const QString &table);

    CADODatabase &m_db;
    vbscript::Engine &m_engine;
    WageStandardTable *m_standard;
    NoWageStandardTable m_none;
};

} // namespace vantrel::payroll
