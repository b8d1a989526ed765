#include "core/payroll/wagecalculator.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/payroll/payrollprocedures.h"
#include "core/payroll/wageformulaprogram.h"
#include "core/payroll/wageperiod.h"
#include "core/payroll/wageround.h"
#include "core/query/querybuilders.h"
#include "core/script/hostfunctions.h"
#include "core/script/scriptinterface.h"
#include "platform/vbscript/engine.h"

#include <QHash>
#include <QMap>

#include <functional>
#include <numeric>

using namespace Qt::StringLiterals;
using vantrel::db::DbTransaction;
using vantrel::db::QueryResult;
using vantrel::vbscript::HostCall;
using vantrel::vbscript::Variant;

namespace vantrel::payroll {

namespace {

constexpr int FormulaItem = 1;
constexpr int StandardItem = 2;
// Fixed row positions: the key and what names a person in messages.
constexpr int PidColumn = 0;
constexpr int NumberColumn = 1;
constexpr int NameColumn = 2;

// The aggregates a pass may reuse. They read the published view without the advanced filter:
// a filtered run computes the filtered rows while SUM still covers the view's department and
// category, as the grid's footer does. The current item's own column is never cached. The
// run's pending values are written before any of them reads the database, so they see every
// value computed before, as if each had been written at once.
//
// GETSALARY and GETPRESALARY find their item's column once per pass and read the values of
// its period once, by person number.
struct AggregateCache
{
    bool active = false;
    bool wholePeriods = false; // read a period's values at once (the full form)
    CADODatabase *db = nullptr;
    QString table;    // the pass's data table and item column
    QString ownAlias; // the pass's item
    QString ownColumn;
    std::function<void()> flush; // writes the run's pending values
    QHash<QString, Variant> values;
    QHash<QString, QHash<QString, QVariant>> people; // set|alias|period -> number -> value

    // What scripts read from the database must see every value computed before.
    void writePending()
    {
        if (active && flush)
            flush();
    }

