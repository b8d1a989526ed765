#include "ui/controls/chart3dwidget.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QVector3D>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr int titlePixels = 16;
constexpr int textPixels = 12;
constexpr qreal margin = 5;
const QColor wallColor(0xf4, 0xf5, 0xf7);
const QColor wallEdge(0xc8, 0xcc, 0xd2);
const QColor gridColor(0xdc, 0xdf, 0xe4);

qreal radians(qreal degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// A colour lit by how much its face turns to the light (0 away .. 1 straight at it).
QColor shaded(const QColor &color, qreal light)
{
    const qreal factor = 0.62 + 0.5 * std::clamp(light, 0.0, 1.0);
    return factor >= 1 ? color.lighter(int(100 * factor)) : color.darker(int(100 / factor));
}

// Turns world points (x right, y up, z away from the viewer) by the rotation and projects them
// onto the screen plane, then fits the result into a rectangle.
class Projection
{
public:
    Projection() = default;
    Projection(const ChartRotation &rotation, qreal radius)
        : m_azimuth(radians(rotation.xRotation))
        , m_tilt(radians(rotation.yRotation))
        , m_perspective(std::clamp(rotation.perspective, 0.0, 0.8))
        , m_radius(radius)
    {
    }

    QVector3D turn(const QVector3D &p) const
    {
        const qreal x1 = p.x() * std::cos(m_azimuth) + p.z() * std::sin(m_azimuth);
        const qreal z1 = -p.x() * std::sin(m_azimuth) + p.z() * std::cos(m_azimuth);
        const qreal y2 = p.y() * std::cos(m_tilt) + z1 * std::sin(m_tilt);
        const qreal z2 = -p.y() * std::sin(m_tilt) + z1 * std::cos(m_tilt);
        return QVector3D(float(x1), float(y2), float(z2));
    }

    // The unscaled screen point (y down).
    QPointF flat(const QVector3D &p) const
    {
        const QVector3D t = turn(p);
        const qreal f = 1.0 / (1.0 + m_perspective * t.z() / m_radius);
        return QPointF(t.x() * f, -t.y() * f);
    }

    QPointF operator()(const QVector3D &p) const { return m_offset + flat(p) * m_scale; }

    // A face with this outward normal and centre faces the viewer.
    bool facesViewer(const QVector3D &normal, const QVector3D &centre) const
    {
        const QVector3D n = turn(normal);
        if (m_perspective <= 0)
            return n.z() < 0;
        const QVector3D eye(0, 0, float(-m_radius / m_perspective));
        return QVector3D::dotProduct(n, turn(centre) - eye) < 0;
    }

    qreal light(const QVector3D &normal) const
    {
        static const QVector3D toLight = QVector3D(-0.35f, 0.75f, -0.55f).normalized();
        return QVector3D::dotProduct(turn(normal), toLight);
    }

    void fit(const QRectF &bounds, const QRectF &into)
    {
        m_scale = std::min(into.width() / std::max(bounds.width(), 1e-6),
                           into.height() / std::max(bounds.height(), 1e-6));
        m_offset = into.center() - bounds.center() * m_scale;
    }

private:
    qreal m_azimuth = 0;
    qreal m_tilt = 0;
    qreal m_perspective = 0;
    qreal m_radius = 1;
    qreal m_scale = 1;
    QPointF m_offset;
};

// An axis-aligned box in world coordinates.
struct Box
{
    QVector3D low, high;

    QVector3D corner(int i) const
    {
        return QVector3D(i & 1 ? high.x() : low.x(), i & 2 ? high.y() : low.y(),
                         i & 4 ? high.z() : low.z());
    }
    QVector3D centre() const { return (low + high) / 2; }
};

// The six faces of a box: outward normal and the corner indices around it.
struct BoxFace
{
    QVector3D normal;
    std::array<int, 4> corners;
};
constexpr int faceCount = 6;
const std::array<BoxFace, faceCount> boxFaces { {
    { QVector3D(-1, 0, 0), { 0, 2, 6, 4 } },
    { QVector3D(1, 0, 0), { 1, 3, 7, 5 } },
    { QVector3D(0, -1, 0), { 0, 1, 5, 4 } },
    { QVector3D(0, 1, 0), { 2, 3, 7, 6 } },
    { QVector3D(0, 0, -1), { 0, 1, 3, 2 } },
    { QVector3D(0, 0, 1), { 4, 5, 7, 6 } },
} };

QVector3D faceCentre(const Box &box, const BoxFace &face)
{
    QVector3D sum;
    for (int c : face.corners)
        sum += box.corner(c);
    return sum / 4;
}

QPolygonF project(const Projection &view, const Box &box, const BoxFace &face)
{
    QPolygonF polygon;
    for (int c : face.corners)
        polygon << view(box.corner(c));
    return polygon;
}

qreal textWidth(const QFontMetricsF &metrics, const QStringList &texts)
{
    qreal width = 0;
    for (const QString &text : texts)
        width = std::max(width, metrics.horizontalAdvance(text));
    return width;
}

} // namespace

