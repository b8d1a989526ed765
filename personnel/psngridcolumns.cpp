#include "personnel/psngridcolumns.h"

#include "core/db/cadodatabase.h"
#include "core/db/sqlidentifier.h"
#include "core/query/itemmetadata.h"
#include "core/query/querybuilders.h"
#include "core/query/scalarqueries.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

// Aliases distinct without regard to case: a repeated caption gets "(2)", "(3)" …
QString distinctAlias(QSet<QString> &used, const QString &caption, const QString &name)
{
    const QString base = caption.isEmpty() ? name : caption;
    QString alias = base;
    for (int n = 2; used.contains(alias.toCaseFolded()); ++n)
        alias = base + u"(%1)"_s.arg(n);
    used.insert(alias.toCaseFolded());
    return alias;
}

} // namespace

Result<QVector<PsnGridColumn>> LoadPsnColumns(CADODatabase &db, QString *selectList)
{
    using R = Result<QVector<PsnGridColumn>>;
    selectList->clear();
    const db::QueryResult rows
        = db.run(u"SELECT Name, Alias, iDataType, iWid, IdRef, bNotNull, bShow, ColFmt"
                 " FROM qz_Items WHERE UPPER(TblName)='QZ_PSNBASE' ORDER BY Ord, ItemID"_s);
    if (!rows.ok)
        return R::failure(rows.error.description);
    QVector<PsnGridColumn> columns(PsnKeyColumns);
    QSet<QString> used { u"pid"_s, u"did"_s, u"aid"_s };
    QStringList pieces;
    for (int row = 0; row < rows.rows.rowCount(); ++row) {
        PsnGridColumn column;
        column.Name = rows.rows.value(row, 0).toString();
        column.Alias = rows.rows.value(row, 1).toString();
        column.iDataType = rows.rows.value(row, 2).toInt();
        column.iWid = rows.rows.value(row, 3).toInt();
        column.IdRef = rows.rows.value(row, 4).toString();
        column.bNotNull = rows.rows.value(row, 5).toInt() != 0;
        column.bShow = rows.rows.value(row, 6).toInt() != 0;
        column.ColFmt = rows.rows.value(row, 7).toString();
        QString expression = u"qz_PsnBase."_s + column.Name;
        if (column.iDataType == ItemLink) {
            const QString table = column.IdRef.section(u'.', 0, 0);
            expression = table + u".Name"_s;
            if (!IsSqlIdentifier(table))
                continue;
        }
        if (!IsSqlIdentifier(column.Name))
            continue;
        if (column.iDataType == ItemDictionary) {
            // An optional item offers an empty first choice, so the cell can be emptied.
            column.choices = GetDictTitleList(column.IdRef, column.bNotNull);
        }
        column.Alias = distinctAlias(used, column.Alias, column.Name);
        pieces << expression + u" AS "_s + QuoteCaption(column.Alias);
        columns << column;
    }
    *selectList = pieces.join(u',');
    return columns;
}

} // namespace vantrel::personnel
