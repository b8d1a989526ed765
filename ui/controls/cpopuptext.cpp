#include "ui/controls/cpopuptext.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

QPointer<CPopupText> CPopupText::s_shared;

CPopupText::CPopupText(QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_owner(owner)
{
    setObjectName(u"PopupText"_s);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(QApplication::font("QStatusBar"));
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(DelayMs);
    m_watchTimer.setInterval(DelayMs);
    connect(&m_showTimer, &QTimer::timeout, this, &CPopupText::showNow);
    connect(&m_watchTimer, &QTimer::timeout, this, &CPopupText::watchMouse);
}

CPopupText *CPopupText::Create(QWidget *owner, const QPoint &point)
{
    if (s_shared) {
        s_shared->SetOwner(owner);
        return s_shared;
    }
    s_shared = new CPopupText(owner);
    s_shared->move(point);
    return s_shared;
}

CPopupText *CPopupText::Shared()
{
    return s_shared;
}

void CPopupText::SetText(const QString &text)
{
    const QFontMetrics metrics(font());
    const QSize fitted(metrics.horizontalAdvance(text) + 2 * m_margins.width(),
                       metrics.height() + 2 * m_margins.height());
    QRect place = geometry();
    if (m_rightJustified)
        place.setLeft(place.right() + 1 - fitted.width());
    place.setSize(fitted);
    setGeometry(place);
    m_text = text;
    update();
}

void CPopupText::ShowDelayed()
{
    m_watchTimer.start();
    m_showTimer.start();
    m_left = false;
}

void CPopupText::Cancel()
{
    m_showTimer.stop();
    m_watchTimer.stop();
    hide();
}

void CPopupText::showNow()
{
    show();
    raise();
    repaint();
}

void CPopupText::watchMouse()
{
    const QWidget *under = QApplication::widgetAt(QCursor::pos());
    const bool overTip = under && (under == this || isAncestorOf(under));
    const bool overOwner = under && m_owner && (under == m_owner || m_owner->isAncestorOf(under));
    if (overTip || overOwner)
        return;
    m_left = true;
    Cancel();
}

void CPopupText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::ToolTipBase));
    painter.setPen(colours.color(QPalette::ToolTipText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
    painter.setPen(colours.color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CPopupText::mousePressEvent(QMouseEvent *event)
{
    Cancel();
    QWidget::mousePressEvent(event);
}
