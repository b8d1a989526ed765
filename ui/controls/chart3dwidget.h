#pragma once

#include "ui/controls/cmychartview.h"

#include <QBrush>
#include <QPen>
#include <QPolygonF>
#include <QWidget>

#include <optional>

// Draws the 3D chart types with QPainter: shaded prisms standing on a floor with value walls
// (columns, type 20; bars, type 21) or tilted, extruded pies side by side (type 3), turned by
// the rotation. Paints the same into the widget and into a page; hovering highlights a point
// and shows its value; a left click on a point emits pointClicked.
class Chart3DWidget : public QWidget
{
    Q_OBJECT

public:
    struct Style
    {
        int type = ChartColumns3D;
        int theme = 0;
        int fill = 0;
        bool labels = true;
        ChartRotation rotation;
    };

    explicit Chart3DWidget(QWidget *parent = nullptr);

    void setChart(const ChartContent &content, const Style &style);
    const ChartContent &content() const { return m_content; }
    const Style &style() const { return m_style; }

    // Draws the whole chart (title, diagram, legend) into rect of the painter.
    void paintChart(QPainter &painter, const QRectF &rect) const;
    // The point drawn under pos (widget coordinates).
    std::optional<ChartPointHit> hitTest(const QPointF &pos) const;

Q_SIGNALS:
    void pointClicked(const ChartPointHit &hit);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // One filled polygon of the diagram, in drawing order; series and point -1 for walls.
    struct Face
    {
        QPolygonF polygon;
        QColor color;
        int series = -1;
        int point = -1;
        Qt::Orientation across = Qt::Horizontal;
    };
    struct Text
    {
        QRectF box;
        QString text;
        int flags = 0;
        bool framed = false; // a data label in its box
        bool bold = false;
        int pixels = 12;
    };
    struct Line
    {
        QLineF line;
        QColor color;
    };
    // Everything one paint draws, laid out for a rectangle.
    struct Scene
    {
        QVector<Face> walls;
        QVector<Line> grid;
        QVector<Face> faces;
        QVector<Face> legend;
        QVector<Line> leaders;
        QVector<Text> texts;
    };

    // The value and category axes of a prism chart, turned and fitted into the plot.
    class PrismSpace;
    // The place and shape of the pies of a pie chart.
    struct PieShape;

    Scene layout(const QRectF &rect) const;
    QRectF layoutFrame(const QRectF &rect, Scene &scene) const;
    void layoutPrisms(const QRectF &plot, Scene &scene) const;
    void layoutWalls(const PrismSpace &space, Scene &scene) const;
    void layoutAxisTexts(const PrismSpace &space, Scene &scene) const;
    void layoutPrismFaces(const PrismSpace &space, Scene &scene) const;
    void layoutValueLabels(const PrismSpace &space, Scene &scene) const;
    void layoutPies(const QRectF &plot, Scene &scene) const;
    void layoutPie(const PieShape &shape, int series, Scene &scene) const;
    void layoutSliceLabel(const PieShape &shape, const QPointF &centre, qreal middle, double value,
                          Scene &scene) const;
    static void drawFlat(QPainter &painter, const QVector<Face> &faces, const QColor &edge);
    static void drawLines(QPainter &painter, const QVector<Line> &lines);
    void setHover(int series, int point);

    ChartContent m_content;
    Style m_style;
    int m_hoverSeries = -1;
    int m_hoverPoint = -1;
};
