#pragma once

#include "personnel/sqlcondition.h"
#include "platform/common/result.h"

#include <QVector>

class CADODatabase;
class CCurrentUser;

namespace vantrel::personnel {

// Where a caller puts the department-rights condition in its statement.
enum class RightsForm {
    Joined,      // after " AND " when the caller's WHERE text is not empty, else after " WHERE "
    AndClause,   // " AND (…)": the caller's WHERE text is never empty
    WhereClause, // " WHERE (…)": it opens the caller's WHERE text
};

// The condition that keeps a person query to the operator's departments: "(<column> IN
// (?,…))" over the ids of GetUserDeptList, "(1=0)" when that list holds none. Empty for an
// operator with the all-departments flag (tested, not the super-user flag).
SqlCondition DeptRightsCondition(const CCurrentUser &user,
                                 const QString &column = QStringLiteral("qz_PsnBase.DID"));

// The same in the caller's form; `where` is the caller's WHERE text so far (Joined only).
// Empty when the operator may see every department.
SqlCondition DeptRightsClause(const CCurrentUser &user, RightsForm form, const QString &where = {},
                              const QString &column = QStringLiteral("qz_PsnBase.DID"));

// "(<column> IN (?,…))" over the ids, "(1=0)" when there are none; the text form takes the
// decimal ids of a comma-separated list and drops anything else.
SqlCondition IdListCondition(const QString &column, const QVector<int> &ids);
SqlCondition IdListCondition(const QString &column, const QString &idList);

// The department and every department below it (each row's ParentArr holds "|<did>|" for
// itself and its ancestors). No ids when the department is gone.
Result<QVector<int>> DeptSubtree(CADODatabase &db, int did);

// The columns a scope's department and category filters test: the person list tests the
// person's row, the payroll the period's row.
struct ScopeColumns
{
    QString department = QStringLiteral("qz_PsnBase.DID");
    QString category = QStringLiteral("qz_PsnBase.AID");
};

// A scope's WHERE text: `first` (a condition of the caller's, may be empty), the department
// filter (0: all) as its subtree, the category filter (0: all; below 0: none at all, AID=-1),
// then the operator's department rights over the person's current department. Only bound
// integers enter it. Empty when nothing restricts the scope. Fails when the subtree cannot be
// read.
Result<SqlCondition> BuildScopeWhere(CADODatabase &db, int department, int category,
                                     const CCurrentUser &user, const ScopeColumns &columns,
                                     const SqlCondition &first = {});

// The person list's WHERE text: the department filter (0: all) as its subtree, the category
// filter (0: all; below 0: none at all, AID=-1), then the operator's department rights.
// Empty when nothing restricts the list. Fails when the subtree cannot be read.
Result<SqlCondition> BuildPsnWhere(CADODatabase &db, int department, int category,
                                   const CCurrentUser &user);

// The person list's order: department by department, in the persons' order.
QString PsnOrderBy();

// The PID of the first person of the scope (in list order) whose number is the text, else
// whose name is; both compared whole and without case. 0 when none is.
Result<int> FindPersonInScope(CADODatabase &db, const SqlCondition &where, const QString &text);

} // namespace vantrel::personnel
