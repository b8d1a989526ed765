#include "ui/controls/cmybcgpgridview.h"

#include "ui/controls/cmyadogridctrl.h"

#include <QVBoxLayout>

CMyBCGPGridView::CMyBCGPGridView(QWidget *parent)
    : QWidget(parent), m_pGrid(new CMyADOGridCtrl(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pGrid);
    m_pGrid->SetOwner(this);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridDblClk, this, &CMyBCGPGridView::gridDblClk);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridSelChanged, this, &CMyBCGPGridView::gridSelChanged);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridRButtonUp, this, &CMyBCGPGridView::gridRButtonUp);
}

int CMyBCGPGridView::OnGridBeginEdit(const GridItemInfo &info)
{
    return m_pOwner ? m_pOwner->OnGridBeginEdit(info) : 0;
}

int CMyBCGPGridView::OnGridItemChanged(const GridItemInfo &info)
{
    return m_pOwner ? m_pOwner->OnGridItemChanged(info) : 0;
}

int CMyBCGPGridView::OnGridAfterEdit(const GridItemInfo &info)
{
    return m_pOwner ? m_pOwner->OnGridAfterEdit(info) : 1;
}
