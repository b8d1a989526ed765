#pragma once

#include "core/app/purview.h"

#include <QString>

// The operator of this session (the one instance is theCurrentUser, used on the user-interface
// thread). The login writes UserID, UserName, Pwd and ISuper and then passes the row's rights
// text to ParsePurview; the password change writes Pwd. Nothing here writes to the database.
class CCurrentUser
{
public:
    CCurrentUser() = default;
    CCurrentUser(const QString &userName, const QString &pwd, int iSuper);

    int UserID = -1;  // qz_Users.UserID; -1 until a login succeeds
    QString UserName; // as stored in qz_Users
    QString Pwd;      // the stored password digest (PasswordDigest)
    int ISuper = 0;   // non-zero: every right, department, person category and wage set

    // Takes the mask and the id lists from a qz_Users.Purview text (fields missing from the
    // text keep their values, so an empty text changes neither), then works out both
    // all-flags, which reads theDatabase unless the operator is a super user.
    void ParsePurview(const QString &text);

    // 1 when the category (department) list holds every row of qz_PsnSort (qz_Dept), or the
    // table has no rows; 0 when one is missing or the table cannot be read.
    int HasAllPsnSorts() const;
    int HasAllDepts() const;

    // Whether the operator holds right index (0 to 38 of PurviewTable). A super user holds
    // every right without a database access. With reRead the rights are read from qz_Users
    // again first, so an administrator's change counts at once; a read that fails or finds
    // no row keeps the rights in force.
    bool HasRight(int index, bool reRead);

    bool checkPassword(const QString &typed) const;

    quint64 rightsMask() const { return m_purview.mask; }
    // The id lists as stored: decimal ids joined by ','. Test membership with
    // Purview::listContains.
    QString psnSortList() const { return m_purview.categories; }
    QString deptList() const { return m_purview.departments; }
    QString wageSetList() const { return m_purview.wageSets; }
    int allPsnSorts() const { return m_allPsnSorts; }
    int allDepts() const { return m_allDepts; }

    // Back to the state before any login.
    void reset();

private:
    Purview m_purview;
    int m_allPsnSorts = 0;
    int m_allDepts = 0;
};

extern CCurrentUser theCurrentUser;

// Copies of the department and wage-set lists; the person and wage queries filter by them
// unless the operator is a super user.
QString GetUserDeptList(const CCurrentUser &user);
QString GetUserWageSetList();