Chart3DWidget::Chart3DWidget(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
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
    const QRectF plot = layoutFrame(rect, scene);
    if (plot.width() < 10 || plot.height() < 10)
        return scene;
    if (m_style.type == ChartPie3D)
        layoutPies(plot, scene);
    else
        layoutPrisms(plot, scene);
    return scene;
}

QRectF Chart3DWidget::layoutFrame(const QRectF &rect, Scene &scene) const
{
    QRectF plot = rect.adjusted(margin, margin, -margin, -margin);
    if (!m_content.title.isEmpty()) {
        const qreal height = QFontMetricsF(ChartStyle::font(titlePixels, true)).height();
        scene.texts.append({ QRectF(plot.left(), plot.top(), plot.width(), height), m_content.title,
                             Qt::AlignCenter, false, true, titlePixels });
        plot.setTop(plot.top() + height + margin);
    }
    if (!m_content.legend)
        return plot;

    // A pie's legend names its slices, a prism chart's its series.
    QStringList names;
    if (m_style.type == ChartPie3D) {
        names = m_content.labels;
    } else {
        for (const ChartSeriesData &series : m_content.series)
            names << series.name;
    }
    const QFontMetricsF metrics(ChartStyle::font(textPixels));
    const qreal swatch = metrics.height() * 0.8;
    const qreal width = std::min(plot.width() / 3, textWidth(metrics, names) + swatch + 3 * margin);
    const qreal line = metrics.height() + 2;
    qreal y = plot.center().y() - line * names.size() / 2;
    const qreal x = plot.right() - width + margin;
    for (int i = 0; i < names.size(); ++i, y += line) {
        const QRectF mark(x, y + (line - swatch) / 2, swatch, swatch);
        scene.legend.append({ QPolygonF(mark), ChartStyle::color(m_style.theme, i), -1, -1 });
        scene.texts.append({ QRectF(mark.right() + margin, y, width - swatch - 2 * margin, line),
                             names.at(i), Qt::AlignLeft | Qt::AlignVCenter, false, false });
    }
    plot.setRight(plot.right() - width);
    return plot;
}

class Chart3DWidget::PrismSpace
{
public:
    PrismSpace(const ChartContent &content, const Style &style, const QRectF &plot)
        : columns(style.type != ChartBars3D)
        , points(int(content.labels.size()))
        , seriesCount(int(content.series.size()))
        , metrics(ChartStyle::font(textPixels))
        , textHeight(metrics.height())
        , m_categoryLength(points)
        , m_valueLength(std::max<qreal>(3.0, points * 0.6))
    {
        double highest = 0;
        for (const ChartSeriesData &series : content.series) {
            for (double value : series.values)
                highest = std::max(highest, value);
        }
        const ChartStyle::ValueScale scale = ChartStyle::valueScale(highest);
        step = scale.step;
        top = scale.top;
        for (qreal t = 0; t <= top + step / 2; t += step)
            ticks << ChartStyle::valueText(t);

        const QVector3D a = at(0, 0, 0), b = at(m_categoryLength, top, depth);
        bounds = { QVector3D(std::min(a.x(), b.x()), std::min(a.y(), b.y()), a.z()),
                   QVector3D(std::max(a.x(), b.x()), std::max(a.y(), b.y()), b.z()) };
        view = Projection(style.rotation, (bounds.high - bounds.low).length() / 2);

        // The box fills the plot but for room for the axis texts around it.
        QPolygonF corners;
        for (int i = 0; i < 8; ++i)
            corners << view.flat(bounds.corner(i));
        const qreal labels = style.labels ? textHeight + margin : 0;
        const QRectF into = columns
            ? plot.adjusted(textWidth(metrics, ticks) + 2 * margin, labels, -margin,
                            -(textHeight + 2 * margin))
            : plot.adjusted(textWidth(metrics, content.labels) + 2 * margin, 0,
                            style.labels ? -(textWidth(metrics, ticks) + 3 * margin) : -margin,
                            -(textHeight + 2 * margin));
        view.fit(corners.boundingRect(), into);
    }