    void clear()
    {
        values.clear();
        people.clear();
    }
};

QString cacheKey(std::initializer_list<QString> parts)
{
    QString key;
    for (const QString &part : parts)
        key += part.toUpper() + QChar(0x1f);
    return key;
}

// The values of a period of the item, by upper-case person number (the first row of each);
// nullopt when they cannot be read here (the host function then says why).
std::optional<QHash<QString, QVariant>> personValues(AggregateCache &cache, const QString &set,
                                                     const QString &alias, int period)
{
    const Result<WageItemColumn> item = FindWageItemByTitle(*cache.db, set, alias);
    if (!item)
        return std::nullopt;
    QHash<QString, QVariant> values;
    if (item->isEmpty() || period == 0)
        return values;
    // The pass's own column changes as it goes: the host function reads it row by row.
    if (item->table.compare(cache.table, Qt::CaseInsensitive) == 0
        && item->column.compare(cache.ownColumn, Qt::CaseInsensitive) == 0)
        return std::nullopt;
    const QueryResult read = cache.db->run(
        u"SELECT qz_PsnBase.Number, %1.%2 FROM %1 INNER JOIN qz_PsnBase ON %1.PID = qz_PsnBase.PID"
        " WHERE %1.fDate = ? ORDER BY %1.ID"_s.arg(item->table, item->column),
        { period });
    if (!read.ok)
        return std::nullopt;
    for (int r = 0; r < read.rows.rowCount(); ++r) {
        const QString number = read.rows.value(r, 0).toString().toUpper();
        if (!values.contains(number))
            values.insert(number, read.rows.value(r, 1));
    }
    return values;
}

void hookPersonValues(vbscript::Engine &engine, const std::shared_ptr<AggregateCache> &cache)
{
    for (const bool previous : { false, true }) {
        const QString function = previous ? u"GETPRESALARY"_s : u"GETSALARY"_s;
        engine.registerFunction(function, [cache, function, previous](HostCall &call) {
            ScriptInterface host;
            const int id = host.memberId(function);
            const int needed = previous ? 5 : 4;
            if (!cache->active || !cache->wholePeriods || call.count() < needed) {
                cache->writePending();
                return host.invoke(id, call);
            }
            const int i = call.count() - needed;
            const auto text = [&call](int index) { return call.argument(index).deref().toText(); };
            const std::optional<QString> number = text(i);
            const std::optional<QString> set = text(i + 1);
            const std::optional<qint32> period = call.argument(i + 2).deref().toLong();
            const std::optional<qint32> back
                = previous ? call.argument(i + 3).deref().toLong() : std::optional<qint32>(0);
            const std::optional<QString> alias = text(call.count() - 1);
            if (!number || !set || !period || !back || !alias) {
                cache->writePending();
                return host.invoke(id, call);
            }
            const int month = previous ? ShiftWagePeriod(*period, *back) : *period;
            const QString key = cacheKey({ *set, *alias, QString::number(month) });
            auto found = cache->people.find(key);
            if (found == cache->people.end()) {
                cache->writePending();
                std::optional<QHash<QString, QVariant>> values
                    = personValues(*cache, *set, *alias, month);
                if (!values)
                    return host.invoke(id, call);
                found = cache->people.insert(key, std::move(*values));
            }
            return ScriptWageValue(found->value(number->toUpper()));
        });
    }
}

void hookAggregates(vbscript::Engine &engine, const std::shared_ptr<AggregateCache> &cache)
{
    for (const QString &function : { u"SUM"_s, u"AVG"_s, u"MAX"_s, u"MIN"_s, u"COUNT"_s }) {
        engine.registerFunction(function, [cache, function](HostCall &call) {
            ScriptInterface host;
            const int id = host.memberId(function);
            if (!cache->active)
                return host.invoke(id, call);
            QString key = function + QChar(0x1f);
            QString alias;
            for (const Variant &argument : call.arguments()) {
                alias = argument.deref().toText().value_or(QString());
                key += cacheKey({ alias });
            }
            const bool own = function != u"COUNT"_s
                && alias.compare(cache->ownAlias, Qt::CaseInsensitive) == 0;
            const auto found = own ? cache->values.cend() : cache->values.constFind(key);
            if (found != cache->values.cend())
                return *found;
            cache->writePending();
            if (own)
                return host.invoke(id, call);
            Variant value = host.invoke(id, call);
            if (!call.failed())
                cache->values.insert(key, value);
            return value;
        });
    }
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    bool okA = false;
    bool okB = false;
    const double x = a.toDouble(&okA);
    const double y = b.toDouble(&okB);
    if (okA && okB)
        return x == y;
    return a.toString() == b.toString();
}

} // namespace

QString WageCalcReport::skippedMessage() const
{
    if (skipped.isEmpty())
        return {};
    return u"以下计算结果未能保存:\n"_s + skipped.join(u'\n');
}

Result<QVector<WageComputedItem>> ReadComputedItems(CADODatabase &db, const QString &table)
{
    const QueryResult rows = db.run(
        u"SELECT Name,Alias,iDec,iChoice,FExp,StdTblID,iProperty FROM qz_Items"
        " WHERE ((upper(TblName)=? AND Active=1 AND iDataType=0) AND (iProperty=1 OR iProperty=2))"
        " ORDER BY OrdF, ItemID"_s,
        { table.toUpper() });
    if (!rows.ok)
        return Result<QVector<WageComputedItem>>::failure(rows.error.description);
    QVector<WageComputedItem> items;
    for (int r = 0; r < rows.rows.rowCount(); ++r) {
        WageComputedItem item;
        item.name = rows.rows.value(r, 0).toString();
        item.alias = rows.rows.value(r, 1).toString();
        item.decimals = rows.rows.value(r, 2).toInt();
        item.choice = rows.rows.value(r, 3).toInt();
        item.formula = rows.rows.value(r, 4).toString();
        item.standardTableId = rows.rows.value(r, 5).toInt();
        item.property = rows.rows.value(r, 6).toInt();
        items << item;
    }
    return items;
}

// One run of either form: the items made ready, the rows in memory and the pending writes.
struct WageCalculator::Run
{
    Run(CADODatabase &database, vbscript::Engine &scriptEngine, WageStandardTable &standardTable,
        const WageCalcScope &calcScope, WageCalcObserver *calcObserver,
        std::shared_ptr<AggregateCache> passCache)
        : db(database)
        , engine(scriptEngine)
        , standard(standardTable)
        , scope(calcScope)
        , observer(calcObserver)
        , cache(std::move(passCache))
    {
    }

