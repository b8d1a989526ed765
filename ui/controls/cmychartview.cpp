#include "ui/controls/cmychartview.h"

#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>
#include <QtCharts/QXYSeries>

#include <cmath>

namespace {

// How close, in pixels, a click must be to a line's point to hit it.
constexpr qreal pointRadius = 6.0;

} // namespace

CMyChartView::CMyChartView(QWidget *parent) : QChartView(new QChart, parent)
{
    setRenderHint(QPainter::Antialiasing);
}

int CMyChartView::seriesIndex(QAbstractSeries *series) const
{
    return int(chart()->series().indexOf(series));
}

void CMyChartView::AddSeries(QAbstractSeries *series)
{
    chart()->addSeries(series);
    ConnectSeries(series);
}

void CMyChartView::post(const ChartPointHit &hit)
{
    // Posted, not sent: the owner hears of it once the click is over, with its own copy.
    QMetaObject::invokeMethod(
        this, [this, hit] { Q_EMIT chartPointClick(hit); }, Qt::QueuedConnection);
}

void CMyChartView::setHandCursor(bool on)
{
    if (on)
        viewport()->setCursor(Qt::PointingHandCursor);
    else
        viewport()->unsetCursor();
}

bool CMyChartView::HitXYPoint(QAbstractSeries *series, const QPointF &value,
                              ChartPointHit *hit) const
{
    auto *xy = qobject_cast<QXYSeries *>(series);
    if (!xy)
        return false;
    const QPointF clicked = chart()->mapToPosition(value, series);
    const QList<QPointF> points = xy->points();
    for (int i = 0; i < points.size(); ++i) {
        const QPointF at = chart()->mapToPosition(points.at(i), series);
        if (std::hypot(at.x() - clicked.x(), at.y() - clicked.y()) <= pointRadius) {
            *hit = ChartPointHit { seriesIndex(series), series->name(), i, points.at(i) };
            return true;
        }
    }
    return false;
}

void CMyChartView::ConnectSeries(QAbstractSeries *series)
{
    if (auto *xy = qobject_cast<QXYSeries *>(series)) {
        connect(xy, &QXYSeries::released, this, [this, series](const QPointF &value) {
            ChartPointHit hit;
            if (HitXYPoint(series, value, &hit))
                post(hit);
        });
        connect(xy, &QXYSeries::hovered, this, [this, series](const QPointF &value, bool on) {
            ChartPointHit hit;
            setHandCursor(on && HitXYPoint(series, value, &hit));
        });
    } else if (auto *bars = qobject_cast<QAbstractBarSeries *>(series)) {
        connect(bars, &QAbstractBarSeries::released, this, [this, series](int index, QBarSet *set) {
            post({ seriesIndex(series), set->label(), index, QPointF(index, set->at(index)) });
        });
        connect(bars, &QAbstractBarSeries::hovered, this,
                [this](bool on, int, QBarSet *) { setHandCursor(on); });
    } else if (auto *pie = qobject_cast<QPieSeries *>(series)) {
        connect(pie, &QPieSeries::released, this, [this, pie](QPieSlice *slice) {
            const int index = int(pie->slices().indexOf(slice));
            post({ seriesIndex(pie), slice->label(), index, QPointF(index, slice->value()) });
        });
        connect(pie, &QPieSeries::hovered, this,
                [this](QPieSlice *, bool on) { setHandCursor(on); });
    }
}
