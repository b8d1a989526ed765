#include "core/query/fillers.h"

#include "core/app/currentuser.h"
#include "core/db/cadodatabase.h"
#include "core/db/cadorecordset.h"
#include "core/query/scalarqueries.h"

#include <QHash>
#include <QSet>

#include <functional>

using namespace vantrel;
using namespace Qt::StringLiterals;

namespace {

struct DeptRow
{
    int did = 0;
    QString name;
};

using DeptChildren = QHash<int, QVector<DeptRow>>; // parent DID → children in Ord order

// Builds the granted subtree under the parent; a department met twice (a broken ParentID
// cycle) is not entered again.
RefTree deptSubtree(const DeptChildren &children, int parentId, const CCurrentUser &user,
                    QSet<int> &entered)
{
    RefTree nodes;
    for (const DeptRow &row : children.value(parentId)) {
        if (!user.ISuper && !Purview::listContains(user.deptList(), row.did))
            continue;
        if (entered.contains(row.did))
            continue;
        entered.insert(row.did);
        RefTreeNode node;
        node.id = row.did;
        node.title = row.name;
        node.hasChildren = children.contains(row.did);
        node.children = deptSubtree(children, row.did, user, entered);
        nodes.append(node);
    }
    return nodes;
}

// Id (column 0) and title (column 1) of every row that the filter keeps.
Result<RefChoices> readChoices(const QString &sql, const std::function<bool(int)> &keep)
{
    CADORecordset rs(&theDatabase);
    if (!rs.Open(sql, QVariantList {}))
        return Result<RefChoices>::failure(rs.GetLastErrorString());
    RefChoices choices;
    for (; !rs.IsEof(); rs.MoveNext()) {
        RefChoice choice;
        rs.GetFieldValueInt(0, choice.id);
        rs.GetFieldValueText(1, choice.title);
        if (keep(choice.id))
            choices.append(choice);
    }
    return choices;
}

bool keepPsnSort(const CCurrentUser &user, int aid)
{
    return user.allPsnSorts() || Purview::listContains(user.psnSortList(), aid);
}

} // namespace

QString AllPsnSortsTitle()
{
    return u"<所有类别>"_s;
}

QString GetUserSortList()
{
    return theCurrentUser.psnSortList();
}

int GetDeptChildCount(int did)
{
    return GetScalarInt(u"SELECT COUNT(DID) FROM qz_Dept WHERE ParentID = ?"_s, { did }).valueOr(0);
}

Result<RefTree> LoadDeptTree(int parentId, const CCurrentUser &user)
{
    CADORecordset rs(&theDatabase);
    if (!rs.Open(u"SELECT DID, ParentID, Name FROM qz_Dept ORDER BY Ord, DID"_s, QVariantList {}))
        return Result<RefTree>::failure(rs.GetLastErrorString());
    DeptChildren children;
    for (; !rs.IsEof(); rs.MoveNext()) {
        DeptRow row;
        int parent = 0;
        rs.GetFieldValueInt(0, row.did);
        rs.GetFieldValueInt(1, parent);
        rs.GetFieldValueText(2, row.name);
        children[parent].append(row);
    }
    QSet<int> entered { parentId };
    return deptSubtree(children, parentId, user, entered);
}

Result<RefTree> LoadPsnSortTree(const CCurrentUser &user)
{
    const Result<RefChoices> choices
        = readChoices(u"SELECT AID, Name FROM qz_PsnSort ORDER BY Ord, AID"_s,
                      [&user](int aid) { return keepPsnSort(user, aid); });
    if (!choices)
        return Result<RefTree>::failure(choices.error());
    RefTree nodes;
    for (const RefChoice &choice : *choices)
        nodes.append(RefTreeNode { choice.id, choice.title, {}, false, {} });
    return nodes;
}

Result<RefTree> LoadDictLevel(const QString &dictCode, const QString &parentValue)
{
    // The level and, from one grouped count over the dictionary, how many active children each
    // of its items has.
    QString sql = u"SELECT i.ID, i.DictValue, i.Title, COALESCE(c.n, 0) FROM qz_DictItem i"
                  " LEFT JOIN (SELECT upper(ParentValue) AS pv, COUNT(*) AS n FROM qz_DictItem"
                  " WHERE Active = 1 AND upper(DictId) = upper(?) GROUP BY upper(ParentValue)) c"
                  " ON c.pv = upper(i.DictValue)"
                  " WHERE i.Active = 1 AND upper(i.DictId) = upper(?) AND "_s;
    QVariantList values { dictCode, dictCode };
    if (parentValue.isEmpty()) {
        sql += u"(i.ParentValue = '' OR i.ParentValue IS NULL)"_s;
    } else {
        sql += u"upper(i.ParentValue) = upper(?)"_s;
        values << parentValue;
    }
    CADORecordset rs(&theDatabase);
    if (!rs.Open(sql + u" ORDER BY i.DictValue, i.ID"_s, values))
        return Result<RefTree>::failure(rs.GetLastErrorString());
    RefTree nodes;
    for (; !rs.IsEof(); rs.MoveNext()) {
        RefTreeNode node;
        int childCount = 0;
        rs.GetFieldValueInt(0, node.id);
        rs.GetFieldValueText(1, node.value);
        rs.GetFieldValueText(2, node.title);
        rs.GetFieldValueInt(3, childCount);
        node.hasChildren = childCount > 0;
        nodes.append(node);
    }
    return nodes;
}

Result<RefChoices> LoadPsnSortChoices(const CCurrentUser &user)
{
    Result<RefChoices> choices
        = readChoices(u"SELECT AID, Name FROM qz_PsnSort ORDER BY Ord, AID"_s,
                      [&user](int aid) { return keepPsnSort(user, aid); });
    if (choices && user.allPsnSorts())
        choices->append(RefChoice { 0, AllPsnSortsTitle() });
    return choices;
}

Result<RefChoices> LoadWageSetChoices(const CCurrentUser &user)
{
    return readChoices(
        u"SELECT ID, Title FROM qz_Table WHERE nType = 6 ORDER BY Ord, ID"_s,
        [&user](int id) { return user.ISuper || Purview::listContains(user.wageSetList(), id); });
}

Result<RefChoices> LoadUserChoices()
{
    return readChoices(u"SELECT UserID, UserName FROM qz_Users ORDER BY UserID"_s,
                       [](int) { return true; });
}
