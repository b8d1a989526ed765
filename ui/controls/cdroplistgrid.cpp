#include "ui/controls/cdroplistgrid.h"

#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/ceditbrowsegridctrl.h"

#include <QHeaderView>
#include <QVBoxLayout>

CDropListGrid::CDropListGrid(CEditBrowseGridCtrl *owner)
    : QFrame(nullptr), m_pOwner(owner), m_pGrid(new CBCGPADOGridCtrl(this))
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                   | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::Box);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_pGrid);
    m_pGrid->setFocusPolicy(Qt::NoFocus);
    m_pGrid->SetReadOnly(true);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->horizontalHeader()->setVisible(true);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridDblClk, this, [this] {
        m_pOwner->Notify(CEditBrowseGridCtrl::CBN_DBLCLK);
        m_pOwner->AcceptDropDown();
    });
}

CDropListGrid::~CDropListGrid()
{
    m_pGrid->Close();
}
