#include "ui/controls/ceditbrowsegridctrl.h"

#include "ui/controls/cbcgpadogridctrl.h"

#include <QKeyEvent>

CEditBrowseGridCtrl::CEditBrowseGridCtrl(QWidget *wndWatch, QWidget *parent)
    : CEditBrowseDropCtrl(wndWatch, parent), m_wndDropList(this)
{
}

void CEditBrowseGridCtrl::AcceptDropDown()
{
    HideDropDown();
}

QWidget *CEditBrowseGridCtrl::DropWindow() const
{
    return const_cast<CDropListGrid *>(&m_wndDropList);
}

QAbstractItemView *CEditBrowseGridCtrl::DropControl() const
{
    return m_wndDropList.GetGrid();
}

int CEditBrowseGridCtrl::DropHeight() const
{
    return qMin(GetMaxDropHeight(), 400);
}

bool CEditBrowseGridCtrl::ForwardKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return CEditBrowseDropCtrl::ForwardKey(event);
    default:
        return false;
    }
}
