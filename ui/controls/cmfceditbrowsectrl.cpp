#include "ui/controls/cmfceditbrowsectrl.h"

#include <QToolButton>

CMFCEditBrowseCtrl::CMFCEditBrowseCtrl(QWidget *parent)
    : QLineEdit(parent), m_pButton(new QToolButton(this))
{
    m_pButton->setFocusPolicy(Qt::NoFocus);
    m_pButton->setCursor(Qt::ArrowCursor);
    m_pButton->setAutoRaise(true);
    m_pButton->hide();
    connect(m_pButton, &QToolButton::clicked, this, [this] { OnBrowse(); });
}

void CMFCEditBrowseCtrl::EnableBrowseButton(bool enable, const QString &label)
{
    m_pButton->setText(label);
    m_pButton->setVisible(enable);
    placeButton();
}

void CMFCEditBrowseCtrl::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeButton();
}

void CMFCEditBrowseCtrl::placeButton()
{
    const int side = qMax(0, height() - 4);
    const int width = m_pButton->isVisibleTo(this) ? side + 4 : 0;
    m_pButton->setGeometry(this->width() - width - 2, 2, width, side);
    // The text never runs under the button.
    setTextMargins(0, 0, width, 0);
}
