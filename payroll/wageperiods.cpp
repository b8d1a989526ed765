#include "payroll/wageperiods.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/sqlidentifier.h"
#include "core/payroll/wagesetschema.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"
#include "payroll/psnchooserlist.h"

#include <QDateTime>

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::payroll {

namespace {

QVariant argument(ProcedureContext &ctx, const QString &name, int position)
{
    const QVariant named = ctx.input(name);
    return named.isValid() ? named : ctx.input(position);
}

// The checked data table of a live wage set; fails the procedure when there is none.
bool wageSetTable(ProcedureContext &ctx, int sid, QString *table)
{
    const Result<QString> checked = CheckedWageSetTable(ctx.db(), sid);
    if (!checked)
        return ctx.fail(checked.error());
    if (checked->isEmpty())
        return ctx.fail(LoadResString(118));
    *table = *checked;
    return true;
}

// The item columns of a data table (with Retain 1 only when asked), each a checked name.
bool itemColumns(ProcedureContext &ctx, const QString &table, bool retainedOnly,
                 QStringList *columns)
{
    const db::QueryResult items = ctx.db().run(
        u"SELECT Name FROM qz_Items WHERE upper(TblName) = upper(?) AND iSort = ?"_s
            + (retainedOnly ? u" AND Retain = 1"_s : QString()) + u" ORDER BY ItemID"_s,
        { table, WageItemSort });
    if (!items.ok)
        return ctx.fail(items.error.description);
    for (int row = 0; row < items.rows.rowCount(); ++row) {
        const QString column = items.rows.text(row, 0);
        if (!IsSqlIdentifier(column))
            return ctx.fail(u"The wage item column '%1' is not a valid name."_s.arg(column));
        *columns << column;
    }
    return true;
}

// "C1 = (SELECT E.C1 FROM T E WHERE E.PID = T.PID AND <source>), …": every column from the
// person's source row; `source` is a condition on E with its own placeholders.
QString copyColumns(const QString &table, const QStringList &columns, const QString &source)
{
    QStringList sets;
    for (const QString &column : columns)
        sets << u"%2 = (SELECT E.%2 FROM %1 E WHERE E.PID = %1.PID AND %3)"_s.arg(table, column,
                                                                                  source);
    return sets.join(u", "_s);
}

bool createWageTable(ProcedureContext &ctx)
{
    const int sid = argument(ctx, u"SID"_s, 1).toInt();
    const int period = argument(ctx, u"nFDate"_s, 2).toInt();
    QString table;
    if (!wageSetTable(ctx, sid, &table))
        return false;
    const db::QueryResult existing = ctx.db().run(
        u"SELECT COUNT(*) FROM qz_WageTable WHERE SID = ? AND fDate = ?"_s, { sid, period });
    if (!existing.ok)
        return ctx.fail(existing.error.description);
    if (existing.scalar().toInt() > 0)
        return ctx.fail(u"薪资表(%1) 已存在!"_s.arg(FormatWagePeriod(period)));
    if (!ctx.exec(u"INSERT INTO qz_WageTable (SID, fDate, Stat, CreateDate) VALUES (?, ?, 0, ?)"_s,
                  { sid, period, QDateTime::currentDateTime() })
        || !ctx.exec(u"INSERT INTO %1 (PID, fDate, DID, AID, Ord)"
                     u" SELECT P.PID, ?, P.DID, P.AID, W.Ord FROM qz_WagePsn W"
                     u" INNER JOIN qz_PsnBase P ON P.PID = W.PID WHERE W.SID = ?"_s.arg(table),
                     { period, sid }))
        return false;
    QStringList retained;
    if (!itemColumns(ctx, table, true, &retained))
        return false;
    if (retained.isEmpty())
        return true;
    const QString latest
        = u"E.fDate = (SELECT MAX(L.fDate) FROM %1 L WHERE L.PID = %1.PID AND L.fDate < ?)"_s.arg(
            table);
    QVariantList values;
    for (qsizetype i = 0; i < retained.size(); ++i)
        values << period;
    values << period;
    return ctx.exec(
        u"UPDATE %1 SET %2 WHERE fDate = ?"_s.arg(table, copyColumns(table, retained, latest)),
        values);
}

bool updateCheckOut(ProcedureContext &ctx)
{
    const int sid = argument(ctx, u"SID"_s, 0).toInt();
    const int period = argument(ctx, u"nFDate"_s, 1).toInt();
    const int stat = argument(ctx, u"Stat"_s, 2).toInt() != 0 ? 1 : 0;
    if (!ctx.exec(u"UPDATE qz_WageTable SET Stat = ? WHERE SID = ? AND fDate = ?"_s,
                  { stat, sid, period }))
        return false;
    return ctx.recordsAffected() > 0 || ctx.fail(LoadResString(133));
}

bool createAddList(ProcedureContext &ctx)
{
    const QString key = argument(ctx, u"TmpTableName"_s, 0).toString();
    const int sid = argument(ctx, u"SID"_s, 1).toInt();
    const int did = argument(ctx, u"DID"_s, 2).toInt();
    const int period = argument(ctx, u"nFDate"_s, 3).toInt();
    QString table;
    if (!IsChooserWorkKey(key))
        return ctx.fail(u"'%1' is no chooser list."_s.arg(key));
    if (!wageSetTable(ctx, sid, &table))
        return false;
    const QDateTime now = QDateTime::currentDateTime();
    if (!ctx.exec(u"DELETE FROM qz_PsnPickWork WHERE WorkKey = ? OR Created < ?"_s,
                  { key, now.addDays(-1) }))
        return false;
    QString sql = u"INSERT INTO qz_PsnPickWork (WorkKey, PID, CKD, ord, Created)"
                  u" SELECT ?, W.PID, 0, W.Ord, ? FROM qz_WagePsn W"
                  u" INNER JOIN qz_PsnBase P ON P.PID = W.PID LEFT JOIN qz_Dept D ON D.DID = P.DID"
                  u" WHERE W.SID = ? AND NOT EXISTS"
                  u" (SELECT 1 FROM %1 T WHERE T.PID = W.PID AND T.fDate = ?)"_s.arg(table);
    QVariantList values { key, now, sid, period };
    if (did > 0) {
        sql += u" AND D.ParentArr LIKE ?"_s;
        values << u"%|%1|%"_s.arg(did);
    }
    return ctx.exec(sql, values);
}

bool addFromList(ProcedureContext &ctx)
{
    const QString key = argument(ctx, u"TmpTableName"_s, 0).toString();
    const int sid = argument(ctx, u"SID"_s, 1).toInt();
    const int period = argument(ctx, u"nFDate"_s, 2).toInt();
    QString table;
    if (!IsChooserWorkKey(key))
        return ctx.fail(u"'%1' is no chooser list."_s.arg(key));
    if (!wageSetTable(ctx, sid, &table))
        return false;
    return ctx.exec(
        u"INSERT INTO %1 (PID, fDate, DID, AID, Ord)"
        u" SELECT P.PID, ?, P.DID, P.AID, K.ord FROM qz_PsnPickWork K"
        u" INNER JOIN qz_PsnBase P ON P.PID = K.PID WHERE K.WorkKey = ? AND K.CKD = 1"
        u" AND NOT EXISTS (SELECT 1 FROM %1 T WHERE T.PID = K.PID AND T.fDate = ?)"_s.arg(table),
        { period, key, period });
}

bool takeOverFromList(ProcedureContext &ctx)
{
    const QString key = argument(ctx, u"TmpTableName"_s, 0).toString();
    const int sid = argument(ctx, u"SID"_s, 1).toInt();
    const int period = argument(ctx, u"nFDate"_s, 2).toInt();
    const int earlier = argument(ctx, u"nPreFDate"_s, 3).toInt();
    QString table;
    QStringList columns;
    if (!IsChooserWorkKey(key))
        return ctx.fail(u"'%1' is no chooser list."_s.arg(key));
    if (!wageSetTable(ctx, sid, &table) || !itemColumns(ctx, table, false, &columns))
        return false;
    if (columns.isEmpty())
        return true;
    QVariantList values;
    for (qsizetype i = 0; i < columns.size(); ++i)
        values << earlier;
    values << period << key << earlier;
    return ctx.exec(u"UPDATE %1 SET %2 WHERE fDate = ? AND PID IN"
                    u" (SELECT K.PID FROM qz_PsnPickWork K WHERE K.WorkKey = ? AND K.CKD = 1)"
                    u" AND EXISTS (SELECT 1 FROM %1 E WHERE E.PID = %1.PID AND E.fDate = ?)"_s.arg(
                        table, copyColumns(table, columns, u"E.fDate = ?"_s)),
                    values);
}

bool deleteWagePerson(ProcedureContext &ctx)
{
    const int sid = argument(ctx, u"SID"_s, 0).toInt();
    const int period = argument(ctx, u"nFDate"_s, 1).toInt();
    const int pid = argument(ctx, u"PID"_s, 2).toInt();
    QString table;
    return wageSetTable(ctx, sid, &table)
        && ctx.exec(u"DELETE FROM %1 WHERE fDate = ? AND PID = ?"_s.arg(table), { period, pid });
}

bool selectReorderList(ProcedureContext &ctx)
{
    const int sid = argument(ctx, u"SID"_s, 0).toInt();
    const int period = argument(ctx, u"nFDate"_s, 1).toInt();
    const int did = argument(ctx, u"DID"_s, 2).toInt();
    QString table;
    if (!wageSetTable(ctx, sid, &table))
        return false;
    const BoundQuery query = WageReorderListQuery(table, period, did);
    return ctx.select(query.sql, query.values);
}

bool refreshPersonOrder(ProcedureContext &ctx)
{
    const QString table = argument(ctx, u"TblName"_s, 0).toString();
    const int period = argument(ctx, u"nFDate"_s, 1).toInt();
    const int did = argument(ctx, u"DID"_s, 2).toInt();
    const db::QueryResult known
        = ctx.db().run(u"SELECT ID FROM qz_Table WHERE upper(TblName) = upper(?) AND nType = ?"_s,
                       { table, WageSetTableType });
    if (!known.ok)
        return ctx.fail(known.error.description);
    if (!known.hasRow() || !IsSqlIdentifier(table))
        return ctx.fail(u"'%1' is no wage data table."_s.arg(table));
    const db::QueryResult rows
        = ctx.db().run(u"SELECT T.ID FROM %1 T INNER JOIN qz_PsnBase P ON P.PID = T.PID"
                       u" WHERE T.fDate = ? AND T.DID = ? ORDER BY T.Ord, P.Ord, T.ID"_s.arg(table),
                       { period, did });
    if (!rows.ok)
        return ctx.fail(rows.error.description);
    QVector<QVariantList> updates;
    for (int row = 0; row < rows.rows.rowCount(); ++row)
        updates.push_back({ row + 1, rows.rows.value(row, 0) });
    if (updates.isEmpty())
        return true;
    const db::QueryResult done
        = ctx.db().runBatch(u"UPDATE %1 SET Ord = ? WHERE ID = ?"_s.arg(table), updates);
    return done.ok || ctx.fail(done.error.description);
}

Status commandStatus(CADOCommand &command)
{
    return command.Execute() ? Status() : Status::failure(command.GetLastErrorString());
}

Status deleteRows(CADODatabase &db, int sid, const QString &dataWhere,
                  const QVariantList &dataValues, const QString &periodWhere,
                  const QVariantList &periodValues)
{
    const Result<QString> table = CheckedWageSetTable(db, sid);
    if (!table)
        return Status::failure(table.error());
    if (table->isEmpty())
        return Status::failure(LoadResString(118));
    db::DbTransaction transaction(db);
    if (!db.Execute(u"DELETE FROM %1 WHERE %2"_s.arg(*table, dataWhere), dataValues)
        || !db.Execute(u"DELETE FROM qz_WageTable WHERE SID = ? AND "_s + periodWhere,
                       QVariantList { sid } + periodValues)
        || !transaction.commit())
        return Status::failure(db.GetLastErrorString());
    return {};
}

} // namespace

void registerWagePeriodProcedures(db::ProcedureRegistry &registry)
{
    registry.add(u"qz_CreateWageTable"_s, createWageTable);
    registry.add(u"qz_UpdateWageTableCheckOut"_s, updateCheckOut);
    registry.add(u"qz_CreateWageTmpTableForAddPsn"_s, createAddList);
    registry.add(u"qz_AddWagePsnFromTmpTable"_s, addFromList);
    registry.add(u"qz_UpdateWageTmpTableForAddPsn"_s, takeOverFromList);
    registry.add(u"qz_DeleteWagePsnByID"_s, deleteWagePerson);
    registry.add(u"qz_SelectPsnWageReOrderByDeptID"_s, selectReorderList);
    registry.add(u"qz_RefreshWageTablePsnOrder"_s, refreshPersonOrder);
}

BoundQuery WageReorderListQuery(const QString &table, int period, int did)
{
    return { uR"(SELECT T.ID AS "ID", P.Number AS "编号", P.Name AS "姓名",)"
             uR"( P.Sex AS "性别", D.Name AS "部门", T.Ord AS "序号")"
             u" FROM %1 T INNER JOIN qz_PsnBase P ON P.PID = T.PID"
             u" LEFT JOIN qz_Dept D ON D.DID = T.DID"
             u" WHERE T.fDate = ? AND T.DID = ? ORDER BY T.Ord, P.Ord, T.ID"_s.arg(table),
             { period, did } };
}

Result<WagePeriodState> ReadWagePeriodState(CADODatabase &db, int sid, int period)
{
    const db::QueryResult found
        = db.run(u"SELECT Stat FROM qz_WageTable WHERE SID = ? AND fDate = ?"_s, { sid, period });
    if (!found.ok)
        return Result<WagePeriodState>::failure(found.error.description);
    if (!found.hasRow())
        return WagePeriodState {};
    return WagePeriodState { true, found.scalar().toInt() == 1 };
}

Result<QString> PeriodChangeRefusal(CADODatabase &db, int sid, int period)
{
    const Result<WagePeriodState> state = ReadWagePeriodState(db, sid, period);
    if (!state)
        return Result<QString>::failure(state.error());
    if (!state->exists)
        return LoadResString(133);
    return state->closed ? LoadResString(110) : QString();
}

Status CreateWagePeriod(CADODatabase &db, int userId, int sid, int period)
{
    CADOCommand command(&db, u"qz_CreateWageTable"_s);
    command.AddParameterInt(u"UserID"_s, adInteger, adParamInput, 4, userId);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, sid);
    command.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, period);
    return commandStatus(command);
}

