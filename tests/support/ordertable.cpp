#include "ordertable.h"

#include "core/db/cadodatabase.h"

#include <QStringList>

using namespace Qt::StringLiterals;

bool createOrderTable(CADODatabase &db)
{
    return db.Execute(
        u"CREATE TABLE t_order (ID INTEGER PRIMARY KEY, Grp INTEGER NOT NULL DEFAULT 0,"
        " Name VARCHAR(20), Ord INTEGER NOT NULL,"
        " Forbidden INTEGER NOT NULL DEFAULT -1000, CHECK (Ord <> Forbidden))"_s);
}

QString orderPairs(CADODatabase &db)
{
    const vantrel::db::QueryResult result = db.run(u"SELECT ID, Ord FROM t_order ORDER BY ID"_s);
    if (!result.ok)
        return result.error.description;
    QStringList pairs;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        pairs << u"%1:%2"_s.arg(result.rows.value(row, 0).toInt())
                     .arg(result.rows.value(row, 1).toInt());
    return pairs.join(u' ');
}