    // A world point: categories one unit apart, left to right as columns and top to bottom as
    // bars; values up to the axis top along the other axis; z from 0 (front) to depth.
    QVector3D at(qreal category, qreal value, qreal z) const
    {
        const qreal v = value / top * m_valueLength - m_valueLength / 2;
        const qreal c = category - m_categoryLength / 2;
        const auto d = float(z - depth / 2);
        return columns ? QVector3D(float(c), float(v), d) : QVector3D(float(v), float(-c), d);
    }
    int valueAxis() const { return columns ? 1 : 0; }
    // The width of one series' prisms in a category.
    qreal share() const { return 0.7 / seriesCount; }
    qreal prismStart(int series, int category) const { return category + 0.15 + series * share(); }

    static constexpr qreal depth = 1.0;
    const bool columns;
    const int points;
    const int seriesCount;
    const QFontMetricsF metrics;
    const qreal textHeight;
    qreal step = 1;
    qreal top = 1;
    QStringList ticks;
    Box bounds;
    Projection view;

private:
    const qreal m_categoryLength;
    const qreal m_valueLength;
};

void Chart3DWidget::layoutPrisms(const QRectF &plot, Scene &scene) const
{
    if (m_content.labels.isEmpty() || m_content.series.isEmpty())
        return;
    const PrismSpace space(m_content, m_style, plot);
    layoutWalls(space, scene);
    layoutAxisTexts(space, scene);
    layoutPrismFaces(space, scene);
    if (m_style.labels)
        layoutValueLabels(space, scene);
}

// The walls behind the diagram, with a line at every tick of the value axis.
void Chart3DWidget::layoutWalls(const PrismSpace &space, Scene &scene) const
{
    const Box &bounds = space.bounds;
    const int valueAxis = space.valueAxis();
    for (const BoxFace &face : boxFaces) {
        if (face.normal.y() > 0 || space.view.facesViewer(face.normal, faceCentre(bounds, face)))
            continue;
        scene.walls.append({ project(space.view, bounds, face), wallColor });
        if (face.normal[valueAxis] != 0)
            continue;
        const int normalAxis = face.normal.x() != 0 ? 0 : face.normal.y() != 0 ? 1 : 2;
        const int acrossAxis = 3 - normalAxis - valueAxis;
        const QVector3D onWall = faceCentre(bounds, face);
        for (qreal t = space.step; t <= space.top + space.step / 2; t += space.step) {
            QVector3D from = onWall, to = onWall;
            from[valueAxis] = to[valueAxis] = space.at(0, t, 0)[valueAxis];
            from[acrossAxis] = bounds.low[acrossAxis];
            to[acrossAxis] = bounds.high[acrossAxis];
            scene.grid.append({ QLineF(space.view(from), space.view(to)), gridColor });
        }
    }
}