    CADODatabase &db;
    vbscript::Engine &engine;
    WageStandardTable &standard;
    const WageCalcScope &scope;
    WageCalcObserver *observer;
    std::shared_ptr<AggregateCache> cache;

    struct Item
    {
        WageComputedItem def;
        int target = -1;
        std::optional<WageFormulaProgram> program;
        QString error; // the item cannot run: why
    };
    QVector<Item> items;
    QStringList columns;           // qualified, by row position
    QHash<QString, int> positions; // lower-case qualified name -> row position
    QHash<QString, QStringList> tableColumns;
    QVector<QVector<QVariant>> rows;
    QVector<QVector<Variant>> bound; // the rows as formulas see them, converted once
    WageCalcReport report;

    struct Pending
    {
        int row;
        const Item *item;
        QVariant value;
    };
    QVector<Pending> pending;

    int position(const QString &qualified)
    {
        const QString key = qualified.toLower();
        const auto found = positions.constFind(key);
        if (found != positions.cend())
            return *found;
        columns << qualified;
        positions.insert(key, int(columns.size() - 1));
        return int(columns.size() - 1);
    }

    // The column a reference names, looked up as SELECT * over the joined tables finds it.
    int resolve(const QString &reference)
    {
        if (!IsSqlIdentifier(reference))
            return -1;
        for (const QString &table :
             { scope.table, u"qz_PsnBase"_s, u"qz_Dept"_s, u"qz_PsnSort"_s }) {
            auto known = tableColumns.find(table);
            if (known == tableColumns.end())
                known = tableColumns.insert(table, db.catalog().columns(table));
            for (const QString &column : std::as_const(*known)) {
                if (column.compare(reference, Qt::CaseInsensitive) == 0)
                    return position(table + u'.' + column);
            }
        }
        return -1;
    }

    void prepare(const QVector<WageComputedItem> &defs)
    {
        position(scope.table + u".PID"_s);
        position(u"qz_PsnBase.Number"_s);
        position(u"qz_PsnBase.Name"_s);
        for (const WageComputedItem &def : defs) {
            Item item;
            item.def = def;
            if (!IsSqlIdentifier(def.name)) {
                item.error = u"项目列名 %1 无效"_s.arg(def.name);
                items << item;
                continue;
            }
            item.target = position(scope.table + u'.' + def.name);
            if (def.property == FormulaItem) {
                Result<WageFormulaProgram> program = WageFormulaProgram::build(
                    engine, def.formula, [this](const QString &ref) { return resolve(ref); });
                if (program)
                    item.program = std::move(program).value();
                else
                    item.error = program.error();
            }
            items << item;
        }
    }

    // The scope's rows (or one person's) with every column the items read and write.
    Status readRows(std::optional<int> pid)
    {
        const QString from = BuildDetailFromClause(scope.table, false);
        if (from.isEmpty())
            return Status::failure(u"%1 is no wage data table."_s.arg(scope.table));
        QString where = scope.where.sql.trimmed();
        QVariantList values = scope.where.values;
        where = (where.isEmpty() ? u" WHERE "_s : u" "_s + where + u" AND "_s)
            + u"(%1.fDate=?)"_s.arg(scope.table);
        values << scope.period;
        if (pid) {
            where += u" AND (%1.PID=?)"_s.arg(scope.table);
            values << *pid;
        }
        // In the grid's order, so that the progress and a Cancel follow what the user sees.
        const QueryResult read
            = db.run(u"SELECT "_s + columns.join(u',') + from + where
                         + u" ORDER BY qz_Dept.Ord,%1.Ord,%1.PID"_s.arg(scope.table),
                     values);
        if (!read.ok)
            return Status::failure(read.error.description);
        rows.reserve(read.rows.rowCount());
        bound.reserve(read.rows.rowCount());
        for (int r = 0; r < read.rows.rowCount(); ++r) {
            rows << read.rows.row(r);
            QVector<Variant> converted;
            converted.reserve(rows.last().size());
            for (const QVariant &value : std::as_const(rows.last()))
                converted << WageFormulaValue(value);
            bound << converted;
        }
        report.rows = int(rows.size());
        return {};
    }

