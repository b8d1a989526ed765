#include "ui/controls/combotreetip.h"

#include "ui/controls/cpopuptext.h"

#include <QMouseEvent>
#include <QStyle>
#include <QTreeView>

namespace {

// The gap the item delegates leave between an icon and the text, and around the text.
int textMargin(const QTreeView *tree)
{
    return tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
}

} // namespace

ComboTreeTip::ComboTreeTip(QObject *parent) : CSubclassWnd(parent) { }

bool ComboTreeTip::WindowProc(QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        OnMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonPress) {
        if (CPopupText *popup = CPopupText::Shared())
            popup->Cancel();
    }
    return CSubclassWnd::WindowProc(event);
}

QModelIndex ComboTreeTip::HitTestItem(const QPoint &pos, QRect *textRect, QString *text) const
{
    if (!m_tree)
        return {};
    const QModelIndex index = m_tree->indexAt(pos);
    if (!index.isValid())
        return {};
    const QRect item = m_tree->visualRect(index);
    const int margin = textMargin(m_tree);
    int left = item.left() + margin;
    if (!index.data(Qt::DecorationRole).isNull())
        left += m_tree->iconSize().width() + margin;
    *text = index.data(Qt::DisplayRole).toString();
    const int needed = m_tree->fontMetrics().horizontalAdvance(*text) + 2 * margin;
    *textRect = QRect(left - margin, item.top(), needed, item.height());
    // Beyond the end of the text is not the item.
    if (pos.x() > textRect->right())
        return {};
    return index;
}

bool ComboTreeTip::IsItemTextVisible(const QRect &textRect) const
{
    if (!m_tree)
        return true;
    const int column = m_tree->visualRect(m_tree->indexAt(textRect.center())).right();
    const int right = qMin(m_tree->viewport()->rect().right(), column);
    return right >= textRect.right();
}

void ComboTreeTip::OnMouseMove(const QPoint &pos)
{
    if (!m_tree)
        return;
    QRect textRect;
    QString text;
    const QModelIndex item = HitTestItem(pos, &textRect, &text);
    CPopupText *popup = CPopupText::Create(m_tree, m_tree->viewport()->mapToGlobal(pos));
    if (item == QModelIndex(m_lastItem) && !popup->wasLeft())
        return;
    popup->Cancel();
    if (item.isValid() && !IsItemTextVisible(textRect)) {
        popup->SetText(text);
        const QRect over(m_tree->viewport()->mapToGlobal(textRect.topLeft()), textRect.size());
        popup->setGeometry(over.adjusted(-3, -2, 3, 2));
        popup->ShowDelayed();
    }
    m_lastItem = item;
}

void InstallTreeTip(QTreeView *tree, ComboTreeTip *tip)
{
    tip->setParent(tree);
    tip->setTree(tree);
    tree->viewport()->setMouseTracking(true);
    tip->HookWindow(tree->viewport());
    if (!CPopupText::Shared())
        CPopupText::Create(tree, tree->mapToGlobal(QPoint(0, 0)));
}
