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
    qreal m_azimuth;
    qreal m_tilt;
    qreal m_perspective;
    qreal m_radius;
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

void Chart3DWidget::layoutPrisms(const QRectF &plot, Scene &scene) const
{
    const bool columns = m_style.type != ChartBars3D;
    const int points = int(m_content.labels.size());
    const int seriesCount = int(m_content.series.size());
    if (points == 0 || seriesCount == 0)
        return;
    double highest = 0;
    for (const ChartSeriesData &series : m_content.series) {
        for (double value : series.values)
            highest = std::max(highest, value);
    }
    const auto [step, top] = ChartStyle::valueScale(highest);

    // The world: categories one unit apart along one axis, values along another, depth 1.
    const qreal categoryLength = points;
    const qreal valueLength = std::max<qreal>(3.0, points * 0.6);
    const qreal depth = 1.0;
    const int valueAxis = columns ? 1 : 0;
    auto at = [&](qreal category, qreal value, qreal z) {
        // Categories run left to right as columns, top to bottom as bars.
        const qreal v = value / top * valueLength;
        return columns ? QVector3D(float(category - categoryLength / 2), float(v - valueLength / 2),
                                   float(z - depth / 2))
                       : QVector3D(float(v - valueLength / 2), float(categoryLength / 2 - category),
                                   float(z - depth / 2));
    };
    const Box world { at(0, 0, 0), at(categoryLength, top, depth) };
    const Box bounds { QVector3D(std::min(world.low.x(), world.high.x()),
                                 std::min(world.low.y(), world.high.y()), world.low.z()),
                       QVector3D(std::max(world.low.x(), world.high.x()),
                                 std::max(world.low.y(), world.high.y()), world.high.z()) };
    Projection view(m_style.rotation, (bounds.high - bounds.low).length() / 2);

    // Fit the box with room for the axis texts around it.
    const QFontMetricsF metrics(ChartStyle::font(textPixels));
    QStringList ticks;
    for (qreal t = 0; t <= top + step / 2; t += step)
        ticks << ChartStyle::valueText(t);
    QPolygonF corners;
    for (int i = 0; i < 8; ++i)
        corners << view.flat(bounds.corner(i));
    const QRectF flatBounds = corners.boundingRect();
    const qreal textHeight = metrics.height();
    const QRectF into = columns
        ? plot.adjusted(textWidth(metrics, ticks) + 2 * margin,
                        m_style.labels ? textHeight + margin : 0, -margin,
                        -(textHeight + 2 * margin))
        : plot.adjusted(textWidth(metrics, m_content.labels) + 2 * margin, 0,
                        m_style.labels ? -(textWidth(metrics, ticks) + 3 * margin) : -margin,
                        -(textHeight + 2 * margin));
    view.fit(flatBounds, into);

    // The walls behind the diagram, with a line at every tick of the value axis.
    for (const BoxFace &face : boxFaces) {
        if (face.normal.y() > 0 || view.facesViewer(face.normal, faceCentre(bounds, face)))
            continue;
        scene.walls.append({ project(view, bounds, face), wallColor, -1, -1 });
        if (face.normal[valueAxis] != 0)
            continue;
        const int normalAxis = face.normal.x() != 0 ? 0 : face.normal.y() != 0 ? 1 : 2;
        const int acrossAxis = 3 - normalAxis - valueAxis;
        const QVector3D onWall = faceCentre(bounds, face);
        for (qreal t = step; t <= top + step / 2; t += step) {
            QVector3D from = onWall, to = onWall;
            const float v = at(0, t, 0)[valueAxis];
            from[valueAxis] = to[valueAxis] = v;
            from[acrossAxis] = bounds.low[acrossAxis];
            to[acrossAxis] = bounds.high[acrossAxis];
            scene.grid.append({ QLineF(view(from), view(to)), gridColor });
        }
    }

    // Value ticks along the front edge, category names along the other.
    for (int i = 0; i < ticks.size(); ++i) {
        const QPointF p = view(at(columns ? 0 : points, i * step, 0));
        scene.texts.append(
            columns ? Text { QRectF(p.x() - 200 - margin, p.y() - textHeight / 2, 200, textHeight),
                             ticks.at(i), Qt::AlignRight | Qt::AlignVCenter }
                    : Text { QRectF(p.x() - 100, p.y() + margin, 200, textHeight), ticks.at(i),
                             Qt::AlignHCenter | Qt::AlignTop });
    }
    for (int c = 0; c < points; ++c) {
        const QPointF p = view(at(c + 0.5, 0, 0));
        scene.texts.append(
            columns ? Text { QRectF(p.x() - 100, p.y() + margin, 200, textHeight),
                             m_content.labels.at(c), Qt::AlignHCenter | Qt::AlignTop }
                    : Text { QRectF(p.x() - 400 - margin, p.y() - textHeight / 2, 400, textHeight),
                             m_content.labels.at(c), Qt::AlignRight | Qt::AlignVCenter });
    }

    // The prisms, far ones first; each series takes its share of a category's width.
    struct Prism
    {
        Box box;
        int series;
        int point;
        qreal distance;
    };
    QVector<Prism> prisms;
    const qreal share = 0.7 / seriesCount;
    for (int s = 0; s < seriesCount; ++s) {
        const QVector<double> &values = m_content.series.at(s).values;
        for (int c = 0; c < points && c < values.size(); ++c) {
            const qreal from = c + 0.15 + s * share;
            const QVector3D a = at(from, 0, 0.2), b = at(from + share * 0.9, values.at(c), 0.8);
            Box box { QVector3D(std::min(a.x(), b.x()), std::min(a.y(), b.y()), a.z()),
                      QVector3D(std::max(a.x(), b.x()), std::max(a.y(), b.y()), b.z()) };
            prisms.append({ box, s, c, view.turn(box.centre()).z() });
        }
    }
    std::stable_sort(prisms.begin(), prisms.end(),
                     [](const Prism &a, const Prism &b) { return a.distance > b.distance; });
    const Qt::Orientation across = columns ? Qt::Horizontal : Qt::Vertical;
    for (const Prism &prism : prisms) {
        const QColor color = ChartStyle::color(m_style.theme, prism.series);
        for (const BoxFace &face : boxFaces) {
            if (!view.facesViewer(face.normal, faceCentre(prism.box, face)))
                continue;
            scene.faces.append({ project(view, prism.box, face),
                                 shaded(color, view.light(face.normal)), prism.series, prism.point,
                                 across });
        }
    }

    if (!m_style.labels)
        return;
    for (int s = 0; s < seriesCount; ++s) {
        const QVector<double> &values = m_content.series.at(s).values;
        for (int c = 0; c < points && c < values.size(); ++c) {
            const QString text = ChartStyle::valueText(values.at(c));
            const QSizeF size(metrics.horizontalAdvance(text) + 6, textHeight);
            const QPointF p = view(at(c + 0.15 + (s + 0.45) * share, values.at(c), 0.2));
            const QRectF box = columns
                ? QRectF(QPointF(p.x() - size.width() / 2, p.y() - size.height() - 3), size)
                : QRectF(QPointF(p.x() + 4, p.y() - size.height() / 2), size);
            scene.texts.append({ box, text, Qt::AlignCenter, true, false });
        }
    }
}

