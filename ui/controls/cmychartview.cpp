#include "ui/controls/cmychartview.h"

#include "ui/controls/chart3dwidget.h"

#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QToolTip>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>
#include <QtCharts/QValueAxis>
#include <QtCharts/QXYSeries>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace {

// QtCharts reads titles, axis and legend labels as rich text: a label such as "<未知>" would
// vanish as an unknown tag.
QString richTextSafe(const QString &text)
{
    return text.toHtmlEscaped();
}

// How close, in pixels, a click must be to a line's point to hit it.
constexpr qreal pointRadius = 6.0;
// The share of a category that its bars fill together (QtCharts' default).
constexpr qreal barWidth = 0.5;

// The pad's centre part resets the turning.
constexpr int resetPart = 8;
// What a pie turns by per press: degrees of tilt, or height.
constexpr int pieStep = 10;

// Which way a part of the rotation pad turns: up (0) and down (4), left (6) and right (2),
// down-left (5) and down-right (3) deeper and flatter; the other parts not at all.
struct PadTurn
{
    int vertical = 0;
    int horizontal = 0;
    int depth = 0;
};

PadTurn padTurn(int part)
{
    switch (part) {
    case 0:
        return { 1, 0, 0 };
    case 4:
        return { -1, 0, 0 };
    case 6:
        return { 0, 1, 0 };
    case 2:
        return { 0, -1, 0 };
    case 5:
        return { 0, 0, 1 };
    case 3:
        return { 0, 0, -1 };
    default:
        return {};
    }
}

bool isPie(int type)
{
    return type == ChartPie2D || type == ChartPie3D;
}

bool isKnownType(int type)
{
    switch (type) {
    case ChartColumns2D:
    case ChartBars2D:
    case ChartPie2D:
    case ChartColumns3D:
    case ChartBars3D:
    case ChartPie3D:
        return true;
    default:
        return false;
    }
}

} // namespace

QString ChartPointTip(const ChartContent &content, int series, int point)
{
    if (series < 0 || series >= content.series.size())
        return {};
    const QVector<double> &values = content.series.at(series).values;
    if (point < 0 || point >= values.size())
        return {};
    const QString label = content.labels.value(point);
    const QString value = ChartStyle::valueText(values.at(point));
    if (content.oneDimensional)
        return u"%1: %2"_s.arg(label, value);
    return u"%1\n%2: %3"_s.arg(label, content.series.at(series).name, value);
}

CMyChartView::CMyChartView(QWidget *parent)
    : QStackedWidget(parent)
    , m_view(new QChartView(new QChart, this))
    , m_3d(new Chart3DWidget(this))
{
    m_view->setRenderHint(QPainter::Antialiasing);
    addWidget(m_view);
    addWidget(m_3d);
    chart()->setMargins(QMargins(5, 5, 5, 5));
    chart()->setTitleFont(ChartStyle::font(16, true));
    chart()->legend()->setFont(ChartStyle::font(12));
    connect(m_3d, &Chart3DWidget::pointClicked, this, &CMyChartView::post);
    connect(chart(), &QChart::plotAreaChanged, this, &CMyChartView::placePies);
}

QChart *CMyChartView::chart() const
{
    return m_view->chart();
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
        m_view->viewport()->setCursor(Qt::PointingHandCursor);
    else
        m_view->viewport()->unsetCursor();
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
        // Each bar set is a series of its own to the owner.
        connect(bars, &QAbstractBarSeries::released, this, [this, bars](int index, QBarSet *set) {
            post({ int(bars->barSets().indexOf(set)), set->label(), index,
                   QPointF(index, set->at(index)) });
        });
        connect(bars, &QAbstractBarSeries::hovered, this,
                [this, bars](bool on, int index, QBarSet *set) {
                    setHandCursor(on);
                    if (on)
                        set->selectBar(index);
                    else
                        set->deselectBar(index);
                    const int s = int(bars->barSets().indexOf(set));
                    if (on)
                        QToolTip::showText(QCursor::pos(), ChartPointTip(m_content, s, index),
                                           m_view);
                    else
                        QToolTip::hideText();
                });
    } else if (auto *pie = qobject_cast<QPieSeries *>(series)) {
        connect(pie, &QPieSeries::released, this, [this, pie](QPieSlice *slice) {
            const int index = int(pie->slices().indexOf(slice));
            post({ seriesIndex(pie), pie->name(), index, QPointF(index, slice->value()) });
        });
        connect(pie, &QPieSeries::hovered, this, [this, pie](QPieSlice *slice, bool on) {
            setHandCursor(on);
            slice->setExploded(on);
            if (on)
                QToolTip::showText(
                    QCursor::pos(),
                    ChartPointTip(m_content, seriesIndex(pie), int(pie->slices().indexOf(slice))),
                    m_view);
            else
                QToolTip::hideText();
        });
    }
}

