#include "personnel/psnscope.h"

#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/query/querybuilders.h"

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

SqlCondition idList(const QString &column, const QVector<int> &ids)
{
    if (ids.isEmpty())
        return { u"(1=0)"_s, {} };
    SqlCondition condition {
        u"(%1 IN (%2))"_s.arg(column, QStringList(ids.size(), u"?"_s).join(u',')), {}
    };
    for (const int id : ids)
        condition.values << id;
    return condition;
}

QVector<int> parseIds(const QString &list)
{
    QVector<int> ids;
    for (const QString &part : list.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (ok && !ids.contains(id))
            ids << id;
    }
    return ids;
}

SqlCondition joined(const QString &where, const SqlCondition &condition)
{
    return SqlCondition { where.trimmed().isEmpty() ? u" WHERE "_s : u" AND "_s, {} } + condition;
}

} // namespace

SqlCondition IdListCondition(const QString &column, const QVector<int> &ids)
{
    return idList(column, ids);
}

SqlCondition IdListCondition(const QString &column, const QString &list)
{
    return idList(column, parseIds(list));
}

SqlCondition DeptRightsCondition(const CCurrentUser &user, const QString &column)
{
    if (user.allDepts())
        return {};
    return idList(column, parseIds(GetUserDeptList(user)));
}

SqlCondition DeptRightsClause(const CCurrentUser &user, RightsForm form, const QString &where,
                              const QString &column)
{
    const SqlCondition condition = DeptRightsCondition(user, column);
    if (condition.isEmpty())
        return {};
    switch (form) {
    case RightsForm::Joined:
        return joined(where, condition);
    case RightsForm::AndClause:
        return SqlCondition { u" AND "_s, {} } + condition;
    case RightsForm::WhereClause:
        return SqlCondition { u" WHERE "_s, {} } + condition;
    }
    return condition;
}

Result<QVector<int>> DeptSubtree(CADODatabase &db, int did)
{
    const db::QueryResult result = db.run(
        u"SELECT DID FROM qz_Dept WHERE ParentArr LIKE ? ORDER BY DID"_s, { u"%|%1|%"_s.arg(did) });
    if (!result.ok)
        return Result<QVector<int>>::failure(result.error.description);
    QVector<int> ids;
    for (int row = 0; row < result.rows.rowCount(); ++row)
        ids << result.rows.value(row, 0).toInt();
    return ids;
}

Result<SqlCondition> BuildScopeWhere(CADODatabase &db, int department, int category,
                                     const CCurrentUser &user, const ScopeColumns &columns,
                                     const SqlCondition &first)
{
    SqlCondition where;
    if (category < 0) {
        where.sql = u" WHERE (qz_PsnBase.AID=-1)"_s;
    } else {
        QStringList parts;
        if (!first.isEmpty()) {
            parts << first.sql;
            where.values += first.values;
        }
        if (department > 0) {
            const Result<QVector<int>> subtree = DeptSubtree(db, department);
            if (!subtree)
                return Result<SqlCondition>::failure(subtree.error());
            const SqlCondition ids = idList(columns.department, *subtree);
            parts << ids.sql;
            where.values += ids.values;
        }
        if (category > 0) {
            parts << u"(%1=?)"_s.arg(columns.category);
            where.values << category;
        }
        if (!parts.isEmpty())
            where.sql = u" WHERE "_s + parts.join(u" AND "_s);
    }
    where += DeptRightsClause(user, RightsForm::Joined, where.sql);
    return where;
}

Result<SqlCondition> BuildPsnWhere(CADODatabase &db, int department, int category,
                                   const CCurrentUser &user)
{
    return BuildScopeWhere(db, department, category, user, ScopeColumns());
}

QString PsnOrderBy()
{
    return u" ORDER BY qz_Dept.Ord,qz_PsnBase.Ord,qz_PsnBase.PID"_s;
}

Result<int> FindPersonInScope(CADODatabase &db, const SqlCondition &where, const QString &text)
{
    for (const QString &column : { u"qz_PsnBase.Number"_s, u"qz_PsnBase.Name"_s }) {
        const SqlCondition match { (where.isEmpty() ? u" WHERE "_s : u" AND "_s)
                                       + u"upper(%1)=upper(?)"_s.arg(column),
                                   { text } };
        const SqlCondition query
            = SqlCondition { u"SELECT qz_PsnBase.PID"_s + BuildPsnFromClause(false), {} } + where
            + match + SqlCondition { PsnOrderBy() + u" LIMIT 1"_s, {} };
        const db::QueryResult result = db.run(query.sql, query.values);
        if (!result.ok)
            return Result<int>::failure(result.error.description);
        if (result.hasRow())
            return result.scalar().toInt();
    }
    return 0;
}

} // namespace vantrel::personnel
