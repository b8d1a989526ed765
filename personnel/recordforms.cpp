#include "personnel/recordforms.h"

#include "core/db/cadodatabase.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

Result<bool> counted(CADODatabase &db, const QString &sql, const QVariantList &values)
{
    const db::QueryResult result = db.run(sql, values);
    if (!result.ok)
        return Result<bool>::failure(result.error.description);
    return result.scalar().toInt() > 0;
}

} // namespace

Result<bool> DeptNameTaken(CADODatabase &db, const QString &name, int ownDid)
{
    return counted(db,
                   u"SELECT COUNT(*) FROM qz_Dept WHERE upper(trim(Name)) = upper(trim(?))"
                   " AND DID <> ?"_s,
                   { name, ownDid });
}

Result<bool> PsnSortNameTaken(CADODatabase &db, const QString &name, int ownAid)
{
    return counted(db,
                   u"SELECT COUNT(*) FROM qz_PsnSort WHERE upper(trim(Name)) = upper(trim(?))"
                   " AND AID <> ?"_s,
                   { name, ownAid });
}

Result<bool> ParentInsideSubtree(CADODatabase &db, int did, int parentId)
{
    return counted(db,
                   u"SELECT COUNT(*) FROM qz_Dept WHERE DID = ? AND CHARINDEX(?, ParentArr) > 0"_s,
                   { parentId, u"|%1|"_s.arg(did) });
}

} // namespace vantrel::personnel
