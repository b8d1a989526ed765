#include "core/payroll/payrollprocedures.h"

#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/payroll/wageperiod.h"
#include "core/payroll/wagesetschema.h"
#include "core/payroll/wageviewsource.h"
#include "core/query/itemmetadata.h"

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::payroll {

namespace {

// The data table and column of an item, both checked as identifiers; empty when the lookup
// finds nothing. False only when the lookup fails.
bool findItemColumn(ProcedureContext &ctx, const QString &sql, const QVariantList &values,
                    QString *table, QString *column)
{
    ctx.setResult(db::RowSet()); // no row until a value is found
    const db::QueryResult found = ctx.db().run(sql, values);
    if (!found.ok)
        return ctx.fail(found.error.description);
    if (!found.hasRow())
        return true;
    const QString t = found.rows.value(0, 0).toString();
    const QString c = found.rows.value(0, 1).toString();
    if (!IsSqlIdentifier(t) || !IsSqlIdentifier(c))
        return ctx.fail(u"The wage item column %1.%2 is not a valid name."_s.arg(t, c));
    *table = t;
    *column = c;
    return true;
}

bool getAggregateWageValue(ProcedureContext &ctx)
{
    static const QStringList functions = { u"SUM"_s, u"AVG"_s, u"MAX"_s, u"MIN"_s };
    const QString function = ctx.input(u"AgFun"_s).toString().trimmed().toUpper();
    const QString fromWhere = ctx.input(u"FromWhereSql"_s).toString();
    const QVariantList values = ctx.input(u"FromWhereValues"_s).toList();
    if (!functions.contains(function))
        return ctx.fail(u"Unknown aggregate function '%1'."_s.arg(function));
    QString table;
    QString column;
    if (!findItemColumn(ctx,
                        u"SELECT qz_Table.TblName, qz_Items.Name FROM qz_Items INNER JOIN qz_Table"
                        " ON upper(qz_Items.TblName) = upper(qz_Table.TblName)"
                        " WHERE qz_Table.ID = ? AND qz_Table.nType = ? AND qz_Items.iSort = ?"
                        " AND qz_Items.iDataType = 0 AND upper(qz_Items.Alias) = upper(?)"
                        " ORDER BY qz_Items.ItemID LIMIT 1"_s,
                        { ctx.input(u"SID"_s).toInt(), WageSetTableType, WageItemSort,
                          ctx.input(u"ItmAlias"_s).toString() },
                        &table, &column))
        return false;
    // No item or no active wage view: no value.
    if (table.isEmpty() || fromWhere.trimmed().isEmpty())
        return true;
    if (const Status checked = CheckWageViewSql(fromWhere, int(values.size())); !checked)
        return ctx.fail(checked.error());
    const db::QueryResult aggregate = ctx.db().runReadOnly(
        u"SELECT %1(%2.%3) "_s.arg(function, table, column) + fromWhere, values);
    if (!aggregate.ok)
        return ctx.fail(aggregate.error.description);
    ctx.setResult(aggregate.rows);
    return true;
}

// One person's value of an item in the wage set titled SortName for the period.
bool selectPersonValue(ProcedureContext &ctx, int period)
{
    ctx.setResult(db::RowSet()); // no row until a value is found
    const Result<WageItemColumn> item = FindWageItemByTitle(
        ctx.db(), ctx.input(u"SortName"_s).toString(), ctx.input(u"ItmAlias"_s).toString());
    if (!item)
        return ctx.fail(item.error());
    if (item->isEmpty() || period == 0)
        return true;
    return ctx.select(u"SELECT %1.%2 FROM %1 INNER JOIN qz_PsnBase ON %1.PID = qz_PsnBase.PID"
                      " WHERE upper(qz_PsnBase.Number) = upper(?) AND %1.fDate = ?"
                      " ORDER BY %1.ID LIMIT 1"_s.arg(item->table, item->column),
                      { ctx.input(u"PsnNumber"_s).toString(), period });
}

bool getPersonWageValue(ProcedureContext &ctx)
{
    return selectPersonValue(ctx, ctx.input(u"nFDate"_s).toInt());
}

bool getPersonPreviousWageValue(ProcedureContext &ctx)
{
    return selectPersonValue(
        ctx, ShiftWagePeriod(ctx.input(u"nFDate"_s).toInt(), ctx.input(u"nPer"_s).toInt()));
}

} // namespace

Result<WageItemColumn> FindWageItemByTitle(CADODatabase &db, const QString &wageSetTitle,
                                           const QString &itemAlias)
{
    const db::QueryResult found
        = db.run(u"SELECT qz_Table.TblName, qz_Items.Name FROM qz_Table INNER JOIN qz_Items"
                 " ON upper(qz_Items.TblName) = upper(qz_Table.TblName)"
                 " WHERE qz_Table.nType = ? AND upper(qz_Table.Title) = upper(?)"
                 " AND qz_Items.iSort = ? AND upper(qz_Items.Alias) = upper(?)"
                 " ORDER BY qz_Table.ID, qz_Items.ItemID LIMIT 1"_s,
                 { WageSetTableType, wageSetTitle, WageItemSort, itemAlias });
    if (!found.ok)
        return Result<WageItemColumn>::failure(found.error.description);
    if (!found.hasRow())
        return WageItemColumn();
    const WageItemColumn item { found.rows.value(0, 0).toString(),
                                found.rows.value(0, 1).toString() };
    if (!IsSqlIdentifier(item.table) || !IsSqlIdentifier(item.column))
        return Result<WageItemColumn>::failure(
            u"The wage item column %1.%2 is not a valid name."_s.arg(item.table, item.column));
    return item;
}

void registerPayrollProcedures(db::ProcedureRegistry &registry)
{
    registry.add(u"qz_GetAggregeWageValue"_s, getAggregateWageValue);
    registry.add(u"qz_GetPSNWageValue"_s, getPersonWageValue);
    registry.add(u"qz_GetPSNPreWageValue"_s, getPersonPreviousWageValue);
}

} // namespace vantrel::payroll
