#include "wagebenchsupport.h"

#include "core/db/cadodatabase.h"
#include "payroll/wageperiods.h"

using namespace Qt::StringLiterals;

namespace bench {

bool fillWagePeriods(CADODatabase &db, int sid, const QString &table, const QList<int> &periods,
                     const QStringList &columns)
{
    if (!db.Execute(u"INSERT INTO qz_WagePsn (SID, PID, Ord) SELECT ?, PID, Ord FROM qz_PsnBase"_s,
                    { sid }))
        return false;
    for (const int period : periods) {
        if (!vantrel::payroll::CreateWagePeriod(db, 1, sid, period))
            return false;
    }
    QStringList sets;
    for (int i = 0; i < columns.size(); ++i)
        sets << u"%1 = PID * 0.25 + %2"_s.arg(columns[i]).arg(i);
    if (!sets.isEmpty() && !db.Execute(u"UPDATE %1 SET %2"_s.arg(table, sets.join(u", "_s))))
        return false;
    if (db.backend() == vantrel::db::Backend::Postgres)
        db.Execute(u"ANALYZE"_s);
    return true;
}

} // namespace bench
