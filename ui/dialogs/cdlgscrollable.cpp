#include "ui/dialogs/cdlgscrollable.h"

#include "ui/dialogs/cdialogexx.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

CDlgScrollable::CDlgScrollable(QWidget *parent)
    : QWidget(parent)
    , m_pContent(new QWidget(this))
    , m_pScrollBar(new QScrollBar(Qt::Vertical, this))
{
    CDialogExx::applyBackground(this);
    setFocusPolicy(Qt::ClickFocus);
    connect(m_pScrollBar, &QScrollBar::actionTriggered, this, &CDlgScrollable::onScrollAction);
    connect(m_pScrollBar, &QScrollBar::valueChanged, this,
            [this](int value) { ScrollBy(value - m_nScrollPos); });
    layoutContent();
    show();
}

void CDlgScrollable::SetContentRect(const QRect &rect)
{
    m_contentRect = rect;
    m_nScrollPos = qBound(0, m_nScrollPos, ScrollRange());
    layoutContent();
}

int CDlgScrollable::ScrollRange() const
{
    return qMax(0, m_contentRect.height() - height());
}

int CDlgScrollable::LineStep() const
{
    return qMax(ScrollRange() / 20, 5);
}

int CDlgScrollable::PageStep() const
{
    return qMax(ScrollRange() / 10, 20);
}

void CDlgScrollable::ScrollBy(int delta)
{
    const int position = qBound(0, m_nScrollPos + delta, ScrollRange());
    if (position == m_nScrollPos)
        return;
    m_nScrollPos = position;
    layoutContent();
}

void CDlgScrollable::layoutContent()
{
    const int range = ScrollRange();
    const int bar = range > 0 ? m_pScrollBar->sizeHint().width() : 0;
    m_pScrollBar->setVisible(range > 0);
    m_pScrollBar->setGeometry(width() - bar, 0, bar, height());
    {
        const QSignalBlocker quiet(m_pScrollBar);
        m_pScrollBar->setRange(0, range);
        m_pScrollBar->setPageStep(qMax(1, height()));
        m_pScrollBar->setValue(m_nScrollPos);
    }
    m_pContent->setGeometry(m_contentRect.left(), m_contentRect.top() - m_nScrollPos,
                            qMax(m_contentRect.width(), width() - bar), m_contentRect.height());
    updateCursor();
}

void CDlgScrollable::onScrollAction(int action)
{
    // The bar's own steps are replaced by the form's: lines and pages by the range.
    int delta = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        delta = LineStep();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        delta = -LineStep();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        delta = PageStep();
        break;
    case QAbstractSlider::SliderPageStepSub:
        delta = -PageStep();
        break;
    default:
        return; // dragging the thumb goes to its position
    }
    m_pScrollBar->setSliderPosition(qBound(0, m_nScrollPos + delta, ScrollRange()));
}

void CDlgScrollable::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Back to the top, content and bar alike.
    m_nScrollPos = 0;
    layoutContent();
}

void CDlgScrollable::wheelEvent(QWheelEvent *event)
{
    const int notch = event->angleDelta().y();
    if (notch != 0)
        ScrollBy(notch > 0 ? -LineStep() : LineStep());
    event->accept();
}

void CDlgScrollable::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || ScrollRange() <= 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_bDragging = true;
    m_nLastY = event->position().toPoint().y();
    grabMouse();
    setCursor(Qt::ClosedHandCursor);
}

void CDlgScrollable::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_bDragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const int y = event->position().toPoint().y();
    ScrollBy(m_nLastY - y);
    m_nLastY = y;
}

void CDlgScrollable::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_bDragging)
        endDrag();
    QWidget::mouseReleaseEvent(event);
}

void CDlgScrollable::focusOutEvent(QFocusEvent *event)
{
    if (m_bDragging)
        endDrag();
    QWidget::focusOutEvent(event);
}

void CDlgScrollable::endDrag()
{
    m_bDragging = false;
    releaseMouse();
    updateCursor();
}

void CDlgScrollable::updateCursor()
{
    if (m_bDragging)
        return;
    if (ScrollRange() > 0)
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}
