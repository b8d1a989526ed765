#pragma once

#include "ui/controls/csubclasswnd.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>

// Shows the whole text of the tree item under the mouse in the shared popup text window
// (CPopupText) when the tree cuts the text off, placed over the item's text. A click in the
// tree hides the tip. Install it with InstallTreeTip.
class ComboTreeTip : public CSubclassWnd
{
    Q_OBJECT

public:
    explicit ComboTreeTip(QObject *parent = nullptr);

    QTreeView *tree() const { return m_tree; }
    void setTree(QTreeView *tree) { m_tree = tree; }

protected:
    bool WindowProc(QEvent *event) override;

    // The mouse at a point of the tree's viewport.
    virtual void OnMouseMove(const QPoint &pos);
    // Whether the whole text rectangle (viewport coordinates) shows in the tree.
    virtual bool IsItemTextVisible(const QRect &textRect) const;
    // The item whose icon or text is at the point, with its text and the rectangle the whole
    // text needs in the tree's font; an invalid index elsewhere.
    virtual QModelIndex HitTestItem(const QPoint &pos, QRect *textRect, QString *text) const;

private:
    QPointer<QTreeView> m_tree;
    QPersistentModelIndex m_lastItem;
};

// Hooks the tree's viewport with the tip (which the tree then owns) and makes the shared
// popup text window, with the tree as its owner, when there is none yet.
void InstallTreeTip(QTreeView *tree, ComboTreeTip *tip);
