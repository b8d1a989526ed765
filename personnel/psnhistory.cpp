#include "personnel/psnhistory.h"

#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/db/sqldialect.h"
#include "core/db/sqlidentifier.h"
#include "core/query/querybuilders.h"
#include "personnel/advsavedqueries.h"
#include "personnel/psnscope.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

const PsnHistoryKind &TransferHistory()
{
    static const PsnHistoryKind kind { TransferChange(), u"QZ_PSNREDEPLOY"_s, u"调动管理"_s,
                                       u"调动记录"_s, AdvTransfers };
    return kind;
}

const PsnHistoryKind &CategoryHistory()
{
    static const PsnHistoryKind kind { CategoryChange(), u"QZ_PSNSORTALTER"_s, u"离职管理"_s,
                                       u"离职记录"_s, AdvCategoryChanges };
    return kind;
}

Result<HistorySelect> BuildHistorySelect(CADODatabase &db, const PsnHistoryKind &kind)
{
    const Result<PersonCaptions> person = ReadPersonCaptions(db);
    if (!person)
        return Result<HistorySelect>::failure(person.error());
    const QStringList &captions = person->aliases;
    const QString table = kind.change.historyTable;
    HistorySelect select;
    select.columns
        = u"%1.ID,%1.PID,qz_PsnBase.Number AS %2,qz_PsnBase.Name AS %3,"
          "qz_PsnBase.Sex AS %4"_s.arg(table, QuoteCaption(captions.at(0)),
                                       QuoteCaption(captions.at(1)), QuoteCaption(captions.at(2)));
    select.widths << 20 << 20 << person->widths;
    const db::QueryResult items
        = db.run(u"SELECT Name, Alias, iWid FROM qz_Items WHERE upper(TblName) = ?"
                 " ORDER BY Ord, ItemID"_s,
                 { kind.itemTable });
    if (!items.ok)
        return Result<HistorySelect>::failure(items.error.description);
    for (int row = 0; row < items.rows.rowCount(); ++row) {
        const QString name = items.rows.text(row, 0);
        if (!IsSqlIdentifier(name))
            continue;
        select.columns += u",%1.%2 AS %3"_s.arg(table, name, QuoteCaption(items.rows.text(row, 1)));
        select.widths << items.rows.value(row, 2).toInt();
    }
    return select;
}

SqlCondition HistoryScope(const CCurrentUser &user)
{
    return DeptRightsClause(user, RightsForm::WhereClause);
}

SqlCondition HistoryQuickFilter(const db::SqlDialect &dialect, const PsnHistoryKind &kind,
                                const QString &name, const QDate &from, const QDate &to)
{
    QStringList parts;
    QVariantList values;
    if (!name.isEmpty()) {
        parts << u"upper(qz_PsnBase.Name) = upper(?)"_s;
        values << name;
    }
    const QDate first = from.isValid() ? from : to;
    const QDate last = to.isValid() ? to : from;
    if (first.isValid()) {
        const QString column = kind.change.historyTable + u'.' + kind.change.dateColumn;
        parts << u"("_s + dialect.dateTimeComparison(column, u">=") + u" AND "_s
                + dialect.dateTimeComparison(column, u"<") + u')';
        values << QDateTime(first, QTime(0, 0)) << QDateTime(last.addDays(1), QTime(0, 0));
    }
    return { parts.join(u" AND "_s), values };
}

QString HistoryDefaultOrder(const PsnHistoryKind &kind)
{
    return u" ORDER BY %1.%2 DESC,qz_PsnBase.Ord"_s.arg(kind.change.historyTable,
                                                        kind.change.dateColumn);
}

QString HistoryQuery(const PsnHistoryKind &kind, const QString &select, const QString &where,
                     const QString &orderBy)
{
    return u"SELECT %1 FROM %2 INNER JOIN qz_PsnBase ON %2.PID = qz_PsnBase.PID%3%4"_s.arg(
        select, kind.change.historyTable, where, orderBy);
}

HistoryDeleteOutcome DeleteHistoryRows(CADODatabase &db, const PsnHistoryKind &kind,
                                       const QVector<int> &ids)
{
    HistoryDeleteOutcome outcome;
    const QString sql = u"DELETE FROM %1 WHERE ID = ?"_s.arg(kind.change.historyTable);
    for (const int id : ids) {
        const db::QueryResult result = db.run(sql, { id });
        if (!result.ok)
            outcome.failures << u"%1: %2"_s.arg(id).arg(result.error.description);
        else if (result.rowsAffected > 0)
            ++outcome.deleted;
    }
    return outcome;
}

QString HistoryDeleteLogText(const PsnHistoryKind &kind, int count)
{
    return u"人员档案[%1删除%2 条]"_s.arg(kind.recordWord).arg(count);
}

QString HistoryExportLogText(const PsnHistoryKind &kind)
{
    return u"人员档案[%1导出]"_s.arg(kind.recordWord);
}

} // namespace vantrel::personnel