// Value ticks along the front edge, category names along the other.
void Chart3DWidget::layoutAxisTexts(const PrismSpace &space, Scene &scene) const
{
    const qreal h = space.textHeight;
    for (int i = 0; i < space.ticks.size(); ++i) {
        const QPointF p = space.view(space.at(space.columns ? 0 : space.points, i * space.step, 0));
        scene.texts.append(space.columns
                               ? Text { QRectF(p.x() - 200 - margin, p.y() - h / 2, 200, h),
                                        space.ticks.at(i), Qt::AlignRight | Qt::AlignVCenter }
                               : Text { QRectF(p.x() - 100, p.y() + margin, 200, h),
                                        space.ticks.at(i), Qt::AlignHCenter | Qt::AlignTop });
    }
    // Names too close to read side by side are thinned out.
    const QPointF apart = space.view(space.at(1.5, 0, 0)) - space.view(space.at(0.5, 0, 0));
    const qreal spacing = std::max(std::abs(space.columns ? apart.x() : apart.y()), 1.0);
    const qreal needed = space.columns ? textWidth(space.metrics, m_content.labels) + 6 : h + 2;
    const int every = std::max(1, int(std::ceil(needed / spacing)));
    for (int c = 0; c < space.points; c += every) {
        const QPointF p = space.view(space.at(c + 0.5, 0, 0));
        scene.texts.append(
            space.columns ? Text { QRectF(p.x() - 100, p.y() + margin, 200, h),
                                   m_content.labels.at(c), Qt::AlignHCenter | Qt::AlignTop }
                          : Text { QRectF(p.x() - 400 - margin, p.y() - h / 2, 400, h),
                                   m_content.labels.at(c), Qt::AlignRight | Qt::AlignVCenter });
    }
}

// The prisms' visible faces, far prisms first.
void Chart3DWidget::layoutPrismFaces(const PrismSpace &space, Scene &scene) const
{
    struct Prism
    {
        Box box;
        int series;
        int point;
        qreal distance;
    };
    QVector<Prism> prisms;
    for (int s = 0; s < space.seriesCount; ++s) {
        const QVector<double> &values = m_content.series.at(s).values;
        for (int c = 0; c < space.points && c < values.size(); ++c) {
            // An empty cell has no prism, as a 2D bar of 0 has no bar; its label still says 0.
            if (values.at(c) == 0)
                continue;
            const qreal from = space.prismStart(s, c);
            const QVector3D a = space.at(from, 0, 0.2);
            const QVector3D b = space.at(from + space.share() * 0.9, values.at(c), 0.8);
            const Box box { QVector3D(std::min(a.x(), b.x()), std::min(a.y(), b.y()), a.z()),
                            QVector3D(std::max(a.x(), b.x()), std::max(a.y(), b.y()), b.z()) };
            prisms.append({ box, s, c, space.view.turn(box.centre()).z() });
        }
    }
    std::stable_sort(prisms.begin(), prisms.end(),
                     [](const Prism &a, const Prism &b) { return a.distance > b.distance; });
    const Qt::Orientation across = space.columns ? Qt::Horizontal : Qt::Vertical;
    for (const Prism &prism : prisms) {
        const QColor color = ChartStyle::color(m_style.theme, prism.series);
        for (const BoxFace &face : boxFaces) {
            if (!space.view.facesViewer(face.normal, faceCentre(prism.box, face)))
                continue;
            scene.faces.append({ project(space.view, prism.box, face),
                                 shaded(color, space.view.light(face.normal)), prism.series,
                                 prism.point, across });
        }
    }
}

// Each value in a box over its prism's front edge.
void Chart3DWidget::layoutValueLabels(const PrismSpace &space, Scene &scene) const
{
    for (int s = 0; s < space.seriesCount; ++s) {
        const QVector<double> &values = m_content.series.at(s).values;
        for (int c = 0; c < space.points && c < values.size(); ++c) {
            const QString text = ChartStyle::valueText(values.at(c));
            const QSizeF size(space.metrics.horizontalAdvance(text) + 6, space.textHeight);
            const qreal middle = space.prismStart(s, c) + space.share() * 0.45;
            const QPointF p = space.view(space.at(middle, values.at(c), 0.2));
            const QRectF box = space.columns
                ? QRectF(QPointF(p.x() - size.width() / 2, p.y() - size.height() - 3), size)
                : QRectF(QPointF(p.x() + 4, p.y() - size.height() / 2), size);
            scene.texts.append({ box, text, Qt::AlignCenter, true });
        }
    }
}

struct Chart3DWidget::PieShape
{
    qreal column; // the width each pie takes
    qreal top;    // where the pies' band begins
    qreal left;
    qreal height; // the band's height
    qreal rx, ry; // the top ellipse's radii
    qreal depth;  // the rim's height on screen
    qreal textHeight;
    bool named; // a cross names its pies
    QFontMetricsF metrics;

