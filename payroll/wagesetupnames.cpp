#include "payroll/wagesetupnames.h"

#include "core/db/cadodatabase.h"
#include "core/payroll/wagesetschema.h"

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

namespace {

Result<bool> anyRow(CADODatabase &db, const QString &sql, const QVariantList &values)
{
    const db::QueryResult found = db.run(sql, values);
    if (!found.ok)
        return Result<bool>::failure(found.error.description);
    return found.hasRow();
}

} // namespace

Result<bool> IsWageSetNameTaken(CADODatabase &db, const QString &name, int exceptSid)
{
    return anyRow(db,
                  u"SELECT 1 FROM qz_Table WHERE nType = ? AND upper(trim(Title)) = upper(?)"
                  u" AND ID <> ?"_s,
                  { WageSetTableType, name.trimmed(), exceptSid });
}

Result<bool> IsWageItemAliasTaken(CADODatabase &db, const QString &alias, int exceptItemId)
{
    return anyRow(db,
                  u"SELECT 1 FROM qz_Items WHERE iSort = ? AND upper(trim(Alias)) = upper(?)"
                  u" AND ItemID <> ?"_s,
                  { WageItemSort, alias.trimmed(), exceptItemId });
}

} // namespace vantrel::payroll