    // A result as later items see it.
    void keep(int row, const Item &item, const QVariant &value)
    {
        rows[row][item.target] = value;
        bound[row][item.target] = WageFormulaValue(value);
    }

    QString personText(int row) const
    {
        return rows.at(row).value(NumberColumn).toString() + u' '
            + rows.at(row).value(NameColumn).toString();
    }

    void skip(int row, const QString &alias, const QString &why)
    {
        report.skipped << u"%1: %2 (%3)"_s.arg(alias, personText(row), why);
    }

    QString updateSql(const Item &item) const
    {
        return u"UPDATE %1 SET %2 = ? WHERE PID = ? AND fDate = ?"_s.arg(scope.table,
                                                                         item.def.name);
    }

    // Writes the pending values a row at a time, all the row's columns in one UPDATE, the
    // rows with the same columns in one batch. A batch that is refused is written again value
    // by value, each in a savepoint of its own, so that only the refused values are skipped.
    void flush()
    {
        if (pending.isEmpty())
            return;
        QMap<int, QVector<const Pending *>> byRow;
        for (const Pending &p : std::as_const(pending))
            byRow[p.row] << &p;
        QHash<QString, QVector<int>> bySet; // the columns written -> the rows
        for (auto it = byRow.cbegin(); it != byRow.cend(); ++it) {
            QStringList names;
            for (const Pending *p : it.value())
                names << p->item->def.name;
            bySet[names.join(u',')] << it.key();
        }
        for (auto it = bySet.cbegin(); it != bySet.cend(); ++it)
            writeRows(it.key().split(u','), it.value(), byRow);
        pending.clear();
    }

    void writeRows(const QStringList &names, const QVector<int> &rowIndexes,
                   const QMap<int, QVector<const Pending *>> &byRow)
    {
        QStringList sets;
        for (const QString &name : names)
            sets << name + u" = ?"_s;
        const QString sql = u"UPDATE %1 SET %2 WHERE PID = ? AND fDate = ?"_s.arg(
            scope.table, sets.join(u", "_s));
        QVector<QVariantList> batch;
        batch.reserve(rowIndexes.size());
        for (const int r : rowIndexes) {
            QVariantList values;
            // Whole results as doubles too, so that each column's values have one type and
            // the server plans the batch over the key's index.
            for (const Pending *p : byRow.value(r))
                values << (p->value.isNull() ? p->value : QVariant(p->value.toDouble()));
            batch << (values << rows.at(r).value(PidColumn) << scope.period);
        }
        if (db.runBatch(sql, batch).ok) {
            report.stored += int(rowIndexes.size() * names.size());
            return;
        }
        for (const int r : rowIndexes) {
            for (const Pending *p : byRow.value(r)) {
                DbTransaction one(db);
                const QueryResult written = db.run(
                    updateSql(*p->item), { p->value, rows.at(r).value(PidColumn), scope.period });
                if (written.ok && one.commit())
                    ++report.stored;
                else
                    skip(r, p->item->def.alias, written.error.description);
            }
        }
    }

    // The value of one item for one row: a formula that fails fails its item; a result that
    // cannot be stored fails the row only.
    struct Computed
    {
        QVariant value;
        QString why;
        bool itemFailed = false;
        bool ok() const { return why.isEmpty(); }
    };

    Computed compute(Item &item, int row)
    {
        if (item.def.property == StandardItem) {
            const std::optional<double> amount
                = standard.value(rows.at(row).value(PidColumn).toInt());
            return { amount ? QVariant(RoundWage(*amount, item.def.decimals, item.def.choice))
                            : QVariant(),
                     {} };
        }
        const Result<Variant> result = item.program->evaluate(bound.at(row));
        if (!result)
            return { {}, result.error(), true };
        const Result<QVariant> stored
            = WageStoredValue(*result, item.def.decimals, item.def.choice);
        if (!stored)
            return { {}, stored.error() };
        return { *stored, {} };
    }

    Status prepareStandard(const Item &item, const QVector<int> &rowIndexes)
    {
        if (item.def.property != StandardItem)
            return {};
        QVector<int> pids;
        for (const int r : rowIndexes)
            pids << rows.at(r).value(PidColumn).toInt();
        return standard.prepare(db, item.def.standardTableId, scope.period, pids);
    }