    QPointF centre(int series) const
    {
        return QPointF(left + column * (series + 0.5), top + (height - 2 * ry - depth) / 2 + ry);
    }
    // A point of the rim at degrees (anticlockwise from three o'clock), down from the top face.
    QPointF rim(const QPointF &centre, qreal degrees, qreal down) const
    {
        const qreal a = radians(degrees);
        return QPointF(centre.x() + rx * std::cos(a), centre.y() - ry * std::sin(a) + down);
    }
};

void Chart3DWidget::layoutPies(const QRectF &plot, Scene &scene) const
{
    const int pies = int(m_content.series.size());
    if (pies == 0)
        return;
    const QFontMetricsF metrics(ChartStyle::font(textPixels));
    const qreal textHeight = metrics.height();
    // The pie angle tilts the pie from edge-on (1) to seen from above (90); the height thickens
    // the rim from the default quarter of the radius.
    const qreal tilt = radians(std::clamp(m_style.rotation.pieAngle, 1.0, 90.0));
    const qreal thickness = std::clamp(0.25 + m_style.rotation.pieHeight / 100.0, 0.02, 1.0);
    const qreal column = plot.width() / pies;
    const qreal height = plot.height() - (pies > 1 ? 2 * textHeight + margin : 0);
    const qreal room = m_style.labels ? 0.72 : 0.9;
    const qreal rx = std::min(column * room / 2,
                              height * room / (2 * std::sin(tilt) + thickness * std::cos(tilt)));
    const PieShape shape { column,
                           plot.top(),
                           plot.left(),
                           height,
                           rx,
                           rx * std::sin(tilt),
                           rx * thickness * std::cos(tilt),
                           textHeight,
                           pies > 1,
                           metrics };
    for (int s = 0; s < pies; ++s)
        layoutPie(shape, s, scene);
}

// Slices run clockwise from twelve o'clock; angles here count anticlockwise from three.
void Chart3DWidget::layoutPie(const PieShape &shape, int series, Scene &scene) const
{
    constexpr qreal stepDegrees = 2.0;
    const QPointF centre = shape.centre(series);
    if (shape.named)
        scene.texts.append({ QRectF(centre.x() - shape.column / 2,
                                    centre.y() + shape.ry + shape.depth + margin
                                        + (m_style.labels ? shape.textHeight : 0),
                                    shape.column, shape.textHeight),
                             m_content.series.at(series).name, Qt::AlignCenter, false, true });
    const QVector<double> &values = m_content.series.at(series).values;
    double total = 0;
    for (double value : values)
        total += std::max(0.0, value);
    if (total <= 0)
        return;

    QVector<Face> sides, tops;
    qreal start = 90.0;
    for (int p = 0; p < values.size(); ++p) {
        if (values.at(p) <= 0)
            continue;
        const qreal end = start - 360.0 * values.at(p) / total;
        const QColor color = ChartStyle::color(m_style.theme, p);
        QPolygonF top { centre };
        for (qreal a = start; a > end; a -= stepDegrees)
            top << shape.rim(centre, a, 0);
        top << shape.rim(centre, end, 0);
        tops.append({ top, color.lighter(105), series, p, Qt::Horizontal });

        // Only the front half of the rim (from nine to three o'clock below) shows.
        const qreal from = std::min(start, 0.0), to = std::max(end, -180.0);
        if (from > to && shape.depth > 0.5) {
            QPolygonF side;
            for (qreal a = from; a > to; a -= stepDegrees)
                side << shape.rim(centre, a, 0);
            side << shape.rim(centre, to, 0);
            for (qreal a = to; a < from; a += stepDegrees)
                side << shape.rim(centre, a, shape.depth);
            side << shape.rim(centre, from, shape.depth);
            sides.append({ side, color.darker(135), series, p, Qt::Vertical });
        }
        if (m_style.labels)
            layoutSliceLabel(shape, centre, (start + end) / 2, values.at(p), scene);
        start = end;
    }
    scene.faces << sides << tops;
}