Status SetWagePeriodClosed(CADODatabase &db, int sid, int period, bool closed)
{
    CADOCommand command(&db, u"qz_UpdateWageTableCheckOut"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, sid);
    command.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, period);
    command.AddParameterInt(u"Stat"_s, adInteger, adParamInput, 4, closed ? 1 : 0);
    return commandStatus(command);
}

Status DeleteWagePeriodRange(CADODatabase &db, int sid, int from, int to)
{
    return deleteRows(db, sid, u"fDate >= ? AND fDate <= ?"_s, { from, to },
                      u"fDate >= ? AND fDate <= ?"_s, { from, to });
}

Status DeleteWagePeriod(CADODatabase &db, int sid, int id, int period)
{
    return deleteRows(db, sid, u"fDate = ?"_s, { period }, u"ID = ?"_s, { id });
}

Status DeleteWagePersons(CADODatabase &db, int sid, int period, const QVector<int> &pids)
{
    db::DbTransaction transaction(db);
    for (const int pid : pids) {
        CADOCommand command(&db, u"qz_DeleteWagePsnByID"_s);
        command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, sid);
        command.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, period);
        command.AddParameterInt(u"PID"_s, adInteger, adParamInput, 4, pid);
        if (const Status done = commandStatus(command); !done)
            return done;
    }
    return transaction.commit() ? Status() : Status::failure(db.GetLastErrorString());
}

