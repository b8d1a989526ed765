#include "personnel/wakeupservice.h"

#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadoparameter.h"
#include "core/db/procedureregistry.h"
#include "core/db/sqlidentifier.h"
#include "core/query/querybuilders.h"

#include <QElapsedTimer>
#include <QSqlDriver>
#include <QUuid>

#include <sqlite3.h>

using namespace Qt::StringLiterals;
namespace ErrorCode = vantrel::db::ErrorCode;
using vantrel::db::ErrorInfo;
using vantrel::db::ProcedureContext;
using vantrel::db::QueryResult;

namespace vantrel::personnel {

namespace {

sqlite3 *sqliteHandle(CADODatabase &db)
{
    const QVariant handle = db.GetActiveConnection().driver()->handle();
    return handle.isValid() ? *static_cast<sqlite3 *const *>(handle.constData()) : nullptr;
}

struct Deadline
{
    QElapsedTimer clock;
    const QueryBound *bound;
    bool expired = false;
};

int interruptWhenLate(void *context)
{
    auto *deadline = static_cast<Deadline *>(context);
    if (deadline->bound->cancel && deadline->bound->cancel->load())
        return 1;
    deadline->expired = deadline->clock.elapsed() > deadline->bound->ms;
    return deadline->expired ? 1 : 0;
}

QueryResult overTheBound(const QueryBound &bound)
{
    return QueryResult::failure(
        ErrorInfo::make(ErrorCode::Failed,
                        u"The query ran longer than %1 s and was stopped."_s.arg(bound.ms / 1000)));
}

QueryResult runSqliteGuarded(CADODatabase &db, const QString &sql, const QVariantList &values,
                             const QueryBound &bound)
{
    sqlite3 *handle = sqliteHandle(db);
    if (!handle || sqlite3_db_readonly(handle, "main") != 1)
        return QueryResult::failure(ErrorInfo::make(
            ErrorCode::Failed, u"This query runs only on a connection opened read-only."_s));
    Deadline deadline { {}, &bound };
    deadline.clock.start();
    sqlite3_progress_handler(handle, 1000, interruptWhenLate, &deadline);
    QueryResult result = db.run(sql, values);
    sqlite3_progress_handler(handle, 0, nullptr, nullptr);
    if (!result.ok && deadline.expired)
        return overTheBound(bound);
    return result;
}

QueryResult runPostgresGuarded(CADODatabase &db, const QString &sql, const QVariantList &values,
                               const QueryBound &bound)
{
    if (db.transactionDepth() > 0)
        return QueryResult::failure(ErrorInfo::make(
            ErrorCode::Failed, u"This query needs a connection without an open transaction."_s));
    QueryResult result = db.run(u"START TRANSACTION READ ONLY"_s);
    if (result.ok)
        result = db.run(u"SET LOCAL statement_timeout = %1"_s.arg(bound.ms));
    if (result.ok) {
        result = db.run(sql, values);
        // 57014: canceled by the statement timeout.
        if (!result.ok && result.error.description.contains(u"(57014)"))
            result = overTheBound(bound);
    }
    db.run(u"ROLLBACK"_s);
    return result;
}

// WTable.WField must be a date item of a person table before the names enter a statement.
Result<bool> isPersonDateItem(CADODatabase &db, const QString &table, const QString &column)
{
    if (!IsSqlIdentifier(table) || !IsSqlIdentifier(column))
        return false;
    const QueryResult found
        = db.run(u"SELECT COUNT(*) FROM qz_Items INNER JOIN qz_Table"
                 " ON upper(qz_Table.TblName)=upper(qz_Items.TblName)"
                 " WHERE qz_Table.nType=4 AND qz_Items.iDataType=2"
                 " AND upper(qz_Items.TblName)=upper(?) AND upper(qz_Items.Name)=upper(?)"_s,
                 { table, column });
    if (!found.ok)
        return Result<bool>::failure(found.error.description);
    return found.scalar().toInt() > 0;
}

// ",<column> AS <alias>" per shown person item, with their widths.
Result<QString> personListColumns(CADODatabase &db, QVector<int> *widths)
{
    const QueryResult items
        = db.run(u"SELECT Name,Alias,iDataType,iWid,IdRef FROM qz_Items"
                 " WHERE UPPER(TblName)='QZ_PSNBASE' AND bShow=1 ORDER BY Ord"_s);
    if (!items.ok)
        return Result<QString>::failure(items.error.description);
    QString list;
    for (int row = 0; row < items.rows.rowCount(); ++row) {
        const QString name = items.rows.text(row, 0);
        QString column = u"qz_PsnBase."_s + name;
        if (items.rows.value(row, 2).toInt() == 4)
            column = items.rows.text(row, 4).section(u'.', 0, 0) + u".Name"_s;
        if (!IsSqlIdentifier(name) || !IsSqlIdentifier(column.section(u'.', 0, 0)))
            continue;
        list += u',' + column + u" AS "_s + QuoteCaption(items.rows.text(row, 1));
        widths->append(items.rows.value(row, 3).toInt());
    }
    return list;
}

} // namespace

bool OpenWakeupConnection(CADODatabase &db, const QString &connectionString)
{
    return db.OpenReadOnly(connectionString);
}

QueryResult RunGuardedQuery(CADODatabase &db, const QString &sql, const QVariantList &values,
                            const QueryBound &bound)
{
    if (!db.IsOpen())
        return QueryResult::failure(
            ErrorInfo::make(ErrorCode::ObjectClosed, u"The connection is closed."_s));
    return db.backend() == db::Backend::Postgres ? runPostgresGuarded(db, sql, values, bound)
                                                 : runSqliteGuarded(db, sql, values, bound);
}

Result<QVector<tagWAKEUPITEM>> LoadWakeupItems(CADODatabase &db)
{
    const QueryResult result
        = db.run(u"SELECT ID,Title,WTips,WTable,WField,BefDays,ISCustom,WCondit,Ord"
                 " FROM qz_PsnCaseWakeup ORDER BY Ord, ID"_s);
    if (!result.ok)
        return Result<QVector<tagWAKEUPITEM>>::failure(result.error.description);
    QVector<tagWAKEUPITEM> items;
    const db::RowSet &rows = result.rows;
    for (int row = 0; row < rows.rowCount(); ++row) {
        tagWAKEUPITEM item;
        item.ID = rows.value(row, 0).toInt();
        item.Title = rows.text(row, 1);
        item.WTips = rows.text(row, 2);
        item.WTable = rows.text(row, 3);
        item.WField = rows.text(row, 4);
        item.BefDays = rows.value(row, 5).toInt();
        item.ISCustom = rows.value(row, 6).toInt() != 0;
        item.WCondit = rows.text(row, 7);
        item.Ord = rows.value(row, 8).toInt();
        items.append(item);
    }
    return items;
}

Result<SqlCondition> BuildWakeupCondition(CADODatabase &db, const tagWAKEUPITEM &item,
                                          const QDate &today)
{
    if (item.ISCustom) {
        if (item.WCondit.trimmed().isEmpty())
            return SqlCondition {};
        if (item.WCondit.contains(u';'))
            return Result<SqlCondition>::failure(u"自定义条件中不能含有';'!"_s);
        // The operator's own SQL; the parentheses keep it one condition.
        return SqlCondition { u" WHERE ("_s + item.WCondit + u')', {} };
    }
    const Result<bool> dateItem = isPersonDateItem(db, item.WTable, item.WField);
    if (!dateItem)
        return Result<SqlCondition>::failure(dateItem.error());
    if (!*dateItem)
        return Result<SqlCondition>::failure(
            u"%1.%2 is not a date item of a person table."_s.arg(item.WTable, item.WField));
    const QString column = item.WTable + u'.' + item.WField;
    // From tomorrow's midnight up to the midnight after the last day, so a date stored with a
    // time counts by its day; BefDays 0 or less leaves the window empty.
    const auto &dialect = db.dialect();
    return SqlCondition { u" WHERE ("_s + dialect.dateTimeComparison(column, u">=") + u" AND "_s
                              + dialect.dateTimeComparison(column, u"<") + u')',
                          { today.addDays(1).startOfDay(),
                            today.addDays(1 + qMax(0, item.BefDays)).startOfDay() } };
}

int CountWakeupPersons(CADODatabase &db, const tagWAKEUPITEM &item, const QDate &today,
                       const QueryBound &bound)
{
    const Result<SqlCondition> where = BuildWakeupCondition(db, item, today);
    if (!where || where->isEmpty())
        return -1;
    const QueryResult count = RunGuardedQuery(
        db, u"SELECT COUNT(*)"_s + BuildPsnFromClause(false) + where->sql, where->values, bound);
    return count.hasRow() ? count.scalar().toInt() : -1;
}

Result<QVector<tagWAKEUPROW>> CountWakeupRows(CADODatabase &db, const QDate &today,
                                              const QueryBound &bound)
{
    const Result<QVector<tagWAKEUPITEM>> items = LoadWakeupItems(db);
    if (!items)
        return Result<QVector<tagWAKEUPROW>>::failure(items.error());
    QVector<tagWAKEUPROW> rows;
    for (const tagWAKEUPITEM &item : *items) {
        if (bound.cancel && bound.cancel->load())
            break;
        rows.append({ item, CountWakeupPersons(db, item, today, bound) });
    }
    return rows;
}

namespace {

// A connection of the calling thread's own for one piece of work.
template<typename T, typename Work>
Result<T> onOwnConnection(const QString &connectionString, Work work)
{
    CADODatabase db;
    if (!OpenWakeupConnection(db, connectionString))
        return Result<T>::failure(db.GetLastErrorString());
    Result<T> result = work(db);
    db.Close();
    return result;
}

} // namespace

Result<QVector<tagWAKEUPROW>> CountWakeupRows(const QString &connectionString, const QDate &today,
                                              const QueryBound &bound)
{
    return onOwnConnection<QVector<tagWAKEUPROW>>(
        connectionString, [&](CADODatabase &db) { return CountWakeupRows(db, today, bound); });
}

Result<WakeupPersonList> ListWakeupPersons(CADODatabase &db, const tagWAKEUPITEM &item,
                                           const QDate &today, const QueryBound &bound)
{
    const Result<SqlCondition> where = BuildWakeupCondition(db, item, today);
    if (!where)
        return Result<WakeupPersonList>::failure(where.error());
    WakeupPersonList list;
    if (where->isEmpty()) {
        list.noCondition = true;
        return list;
    }
    const Result<QString> columns = personListColumns(db, &list.widths);
    if (!columns)
        return Result<WakeupPersonList>::failure(columns.error());
    const QueryResult result = RunGuardedQuery(
        db,
        u"SELECT qz_PsnBase.PID,qz_PsnBase.DID,qz_PsnBase.AID"_s + *columns
            + BuildPsnFromClause(false) + where->sql + u" ORDER BY qz_Dept.Ord,qz_PsnBase.Ord"_s,
        where->values, bound);
    if (!result.ok)
        return Result<WakeupPersonList>::failure(result.error.description);
    list.rows = result.rows;
    return list;
}

Result<WakeupPersonList> ListWakeupPersons(const QString &connectionString,
                                           const tagWAKEUPITEM &item, const QDate &today,
                                           const QueryBound &bound)
{
    return onOwnConnection<WakeupPersonList>(connectionString, [&](CADODatabase &db) {
        return ListWakeupPersons(db, item, today, bound);
    });
}

WakeupSave SaveWakeupItem(CADODatabase &db, const tagWAKEUPITEM &item, int *id, QString *error)
{
    CADOCommand command(&db, u"qz_AddWakeupItem"_s);
    CADOParameter result(adInteger, 4, adParamReturnValue, u"RETURN_VALUE"_s);
    command.AddParameterObject(&result);
    command.AddParameterInt(u"ID"_s, adInteger, adParamInput, 4, item.ID);
    command.AddParameterText(u"Title"_s, adVarChar, adParamInput, 200, item.Title);
    command.AddParameterText(u"WTable"_s, adVarChar, adParamInput, 100, item.WTable);
    command.AddParameterText(u"WField"_s, adVarChar, adParamInput, 100, item.WField);
    command.AddParameterInt(u"BefDays"_s, adInteger, adParamInput, 4, item.BefDays);
    command.AddParameterInt(u"ISCustom"_s, adBoolean, adParamInput, 1, item.ISCustom ? 1 : 0);
    command.AddParameterText(u"WCondit"_s, adLongVarWChar, adParamInput, -1, item.WCondit);
    if (!command.Execute()) {
        if (error)
            *error = command.GetLastErrorString();
        return WakeupSave::Failed;
    }
    const int saved = result.GetValue().toInt();
    if (id)
        *id = saved;
    return saved > 0 ? WakeupSave::Saved : WakeupSave::Vanished;
}

WakeupSave DeleteWakeupItem(CADODatabase &db, int id, QString *error)
{
    if (!db.Execute(u"DELETE FROM qz_PsnCaseWakeup WHERE ID=?"_s, { id })) {
        if (error)
            *error = db.GetLastErrorString();
        return WakeupSave::Failed;
    }
    return db.GetRecordsAffected() > 0 ? WakeupSave::Saved : WakeupSave::Vanished;
}

namespace {

bool addWakeupItem(ProcedureContext &ctx)
{
    const int id = ctx.input(u"ID"_s).toInt();
    const QString condition = ctx.input(u"WCondit"_s).toString();
    QVariantList values { ctx.input(u"Title"_s).toString(),
                          ctx.input(u"WTable"_s).toString(),
                          ctx.input(u"WField"_s).toString(),
                          ctx.input(u"BefDays"_s).toInt(),
                          ctx.input(u"ISCustom"_s).toInt() != 0 ? 1 : 0,
                          condition.isEmpty() ? QVariant() : QVariant(condition) };
    if (id <= 0) {
        const QueryResult inserted = ctx.db().run(
            u"INSERT INTO qz_PsnCaseWakeup (Title,WTable,WField,BefDays,ISCustom,WCondit)"
            " VALUES (?,?,?,?,?,?) RETURNING ID"_s,
            values);
        if (!inserted.hasRow())
            return ctx.fail(inserted.ok ? u"The insert returned no ID."_s
                                        : inserted.error.description);
        ctx.setReturnValue(inserted.scalar().toInt());
        return true;
    }
    values << id;
    if (!ctx.exec(u"UPDATE qz_PsnCaseWakeup SET Title=?,WTable=?,WField=?,BefDays=?,ISCustom=?,"
                  "WCondit=? WHERE ID=?"_s,
                  values))
        return false;
    // No row: deleted meanwhile by another operator.
    ctx.setReturnValue(ctx.recordsAffected() > 0 ? id : 0);
    return true;
}

} // namespace

void registerWakeupProcedures()
{
    db::ProcedureRegistry::instance().add(u"qz_AddWakeupItem"_s, addWakeupItem);
}

} // namespace vantrel::personnel
