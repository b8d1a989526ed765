#include "core/payroll/wagesetschema.h"

#include "core/db/cadodatabase.h"
#include "core/payroll/wageitemdefinition.h"
#include "core/query/itemmetadata.h"
#include "core/query/scalarqueries.h"

#include <QUuid>

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

namespace {

QString failureText(CADODatabase &db, const QString &what)
{
    return what + u"\n"_s + db.GetLastErrorString();
}

QString columnType(CADODatabase &db, short dataType)
{
    switch (dataType) {
    case ItemNumber:
        return u"DOUBLE PRECISION"_s;
    case ItemDate:
        return db.dialect().ddl(u"%DATETIME%"_s);
    case ItemDictionary:
        return u"VARCHAR(100)"_s;
    default:
        return u"VARCHAR(255)"_s;
    }
}

// One past the largest order number so far (1 for the first).
Result<int> nextOrder(CADODatabase &db, const QString &sql, const QVariantList &values)
{
    const ScalarAnswer<int> last = GetScalarInt(sql, values, &db);
    if (last.failed())
        return Result<int>::failure(last.error());
    return last.valueOr(0) + 1;
}

} // namespace

QString WageSetDataTableName(int sid)
{
    return u"qz_WageData%1"_s.arg(sid);
}

QString WageItemColumnName(int itemId)
{
    return u"F%1"_s.arg(itemId);
}

Result<QString> CheckedWageSetTable(CADODatabase &db, int sid)
{
    const ScalarAnswer<QString> table
        = GetScalarText(u"SELECT TblName FROM qz_Table WHERE ID = ? AND nType = ?"_s,
                        { sid, WageSetTableType }, &db);
    if (table.failed())
        return Result<QString>::failure(table.error());
    const QString name = table.valueOr({});
    return IsSqlIdentifier(name) ? name : QString();
}

Status CreateWageSetDataTable(CADODatabase &db, int sid)
{
    const Result<QString> checked = CheckedWageSetTable(db, sid);
    if (!checked)
        return Status::failure(checked.error());
    const QString table = *checked;
    if (table.isEmpty())
        return Status::failure(u"Wage set %1 has no valid data table name."_s.arg(sid));
    db::DbTransaction transaction(db);
    const QStringList statements = {
        db.dialect().ddl(u"CREATE TABLE %1 (ID %IDENTITY%, PID INTEGER NOT NULL, "
                         "fDate INTEGER NOT NULL, DID INTEGER NOT NULL DEFAULT 0, "
                         "AID INTEGER NOT NULL DEFAULT 0, Ord INTEGER NOT NULL DEFAULT 0, "
                         "UNIQUE (PID, fDate))%UPDATEROOM%"_s.arg(table)),
        u"CREATE INDEX ix_%1_fDate ON %1 (fDate)"_s.arg(table),
    };
    for (const QString &statement : statements) {
        if (!db.Execute(statement))
            return Status::failure(
                failureText(db, u"The data table of wage set %1 could not be made."_s.arg(sid)));
    }
    db.catalog().invalidate();
    return transaction.commit() ? Status() : Status::failure(failureText(db, u"Commit failed."_s));
}

Result<int> AddWageSet(CADODatabase &db, const QString &title, const QString &description)
{
    db::DbTransaction transaction(db);
    const Result<int> order
        = nextOrder(db, u"SELECT MAX(Ord) FROM qz_Table WHERE nType = ?"_s, { WageSetTableType });
    if (!order)
        return Result<int>::failure(order.error());
    // The table name follows from the id, so the row first gets a name no other row has.
    const QString pending = u"pending_"_s + QUuid::createUuid().toString(QUuid::Id128);
    const int sid = InsertReturningId(
        u"qz_Table"_s, { u"TblName"_s, u"Title"_s, u"Descr"_s, u"nType"_s, u"Ord"_s },
        { pending, title, description, WageSetTableType, *order }, u"ID"_s, &db);
    if (sid <= 0)
        return Result<int>::failure(failureText(db, u"The wage set could not be added."_s));
    if (!db.Execute(u"UPDATE qz_Table SET TblName = ? WHERE ID = ?"_s,
                    { WageSetDataTableName(sid), sid }))
        return Result<int>::failure(failureText(db, u"The wage set could not be named."_s));
    const Status created = CreateWageSetDataTable(db, sid);
    if (!created)
        return Result<int>::failure(created.error());
    if (!transaction.commit())
        return Result<int>::failure(failureText(db, u"Commit failed."_s));
    return sid;
}

Result<int> AddWageItem(CADODatabase &db, int sid, const WageItemDefinition &item)
{
    const Result<QString> checked = CheckedWageSetTable(db, sid);
    if (!checked)
        return Result<int>::failure(checked.error());
    const QString table = *checked;
    if (table.isEmpty())
        return Result<int>::failure(u"Wage set %1 has no valid data table name."_s.arg(sid));
    db::DbTransaction transaction(db);
    const QString orderOf = u"SELECT MAX(%1) FROM qz_Items WHERE upper(TblName) = upper(?)"_s;
    const Result<int> order = nextOrder(db, orderOf.arg(u"Ord"_s), { table });
    const Result<int> calcOrder = nextOrder(db, orderOf.arg(u"OrdF"_s), { table });
    if (!order || !calcOrder)
        return Result<int>::failure(order ? calcOrder.error() : order.error());
    const QString pending = u"pending_"_s + QUuid::createUuid().toString(QUuid::Id128);
    const int itemId = InsertReturningId(
        u"qz_Items"_s,
        { u"iSort"_s, u"TblName"_s, u"Name"_s, u"Alias"_s, u"iDataType"_s, u"iDec"_s, u"iChoice"_s,
          u"IdRef"_s, u"iProperty"_s, u"FExp"_s, u"FExp2"_s, u"StdTblID"_s, u"Retain"_s,
          u"Active"_s, u"bShow"_s, u"Ord"_s, u"OrdF"_s },
        { WageItemSort, table, pending.left(30), item.alias, item.dataType, item.decimals,
          item.rounding, item.dictionaryCode, item.property, item.formula, item.formulaTyped,
          item.standardTableId, item.retain ? 1 : 0, item.active ? 1 : 0, item.shown ? 1 : 0,
          *order, *calcOrder },
        u"ItemID"_s, &db);
    const QString column = WageItemColumnName(itemId);
    if (itemId <= 0 || !IsSqlIdentifier(column)
        || !db.Execute(u"UPDATE qz_Items SET Name = ? WHERE ItemID = ?"_s, { column, itemId })
        || !db.Execute(
            u"ALTER TABLE %1 ADD COLUMN %2 %3"_s.arg(table, column, columnType(db, item.dataType))))
        return Result<int>::failure(
            failureText(db, u"The wage item '%1' could not be added."_s.arg(item.alias)));
    db.catalog().invalidate();
    if (!transaction.commit())
        return Result<int>::failure(failureText(db, u"Commit failed."_s));
    return itemId;
}

} // namespace vantrel::payroll
