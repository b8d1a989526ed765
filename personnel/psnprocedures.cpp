#include "personnel/psnprocedures.h"

#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/sqlidentifier.h"
#include "core/query/scalarqueries.h"

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::personnel {

namespace {

// Tables whose rows belong to one person by its PID, besides the related archives. A table
// that a later part of the program brings is simply absent before then.
const QStringList &personRowTables()
{
    static const QStringList tables { u"qz_PsnAdj"_s, u"qz_PsnFiles"_s, u"qz_PsnRedeploy"_s,
                                      u"qz_PsnSortAlter"_s, u"qz_WagePsn"_s };
    return tables;
}

bool deleteRowsOf(ProcedureContext &ctx, const QString &table, const QVariant &pid)
{
    if (!IsSqlIdentifier(table) || !TableExists(table, &ctx.db()))
        return true;
    return ctx.exec(u"DELETE FROM %1 WHERE PID = ?"_s.arg(table), { pid });
}

bool deletePsnBaseById(ProcedureContext &ctx)
{
    const QVariant pid = ctx.input(0).toInt();
    const Result<bool> exists = RecordExists(u"qz_PsnBase"_s, u"PID = ?"_s, { pid }, &ctx.db());
    if (!exists)
        return ctx.fail(exists.error());
    if (!*exists)
        return ctx.fail(u"No person has the id %1."_s.arg(pid.toInt()));
    QStringList tables = personRowTables();
    // The related archives: tables of nType 5 keyed by the person's PID.
    const db::QueryResult related = ctx.db().run(u"SELECT TblName FROM qz_Table WHERE nType = 5"_s);
    if (!related.ok)
        return ctx.fail(related.error.description);
    for (int row = 0; row < related.rows.rowCount(); ++row)
        tables << related.rows.value(row, 0).toString();
    for (const QString &table : std::as_const(tables)) {
        if (!deleteRowsOf(ctx, table, pid))
            return false;
    }
    return ctx.exec(u"DELETE FROM qz_PsnBase WHERE PID = ?"_s, { pid });
}

bool selectPsnBaseReorder(ProcedureContext &ctx)
{
    return ctx.select(uR"(SELECT P.PID, P.Number AS "编号", P.Name AS "姓名",)"
                      uR"( D.Name AS "部门", S.Name AS "人员类别", P.Ord)"
                      u" FROM qz_PsnBase P LEFT JOIN qz_Dept D ON D.DID = P.DID"
                      u" LEFT JOIN qz_PsnSort S ON S.AID = P.AID"
                      u" WHERE P.DID = ? ORDER BY P.Ord, P.PID"_s,
                      { ctx.input(0).toInt() });
}

bool refreshPsnBaseOrder(ProcedureContext &ctx)
{
    if (!ctx.select(u"SELECT PID FROM qz_PsnBase WHERE DID = ? ORDER BY Ord, PID"_s,
                    { ctx.input(0).toInt() }))
        return false;
    const db::RowSet rows = ctx.takeResult();
    for (int row = 0; row < rows.rowCount(); ++row) {
        if (!ctx.exec(u"UPDATE qz_PsnBase SET Ord = ? WHERE PID = ?"_s,
                      { row + 1, rows.value(row, 0) }))
            return false;
    }
    return true;
}

// ID 0 adds a range of a statistic, another ID rewrites that range.
bool addStatItmFilter(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    QVariantList values { ctx.input(u"TID"_s).toInt(), ctx.input(u"Title"_s).toString().left(200),
                          ctx.input(u"LowerVal"_s).toString().left(50),
                          ctx.input(u"UperVal"_s).toString().left(50),
                          ctx.input(u"Ord"_s).toInt() };
    return ctx.insertOrRewrite(u"qz_StatItmFilter"_s,
                               { u"TID"_s, u"fTitle"_s, u"LowerVal"_s, u"UperVal"_s, u"Ord"_s },
                               values, u"id"_s, id, u"No statistic range has the id %1."_s.arg(id));
}

} // namespace

void registerPsnProcedures()
{
    db::ProcedureRegistry &registry = db::ProcedureRegistry::instance();
    registry.add(u"qz_DeletePsnBaseByID"_s, deletePsnBaseById);
    registry.add(u"qz_SelectPsnbaseReOrderByDeptID"_s, selectPsnBaseReorder);
    registry.add(u"qz_RefreshPsnBaseOrder"_s, refreshPsnBaseOrder);
    registry.add(u"qz_AddStatItmFilter"_s, addStatItmFilter);
}

} // namespace vantrel::personnel
