#include "core/app/currentuser.h"

#include "core/app/passworddigest.h"
#include "core/app/purviewtable.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/scalarqueries.h"

#include <QDebug>

using namespace Qt::StringLiterals;

CCurrentUser theCurrentUser;

namespace {

// 1 when every id that the query returns is in the list. A query that cannot be run gives 0:
// the flag only lets callers skip the list filter, so refusing it never hides a granted row.
int listCoversAll(const QString &sql, const QString &list)
{
    CADORecordset rs(&theDatabase);
    if (!theDatabase.IsOpen() || !rs.Open(sql, QVariantList {}))
        return 0;
    for (; !rs.IsEof(); rs.MoveNext()) {
        int id = 0;
        if (!rs.GetFieldValueInt(0, id) || !Purview::listContains(list, id))
            return 0;
    }
    return 1;
}

} // namespace

CCurrentUser::CCurrentUser(const QString &userName, const QString &pwd, int iSuper)
    : UserName(userName), Pwd(pwd), ISuper(iSuper)
{
}

void CCurrentUser::ParsePurview(const QString &text)
{
    m_purview.parse(text);
    m_allPsnSorts = ISuper ? 1 : HasAllPsnSorts();
    m_allDepts = ISuper ? 1 : HasAllDepts();
}

int CCurrentUser::HasAllPsnSorts() const
{
    return listCoversAll(u"SELECT AID FROM qz_PsnSort ORDER BY Ord"_s, m_purview.categories);
}

int CCurrentUser::HasAllDepts() const
{
    return listCoversAll(u"SELECT DID FROM qz_Dept ORDER BY Ord"_s, m_purview.departments);
}

bool CCurrentUser::HasRight(int index, bool reRead)
{
    // Callers pass fixed numbers of the table; a wrong one is a programming error that must
    // not grant anything.
    if (!IsValidRight(index)) {
        qWarning("CCurrentUser::HasRight: no right %d", index);
        return false;
    }
    if (ISuper)
        return true;
    if (reRead)
        ParsePurview(GetScalarText(u"SELECT Purview FROM qz_Users WHERE UserID = ?"_s, { UserID })
                         .valueOr({}));
    return MaskHasRight(m_purview.mask, index);
}

bool CCurrentUser::checkPassword(const QString &typed) const
{
    return PasswordDigest::check(typed, Pwd);
}

void CCurrentUser::reset()
{
    *this = CCurrentUser();
}

QString GetUserDeptList(const CCurrentUser &user)
{
    return user.deptList();
}

QString GetUserWageSetList()
{
    return theCurrentUser.wageSetList();
}