    void beginPass(const Item &item, bool wholePeriods)
    {
        cache->wholePeriods = wholePeriods;
        cache->clear();
        cache->db = &db;
        cache->table = scope.table;
        cache->ownAlias = item.def.alias;
        cache->ownColumn = item.def.name;
        cache->flush = [this] { flush(); };
        cache->active = true;
    }

    void endPass()
    {
        cache->active = false;
        cache->db = nullptr;
        cache->flush = nullptr;
    }

    // One item over every row in memory; a failing formula is reported once and ends the
    // item, the rows done so far stay.
    void pass(Item &item, int index)
    {
        if (observer)
            observer->beginItem(item.def.alias, index, int(items.size()), int(rows.size()));
        if (!item.error.isEmpty()) {
            failed(item, item.error);
            return;
        }
        QVector<int> all(rows.size());
        std::iota(all.begin(), all.end(), 0);
        if (const Status prepared = prepareStandard(item, all); !prepared) {
            failed(item, prepared.error());
            return;
        }
        beginPass(item, true);
        for (int r = 0; r < rows.size(); ++r) {
            const Computed value = compute(item, r);
            if (value.itemFailed) {
                failed(item, value.why);
                break;
            }
            if (!value.ok()) {
                skip(r, item.def.alias, value.why);
            } else {
                keep(r, item, value.value);
                pending.append({ r, &item, value.value });
            }
            if (observer && observer->rowDone())
                break;
        }
        endPass();
    }