// A slice's value in a box outside the rim, tied to it by a short line.
void Chart3DWidget::layoutSliceLabel(const PieShape &shape, const QPointF &centre, qreal middle,
                                     double value, Scene &scene) const
{
    const bool front = std::sin(radians(middle)) < 0;
    const QPointF edge = shape.rim(centre, middle, front ? shape.depth / 2 : 0);
    const QPointF out = centre + (edge - centre) * 1.15 + QPointF(0, front ? shape.depth / 2 : 0);
    const QString text = ChartStyle::valueText(value);
    const QSizeF size(shape.metrics.horizontalAdvance(text) + 6, shape.textHeight);
    const bool right = std::cos(radians(middle)) >= 0;
    const QRectF box(QPointF(right ? out.x() : out.x() - size.width(), out.y() - size.height() / 2),
                     size);
    scene.leaders.append({ QLineF(edge, out), QColor(0x80, 0x80, 0x80) });
    scene.texts.append({ box, text, Qt::AlignCenter, true });
}

void Chart3DWidget::drawFlat(QPainter &painter, const QVector<Face> &faces, const QColor &edge)
{
    painter.setPen(QPen(edge, 0));
    for (const Face &face : faces) {
        painter.setBrush(face.color);
        painter.drawPolygon(face.polygon);
    }
}

void Chart3DWidget::drawLines(QPainter &painter, const QVector<Line> &lines)
{
    for (const Line &line : lines) {
        painter.setPen(QPen(line.color, 0));
        painter.drawLine(line.line);
    }
}

void Chart3DWidget::paintChart(QPainter &painter, const QRectF &rect) const
{
    const Scene scene = layout(rect);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawFlat(painter, scene.walls, wallEdge);
    drawLines(painter, scene.grid);
    painter.save();
    if (m_content.oneDimensional)
        painter.setOpacity(0.8);
    for (const Face &face : scene.faces) {
        const bool hovered = face.series == m_hoverSeries && face.point == m_hoverPoint;
        const QColor color = hovered ? face.color.lighter(130) : face.color;
        painter.setPen(QPen(color.darker(125), 0));
        painter.setBrush(ChartStyle::fill(color, m_style.fill, face.across));
        painter.drawPolygon(face.polygon);
    }
    painter.restore();
    drawFlat(painter, scene.legend, Qt::white);
    drawLines(painter, scene.leaders);
    for (const Text &text : scene.texts) {
        painter.setFont(ChartStyle::font(text.pixels, text.bold));
        if (text.framed) {
            painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 0));
            painter.setBrush(QColor(255, 255, 255, 230));
            painter.drawRoundedRect(text.box, 2, 2);
        }
        painter.setPen(Qt::black);
        painter.drawText(text.box, text.flags, text.text);
    }
    painter.restore();
}

std::optional<ChartPointHit> Chart3DWidget::hitTest(const QPointF &pos) const
{
    const Scene scene = layout(rect());
    // The face drawn last lies on top.
    for (auto face = scene.faces.crbegin(); face != scene.faces.crend(); ++face) {
        if (!face->polygon.containsPoint(pos, Qt::OddEvenFill))
            continue;
        const ChartSeriesData &series = m_content.series.at(face->series);
        return ChartPointHit { face->series, series.name, face->point,
                               QPointF(face->point, series.values.value(face->point)) };
    }
    return std::nullopt;
}

void Chart3DWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintChart(painter, rect());
}

void Chart3DWidget::setHover(int series, int point)
{
    if (series == m_hoverSeries && point == m_hoverPoint)
        return;
    m_hoverSeries = series;
    m_hoverPoint = point;
    if (series >= 0)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    update();
}

void Chart3DWidget::mouseMoveEvent(QMouseEvent *event)
{
    const auto hit = hitTest(event->position());
    setHover(hit ? hit->seriesIndex : -1, hit ? hit->pointIndex : -1);
    if (hit)
        QToolTip::showText(event->globalPosition().toPoint(),
                           ChartPointTip(m_content, hit->seriesIndex, hit->pointIndex), this);
    else
        QToolTip::hideText();
    QWidget::mouseMoveEvent(event);
}

void Chart3DWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (const auto hit = hitTest(event->position()))
            Q_EMIT pointClicked(*hit);
    }
    QWidget::mouseReleaseEvent(event);
}

void Chart3DWidget::leaveEvent(QEvent *event)
{
    setHover(-1, -1);
    QWidget::leaveEvent(event);
}
