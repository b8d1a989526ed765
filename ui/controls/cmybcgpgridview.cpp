#include "ui/controls/cmybcgpgridview.h"

#include "ui/controls/cmyadogridctrl.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CMyBCGPGridView::CMyBCGPGridView(QWidget *parent)
    : QWidget(parent), m_pGrid(new CMyADOGridCtrl(this)), m_pFooter(new QLabel(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pGrid);
    m_pFooter->setObjectName(u"gridFooter"_s);
    m_pFooter->setAutoFillBackground(true);
    m_pFooter->setBackgroundRole(QPalette::Button);
    m_pFooter->setMargin(3);
    m_pFooter->hide();
    layout->addWidget(m_pFooter);
    connect(m_pGrid->horizontalHeader(), &QHeaderView::sectionResized, this,
            &CMyBCGPGridView::placeFooter);
    connect(m_pGrid->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &CMyBCGPGridView::placeFooter);
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

void CMyBCGPGridView::SetFooterText(int fromColumn, const QString &text)
{
    m_nFooterColumn = fromColumn;
    m_pFooter->setText(text);
    m_pFooter->setVisible(!text.isEmpty());
    placeFooter();
}

QString CMyBCGPGridView::GetFooterText() const
{
    return m_pFooter->text();
}

void CMyBCGPGridView::placeFooter()
{
    const int x = m_pGrid->columnViewportPosition(m_nFooterColumn);
    m_pFooter->setIndent(qMax(0, x) + m_pGrid->frameWidth());
}
