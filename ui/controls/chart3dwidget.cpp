#include "ui/controls/chart3dwidget.h"

#include <QMouseEvent>
#include <QPainter>

Chart3DWidget::Chart3DWidget(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
}

void Chart3DWidget::setChart(const ChartContent &content, const Style &style)
{
    m_content = content;
    m_style = style;
    m_hoverSeries = m_hoverPoint = -1;
    update();
}

Chart3DWidget::Scene Chart3DWidget::layout(const QRectF &rect) const
{
    Scene scene;
    layoutFrame(rect, scene);
    return scene;
}

QRectF Chart3DWidget::layoutFrame(const QRectF &rect, Scene &scene) const
{
    if (!m_content.title.isEmpty())
        scene.texts.append({ rect, m_content.title, Qt::AlignTop | Qt::AlignHCenter, false, true });
    return rect;
}

void Chart3DWidget::layoutPrisms(const QRectF &, Scene &) const { }

void Chart3DWidget::layoutPies(const QRectF &, Scene &) const { }

void Chart3DWidget::paintChart(QPainter &painter, const QRectF &rect) const
{
    const Scene scene = layout(rect);
    painter.save();
    for (const Text &text : scene.texts) {
        painter.setFont(ChartStyle::font(text.bold ? 16 : 12, text.bold));
        painter.drawText(text.box, text.flags, text.text);
    }
    painter.restore();
}

std::optional<ChartPointHit> Chart3DWidget::hitTest(const QPointF &) const
{
    return std::nullopt;
}

void Chart3DWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintChart(painter, rect());
}

void Chart3DWidget::setHover(int series, int point)
{
    m_hoverSeries = series;
    m_hoverPoint = point;
}

void Chart3DWidget::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
}

void Chart3DWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (const auto hit = hitTest(event->position()))
            Q_EMIT pointClicked(*hit);
    }
}

void Chart3DWidget::leaveEvent(QEvent *event)
{
    setHover(-1, -1);
    QWidget::leaveEvent(event);
}
