#include "personnel/arctableinfo.h"

#include "core/db/cadodatabase.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

QVector<tagARCTABLEINFO> LoadRelatedTables(CADODatabase &db, RelatedTables which)
{
    const QString sql = which == RelatedTables::Shown
        ? u"SELECT ID,TblName,Title FROM qz_Table WHERE nType=5 AND bShow=1 ORDER BY Ord"_s
        : u"SELECT ID,TblName,Title FROM qz_Table WHERE nType=5 ORDER BY Ord"_s;
    const db::QueryResult result = db.runReadOnly(sql);
    QVector<tagARCTABLEINFO> tables;
    if (!result.ok)
        return tables;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        tables.append({ result.rows.value(row, 0).toInt(), result.rows.value(row, 1).toString(),
                        result.rows.value(row, 2).toString() });
    return tables;
}

} // namespace vantrel::personnel
