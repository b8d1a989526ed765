#pragma once

#include "ui/controls/privatemessages.h"

#include <QtCharts/QChartView>

QT_BEGIN_NAMESPACE
class QAbstractSeries;
QT_END_NAMESPACE

// A chart view that tells its owner when the user clicks a data point (a point of a line or
// scatter series, a bar, a pie slice) with the left button: chartPointClick is queued, so it
// arrives after the click has been handled, and carries a copy of the hit. The cursor is a
// hand over the points. Series must be added (or connected) through this view.
class CMyChartView : public QChartView
{
    Q_OBJECT

public:
    explicit CMyChartView(QWidget *parent = nullptr);

    // Adds the series to the chart (which takes it) and connects it.
    void AddSeries(QAbstractSeries *series);
    // Connects a series that is already in the chart.
    void ConnectSeries(QAbstractSeries *series);

    // The hit a click at the chart position (of the series) gives; false when it is not near a
    // point of a line or scatter series.
    bool HitXYPoint(QAbstractSeries *series, const QPointF &value, ChartPointHit *hit) const;

Q_SIGNALS:
    void chartPointClick(const ChartPointHit &hit); // WM_CHART_POINTCLICK

private:
    void post(const ChartPointHit &hit);
    void setHandCursor(bool on);
    int seriesIndex(QAbstractSeries *series) const;
};
