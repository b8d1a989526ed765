#include "personnel/advsavedqueries.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::personnel {

namespace {

bool addAdvResearch(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    const QString name = ctx.input(u"Name"_s).toString().left(50);
    const QString ordCol = ctx.input(u"OrdCol"_s).toString();
    if (id == 0)
        return ctx.select(
            u"INSERT INTO qz_Research (Name, UserID, iType, OrdCol)"
            " VALUES (?, ?, ?, ?) RETURNING RID"_s,
            { name, ctx.input(u"UserID"_s).toInt(), ctx.input(u"iType"_s).toInt(), ordCol });
    if (!ctx.exec(u"UPDATE qz_Research SET Name = ?, OrdCol = ? WHERE RID = ?"_s,
                  { name, ordCol, id }))
        return false;
    return ctx.recordsAffected() > 0 || ctx.fail(u"No saved query has the id %1."_s.arg(id));
}

bool addAdvResearchDetail(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    // The parameters carry the columns' names.
    const QStringList columns { u"Flag"_s,     u"RID"_s,   u"AndOr"_s,  u"TblName"_s,
                                u"ItemName"_s, u"OpSgn"_s, u"sValue"_s, u"Ord"_s };
    QVariantList values;
    for (const QString &name : columns)
        values << ctx.input(name);
    return ctx.insertOrRewrite(u"qz_ResearchDetail"_s, columns, values, u"id"_s, id,
                               u"No saved condition row has the id %1."_s.arg(id));
}

QString commandError(const CADOCommand &command)
{
    return command.GetLastErrorString();
}

// Runs qz_AddAdvResearch; the new RID when it inserted, else rid.
Result<int> writeQuery(CADODatabase &db, int rid, int type, int userId, const QString &name,
                       const QString &ordCol)
{
    CADOCommand command(&db, u"qz_AddAdvResearch"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, rid);
    command.AddParameterInt(u"iType"_s, adInteger, adParamInput, 4, type);
    command.AddParameterInt(u"UserID"_s, adInteger, adParamInput, 4, userId);
    command.AddParameterText(u"Name"_s, adVarWChar, adParamInput, 50, name);
    command.AddParameterText(u"OrdCol"_s, adLongVarWChar, adParamInput, -1, ordCol);
    if (rid != 0) {
        if (!command.Execute())
            return Result<int>::failure(commandError(command));
        return rid;
    }
    const int newId = command.ExecuteScalar().toInt();
    if (newId <= 0)
        return Result<int>::failure(commandError(command));
    return newId;
}

Result<int> existingQuery(CADODatabase &db, int rid)
{
    const db::QueryResult found = db.run(u"SELECT RID FROM qz_Research WHERE RID = ?"_s, { rid });
    if (!found.ok)
        return Result<int>::failure(found.error.description);
    if (!found.hasRow())
        return Result<int>::failure(u"No saved query has the id %1."_s.arg(rid));
    return rid;
}

bool writeDetail(CADODatabase &db, int rid, int flag, int ord, const AdvConditionRow &row,
                 QString *error)
{
    CADOCommand command(&db, u"qz_AddAdvResearchDetail"_s);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, row.id);
    command.AddParameterInt(u"Flag"_s, adInteger, adParamInput, 4, flag);
    command.AddParameterInt(u"RID"_s, adInteger, adParamInput, 4, rid);
    command.AddParameterText(u"AndOr"_s, adVarWChar, adParamInput, 50, row.andOr);
    command.AddParameterText(u"TblName"_s, adVarWChar, adParamInput, 50,
                             flag == 0 ? QString() : row.tblName);
    command.AddParameterText(u"ItemName"_s, adVarWChar, adParamInput, 50, row.itemName);
    command.AddParameterText(u"OpSgn"_s, adVarWChar, adParamInput, 20, row.opSgn);
    command.AddParameterText(u"sValue"_s, adVarWChar, adParamInput, 100, row.value);
    command.AddParameterInt(u"Ord"_s, adInteger, adParamInput, 4, ord);
    if (command.Execute())
        return true;
    *error = commandError(command);
    return false;
}

Result<QVector<AdvConditionRow>> loadConditions(CADODatabase &db, int rid, int flag)
{
    const db::QueryResult result
        = db.run(u"SELECT id, AndOr, TblName, ItemName, OpSgn, sValue FROM qz_ResearchDetail"
                 " WHERE RID = ? AND Flag = ? ORDER BY Ord, id"_s,
                 { rid, flag });
    if (!result.ok)
        return Result<QVector<AdvConditionRow>>::failure(result.error.description);
    QVector<AdvConditionRow> rows;
    for (int r = 0; r < result.rows.rowCount(); ++r) {
        const auto at = [&](int column) { return result.rows.value(r, column).toString(); };
        rows.append({ result.rows.value(r, 0).toInt(), at(1), at(2), at(3), at(4), at(5) });
    }
    return rows;
}

} // namespace

