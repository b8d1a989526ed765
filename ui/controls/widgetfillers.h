#pragma once

#include <QIcon>
#include <QString>
#include <Qt>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

// Fill tree widgets and combo boxes with the reference lists of fillers.h for the session's
// operator (theCurrentUser). Items are appended as the last children of the parent item, or at
// the top level when it is null; the fillers add no root of their own. Nothing is shown on a
// failed query.

// Data roles of the tree items.
inline constexpr int RefIdRole = Qt::UserRole;        // DID, AID or dictionary item ID
inline constexpr int RefValueRole = Qt::UserRole + 1; // a dictionary item's DictValue

// The granted departments under the parent department, whole subtrees, expanded.
void FillDeptTree(QTreeWidget *tree, int parentId, QTreeWidgetItem *parentItem,
                  const QIcon &icon = {});

// The granted person categories, one level.
void FillPsnSortTree(QTreeWidget *tree, QTreeWidgetItem *parentItem, const QIcon &icon = {});

// One level of a dictionary; items with children show an expand button and get their
// children when the caller, on expansion, calls this again with the item and its
// RefValueRole as the parent value. Shows the wait cursor while it runs.
void FillDictTree(QTreeWidget *tree, QTreeWidgetItem *parentItem, const QString &dictCode,
                  const QString &parentValue, const QIcon &icon = {});

// Combo fillers: the row's id is the entry's item data (Qt::UserRole). False when the combo is
// null or the query fails. The category combo is emptied first in any case; the wage-set combo
// is kept as it was when the query fails; the operator combo is emptied only on success.
bool FillPsnSortCombo(QComboBox *combo);
bool FillWageSetCombo(QComboBox *combo);
bool FillUserCombo(QComboBox *combo);