Result<QVector<int>> OtherWagePeriods(CADODatabase &db, int sid, int period)
{
    const db::QueryResult found
        = db.run(u"SELECT fDate FROM qz_WageTable WHERE SID = ? AND fDate <> ?"
                 u" ORDER BY fDate DESC"_s,
                 { sid, period });
    if (!found.ok)
        return Result<QVector<int>>::failure(found.error.description);
    QVector<int> periods;
    for (int row = 0; row < found.rows.rowCount(); ++row)
        periods << found.rows.value(row, 0).toInt();
    return periods;
}

WagePeriodAddList::WagePeriodAddList(CADODatabase &db, int sid, int period)
    : PsnPickList(db), m_sid(sid), m_period(period)
{
}

Status WagePeriodAddList::build(int did)
{
    CADOCommand command(&m_db, u"qz_CreateWageTmpTableForAddPsn"_s);
    command.AddParameterText(u"TmpTableName"_s, adVarChar, adParamInput, 200, m_key);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_sid);
    command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, did);
    command.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, m_period);
    return commandStatus(command);
}

Result<int> WagePeriodAddList::add(int prePeriod)
{
    db::DbTransaction transaction(m_db);
    CADOCommand add(&m_db, u"qz_AddWagePsnFromTmpTable"_s);
    add.AddParameterText(u"TmpTableName"_s, adVarChar, adParamInput, 200, m_key);
    add.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_sid);
    add.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, m_period);
    if (!add.Execute())
        return Result<int>::failure(add.GetLastErrorString());
    const int added = int(add.GetRecordsAffected());
    if (prePeriod > 0) {
        CADOCommand takeOver(&m_db, u"qz_UpdateWageTmpTableForAddPsn"_s);
        takeOver.AddParameterText(u"TmpTableName"_s, adVarChar, adParamInput, 200, m_key);
        takeOver.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_sid);
        takeOver.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, m_period);
        takeOver.AddParameterInt(u"nPreFDate"_s, adInteger, adParamInput, 4, prePeriod);
        if (!takeOver.Execute())
            return Result<int>::failure(takeOver.GetLastErrorString());
    }
    if (!transaction.commit())
        return Result<int>::failure(m_db.GetLastErrorString());
    return added;
}

} // namespace vantrel::payroll
