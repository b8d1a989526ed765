#include "ui/frame/cdlgpopupalter.h"

#include "ui/frame/cwakeupgridctrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CDlgPopupAlter::CDlgPopupAlter(const QVector<tagWAKEUPROW> &rows, QWidget *parent)
    : QWidget(parent)
    , m_grid(new CWakeupGridCtrl(this))
    , m_link(new QLabel(u"<a href=\"manager\">点击查看详细列表...</a>"_s, this))
    , m_silence(new QCheckBox(u"知道了,不再弹出此窗口"_s, this))
{
    setObjectName(u"CDlgPopupAlter"_s);
    m_link->setObjectName(u"DetailLink"_s);
    m_silence->setObjectName(u"SilenceBox"_s);
    m_link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_link);
    layout->addWidget(m_silence);
    setFixedSize(320, 200);

    m_grid->setColumnWidth(CWakeupGridCtrl::ColTitle, 220);
    m_grid->FillWakeupGrid(rows);
    setManagerAvailable(false);
    connect(m_link, &QLabel::linkActivated, this, &CDlgPopupAlter::requestManager);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &CDlgPopupAlter::requestManager);
    connect(m_silence, &QCheckBox::clicked, this, [this] { Q_EMIT silenceRequested(); });
}

void CDlgPopupAlter::setManagerAvailable(bool available)
{
    m_managerAvailable = available;
    m_link->setEnabled(available);
}

void CDlgPopupAlter::requestManager()
{
    if (!m_managerAvailable)
        return;
    const int row = m_grid->currentRow();
    Q_EMIT managerRequested(row < 0 ? 0 : row);
}
