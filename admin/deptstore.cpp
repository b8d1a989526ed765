#include "admin/deptstore.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/sqlidentifier.h"

using namespace Qt::StringLiterals;
using vantrel::db::DbTransaction;
using vantrel::db::ProcedureContext;
using vantrel::db::QueryResult;

namespace vantrel::admin {

namespace {

QString subtreeMark(int did)
{
    return u"|%1|"_s.arg(did);
}

Result<QVariant> scalarOf(CADODatabase &db, const QString &sql, const QVariantList &values)
{
    const QueryResult result = db.run(sql, values);
    if (!result.ok)
        return Result<QVariant>::failure(result.error.description);
    return result.scalar();
}

// The tables besides qz_PsnBase whose rows carry a department: the data tables of the wage
// sets and any table whose items name a DID column. Only names that are identifiers.
Result<QStringList> deptDataTables(CADODatabase &db)
{
    const QueryResult found = db.run(
        u"SELECT TblName FROM qz_Table WHERE nType = 6 UNION SELECT t.TblName FROM qz_Table t"
        " JOIN qz_Items i ON upper(i.TblName) = upper(t.TblName) WHERE upper(i.Name) = 'DID'"
        " AND upper(t.TblName) NOT IN ('QZ_DEPT', 'QZ_PSNBASE')"_s);
    if (!found.ok)
        return Result<QStringList>::failure(found.error.description);
    QStringList tables;
    for (int row = 0; row < found.rows.rowCount(); ++row) {
        const QString table = found.rows.text(row, 0).trimmed();
        if (!IsSqlIdentifier(table))
            return Result<QStringList>::failure(u"'%1' is not a table name."_s.arg(table));
        tables << table;
    }
    return tables;
}

// Sets did's parent and path and replaces its old path at the end of every path below it.
bool reparent(ProcedureContext &ctx, int did, int parentId, const QString &path)
{
    const QueryResult own = ctx.db().run(u"SELECT ParentArr FROM qz_Dept WHERE DID = ?"_s, { did });
    if (!own.ok)
        return ctx.fail(own.error.description);
    if (own.rows.rowCount() == 0)
        return ctx.fail(u"The department %1 does not exist."_s.arg(did));
    if (parentId > 0) {
        const QueryResult parent
            = ctx.db().run(u"SELECT ParentArr FROM qz_Dept WHERE DID = ?"_s, { parentId });
        if (!parent.ok)
            return ctx.fail(parent.error.description);
        if (parent.rows.rowCount() == 0)
            return ctx.fail(u"The parent department %1 does not exist."_s.arg(parentId));
        if (parentId == did || parent.rows.text(0, 0).contains(subtreeMark(did)))
            return ctx.fail(u"The department %1 lies below %2."_s.arg(parentId).arg(did));
    }
    const QString oldPath = own.rows.text(0, 0);
    if (!ctx.exec(u"UPDATE qz_Dept SET ParentID = ?, ParentArr = ? WHERE DID = ?"_s,
                  { parentId, path, did }))
        return false;
    if (oldPath.isEmpty())
        return true;
    // Below did every path ends with did's old path: one statement swaps that tail.
    return ctx.exec(
        u"UPDATE qz_Dept SET ParentArr = substr(ParentArr, 1, length(ParentArr) -"
        " CAST(? AS INTEGER)) || CAST(? AS VARCHAR(1000)) WHERE DID <> ? AND"
        " CHARINDEX(CAST(? AS VARCHAR(1000)), ParentArr) > 0 AND"
        " substr(ParentArr, length(ParentArr) - CAST(? AS INTEGER) + 1) ="
        " CAST(? AS VARCHAR(1000))"_s,
        { int(oldPath.size()), path, did, subtreeMark(did), int(oldPath.size()), oldPath });
}

bool updateDeptParentByID(ProcedureContext &ctx)
{
    return reparent(ctx, ctx.input(u"DID"_s).toInt(), ctx.input(u"ParentID"_s).toInt(),
                    ctx.input(u"ParentArr"_s).toString());
}

bool swapDeptOrder(ProcedureContext &ctx)
{
    return ctx.exec(u"UPDATE qz_Dept SET Ord = ? WHERE DID = ?"_s,
                    { ctx.input(u"Ord2"_s), ctx.input(u"DID1"_s) })
        && ctx.exec(u"UPDATE qz_Dept SET Ord = ? WHERE DID = ?"_s,
                    { ctx.input(u"Ord1"_s), ctx.input(u"DID2"_s) });
}

bool deleteDeptByID(ProcedureContext &ctx)
{
    const int did = ctx.input(u"DID"_s).toInt();
    if (!ctx.exec(u"DELETE FROM qz_Dept WHERE DID = ?"_s, { did }))
        return false;
    return ctx.recordsAffected() > 0 || ctx.fail(u"The department %1 no longer exists."_s.arg(did));
}

bool psnCountByDept(ProcedureContext &ctx)
{
    return ctx.select(u"SELECT COUNT(*) FROM qz_PsnBase WHERE DID = ?"_s,
                      { ctx.input(u"DID"_s).toInt() });
}

bool psnCountBySort(ProcedureContext &ctx)
{
    return ctx.select(u"SELECT COUNT(*) FROM qz_PsnBase WHERE AID = ?"_s,
                      { ctx.input(u"AID"_s).toInt() });
}

bool deletePsnSortByID(ProcedureContext &ctx)
{
    const int aid = ctx.input(u"AID"_s).toInt();
    if (!ctx.exec(u"DELETE FROM qz_PsnSort WHERE AID = ?"_s, { aid }))
        return false;
    return ctx.recordsAffected() > 0 || ctx.fail(u"The category %1 no longer exists."_s.arg(aid));
}

Result<int> countFrom(CADOCommand &command)
{
    if (!command.Execute())
        return Result<int>::failure(command.GetLastErrorString());
    return command.TakeResultSet().value(0, 0).toInt();
}

Status runCommand(CADOCommand &command)
{
    if (!command.Execute())
        return Status::failure(command.GetLastErrorString());
    return {};
}

Status runReparent(CADODatabase &db, int did, int parentId, const QString &path)
{
    CADOCommand command(&db, u"qz_UpdateDeptParentByID"_s);
    command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, did);
    command.AddParameterInt(u"ParentID"_s, adInteger, adParamInput, 4, parentId);
    command.AddParameterText(u"ParentArr"_s, adVarChar, adParamInput, 1000, path);
    return runCommand(command);
}

Result<QString> parentPath(CADODatabase &db, int parentId)
{
    if (parentId <= 0)
        return QString();
    const Result<QVariant> path
        = scalarOf(db, u"SELECT ParentArr FROM qz_Dept WHERE DID = ?"_s, { parentId });
    if (!path)
        return Result<QString>::failure(path.error());
    return path->toString();
}

Result<int> countOf(CADODatabase &db, const QString &sql, const QVariantList &values)
{
    const Result<QVariant> count = scalarOf(db, sql, values);
    if (!count)
        return Result<int>::failure(count.error());
    return count->toInt();
}

Status execOne(CADODatabase &db, const QString &sql, const QVariantList &values)
{
    const QueryResult result = db.run(sql, values);
    if (!result.ok)
        return Status::failure(result.error.description);
    return {};
}

} // namespace

