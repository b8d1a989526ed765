#pragma once

#include "platform/common/result.h"

#include <QString>
#include <QVector>

class CCurrentUser;

// The reference lists that trees and combo boxes offer (departments, person categories,
// dictionaries, wage sets, operators), read from theDatabase with the operator's data rights
// applied, as plain data that any view can show. Nothing here shows a message; a failed
// query gives the error text and no rows.
//
// Rights lists hold decimal ids joined by ','; a row is kept when its id is in the list.
// Departments and wage sets are not filtered for a super user (ISuper), person categories not
// when the operator holds every category (allPsnSorts, always set for a super user). A
// department that is not granted hides its whole subtree, granted descendants included.

// One tree item: the row's id as item data, its caption, and for dictionary items the code
// (DictValue) under which its children are stored.
struct RefTreeNode
{
    int id = 0;
    QString title;
    QString value;
    // Children exist in the database; for a dictionary item they are not loaded yet.
    bool hasChildren = false;
    QVector<RefTreeNode> children;
};

using RefTree = QVector<RefTreeNode>;

// One combo entry: the caption and the row's id as item data.
struct RefChoice
{
    int id = 0;
    QString title;

    bool operator==(const RefChoice &other) const = default;
};

using RefChoices = QVector<RefChoice>;

// The text of the entry that follows the categories for an operator who holds them all.
QString AllPsnSortsTitle();

// A copy of the operator's person-category id list.
QString GetUserSortList();

// The number of departments directly under the department; 0 when the query fails.
int GetDeptChildCount(int did);

// The granted departments under the parent department (0: the top level) in Ord order on every
// level, whole subtrees, from one query over qz_Dept.
vantrel::Result<RefTree> LoadDeptTree(int parentId, const CCurrentUser &user);

// The granted person categories in Ord order, one level.
vantrel::Result<RefTree> LoadPsnSortTree(const CCurrentUser &user);

// One level of the active items of a dictionary in DictValue order: those whose ParentValue is
// the given code, or the top level (no ParentValue) for an empty one. Children are marked,
// counted for the whole level by one grouped query, and loaded when their parent opens.
vantrel::Result<RefTree> LoadDictLevel(const QString &dictCode, const QString &parentValue);

// The granted categories in Ord order; for an operator who holds them all,
// AllPsnSortsTitle() with id 0 follows them.
vantrel::Result<RefChoices> LoadPsnSortChoices(const CCurrentUser &user);

// The granted wage sets (qz_Table rows of nType 6: Title, ID) in Ord order.
vantrel::Result<RefChoices> LoadWageSetChoices(const CCurrentUser &user);

// Every operator (UserName, UserID), unfiltered, ordered by id.
vantrel::Result<RefChoices> LoadUserChoices();