void Chart3DWidget::layoutPies(const QRectF &plot, Scene &scene) const
{
    const int pies = int(m_content.series.size());
    if (pies == 0)
        return;
    const QFontMetricsF metrics(ChartStyle::font(textPixels));
    const qreal textHeight = metrics.height();
    const qreal tilt = radians(std::clamp(m_style.rotation.pieAngle, 1.0, 90.0));
    const qreal thickness = std::clamp(0.25 + m_style.rotation.pieHeight / 100.0, 0.02, 1.0);
    const qreal column = plot.width() / pies;
    const qreal height = plot.height() - (pies > 1 ? textHeight + margin : 0);
    const qreal room = m_style.labels ? 0.72 : 0.9;
    const qreal rx = std::min(column * room / 2,
                              height * room / (2 * std::sin(tilt) + thickness * std::cos(tilt)));
    const qreal ry = rx * std::sin(tilt);
    const qreal depth = rx * thickness * std::cos(tilt);
    constexpr qreal stepDegrees = 2.0;

    for (int s = 0; s < pies; ++s) {
        const QVector<double> &values = m_content.series.at(s).values;
        const QPointF centre(plot.left() + column * (s + 0.5),
                             plot.top() + (height - 2 * ry - depth) / 2 + ry);
        auto rim = [&](qreal degrees, qreal down) {
            const qreal a = radians(degrees);
            return QPointF(centre.x() + rx * std::cos(a), centre.y() - ry * std::sin(a) + down);
        };
        if (pies > 1)
            scene.texts.append({ QRectF(centre.x() - column / 2, centre.y() + ry + depth + margin,
                                        column, textHeight),
                                 m_content.series.at(s).name, Qt::AlignCenter, false, true });
        double total = 0;
        for (double value : values)
            total += std::max(0.0, value);
        if (total <= 0)
            continue;

        // Slices run clockwise from twelve o'clock; angles here count anticlockwise from three.
        QVector<Face> sides, tops;
        qreal start = 90.0;
        for (int p = 0; p < values.size(); ++p) {
            if (values.at(p) <= 0)
                continue;
            const qreal end = start - 360.0 * values.at(p) / total;
            const QColor color = ChartStyle::color(m_style.theme, p);
            QPolygonF top { centre };
            for (qreal a = start; a > end; a -= stepDegrees)
                top << rim(a, 0);
            top << rim(end, 0);
            tops.append({ top, color.lighter(105), s, p, Qt::Horizontal });

            // Only the front half of the rim (between nine and three o'clock below) shows.
            const qreal from = std::min(start, 0.0), to = std::max(end, -180.0);
            if (from > to && depth > 0.5) {
                QPolygonF side;
                for (qreal a = from; a > to; a -= stepDegrees)
                    side << rim(a, 0);
                side << rim(to, 0);
                for (qreal a = to; a < from; a += stepDegrees)
                    side << rim(a, depth);
                side << rim(from, depth);
                sides.append({ side, color.darker(135), s, p, Qt::Vertical });
            }
            if (m_style.labels) {
                const qreal middle = (start + end) / 2;
                const qreal down = std::sin(radians(middle)) < 0 ? depth : 0;
                const QPointF edge = rim(middle, down / 2);
                const QPointF out = centre + (edge - centre) * 1.15
                    + QPointF(0, std::sin(radians(middle)) < 0 ? down / 2 : 0);
                const QString text = ChartStyle::valueText(values.at(p));
                const QSizeF size(metrics.horizontalAdvance(text) + 6, textHeight);
                const bool right = std::cos(radians(middle)) >= 0;
                const QRectF box(
                    QPointF(right ? out.x() : out.x() - size.width(), out.y() - size.height() / 2),
                    size);
                scene.leaders.append({ QLineF(edge, out), QColor(0x80, 0x80, 0x80) });
                scene.texts.append({ box, text, Qt::AlignCenter, true, false });
            }
            start = end;
        }
        scene.faces << sides << tops;
    }
}

void Chart3DWidget::paintChart(QPainter &painter, const QRectF &rect) const
{
    const Scene scene = layout(rect);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(wallEdge, 0));
    for (const Face &wall : scene.walls) {
        painter.setBrush(wall.color);
        painter.drawPolygon(wall.polygon);
    }
    for (const Line &line : scene.grid) {
        painter.setPen(QPen(line.color, 0));
        painter.drawLine(line.line);
    }
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
    painter.setPen(QPen(Qt::white, 0));
    for (const Face &mark : scene.legend) {
        painter.setBrush(mark.color);
        painter.drawPolygon(mark.polygon);
    }
    for (const Line &line : scene.leaders) {
        painter.setPen(QPen(line.color, 0));
        painter.drawLine(line.line);
    }
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