QString DeptPathUnder(int did, const QString &parentPath)
{
    return parentPath.isEmpty() ? subtreeMark(did) : u"|%1"_s.arg(did) + parentPath;
}

Status UpdateDeptParent(CADODatabase &db, int did, int parentId)
{
    const Result<QString> above = parentPath(db, parentId);
    if (!above)
        return Status::failure(above.error());
    return runReparent(db, did, parentId, DeptPathUnder(did, *above));
}

Status SaveDeptOrder(CADODatabase &db, const QVector<int> &didsInOrder)
{
    const QueryResult current = db.run(u"SELECT DID, Ord FROM qz_Dept"_s);
    if (!current.ok)
        return Status::failure(current.error.description);
    QHash<int, int> ordOf;
    for (int row = 0; row < current.rows.rowCount(); ++row)
        ordOf.insert(current.rows.value(row, 0).toInt(), current.rows.value(row, 1).toInt());
    DbTransaction transaction(db);
    for (int position = 0; position < didsInOrder.size(); ++position) {
        const int did = didsInOrder.at(position);
        if (ordOf.value(did, position) == position)
            continue;
        const Status written
            = execOne(db, u"UPDATE qz_Dept SET Ord = ? WHERE DID = ?"_s, { position, did });
        if (!written)
            return written;
    }
    if (!transaction.commit())
        return Status::failure(db.GetLastErrorString());
    return {};
}