bool CMyChartView::is3D() const
{
    return m_type == ChartColumns3D || m_type == ChartBars3D || m_type == ChartPie3D;
}

void CMyChartView::SetChartType(int code)
{
    m_type = isKnownType(code) ? code : ChartColumns2D;
    rebuild();
}

void CMyChartView::SetColorTheme(int theme)
{
    m_theme = theme;
    rebuild();
}

void CMyChartView::SetFillGradientType(int setting)
{
    m_fill = setting;
    rebuild();
}

void CMyChartView::SetShowDataLabels(bool on)
{
    m_labels = on;
    rebuild();
}

void CMyChartView::SetContent(const ChartContent &content)
{
    m_content = content;
    rebuild();
}

void CMyChartView::ClearChart()
{
    SetContent({});
}

void CMyChartView::rebuild()
{
    if (is3D()) {
        chart()->removeAllSeries();
        m_3d->setChart(m_content, { m_type, m_theme, m_fill, m_labels, m_rotation });
        setCurrentWidget(m_3d);
    } else {
        build2D();
        setCurrentWidget(m_view);
    }
}

void CMyChartView::build2D()
{
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis);
    qDeleteAll(m_pieTitles);
    m_pieTitles.clear();
    c->setTitle(richTextSafe(m_content.title));
    c->legend()->setVisible(m_content.legend);
    c->legend()->setAlignment(Qt::AlignRight);
    if (m_type == ChartPie2D)
        buildPies2D();
    else
        buildBars2D(m_type == ChartBars2D);
}

void CMyChartView::buildBars2D(bool horizontal)
{
    if (m_content.series.isEmpty())
        return;
    QAbstractBarSeries *series
        = horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries) : new QBarSeries;
    const Qt::Orientation across = horizontal ? Qt::Vertical : Qt::Horizontal;
    double top = 0;
    for (int s = 0; s < m_content.series.size(); ++s) {
        const ChartSeriesData &seriesData = m_content.series.at(s);
        auto *set = new QBarSet(richTextSafe(seriesData.name));
        for (double value : seriesData.values) {
            set->append(value);
            top = std::max(top, value);
        }
        const QColor color = ChartStyle::color(m_theme, s);
        set->setColor(color);
        set->setBrush(ChartStyle::fill(color, m_fill, across));
        set->setBorderColor(color.darker(130));
        set->setSelectedColor(color.lighter(140));
        set->setLabelFont(ChartStyle::font(11));
        set->setLabelColor(Qt::black);
        series->append(set);
    }
    series->setLabelsVisible(m_labels);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    if (m_content.oneDimensional)
        series->setOpacity(0.8);
    AddSeries(series);

    auto *categories = new QBarCategoryAxis;
    for (const QString &label : m_content.labels)
        categories->append(richTextSafe(label));
    categories->setLabelsFont(ChartStyle::font(11));
    auto *values = new QValueAxis;
    values->setLabelsFont(ChartStyle::font(11));
    const auto [step, end] = ChartStyle::valueScale(top);
    // Whole steps as whole numbers, also past a million.
    values->setLabelFormat(step >= 1 ? u"%.0f"_s : u"%g"_s);
    values->setRange(0, end);
    values->setTickCount(int(std::lround(end / step)) + 1);
    chart()->addAxis(categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart()->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(values);
}

