#pragma once

#include <QString>
#include <QVector>

class CADODatabase;

// One related-archive table (qz_Table nType 5): the person's own rows live in it, keyed by PID
// and ordered by Ord. The related-archive pane shows the ones marked bShow; the advanced
// search offers them all.
struct tagARCTABLEINFO
{
    int ID = 0;      // qz_Table.ID
    QString TblName; // the SQL table
    QString Title;   // the caption shown
};

namespace vantrel::personnel {

enum class RelatedTables { All, Shown };

// The related-archive tables in their Ord order; empty when the query fails.
QVector<tagARCTABLEINFO> LoadRelatedTables(CADODatabase &db, RelatedTables which);

} // namespace vantrel::personnel
