#include "core/query/itemmetadata.h"

#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/scalarqueries.h"

using namespace Qt::StringLiterals;

namespace {

int intAt(CADORecordset &rs, int index)
{
    int value = 0;
    if (!rs.GetFieldValueInt(index, value))
        value = 0;
    return value;
}

QString textAt(CADORecordset &rs, int index)
{
    QString value;
    if (!rs.GetFieldValueText(index, value))
        value.clear();
    return value;
}

} // namespace

bool LoadItemInfos(CItemInfoArray &items, const QString &condition, const QVariantList &values)
{
    CADORecordset rs(&theDatabase);
    if (!rs.Open(u"SELECT ItemID, Name, Alias, iDataType, iDec, iChoice, TblName FROM qz_Items "_s
                     + condition,
                 values))
        return false;
    items.reserve(items.size() + rs.GetRecordCount());
    for (; !rs.IsEof(); rs.MoveNext()) {
        tagVANTRELITEMINFO item;
        item.ItemID = intAt(rs, 0);
        item.Name = textAt(rs, 1);
        item.Alias = textAt(rs, 2);
        // The 16-bit fields keep the low 16 bits, as a narrowing store does.
        item.iDataType = short(intAt(rs, 3));
        item.iDec = short(intAt(rs, 4));
        item.iChoice = short(intAt(rs, 5));
        item.TblName = textAt(rs, 6);
        items.append(item);
    }
    return true;
}

bool LoadTableItemInfos(CItemInfoArray &items, const QString &tableName)
{
    return LoadItemInfos(items, u"WHERE upper(TblName) = upper(?) AND iDataType < 4 ORDER BY Ord"_s,
                         { tableName });
}

QString GetItemNameByTitleAlias(const QString &reference)
{
    const qsizetype dot = reference.indexOf(u'.');
    const QString title = dot < 0 ? QString() : reference.left(dot);
    const QString alias = dot < 0 ? reference : reference.mid(dot + 1);
    CADORecordset rs(&theDatabase);
    QString name;
    if (rs.Open(u"SELECT qz_Items.Name FROM qz_Items INNER JOIN qz_Table"
                " ON upper(qz_Items.TblName) = upper(qz_Table.TblName)"
                " WHERE upper(qz_Table.Title) = upper(?) AND upper(qz_Items.Alias) = upper(?)"
                " ORDER BY qz_Items.ItemID LIMIT 1"_s,
                { title, alias })
        && !rs.IsEof() && rs.GetFieldValueText(0, name))
        return name;
    return alias;
}

QString GetItemAlias(const QString &tableName, const QString &columnName, CADODatabase *db)
{
    return GetScalarText(u"SELECT Alias FROM qz_Items"
                         " WHERE upper(TblName) = upper(?) AND upper(Name) = upper(?)"
                         " ORDER BY ItemID LIMIT 1"_s,
                         { tableName, columnName }, db)
        .valueOr({});
}

int GetItemWidth(const QString &columnName, const QString &tableName)
{
    QString sql = u"SELECT iWid FROM qz_Items WHERE upper(Name) = upper(?)"_s;
    QVariantList values { columnName };
    if (!tableName.isEmpty()) {
        sql += u" AND upper(TblName) = upper(?)"_s;
        values << tableName;
    }
    const QVariant width
        = GetScalarVariant(sql + u" ORDER BY ItemID LIMIT 1"_s, values).valueOr({});
    bool ok = false;
    const int pixels = width.toInt(&ok);
    return ok ? pixels : 50;
}

QString GetTableTitle(const QString &qualifiedColumn)
{
    const qsizetype dot = qualifiedColumn.indexOf(u'.');
    const QString table = dot < 0 ? QString() : qualifiedColumn.left(dot);
    return GetScalarText(
               u"SELECT Title FROM qz_Table WHERE upper(TblName) = upper(?) ORDER BY ID LIMIT 1"_s,
               { table })
        .valueOr({});
}

vantrel::Result<bool> IsKnownDataTable(const QString &tableName)
{
    if (!IsSqlIdentifier(tableName))
        return false;
    const ScalarAnswer<int> count = GetScalarInt(
        u"SELECT COUNT(*) FROM qz_Table WHERE upper(TblName) = upper(?)"_s, { tableName });
    if (count.failed())
        return vantrel::Result<bool>::failure(count.error());
    return count.valueOr(0) > 0;
}
