#pragma once

#include "ui/controls/chartpalettes.h"
#include "ui/controls/privatemessages.h"

#include <QStackedWidget>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtCharts/QChartView>

#include <optional>

QT_BEGIN_NAMESPACE
class QAbstractSeries;
class QGraphicsSimpleTextItem;
class QChart;
class QPainter;
QT_END_NAMESPACE

class Chart3DWidget;

// One series of a chart: a name and one value per point.
struct ChartSeriesData
{
    QString name;
    QVector<double> values;
};

// What a chart shows: a title, one label per point and the series.
struct ChartContent
{
    QString title;
    QStringList labels;              // one per point
    QVector<ChartSeriesData> series; // a one-dimensional chart has one series
    bool legend = true;              // shown on the right
    bool oneDimensional = true;      // drawn at 80 % opacity
};

// The tooltip of a point: its label and value, and in a cross its series.
QString ChartPointTip(const ChartContent &content, int series, int point);

// Chart type codes.
enum ChartTypeCode {
    ChartColumns2D = 8,
    ChartBars2D = 9,
    ChartPie2D = 2,
    ChartColumns3D = 20,
    ChartBars3D = 21,
    ChartPie3D = 3,
};

// The turning of the 3D diagram and of pies.
struct ChartRotation
{
    double xRotation = 20.0;  // degrees turned about the vertical axis
    double yRotation = 20.0;  // degrees the diagram is tilted towards the viewer
    double perspective = 0.2; // 0 is a parallel view
    double pieAngle = 45.0;   // degrees a 3D pie is tilted from edge-on
    int pieHeight = 0;        // a 3D pie's thickness over the default
};

// The chart of the statistics window. Types 8, 9 and 2 are drawn by QtCharts, the 3D types 20,
// 21 and 3 by our own painter widget; both share the themes, fills, labels, hit-testing and
// printing. A left click on a data point (a point of a line or scatter series, a bar, a pie
// slice, a 3D prism or slice) posts chartPointClick with a copy of the hit, so it arrives after
// the click has been handled. The cursor is a hand over the points; hovering a point highlights
// it and shows its value. Series added by hand must be added (or connected) through this view.
class CMyChartView : public QStackedWidget
{
    Q_OBJECT

public:
    explicit CMyChartView(QWidget *parent = nullptr);

    // The 2D chart (also while a 3D type is shown).
    QChart *chart() const;
    QChartView *chartView() const { return m_view; }
    Chart3DWidget *chart3D() const { return m_3d; }

    // Adds the series to the 2D chart (which takes it) and connects it.
    void AddSeries(QAbstractSeries *series);
    // Connects a series that is already in the 2D chart.
    void ConnectSeries(QAbstractSeries *series);

    // The hit a click at the chart position (of the series) gives; false when it is not near a
    // point of a line or scatter series.
    bool HitXYPoint(QAbstractSeries *series, const QPointF &value, ChartPointHit *hit) const;

    // The type code (8, 9, 2, 20, 21, 3; others are taken as 8); the content is redrawn.
    void SetChartType(int code);
    int chartType() const { return m_type; }
    void SetColorTheme(int theme); // 0..19
    int colorTheme() const { return m_theme; }
    void SetFillGradientType(int setting); // 0..5; 0 or above 5: the default fill
    int fillGradientType() const { return m_fill; }
    void SetShowDataLabels(bool on);
    bool showDataLabels() const { return m_labels; }

    // Replaces what the chart shows.
    void SetContent(const ChartContent &content);
    const ChartContent &content() const { return m_content; }
    // No title, no data.
    void ClearChart();

    // Turns a pie (types 2, 3) or the 3D diagram (types 20, 21) by a direction of the rotation
    // pad: pies 0 and 4 tilt by 10 degrees (never below 1.0), 2 and 6 change the height by 10,
    // 8 resets; 3D diagrams 0 and 4 tilt by yStep, 6 and 2 turn by xStep, 5 and 3 change the
    // perspective by perspectiveStep, 8 resets. Other directions and 2D bars change nothing.
    void RotateChart(int part, double xStep, double yStep, double perspectiveStep);
    // Resets pies to angle 45.0 and height 0 (types 2, 3), otherwise the 3D diagram's turning.
    void ResetRotation();
    const ChartRotation &rotation() const { return m_rotation; }
    double pieAngle() const { return m_rotation.pieAngle; }
    int pieHeight() const { return m_rotation.pieHeight; }

    // Draws the chart as shown into page (painter units), keeping its proportions.
    void PrintChart(QPainter &painter, const QRectF &page);

    // What the shown chart holds: series (bar sets, pies), points of one and the legend.
    int seriesCount() const;
    int pointCount(int series) const;
    bool legendVisible() const;

    // The data point under pos (in this widget's coordinates), in 2D and 3D.
    std::optional<ChartPointHit> HitTest(const QPoint &pos) const;

Q_SIGNALS:
    void chartPointClick(const ChartPointHit &hit); // WM_CHART_POINTCLICK

private:
    bool is3D() const;
    void rebuild();
    void build2D();
    void buildBars2D(bool horizontal);
    void buildPies2D();
    void placePies();
    void post(const ChartPointHit &hit);
    void setHandCursor(bool on);
    int seriesIndex(QAbstractSeries *series) const;
    std::optional<ChartPointHit> hitTest2D(const QPointF &scenePos) const;

    QChartView *m_view;
    Chart3DWidget *m_3d;
    QList<QGraphicsSimpleTextItem *> m_pieTitles; // a cross as pies: the name under each pie
    ChartContent m_content;
    ChartRotation m_rotation;
    int m_type = ChartColumns2D;
    int m_theme = 0;
    int m_fill = 0;
    bool m_labels = true;
};