Status SwapDeptOrder(CADODatabase &db, int didA, int ordA, int didB, int ordB)
{
    CADOCommand command(&db, u"qz_SwapDeptOrder"_s);
    command.AddParameterInt(u"DID1"_s, adInteger, adParamInput, 4, didA);
    command.AddParameterInt(u"Ord1"_s, adInteger, adParamInput, 4, ordA);
    command.AddParameterInt(u"DID2"_s, adInteger, adParamInput, 4, didB);
    command.AddParameterInt(u"Ord2"_s, adInteger, adParamInput, 4, ordB);
    return runCommand(command);
}

AdminOutcome CheckDeptDelete(CADODatabase &db, int did)
{
    const auto failed = [](const QString &error) {
        return AdminOutcome::refused(error, AdminOutcome::Icon::Critical);
    };
    const Result<int> children
        = countOf(db, u"SELECT COUNT(*) FROM qz_Dept WHERE ParentID = ?"_s, { did });
    if (!children)
        return failed(children.error());
    if (*children > 0)
        return AdminOutcome::refused(u"该部门下有下级部门,不能删除!"_s,
                                     AdminOutcome::Icon::Warning);
    CADOCommand command(&db, u"qz_GetPsnCountsByDeptID"_s);
    command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, did);
    const Result<int> persons = countFrom(command);
    if (!persons)
        return failed(persons.error());
    if (*persons > 0)
        return AdminOutcome::refused(u"该部门下还有 %1 个人员!"_s.arg(*persons),
                                     AdminOutcome::Icon::Warning);
    const Result<QStringList> tables = deptDataTables(db);
    if (!tables)
        return failed(tables.error());
    int wageRows = 0;
    for (const QString &table : *tables) {
        const Result<int> rows
            = countOf(db, u"SELECT COUNT(*) FROM %1 WHERE DID = ?"_s.arg(table), { did });
        if (!rows)
            return failed(rows.error());
        wageRows += *rows;
    }
    if (wageRows > 0)
        return AdminOutcome::refused(u"该部门下还有 %1 条薪资记录,不能删除!"_s.arg(wageRows),
                                     AdminOutcome::Icon::Warning);
    return AdminOutcome::done();
}

Status DeleteDept(CADODatabase &db, int did)
{
    CADOCommand command(&db, u"qz_DeleteDeptByID"_s);
    command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, did);
    return runCommand(command);
}

Status MergeDept(CADODatabase &db, int source, int target)
{
    const QueryResult pair = db.run(
        u"SELECT DID, ParentID, ParentArr FROM qz_Dept WHERE DID IN (?, ?)"_s, { source, target });
    if (!pair.ok)
        return Status::failure(pair.error.description);
    if (source == target || pair.rows.rowCount() != 2)
        return Status::failure(u"Both departments must exist and differ."_s);
    if (pair.rows.value(0, 1).toInt() != pair.rows.value(1, 1).toInt())
        return Status::failure(u"The departments have different parents."_s);
    const int targetRow = pair.rows.value(0, 0).toInt() == target ? 0 : 1;
    const QString targetPath = pair.rows.text(targetRow, 2);
    const Result<QStringList> tables = deptDataTables(db);
    if (!tables)
        return Status::failure(tables.error());

    DbTransaction transaction(db);
    QStringList moving { u"qz_PsnBase"_s };
    moving << *tables;
    for (const QString &table : std::as_const(moving)) {
        const Status moved
            = execOne(db, u"UPDATE %1 SET DID = ? WHERE DID = ?"_s.arg(table), { target, source });
        if (!moved)
            return moved;
    }
    const QueryResult children
        = db.run(u"SELECT DID FROM qz_Dept WHERE ParentID = ? ORDER BY Ord"_s, { source });
    if (!children.ok)
        return Status::failure(children.error.description);
    for (int row = 0; row < children.rows.rowCount(); ++row) {
        const int child = children.rows.value(row, 0).toInt();
        const Status under = runReparent(db, child, target, DeptPathUnder(child, targetPath));
        if (!under)
            return under;
    }
    const Status deleted = DeleteDept(db, source);
    if (!deleted)
        return deleted;
    if (!transaction.commit())
        return Status::failure(db.GetLastErrorString());
    return {};
}