    void failed(const Item &item, const QString &why)
    {
        report.failedItems << item.def.alias;
        if (observer)
            observer->formulaFailed(item.def.alias, why);
    }
};

WageCalculator::WageCalculator(CADODatabase &db, vbscript::Engine &engine,
                               WageStandardTable *standard)
    : m_db(db), m_engine(engine), m_standard(standard)
{
}

WageCalculator::~WageCalculator() = default;

namespace {

std::shared_ptr<AggregateCache> engineCache(vbscript::Engine &engine)
{
    // One cache per engine; the hooks stay registered and pass through when no run is on.
    static QHash<const vbscript::Engine *, std::weak_ptr<AggregateCache>> caches;
    std::shared_ptr<AggregateCache> cache = caches.value(&engine).lock();
    if (!cache) {
        cache = std::make_shared<AggregateCache>();
        caches.insert(&engine, cache);
        hookAggregates(engine, cache);
        hookPersonValues(engine, cache);
    }
    return cache;
}

} // namespace

Result<WageCalcReport> WageCalculator::RecalculateAll(const WageCalcScope &scope,
                                                      WageCalcObserver *observer)
{
    const Result<QVector<WageComputedItem>> defs = ReadComputedItems(m_db, scope.table);
    if (!defs)
        return Result<WageCalcReport>::failure(defs.error());
    if (defs->isEmpty())
        return WageCalcReport();
    Run run(m_db, m_engine, m_standard ? *m_standard : m_none, scope, observer,
            engineCache(m_engine));
    run.prepare(*defs);
    if (const Status read = run.readRows(std::nullopt); !read)
        return Result<WageCalcReport>::failure(read.error());
    if (run.rows.isEmpty())
        return run.report;
    // Item by item in memory; the values are written a row at a time when a script is about
    // to read the database and at the end, all in one transaction: a pass ended by Cancel or a
    // failing formula keeps the rows it did.
    DbTransaction transaction(m_db);
    for (int i = 0; i < run.items.size(); ++i)
        run.pass(run.items[i], i + 1);
    run.flush();
    if (!transaction.commit())
        return Result<WageCalcReport>::failure(m_db.GetLastErrorString());
    reclaimRewrittenRows(scope.table);
    return run.report;
}

// A full run leaves a dead version of every row it rewrote: on PostgreSQL the aggregates of the
// cell edits that follow would read through them until autovacuum comes by. A plain VACUUM
// blocks no reader or writer; SKIP_LOCKED leaves the table to a vacuum already at it, and a
// failure (no owner's rights, an open transaction) only leaves the work to autovacuum.
void WageCalculator::reclaimRewrittenRows(const QString &table)
{
    if (m_db.backend() != vantrel::db::Backend::Postgres || m_db.transactionDepth() > 0
        || !IsSqlIdentifier(table))
        return;
    m_db.run(u"VACUUM (SKIP_LOCKED) %1"_s.arg(table));
}

Result<WageCalcReport> WageCalculator::RecalculatePerson(const WageCalcScope &scope, int pid,
                                                         WageCalcObserver *observer)
{
    const Result<QVector<WageComputedItem>> defs = ReadComputedItems(m_db, scope.table);
    if (!defs)
        return Result<WageCalcReport>::failure(defs.error());
    Run run(m_db, m_engine, m_standard ? *m_standard : m_none, scope, observer,
            engineCache(m_engine));
    run.prepare(*defs);
    if (defs->isEmpty())
        return run.report;
    if (const Status read = run.readRows(pid); !read)
        return Result<WageCalcReport>::failure(read.error());
    if (run.rows.isEmpty())
        return run.report;
    // The changed values go out in one UPDATE at the end, or earlier when a script is about to
    // read the database, so that an aggregate over the view sees this person's new values.
    DbTransaction transaction(m_db);
    for (Run::Item &item : run.items) {
        if (!item.error.isEmpty()) {
            run.failed(item, item.error);
            continue;
        }
        if (const Status prepared = run.prepareStandard(item, { 0 }); !prepared) {
            run.failed(item, prepared.error());
            continue;
        }
        run.beginPass(item, false);
        const Run::Computed value = run.compute(item, 0);
        run.endPass();
        if (value.itemFailed) {
            run.failed(item, value.why);
            continue;
        }
        if (!value.ok()) {
            run.skip(0, item.def.alias, value.why);
            continue;
        }
        if (sameValue(run.rows[0][item.target], value.value))
            continue;
        run.keep(0, item, value.value);
        run.pending.append({ 0, &item, value.value });
    }
    run.flush();
    if (!transaction.commit())
        return Result<WageCalcReport>::failure(m_db.GetLastErrorString());
    return run.report;
}

Result<QVariant> WageCalculator::EvaluatePersonFormula(const WageCalcScope &scope, int pid,
                                                       const WageComputedItem &item)
{
    Run run(m_db, m_engine, m_standard ? *m_standard : m_none, scope, nullptr,
            engineCache(m_engine));
    WageComputedItem formula = item;
    formula.property = FormulaItem;
    run.prepare({ formula });
    if (!run.items.first().error.isEmpty())
        return Result<QVariant>::failure(run.items.first().error);
    if (const Status read = run.readRows(pid); !read)
        return Result<QVariant>::failure(read.error());
    if (run.rows.isEmpty())
        return QVariant();
    run.beginPass(run.items.first(), false);
    const Run::Computed value = run.compute(run.items.first(), 0);
    run.endPass();
    if (!value.ok())
        return Result<QVariant>::failure(value.why);
    return value.value;
}

Result<QVariant> WageCalculator::LookupStandardValue(const WageCalcScope &scope, int pid,
                                                     const WageComputedItem &item)
{
    WageStandardTable &standard = m_standard ? *m_standard : m_none;
    if (const Status prepared = standard.prepare(m_db, item.standardTableId, scope.period, { pid });
        !prepared)
        return Result<QVariant>::failure(prepared.error());
    const std::optional<double> amount = standard.value(pid);
    return amount ? QVariant(RoundWage(*amount, item.decimals, item.choice)) : QVariant();
}

Status WageCalculator::StoreComputedValue(const WageCalcScope &scope, const QString &column,
                                          int pid, const QVariant &value)
{
    if (!IsSqlIdentifier(scope.table) || !IsSqlIdentifier(column))
        return Status::failure(u"项目列名 %1 无效"_s.arg(column));
    DbTransaction one(m_db);
    const QueryResult written
        = m_db.run(u"UPDATE %1 SET %2 = ? WHERE PID = ? AND fDate = ?"_s.arg(scope.table, column),
                   { value, pid, scope.period });
    if (!written.ok)
        return Status::failure(written.error.description);
    if (!one.commit())
        return Status::failure(m_db.GetLastErrorString());
    return {};
}

} // namespace vantrel::payroll
