#include "personnel/relatarc.h"

#include "core/app/currentuser.h"
#include "core/app/purview.h"
#include "core/db/cadodatabase.h"
#include "core/db/procedureregistry.h"
#include "core/db/sqlidentifier.h"
#include "core/query/querybuilders.h"
#include "core/util/stringtable.h"

using namespace Qt::StringLiterals;
using vantrel::db::ProcedureContext;

namespace vantrel::personnel {

Result<QString> CheckedRelatTable(CADODatabase &db, const QString &table)
{
    const db::QueryResult result = db.run(
        u"SELECT TblName FROM qz_Table WHERE nType = 5 AND upper(TblName) = upper(?)"_s, { table });
    if (!result.ok)
        return Result<QString>::failure(result.error.description);
    const QString stored = result.rows.value(0, 0).toString();
    return IsSqlIdentifier(stored) ? stored : QString();
}

Result<RelatColumns> BuildRelatColumnList(CADODatabase &db, const QString &table)
{
    const db::QueryResult result
        = db.run(u"SELECT Name, Alias, iWid FROM qz_Items WHERE upper(TblName) = upper(?)"
                 " ORDER BY Ord, ItemID"_s,
                 { table });
    if (!result.ok)
        return Result<RelatColumns>::failure(result.error.description);
    RelatColumns columns;
    columns.selectList = u"ID"_s;
    columns.widths << 20;
    for (int row = 0; row < result.rows.rowCount(); ++row) {
        const QString name = result.rows.value(row, 0).toString();
        if (!IsSqlIdentifier(name) || name.compare(u"ID"_s, Qt::CaseInsensitive) == 0
            || name.compare(u"Ord"_s, Qt::CaseInsensitive) == 0
            || name.compare(u"PID"_s, Qt::CaseInsensitive) == 0)
            continue;
        columns.selectList
            += u", "_s + name + u" AS "_s + QuoteCaption(result.rows.value(row, 1).toString());
        columns.widths << result.rows.value(row, 2).toInt();
    }
    columns.selectList += u", Ord"_s;
    columns.widths << 0;
    return columns;
}

QString BuildRelatSelectSql(const QString &table, const RelatColumns &columns)
{
    return u"SELECT %1 FROM %2 WHERE PID = ? ORDER BY Ord, ID"_s.arg(columns.selectList, table);
}

Result<QVector<WageSetTab>> LoadVisibleWageSets(CADODatabase &db, const CCurrentUser &user)
{
    const db::QueryResult result
        = db.run(u"SELECT ID, Title FROM qz_Table WHERE nType = 6 ORDER BY Ord, ID"_s);
    if (!result.ok)
        return Result<QVector<WageSetTab>>::failure(result.error.description);
    QVector<WageSetTab> sets;
    for (int row = 0; row < result.rows.rowCount(); ++row) {
        const int id = result.rows.value(row, 0).toInt();
        if (user.ISuper || Purview::listContains(user.wageSetList(), id))
            sets.append({ id, result.rows.value(row, 1).toString() });
    }
    return sets;
}

Result<WageHistoryQuery> BuildWageHistoryQuery(CADODatabase &db, int wageSetId, int pid)
{
    const db::QueryResult table
        = db.run(u"SELECT TblName FROM qz_Table WHERE nType = 6 AND ID = ?"_s, { wageSetId });
    if (!table.ok)
        return Result<WageHistoryQuery>::failure(table.error.description);
    const QString name = table.rows.value(0, 0).toString();
    if (!IsSqlIdentifier(name))
        return Result<WageHistoryQuery>::failure(
            u"The wage set %1 has no data table."_s.arg(wageSetId));
    const db::QueryResult items
        = db.run(u"SELECT Name, Alias FROM qz_Items WHERE upper(TblName) = upper(?)"
                 " ORDER BY Ord, ItemID"_s,
                 { name });
    if (!items.ok)
        return Result<WageHistoryQuery>::failure(items.error.description);
    QString list;
    for (int row = 0; row < items.rows.rowCount(); ++row) {
        const QString column = items.rows.value(row, 0).toString();
        if (IsSqlIdentifier(column))
            list += u", %1.%2 AS %3"_s.arg(name, column,
                                           QuoteCaption(items.rows.value(row, 1).toString()));
    }
    WageHistoryQuery query;
    query.sql
        = u"SELECT qz_PsnBase.PID, %1.fDate AS %2%3 FROM %1"
          " INNER JOIN qz_PsnBase ON %1.PID = qz_PsnBase.PID"
          " INNER JOIN qz_Dept ON %1.DID = qz_Dept.DID"
          " WHERE %1.PID = ? ORDER BY %1.fDate DESC"_s.arg(name, QuoteCaption(u"薪资期间"_s), list);
    query.values = { pid };
    return query;
}

FormSaveResult SaveRelatRecord(CADODatabase &db, const QString &table, int pid, int key,
                               const CItemInfoArray &items, const FieldContents &contents)
{
    const Result<QString> checked = CheckedRelatTable(db, table);
    if (!checked || checked->isEmpty() || items.size() != contents.size())
        return FormSaveResult::failed({ SaveErrorMessage(checked ? QString() : checked.error()) });
    if (key != 0)
        return SaveFormRecord(db, *checked, u"ID"_s, key, items, contents);
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < items.size(); ++i) {
        const Result<QVariant> value = StoredValueFromContent(items.at(i), contents.at(i));
        if (!value)
            return FormSaveResult::failed(ConversionMessages(items.at(i), value.error()));
        columns << items.at(i).Name;
        values << *value;
    }
    columns << u"PID"_s;
    values << pid;
    db::DbTransaction transaction(db);
    const RowWrite write = WriteFormRow(db, *checked, u"ID"_s, 0, columns, values);
    if (write.outcome != RowWrite::Written)
        return FormSaveResult::failed({ SaveErrorMessage(write.error) });
    // Last in the person's order: its own id is above every Ord given so far.
    if (!db.Execute(u"UPDATE %1 SET Ord = ? WHERE ID = ?"_s.arg(*checked), { write.key, write.key })
        || !transaction.commit())
        return FormSaveResult::failed({ SaveErrorMessage(db.GetLastErrorString()) });
    FormSaveResult saved;
    saved.key = write.key;
    return saved;
}