AdminOutcome CheckDeptTarget(CADODatabase &db, DeptTargetUse use, int source, int target)
{
    const auto refuse = [](const QString &text) {
        return AdminOutcome::refused(text, AdminOutcome::Icon::Information,
                                     AdminOutcome::Field::Parent);
    };
    if (target < 0 || target == source || (use == DeptTargetUse::Merge && target == 0))
        return refuse(u"请选择项！"_s);
    const QueryResult rows = db.run(
        u"SELECT DID, ParentID, ParentArr FROM qz_Dept WHERE DID IN (?, ?)"_s, { source, target });
    if (!rows.ok)
        return AdminOutcome::refused(rows.error.description, AdminOutcome::Icon::Critical);
    int sourceRow = -1;
    int targetRow = -1;
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        (rows.rows.value(row, 0).toInt() == source ? sourceRow : targetRow) = row;
    const auto parentOf = [&](int row) { return row < 0 ? 0 : rows.rows.value(row, 1).toInt(); };
    if (use == DeptTargetUse::Merge && parentOf(sourceRow) != parentOf(targetRow))
        return refuse(u"不能跨级合并部门!"_s);
    if (use == DeptTargetUse::Move) {
        if (target == parentOf(sourceRow))
            return refuse(u"请选择不同的上级部门!"_s);
        if (targetRow >= 0 && rows.rows.text(targetRow, 2).contains(subtreeMark(source)))
            return refuse(u"错误：上级部门不能是其本身或其原下级部门!"_s);
    }
    if ((source > 0 && sourceRow < 0) || (target > 0 && targetRow < 0))
        return refuse(u"选择的部门被删除！"_s);
    return AdminOutcome::done();
}

Status SetDeptPrefix(CADODatabase &db, int did, const QString &prefix)
{
    return execOne(db, u"UPDATE qz_Dept SET PNRule = ? WHERE DID = ?"_s, { prefix, did });
}

Result<int> PsnCountBySort(CADODatabase &db, int aid)
{
    CADOCommand command(&db, u"qz_GetPsnCountsBySortID"_s);
    command.AddParameterInt(u"AID"_s, adInteger, adParamInput, 4, aid);
    return countFrom(command);
}

Status RenumberPsnSorts(CADODatabase &db)
{
    const QueryResult sorts = db.run(u"SELECT AID, Ord FROM qz_PsnSort ORDER BY Ord, AID"_s);
    if (!sorts.ok)
        return Status::failure(sorts.error.description);
    DbTransaction transaction(db);
    for (int row = 0; row < sorts.rows.rowCount(); ++row) {
        if (sorts.rows.value(row, 1).toInt() == row + 1)
            continue;
        const Status written = execOne(db, u"UPDATE qz_PsnSort SET Ord = ? WHERE AID = ?"_s,
                                       { row + 1, sorts.rows.value(row, 0).toInt() });
        if (!written)
            return written;
    }
    if (!transaction.commit())
        return Status::failure(db.GetLastErrorString());
    return {};
}

Status DeletePsnSort(CADODatabase &db, int aid)
{
    CADOCommand command(&db, u"qz_DeletePsnSortByID"_s);
    command.AddParameterInt(u"AID"_s, adInteger, adParamInput, 4, aid);
    return runCommand(command);
}

Status StoreItemWidth(CADODatabase &db, const QString &table, const QString &item, int width)
{
    return execOne(db,
                   u"UPDATE qz_Items SET iWid = ? WHERE upper(TblName) = upper(?) AND "
                   "upper(Name) = upper(?)"_s,
                   { width, table, item });
}

void registerDeptProcedures(db::ProcedureRegistry &registry)
{
    registry.add(u"qz_UpdateDeptParentByID"_s, updateDeptParentByID);
    registry.add(u"qz_SwapDeptOrder"_s, swapDeptOrder);
    registry.add(u"qz_DeleteDeptByID"_s, deleteDeptByID);
    registry.add(u"qz_GetPsnCountsByDeptID"_s, psnCountByDept);
    registry.add(u"qz_GetPsnCountsBySortID"_s, psnCountBySort);
    registry.add(u"qz_DeletePsnSortByID"_s, deletePsnSortByID);
}

} // namespace vantrel::admin