void registerAdvSearchProcedures()
{
    db::ProcedureRegistry &registry = db::ProcedureRegistry::instance();
    registry.add(u"qz_AddAdvResearch"_s, addAdvResearch);
    registry.add(u"qz_AddAdvResearchDetail"_s, addAdvResearchDetail);
}

Result<QVector<SavedQueryEntry>> ListSavedQueries(CADODatabase &db, int userId, int type)
{
    const db::QueryResult result
        = db.run(u"SELECT RID, Name FROM qz_Research WHERE UserID = ? AND iType = ? ORDER BY RID"_s,
                 { userId, type });
    if (!result.ok)
        return Result<QVector<SavedQueryEntry>>::failure(result.error.description);
    QVector<SavedQueryEntry> entries;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        entries.append({ result.rows.value(row, 0).toInt(), result.rows.value(row, 1).toString() });
    return entries;
}

Result<AdvQuery> LoadSavedQuery(CADODatabase &db, int rid)
{
    AdvQuery query;
    for (const int flag : { 0, 1 }) {
        Result<QVector<AdvConditionRow>> rows = loadConditions(db, rid, flag);
        if (!rows)
            return Result<AdvQuery>::failure(rows.error());
        (flag == 0 ? query.main : query.related) = std::move(rows).value();
    }
    const db::QueryResult ordCol
        = db.run(u"SELECT OrdCol FROM qz_Research WHERE RID = ?"_s, { rid });
    if (!ordCol.ok)
        return Result<AdvQuery>::failure(ordCol.error.description);
    query.sort = ParseSortList(ordCol.scalar().toString());
    return query;
}

QString SortListText(const QVector<AdvSortRow> &rows)
{
    QStringList entries;
    for (const AdvSortRow &row : rows) {
        if (!row.itemName.isEmpty())
            entries << row.itemName + u',' + row.direction;
    }
    return entries.join(u'|');
}

QVector<AdvSortRow> ParseSortList(const QString &text)
{
    QVector<AdvSortRow> rows;
    for (const QString &entry : text.split(u'|', Qt::SkipEmptyParts)) {
        const QStringList parts = entry.split(u',');
        rows.append({ parts.value(0), parts.value(1) });
    }
    return rows;
}

Result<int> SaveQuery(CADODatabase &db, int rid, int type, int userId, const QString &name,
                      const AdvQuery &query)
{
    db::DbTransaction transaction(db);
    if (!transaction.isActive())
        return Result<int>::failure(db.GetLastErrorString());
    // A saved query keeps its name and sort list until the rows are in.
    const Result<int> saved
        = rid == 0 ? writeQuery(db, 0, type, userId, name, QString()) : existingQuery(db, rid);
    if (!saved)
        return saved;
    QString error;
    for (int flag : { 0, 1 }) {
        const QVector<AdvConditionRow> &rows = flag == 0 ? query.main : query.related;
        for (int ord = 0; ord < rows.size(); ++ord) {
            if (!writeDetail(db, *saved, flag, ord, rows.at(ord), &error))
                return Result<int>::failure(error);
        }
    }
    const QString sortList = SortListText(query.sort);
    if (!sortList.isEmpty()) {
        const Result<int> sorted = writeQuery(db, *saved, type, userId, name, sortList);
        if (!sorted)
            return sorted;
    }
    if (!transaction.commit())
        return Result<int>::failure(db.GetLastErrorString());
    return saved;
}

Result<void> RenameQuery(CADODatabase &db, int rid, int type, int userId, const QString &name)
{
    const db::QueryResult ordCol
        = db.run(u"SELECT OrdCol FROM qz_Research WHERE RID = ?"_s, { rid });
    if (!ordCol.ok)
        return Result<void>::failure(ordCol.error.description);
    const Result<int> renamed = writeQuery(db, rid, type, userId, name, ordCol.scalar().toString());
    return renamed ? Result<void>() : Result<void>::failure(renamed.error());
}

Result<void> DeleteSavedQuery(CADODatabase &db, int rid)
{
    db::DbTransaction transaction(db);
    for (const QString &sql : { u"DELETE FROM qz_ResearchDetail WHERE RID = ?"_s,
                                u"DELETE FROM qz_Research WHERE RID = ?"_s }) {
        const db::QueryResult result = db.run(sql, { rid });
        if (!result.ok)
            return Result<void>::failure(result.error.description);
    }
    if (!transaction.commit())
        return Result<void>::failure(db.GetLastErrorString());
    return {};
}

Result<void> DeleteConditionRow(CADODatabase &db, int id)
{
    if (id == 0)
        return {};
    const db::QueryResult result = db.run(u"DELETE FROM qz_ResearchDetail WHERE id = ?"_s, { id });
    return result.ok ? Result<void>() : Result<void>::failure(result.error.description);
}

QString AdvQueryTypeWord(int type)
{
    switch (type) {
    case AdvPersonData:
        return u"人事数据"_s;
    case AdvWageData:
        return u"薪资数据"_s;
    case AdvTransfers:
        return u"部门调动"_s;
    case AdvCategoryChanges:
        return u"类别异动"_s;
    }
    return {};
}

} // namespace vantrel::personnel