void CMyChartView::buildPies2D()
{
    const int count = int(m_content.series.size());
    for (int s = 0; s < count; ++s) {
        const ChartSeriesData &seriesData = m_content.series.at(s);
        auto *pie = new QPieSeries;
        pie->setName(seriesData.name);
        for (int p = 0; p < seriesData.values.size(); ++p) {
            auto *slice
                = pie->append(richTextSafe(m_content.labels.value(p)), seriesData.values.at(p));
            const QColor color = ChartStyle::color(m_theme, p);
            slice->setColor(color);
            slice->setBrush(ChartStyle::fill(color, m_fill));
            slice->setBorderColor(Qt::white);
            slice->setLabelFont(ChartStyle::font(11));
            slice->setLabelArmLengthFactor(0.1);
            slice->setExplodeDistanceFactor(0.06);
        }
        pie->setHorizontalPosition((s + 0.5) / count);
        if (m_content.oneDimensional)
            pie->setOpacity(0.8);
        AddSeries(pie);
        // The row labels stand once in the legend, the slices carry the values.
        const QList<QLegendMarker *> markers = chart()->legend()->markers(pie);
        for (int p = 0; p < markers.size(); ++p) {
            markers.at(p)->setVisible(s == 0);
            markers.at(p)->setLabel(richTextSafe(m_content.labels.value(p)));
        }
        if (m_labels) {
            for (QPieSlice *slice : pie->slices()) {
                // An empty slice has no room for a label, as in the 3D pie.
                slice->setLabel(ChartStyle::valueText(slice->value()));
                slice->setLabelVisible(slice->value() > 0);
            }
        }
        if (count > 1) {
            auto *title = new QGraphicsSimpleTextItem(seriesData.name, chart());
            title->setFont(ChartStyle::font(12, true));
            m_pieTitles.append(title);
        }
    }
    placePies();
}

void CMyChartView::placePies()
{
    // Pies side by side share the width; a cross names each pie under it.
    const QRectF plot = chart()->plotArea();
    const QList<QAbstractSeries *> all = chart()->series();
    const qreal side = std::min(plot.width(), plot.height());
    if (side <= 0)
        return;
    for (int i = 0; i < all.size(); ++i) {
        auto *pie = qobject_cast<QPieSeries *>(all.at(i));
        if (!pie)
            continue;
        const qreal diameter = std::min(plot.height() * 0.75, plot.width() / all.size() * 0.7);
        pie->setPieSize(diameter / side);
        if (i >= m_pieTitles.size())
            continue;
        QGraphicsSimpleTextItem *title = m_pieTitles.at(i);
        const QRectF box = title->boundingRect();
        title->setPos(plot.left() + plot.width() * pie->horizontalPosition() - box.width() / 2,
                      plot.top() + plot.height() * pie->verticalPosition() + diameter * 0.62);
    }
}

void CMyChartView::RotateChart(int part, double xStep, double yStep, double perspectiveStep)
{
    const bool pie = isPie(m_type);
    if (!pie && m_type != ChartColumns3D && m_type != ChartBars3D)
        return;
    if (part == resetPart) {
        ResetRotation();
        return;
    }
    const PadTurn turn = padTurn(part);
    if (turn.vertical == 0 && turn.horizontal == 0 && (pie || turn.depth == 0))
        return;
    ChartRotation &r = m_rotation;
    if (pie) {
        // Up tilts the pie towards edge-on, never below 1 degree; left thickens it.
        r.pieAngle = std::max(1.0, r.pieAngle - pieStep * turn.vertical);
        r.pieHeight += pieStep * turn.horizontal;
    } else {
        r.yRotation += yStep * turn.vertical;
        r.xRotation += xStep * turn.horizontal;
        r.perspective += perspectiveStep * turn.depth;
    }
    rebuild();
}

void CMyChartView::ResetRotation()
{
    const ChartRotation defaults;
    if (isPie(m_type)) {
        m_rotation.pieAngle = defaults.pieAngle;
        m_rotation.pieHeight = defaults.pieHeight;
    } else {
        m_rotation.xRotation = defaults.xRotation;
        m_rotation.yRotation = defaults.yRotation;
        m_rotation.perspective = defaults.perspective;
    }
    rebuild();
}