Result<bool> DeleteRelatRow(CADODatabase &db, const QString &table, int id, int pid)
{
    const Result<QString> checked = CheckedRelatTable(db, table);
    if (!checked)
        return Result<bool>::failure(checked.error());
    if (checked->isEmpty())
        return Result<bool>::failure(u"'%1' is no related-archive table."_s.arg(table));
    const db::QueryResult result
        = db.run(u"DELETE FROM %1 WHERE ID = ? AND PID = ?"_s.arg(*checked), { id, pid });
    if (!result.ok)
        return Result<bool>::failure(result.error.description);
    return result.rowsAffected > 0;
}

namespace {

bool refreshPsnRelatOrder(ProcedureContext &ctx)
{
    const QString requested = ctx.input(0).toString();
    const Result<QString> table = CheckedRelatTable(ctx.db(), requested);
    if (!table)
        return ctx.fail(table.error());
    if (table->isEmpty())
        return ctx.fail(u"'%1' is no related-archive table."_s.arg(requested));
    const QVariant pid = ctx.input(1).toInt();
    if (!ctx.select(u"SELECT ID FROM %1 WHERE PID = ? ORDER BY Ord, ID"_s.arg(*table), { pid }))
        return false;
    const db::RowSet rows = ctx.takeResult();
    for (int row = 0; row < rows.rowCount(); ++row) {
        if (!ctx.exec(u"UPDATE %1 SET Ord = ? WHERE ID = ?"_s.arg(*table),
                      { row + 1, rows.value(row, 0) }))
            return false;
    }
    return true;
}

} // namespace

void registerRelatProcedures()
{
    db::ProcedureRegistry::instance().add(u"qz_RefreshPsnRelatOrder"_s, refreshPsnRelatOrder);
}

} // namespace vantrel::personnel
