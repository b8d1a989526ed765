#include "ui/controls/cmymfctabctrl.h"

#include <QEvent>
#include <QHeaderView>

CMyMFCTabCtrl::CMyMFCTabCtrl(QWidget *parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &CMyMFCTabCtrl::tabActivated);
}

void CMyMFCTabCtrl::WatchHeader(QHeaderView *header)
{
    if (m_pHeader) {
        m_pHeader->viewport()->removeEventFilter(this);
        disconnect(m_pHeader, nullptr, this, nullptr);
    }
    m_pHeader = header;
    if (!header)
        return;
    header->viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionResized, this, [this](int section, int oldSize, int) {
        if (!m_bTracking)
            return;
        if (m_nSection != section) {
            m_nSection = section;
            m_nOldSize = oldSize;
        }
    });
}

bool CMyMFCTabCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (m_pHeader && watched == m_pHeader->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_bTracking = true;
            m_nSection = -1;
        } else if (event->type() == QEvent::MouseButtonRelease && m_bTracking) {
            m_bTracking = false;
            if (m_nSection >= 0)
                Q_EMIT columnResized(m_nSection, m_nOldSize, m_pHeader->sectionSize(m_nSection));
            m_nSection = -1;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}