void CMyChartView::PrintChart(QPainter &painter, const QRectF &page)
{
    // The chart as shown, scaled onto the page: fonts and lines keep their proportions on any
    // printer resolution.
    const QSizeF shown = currentWidget()->size();
    QSizeF size = shown;
    size.scale(page.size(), Qt::KeepAspectRatio);
    const QRectF target(page.topLeft(), size);
    painter.save();
    if (is3D()) {
        painter.translate(target.topLeft());
        painter.scale(target.width() / shown.width(), target.height() / shown.height());
        m_3d->paintChart(painter, QRectF(QPointF(0, 0), shown));
    } else {
        m_view->scene()->render(&painter, target, chart()->geometry(), Qt::KeepAspectRatio);
    }
    painter.restore();
}

int CMyChartView::seriesCount() const
{
    if (is3D())
        return int(m_3d->content().series.size());
    int count = 0;
    for (QAbstractSeries *series : chart()->series()) {
        if (auto *bars = qobject_cast<QAbstractBarSeries *>(series))
            count += int(bars->count());
        else
            ++count;
    }
    return count;
}

int CMyChartView::pointCount(int series) const
{
    if (is3D()) {
        const auto &all = m_3d->content().series;
        return series >= 0 && series < all.size() ? int(all.at(series).values.size()) : 0;
    }
    int index = 0;
    for (QAbstractSeries *s : chart()->series()) {
        if (auto *bars = qobject_cast<QAbstractBarSeries *>(s)) {
            for (QBarSet *set : bars->barSets()) {
                if (index++ == series)
                    return int(set->count());
            }
        } else if (index++ == series) {
            if (auto *pie = qobject_cast<QPieSeries *>(s))
                return int(pie->count());
            if (auto *xy = qobject_cast<QXYSeries *>(s))
                return int(xy->count());
        }
    }
    return 0;
}

bool CMyChartView::legendVisible() const
{
    if (is3D())
        return m_3d->content().legend;
    return chart()->legend()->isVisible();
}

std::optional<ChartPointHit> CMyChartView::HitTest(const QPoint &pos) const
{
    if (is3D())
        return m_3d->hitTest(m_3d->mapFrom(this, pos));
    const QPoint inView = m_view->viewport()->mapFrom(this, pos);
    return hitTest2D(chart()->mapFromScene(m_view->mapToScene(inView)));
}

std::optional<ChartPointHit> CMyChartView::hitTest2D(const QPointF &chartPos) const
{
    for (QAbstractSeries *series : chart()->series()) {
        if (auto *bars = qobject_cast<QAbstractBarSeries *>(series)) {
            const bool horizontal = bars->type() == QAbstractSeries::SeriesTypeHorizontalBar;
            const QPointF value = chart()->mapToValue(chartPos, series);
            const qreal along = horizontal ? value.y() : value.x();
            const qreal height = horizontal ? value.x() : value.y();
            const int category = int(std::lround(along));
            const QList<QBarSet *> sets = bars->barSets();
            const qreal start = category - barWidth / 2;
            const int s = int(std::floor((along - start) / (barWidth / sets.size())));
            if (s < 0 || s >= sets.size() || category < 0 || category >= sets.at(s)->count())
                continue;
            const qreal v = sets.at(s)->at(category);
            if ((v >= 0 && height >= 0 && height <= v) || (v < 0 && height <= 0 && height >= v))
                return ChartPointHit { s, sets.at(s)->label(), category, QPointF(category, v) };
        } else if (auto *pie = qobject_cast<QPieSeries *>(series)) {
            const QRectF plot = chart()->plotArea();
            const QPointF centre(plot.left() + plot.width() * pie->horizontalPosition(),
                                 plot.top() + plot.height() * pie->verticalPosition());
            const qreal radius = std::min(plot.width(), plot.height()) * pie->pieSize() / 2;
            const QPointF d = chartPos - centre;
            if (std::hypot(d.x(), d.y()) > radius)
                continue;
            // Slice angles run clockwise from twelve o'clock.
            qreal angle = std::atan2(d.x(), -d.y()) * 180.0 / std::numbers::pi;
            if (angle < 0)
                angle += 360.0;
            const QList<QPieSlice *> slices = pie->slices();
            for (int p = 0; p < slices.size(); ++p) {
                const QPieSlice *slice = slices.at(p);
                if (angle >= slice->startAngle()
                    && angle < slice->startAngle() + slice->angleSpan())
                    return ChartPointHit { seriesIndex(pie), pie->name(), p,
                                           QPointF(p, slice->value()) };
            }
        }
    }
    return std::nullopt;
}
