#include "ui/controls/ceditbrowsetreectrl.h"

#include <QTreeWidgetItemIterator>

CEditBrowseTreeCtrl::CEditBrowseTreeCtrl(QWidget *wndWatch, QWidget *parent)
    : CEditBrowseDropCtrl(wndWatch, parent), m_wndDropList(this)
{
}

void CEditBrowseTreeCtrl::AcceptDropDown()
{
    if (QTreeWidgetItem *item = m_wndDropList.currentItem()) {
        setText(item->text(0));
        if (!isReadOnly())
            selectAll();
        Notify(CBN_SELENDOK);
    }
    HideDropDown();
}

int CEditBrowseTreeCtrl::GetTreeItemText(const QTreeWidgetItem *item, QString &text)
{
    text = item ? item->text(0) : QString();
    return text.isEmpty() ? -1 : 0;
}

QWidget *CEditBrowseTreeCtrl::DropWindow() const
{
    return const_cast<CDropListTree *>(&m_wndDropList);
}

QAbstractItemView *CEditBrowseTreeCtrl::DropControl() const
{
    return const_cast<CDropListTree *>(&m_wndDropList);
}

int CEditBrowseTreeCtrl::DropHeight() const
{
    int count = 0;
    for (QTreeWidgetItemIterator it(const_cast<CDropListTree *>(&m_wndDropList)); *it; ++it)
        ++count;
    const int itemHeight
        = count > 0 ? m_wndDropList.sizeHintForRow(0) : m_wndDropList.fontMetrics().height() + 4;
    return qMin(count * itemHeight + 10, GetMaxDropHeight());
}

void CEditBrowseTreeCtrl::OnDropShown()
{
    if (QTreeWidgetItem *item = m_wndDropList.currentItem())
        m_wndDropList.scrollToItem(item);
}
