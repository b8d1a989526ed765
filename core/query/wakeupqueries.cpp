#include "core/query/wakeupqueries.h"

#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/itemmetadata.h"
#include "core/query/querybuilders.h"
#include "core/query/scalarqueries.h"

using namespace Qt::StringLiterals;

namespace {

// The table and column enter the statement as names, so they must be a date item of a
// person table as the metadata describes it.
vantrel::Result<bool> isPersonDateItem(const QString &table, const QString &column)
{
    if (!IsSqlIdentifier(table) || !IsSqlIdentifier(column))
        return false;
    const ScalarAnswer<int> count
        = GetScalarInt(u"SELECT COUNT(*) FROM qz_Items INNER JOIN qz_Table"
                       " ON upper(qz_Table.TblName)=upper(qz_Items.TblName)"
                       " WHERE qz_Table.nType=4 AND qz_Items.iDataType=2"
                       " AND upper(qz_Items.TblName)=upper(?) AND upper(qz_Items.Name)=upper(?)"_s,
                       { table, column });
    if (count.failed())
        return vantrel::Result<bool>::failure(count.error());
    return count.valueOr(0) > 0;
}

} // namespace

bool LoadWakeupItems(QVector<tagWAKEUPITEM> &items)
{
    items.clear();
    CADORecordset rs(&theDatabase);
    if (!rs.Open(u"SELECT ID,Title,WTips,WTable,WField,BefDays,ISCustom,WCondit,Ord"
                 " FROM qz_PsnCaseWakeup ORDER BY Ord,ID"_s,
                 QVariantList {}))
        return false;
    for (; !rs.IsEof(); rs.MoveNext()) {
        tagWAKEUPITEM item;
        int custom = 0;
        rs.GetFieldValueInt(0, item.ID);
        rs.GetFieldValueText(1, item.Title);
        rs.GetFieldValueText(2, item.WTips);
        rs.GetFieldValueText(3, item.WTable);
        rs.GetFieldValueText(4, item.WField);
        rs.GetFieldValueInt(5, item.BefDays);
        rs.GetFieldValueInt(6, custom);
        rs.GetFieldValueText(7, item.WCondit);
        rs.GetFieldValueInt(8, item.Ord);
        item.ISCustom = custom != 0;
        items.append(item);
    }
    return true;
}

vantrel::Result<bool> BuildWakeupCondition(const tagWAKEUPITEM &item, const QDate &today,
                                           QString *where, QVariantList *values)
{
    values->clear();
    if (item.ISCustom) {
        if (item.WCondit.trimmed().isEmpty())
            return false;
        // The operator's own SQL; the parentheses keep it one condition.
        *where = u" WHERE ("_s + item.WCondit + u')';
        return true;
    }
    const vantrel::Result<bool> dateItem = isPersonDateItem(item.WTable, item.WField);
    if (!dateItem || !*dateItem)
        return dateItem;
    const QString column = item.WTable + u'.' + item.WField;
    const auto &dialect = theDatabase.dialect();
    // After today and at most BefDays ahead, by whole dates: from tomorrow's midnight up to
    // the midnight after the last day. BefDays 0 or less leaves an empty window.
    *where = u" WHERE ("_s + dialect.dateTimeComparison(column, u">=") + u" AND "_s
        + dialect.dateTimeComparison(column, u"<") + u')';
    *values = { today.addDays(1).startOfDay(), today.addDays(1 + item.BefDays).startOfDay() };
    return true;
}

int CountWakeupPersons(const tagWAKEUPITEM &item, const QDate &today)
{
    QString where;
    QVariantList values;
    const vantrel::Result<bool> usable = BuildWakeupCondition(item, today, &where, &values);
    if (!usable || !*usable)
        return -1;
    const ScalarAnswer<int> count
        = GetScalarInt(u"SELECT COUNT(*)"_s + BuildPsnFromClause(false) + where, values);
    return count.valueOr(-1);
}

bool IsAnyReminderDue()
{
    QVector<tagWAKEUPITEM> items;
    if (!LoadWakeupItems(items))
        return false;
    const QDate today = QDate::currentDate();
    for (const tagWAKEUPITEM &item : std::as_const(items)) {
        if (CountWakeupPersons(item, today) > 0)
            return true;
    }
    return false;
}
