#include "ui/controls/widgetfillers.h"

#include "core/app/currentuser.h"
#include "core/query/fillers.h"

#include <QApplication>
#include <QComboBox>
#include <QTreeWidget>

using namespace vantrel;

namespace {

QTreeWidgetItem *appendItem(QTreeWidget *tree, QTreeWidgetItem *parentItem, const RefTreeNode &node,
                            const QIcon &icon)
{
    auto *item = new QTreeWidgetItem({ node.title });
    item->setIcon(0, icon);
    item->setData(0, RefIdRole, node.id);
    if (parentItem)
        parentItem->addChild(item);
    else
        tree->addTopLevelItem(item);
    return item;
}

// Expanding needs the item in the tree, so children go in before their parent opens.
void appendSubtree(QTreeWidget *tree, QTreeWidgetItem *parentItem, const RefTree &nodes,
                   const QIcon &icon)
{
    for (const RefTreeNode &node : nodes) {
        QTreeWidgetItem *item = appendItem(tree, parentItem, node, icon);
        appendSubtree(tree, item, node.children, icon);
        if (!node.children.isEmpty())
            item->setExpanded(true);
    }
}

void fillCombo(QComboBox *combo, const RefChoices &choices)
{
    combo->clear();
    for (const RefChoice &choice : choices)
        combo->addItem(choice.title, choice.id);
}

} // namespace

void FillDeptTree(QTreeWidget *tree, int parentId, QTreeWidgetItem *parentItem, const QIcon &icon)
{
    if (!tree)
        return;
    const Result<RefTree> nodes = LoadDeptTree(parentId, theCurrentUser);
    if (nodes)
        appendSubtree(tree, parentItem, *nodes, icon);
}

void FillPsnSortTree(QTreeWidget *tree, QTreeWidgetItem *parentItem, const QIcon &icon)
{
    if (!tree)
        return;
    const Result<RefTree> nodes = LoadPsnSortTree(theCurrentUser);
    if (nodes)
        appendSubtree(tree, parentItem, *nodes, icon);
}

void FillDictTree(QTreeWidget *tree, QTreeWidgetItem *parentItem, const QString &dictCode,
                  const QString &parentValue, const QIcon &icon)
{
    if (!tree)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Result<RefTree> nodes = LoadDictLevel(dictCode, parentValue);
    QApplication::restoreOverrideCursor();
    if (!nodes)
        return;
    for (const RefTreeNode &node : *nodes) {
        QTreeWidgetItem *item = appendItem(tree, parentItem, node, icon);
        item->setData(0, RefValueRole, node.value);
        if (node.hasChildren)
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
}

bool FillPsnSortCombo(QComboBox *combo)
{
    if (!combo)
        return false;
    combo->clear();
    const Result<RefChoices> choices = LoadPsnSortChoices(theCurrentUser);
    if (!choices)
        return false;
    fillCombo(combo, *choices);
    return true;
}

bool FillWageSetCombo(QComboBox *combo)
{
    if (!combo)
        return false;
    const Result<RefChoices> choices = LoadWageSetChoices(theCurrentUser);
    if (!choices)
        return false;
    fillCombo(combo, *choices);
    return true;
}

bool FillUserCombo(QComboBox *combo)
{
    if (!combo)
        return false;
    const Result<RefChoices> choices = LoadUserChoices();
    if (!choices)
        return false;
    fillCombo(combo, *choices);
    return true;
}
