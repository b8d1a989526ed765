#include "core/query/ordermoves.h"

#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/itemmetadata.h"

using namespace vantrel;
using namespace vantrel::db;
using namespace Qt::StringLiterals;

namespace {

Status checkNames(const OrderColumns &list)
{
    if (!IsSqlIdentifier(list.table) || !IsSqlIdentifier(list.keyColumn)
        || !IsSqlIdentifier(list.orderColumn))
        return Status::failure(u"Invalid list for an order move: %1 (%2, %3)."_s.arg(
            list.table, list.keyColumn, list.orderColumn));
    const QStringList columns = theDatabase.catalog().columns(list.table);
    if (!columns.contains(list.keyColumn, Qt::CaseInsensitive)
        || !columns.contains(list.orderColumn, Qt::CaseInsensitive))
        return Status::failure(u"The table %1 has no columns %2 and %3."_s.arg(
            list.table, list.keyColumn, list.orderColumn));
    return {};
}

QString groupClause(const OrderColumns &list)
{
    return list.groupCondition.isEmpty() ? QString() : u" AND (%1)"_s.arg(list.groupCondition);
}

Status execute(const QString &sql, const QVariantList &values)
{
    if (theDatabase.Execute(sql, values))
        return {};
    return Status::failure(theDatabase.GetLastErrorString());
}

// The first column of the one row the query returns; an invalid variant for NULL.
Result<QVariant> readValue(const QString &sql, const QVariantList &values)
{
    CADORecordset rs(&theDatabase);
    if (!rs.Open(sql, values))
        return Result<QVariant>::failure(rs.GetLastErrorString());
    if (rs.IsEof())
        return Result<QVariant>::failure(u"The row to move no longer exists."_s);
    QVariant value;
    if (!rs.IsFieldNull(0) && !rs.GetFieldValueVariant(0, value))
        return Result<QVariant>::failure(rs.GetLastErrorString());
    return value;
}

Result<int> readOrder(const OrderColumns &list, int key)
{
    const Result<QVariant> value = readValue(
        u"SELECT %1 FROM %2 WHERE %3 = ?"_s.arg(list.orderColumn, list.table, list.keyColumn),
        { key });
    if (!value)
        return Result<int>::failure(value.error());
    return value->toInt();
}

Status setOrder(const OrderColumns &list, int key, int order)
{
    return execute(
        u"UPDATE %1 SET %2 = ? WHERE %3 = ?"_s.arg(list.table, list.orderColumn, list.keyColumn),
        { order, key });
}

Status commit(DbTransaction &transaction)
{
    if (transaction.commit())
        return {};
    return Status::failure(theDatabase.GetLastErrorString());
}

Result<int> moveToEnd(const OrderColumns &list, int key, bool top)
{
    if (Status names = checkNames(list); !names)
        return Result<int>::failure(names.error());
    DbTransaction transaction(theDatabase);
    if (!transaction.isActive())
        return Result<int>::failure(theDatabase.GetLastErrorString());
    const Result<int> own = readOrder(list, key);
    if (!own)
        return own;
    // The end of the other rows of the group.
    const Result<QVariant> end = readValue(u"SELECT %1(%2) FROM %3 WHERE %4 <> ?%5"_s.arg(
                                               top ? u"MIN"_s : u"MAX"_s, list.orderColumn,
                                               list.table, list.keyColumn, groupClause(list)),
                                           QVariantList { key } + list.groupValues);
    if (!end)
        return Result<int>::failure(end.error());
    if (!end->isValid() || (top ? *own < end->toInt() : *own > end->toInt()))
        return own;
    const int order = top ? end->toInt() - 1 : end->toInt() + 1;
    if (Status written = setOrder(list, key, order); !written)
        return Result<int>::failure(written.error());
    if (Status done = commit(transaction); !done)
        return Result<int>::failure(done.error());
    return order;
}

} // namespace

Status ExchangeOrder(const OrderColumns &list, int keyA, int keyB)
{
    if (Status names = checkNames(list); !names)
        return names;
    DbTransaction transaction(theDatabase);
    if (!transaction.isActive())
        return Status::failure(theDatabase.GetLastErrorString());
    const Result<int> orderA = readOrder(list, keyA);
    if (!orderA)
        return Status::failure(orderA.error());
    const Result<int> orderB = readOrder(list, keyB);
    if (!orderB)
        return Status::failure(orderB.error());
    if (Status written = setOrder(list, keyA, *orderB); !written)
        return written;
    if (Status written = setOrder(list, keyB, *orderA); !written)
        return written;
    return commit(transaction);
}

Result<int> MoveOrderToTop(const OrderColumns &list, int key)
{
    return moveToEnd(list, key, true);
}

Result<int> MoveOrderToBottom(const OrderColumns &list, int key)
{
    return moveToEnd(list, key, false);
}

Status MoveOrderPosition(const OrderColumns &list, int keyMove, int keyTarget)
{
    if (Status names = checkNames(list); !names)
        return names;
    DbTransaction transaction(theDatabase);
    if (!transaction.isActive())
        return Status::failure(theDatabase.GetLastErrorString());
    const Result<int> from = readOrder(list, keyMove);
    if (!from)
        return Status::failure(from.error());
    const Result<int> to = readOrder(list, keyTarget);
    if (!to)
        return Status::failure(to.error());
    if (*from == *to)
        return {};
    // Moving down, the rows after A up to B close the gap; moving up, B up to A make room.
    const bool down = *from < *to;
    const QString shift = down ? u"UPDATE %1 SET %2 = %2 - 1 WHERE (%2 > ? AND %2 <= ?)%3"_s
                               : u"UPDATE %1 SET %2 = %2 + 1 WHERE (%2 >= ? AND %2 < ?)%3"_s;
    const QVariantList bounds = down ? QVariantList { *from, *to } : QVariantList { *to, *from };
    if (Status shifted = execute(shift.arg(list.table, list.orderColumn, groupClause(list)),
                                 bounds + list.groupValues);
        !shifted)
        return shifted;
    if (Status written = setOrder(list, keyMove, *to); !written)
        return written;
    return commit(transaction);
}
