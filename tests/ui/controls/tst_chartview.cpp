#include "ui/controls/chart3dwidget.h"
#include "ui/controls/cmychartview.h"

#include "pdftext.h"

#include <QDir>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>

#include <set>

using namespace Qt::StringLiterals;

namespace {

const QList<int> allTypes { ChartColumns2D, ChartBars2D, ChartPie2D,
                            ChartColumns3D, ChartBars3D, ChartPie3D };

// A statistic of points over series: 1D when one series.
ChartContent content(int series, int points, bool legend)
{
    ChartContent c;
    c.title = u"学历人数"_s;
    for (int p = 0; p < points; ++p)
        c.labels << u"档%1"_s.arg(p);
    for (int s = 0; s < series; ++s) {
        ChartSeriesData data { u"部门%1"_s.arg(s), {} };
        for (int p = 0; p < points; ++p)
            data.values << 1 + (s * 3 + p * 5) % 7;
        c.series << data;
    }
    c.legend = legend;
    c.oneDimensional = series == 1;
    return c;
}

// The rows of a data table with one column, the chart type.
void typeRows(const QList<int> &types)
{
    QTest::addColumn<int>("type");
    for (int type : types)
        QTest::addRow("type %d", type) << type;
}

// Shows the chart of a type with the content, at a size; true once it is on screen.
bool showChart(CMyChartView &view, int type, const ChartContent &c, QSize size = QSize(500, 350))
{
    view.resize(size);
    view.SetChartType(type);
    view.SetContent(c);
    view.show();
    return QTest::qWaitForWindowExposed(&view);
}

// The widget that takes the mouse: the 3D chart or the 2D chart's viewport.
QWidget *chartSurface(CMyChartView &view)
{
    return view.currentWidget() == view.chart3D() ? static_cast<QWidget *>(view.chart3D())
                                                  : view.chartView()->viewport();
}

// Clicks the chart at pos (chart coordinates) on the surface that shows.
void clickChart(CMyChartView &view, const QPoint &pos)
{
    QWidget *surface = chartSurface(view);
    QTest::mouseClick(surface, Qt::LeftButton, {}, surface->mapFrom(&view, pos));
}

int colourCount(const QImage &image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    }
    return int(colours.size());
}

} // namespace

// The statistics chart: what it holds for each type, how it turns, and that 2D and 3D alike draw,
// hit-test and print their points.
class TestChartView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void holdsSeriesOfPoints_data();
    void holdsSeriesOfPoints();
    void clearLeavesNoTitleOrData();
    void rotation_data();
    void rotation();
    void each3DTypeIsDrawn();
    void barIsHit_data();
    void barIsHit();
    void pieSliceIsHit_data();
    void pieSliceIsHit();
    void printsIntoPdf_data();
    void printsIntoPdf();
    void themesDiffer();
    void fillRunsTheRightWay_data();
    void fillRunsTheRightWay();
    void labelsFollowSetting_data();
    void labelsFollowSetting();
    void hoverHighlights_data();
    void hoverHighlights();
};

void TestChartView::holdsSeriesOfPoints_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("series");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("legend");
    for (int type : allTypes) {
        QTest::addRow("1D type %d", type) << type << 1 << 5 << false;
        QTest::addRow("cross type %d", type) << type << 3 << 4 << true;
    }
}

void TestChartView::holdsSeriesOfPoints()
{
    QFETCH(int, type);
    QFETCH(int, series);
    QFETCH(int, points);
    QFETCH(bool, legend);
    CMyChartView view;
    QVERIFY(showChart(view, type, content(series, points, legend)));

    QCOMPARE(view.chartType(), type);
    QCOMPARE(view.seriesCount(), series);
    for (int s = 0; s < series; ++s)
        QCOMPARE(view.pointCount(s), points);
    QCOMPARE(view.legendVisible(), legend);
    const bool threeD = type == ChartColumns3D || type == ChartBars3D || type == ChartPie3D;
    QCOMPARE(view.currentWidget() == view.chart3D(), threeD);
    if (threeD)
        return;
    QCOMPARE(view.chart()->title(), u"学历人数"_s);
    // A 1D chart is drawn translucent; a cross opaque.
    for (QAbstractSeries *s : view.chart()->series())
        QCOMPARE(s->opacity(), series == 1 ? 0.8 : 1.0);
    if (type == ChartPie2D && legend) {
        // The rows are named once in the legend, whatever the number of pies.
        int markers = 0;
        for (QLegendMarker *marker : view.chart()->legend()->markers())
            markers += marker->isVisible() ? 1 : 0;
        QCOMPARE(markers, points);
    }
}

void TestChartView::clearLeavesNoTitleOrData()
{
    for (int type : allTypes) {
        CMyChartView view;
        view.SetChartType(type);
        view.SetContent(content(2, 3, true));
        view.ClearChart();
        QCOMPARE(view.seriesCount(), 0);
        QVERIFY(view.content().title.isEmpty());
        QVERIFY(view.chart()->title().isEmpty());
    }
}

void TestChartView::rotation_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("parts");
    QTest::addColumn<double>("angle");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("xRotation");
    QTest::addColumn<double>("yRotation");
    QTest::addColumn<double>("perspective");
    const ChartRotation d;
    QTest::newRow("pie angle stops at 1") << int(ChartPie3D) << QList<int>(6, 0) << 1.0 << 0
                                          << d.xRotation << d.yRotation << d.perspective;
    QTest::newRow("pie up from the floor")
        << int(ChartPie3D) << QList<int> { 0, 0, 0, 0, 0, 4 } << 11.0 << 0 << d.xRotation
        << d.yRotation << d.perspective;
    QTest::newRow("pie height") << int(ChartPie2D) << QList<int> { 2, 2, 6, 1, 3, 5, 7 } << 45.0
                                << -10 << d.xRotation << d.yRotation << d.perspective;
    QTest::newRow("pie reset") << int(ChartPie3D) << QList<int> { 0, 6, 6, 8 } << 45.0 << 0
                               << d.xRotation << d.yRotation << d.perspective;
    QTest::newRow("3D turns") << int(ChartColumns3D)
                              << QList<int> { 0, 0, 4, 6, 2, 2, 5, 5, 3, 1, 7 } << 45.0 << 0
                              << d.xRotation - 10 << d.yRotation + 10 << d.perspective + 0.1;
    QTest::newRow("3D reset") << int(ChartBars3D) << QList<int> { 0, 6, 5, 8 } << 45.0 << 0
                              << d.xRotation << d.yRotation << d.perspective;
    QTest::newRow("2D columns do not turn")
        << int(ChartColumns2D) << QList<int> { 0, 2, 4, 6, 5 } << 45.0 << 0 << d.xRotation
        << d.yRotation << d.perspective;
}

void TestChartView::rotation()
{
    QFETCH(int, type);
    QFETCH(QList<int>, parts);
    QFETCH(double, angle);
    QFETCH(int, height);
    QFETCH(double, xRotation);
    QFETCH(double, yRotation);
    QFETCH(double, perspective);
    CMyChartView view;
    view.SetChartType(type);
    view.SetContent(content(1, 4, false));
    for (int part : parts)
        view.RotateChart(part, 10.0, 10.0, 0.1);
    QCOMPARE(view.pieAngle(), angle);
    QCOMPARE(view.pieHeight(), height);
    QCOMPARE(view.rotation().xRotation, xRotation);
    QCOMPARE(view.rotation().yRotation, yRotation);
    QVERIFY(qFuzzyCompare(1 + view.rotation().perspective, 1 + perspective));
    if (type == ChartColumns3D || type == ChartBars3D || type == ChartPie3D)
        QCOMPARE(view.chart3D()->style().rotation.pieAngle, angle); // what is drawn follows
}

void TestChartView::each3DTypeIsDrawn()
{
    const QString shots = qEnvironmentVariable("VANTREL_CHART_SHOTS");
    QList<QImage> images;
    for (int type : { int(ChartColumns3D), int(ChartBars3D), int(ChartPie3D) }) {
        CMyChartView view;
        QVERIFY(showChart(view, type, content(3, 4, true), QSize(640, 420)));
        const QImage image = view.grab().toImage();
        QVERIFY2(colourCount(image) > 20, "a blank or nearly blank chart");
        images << image;
        if (!shots.isEmpty())
            image.save(QDir(shots).filePath(u"chart-%1.png"_s.arg(type)));

        // Turning the diagram changes the picture.
        view.RotateChart(type == ChartPie3D ? 0 : 6, 10.0, 10.0, 0.1);
        view.RotateChart(type == ChartPie3D ? 0 : 6, 10.0, 10.0, 0.1);
        QVERIFY(view.grab().toImage() != image);
    }
    QVERIFY(images.at(0) != images.at(1));
    QVERIFY(images.at(1) != images.at(2));
    QVERIFY(images.at(0) != images.at(2));
}

void TestChartView::barIsHit_data()
{
    typeRows({ int(ChartColumns2D), int(ChartBars2D), int(ChartColumns3D), int(ChartBars3D) });
}

// One bar towers over the rest: the ends of the value axis hold only that bar, the start of it
// all bars, and a click on it tells the owner its series and point.
void TestChartView::barIsHit()
{
    QFETCH(int, type);
    ChartContent c = content(2, 3, true);
    c.series[1].values = { 1, 2, 100 };
    CMyChartView view;
    QVERIFY(showChart(view, type, c, QSize(600, 400)));

    const bool horizontal = type == ChartBars2D || type == ChartBars3D;
    std::set<std::pair<int, int>> hits;
    std::optional<QPoint> onTall;
    for (int y = 0; y < view.height(); y += 3) {
        for (int x = 0; x < view.width(); x += 3) {
            const auto hit = view.HitTest(QPoint(x, y));
            if (!hit)
                continue;
            hits.insert({ hit->seriesIndex, hit->pointIndex });
            QCOMPARE(hit->value.y(), c.series.at(hit->seriesIndex).values.at(hit->pointIndex));
            const bool farOut = horizontal ? x > view.width() * 0.45 : y < view.height() * 0.45;
            if (farOut) {
                QCOMPARE(hit->seriesIndex, 1);
                QCOMPARE(hit->pointIndex, 2);
                onTall = QPoint(x, y);
            }
        }
    }
    QCOMPARE(int(hits.size()), 6);
    QVERIFY(onTall);
    QVERIFY(!view.HitTest(QPoint(2, 2)));

    QSignalSpy clicks(&view, &CMyChartView::chartPointClick);
    clickChart(view, *onTall);
    QTRY_COMPARE(clicks.size(), 1);
    const auto hit = clicks.first().first().value<ChartPointHit>();
    QCOMPARE(hit.seriesIndex, 1);
    QCOMPARE(hit.pointIndex, 2);
    QCOMPARE(hit.value, QPointF(2, 100));
}

void TestChartView::pieSliceIsHit_data()
{
    typeRows({ int(ChartPie2D), int(ChartPie3D) });
}

void TestChartView::pieSliceIsHit()
{
    QFETCH(int, type);
    ChartContent c;
    c.labels = { u"甲"_s, u"乙"_s, u"丙"_s };
    c.series = { { u"人数"_s, { 1, 1, 2 } } };
    c.legend = false;
    CMyChartView view;
    QVERIFY(showChart(view, type, c, QSize(400, 300)));
    // Clockwise from twelve o'clock: a quarter, a quarter, then the left half.
    std::set<int> seen;
    std::optional<QPoint> onLeft;
    for (int y = 0; y < view.height(); y += 4) {
        for (int x = 0; x < view.width(); x += 4) {
            if (const auto hit = view.HitTest(QPoint(x, y))) {
                seen.insert(hit->pointIndex);
                if (x < view.width() / 2 - 10) {
                    QCOMPARE(hit->pointIndex, 2);
                    onLeft = QPoint(x, y);
                }
            }
        }
    }
    QCOMPARE(seen, std::set<int>({ 0, 1, 2 }));

    QSignalSpy clicks(&view, &CMyChartView::chartPointClick);
    clickChart(view, *onLeft);
    QTRY_COMPARE(clicks.size(), 1);
    const auto hit = clicks.first().first().value<ChartPointHit>();
    QCOMPARE(hit.seriesIndex, 0);
    QCOMPARE(hit.pointIndex, 2);
    QCOMPARE(hit.value, QPointF(2, 2));
}

void TestChartView::printsIntoPdf_data()
{
    typeRows(allTypes);
}

void TestChartView::printsIntoPdf()
{
    QFETCH(int, type);
    CMyChartView view;
    // Texts that look like markup are shown as they are.
    ChartContent c = content(2, 3, true);
    c.title += u"<全体>"_s;
    c.labels[0] = u"<未知>"_s;
    QVERIFY(showChart(view, type, c));

    QTemporaryDir dir;
    const QString file = dir.filePath(u"chart.pdf"_s);
    {
        QPdfWriter writer(file);
        QPainter painter(&writer);
        view.PrintChart(painter, QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height())));
    }
    const QString text = PdfText(file);
    QVERIFY2(text.contains(u"学历人数<全体>"_s), qPrintable(text));
    QVERIFY(text.contains(u"部门1"_s));
    QVERIFY2(text.contains(u"<未知>"_s), qPrintable(text));
}

void TestChartView::themesDiffer()
{
    const QStringList names = ChartThemeNames();
    QCOMPARE(names.size(), 20);
    QCOMPARE(names.first(), u"[缺省]"_s);
    QCOMPARE(names.last(), u"秋黄"_s);
    for (int a = 0; a < names.size(); ++a) {
        for (int b = a + 1; b < names.size(); ++b)
            QVERIFY2(ChartStyle::palette(a) != ChartStyle::palette(b), qPrintable(names.at(b)));
    }
    QCOMPARE(ChartStyle::palette(25), ChartStyle::palette(0));

    // The theme reaches the bars.
    CMyChartView view;
    view.SetContent(content(2, 3, true));
    view.SetFillGradientType(1);
    view.SetColorTheme(8);
    auto *bars = qobject_cast<QAbstractBarSeries *>(view.chart()->series().first());
    QVERIFY(bars);
    QCOMPARE(bars->barSets().at(1)->color(), ChartStyle::color(8, 1));
}

void TestChartView::fillRunsTheRightWay_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<int>("across");
    QTest::addColumn<bool>("alongX"); // the colour changes from left to right
    QTest::addColumn<bool>("alongY"); // the colour changes from top to bottom
    QTest::newRow("solid") << 1 << int(Qt::Horizontal) << false << false;
    QTest::newRow("horizontal") << 2 << int(Qt::Horizontal) << true << false;
    QTest::newRow("vertical") << 3 << int(Qt::Horizontal) << false << true;
    QTest::newRow("diagonal") << 4 << int(Qt::Horizontal) << true << true;
    QTest::newRow("tube across a column") << 5 << int(Qt::Horizontal) << true << false;
    QTest::newRow("tube across a bar") << 5 << int(Qt::Vertical) << false << true;
}

void TestChartView::fillRunsTheRightWay()
{
    QFETCH(int, setting);
    QFETCH(int, across);
    QFETCH(bool, alongX);
    QFETCH(bool, alongY);
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.fillRect(
            QRectF(10, 10, 40, 20),
            ChartStyle::fill(QColor(0x40, 0x70, 0xc0), setting, Qt::Orientation(across)));
    }
    QCOMPARE(image.pixel(12, 20) != image.pixel(47, 20), alongX);
    QCOMPARE(image.pixel(30, 11) != image.pixel(30, 28), alongY);
    if (setting == 5) {
        // A tube is lighter inside than at both edges.
        const QPoint edge1 = alongX ? QPoint(11, 20) : QPoint(30, 11);
        const QPoint inside = alongX ? QPoint(26, 20) : QPoint(30, 18);
        const QPoint edge2 = alongX ? QPoint(48, 20) : QPoint(30, 28);
        QVERIFY(qGray(image.pixel(inside)) > qGray(image.pixel(edge1)));
        QVERIFY(qGray(image.pixel(inside)) > qGray(image.pixel(edge2)));
    }
}

void TestChartView::labelsFollowSetting_data()
{
    typeRows(allTypes);
}

void TestChartView::labelsFollowSetting()
{
    QFETCH(int, type);
    CMyChartView view;
    QVERIFY(showChart(view, type, content(2, 3, true)));
    const QImage with = view.grab().toImage();
    view.SetShowDataLabels(false);
    QVERIFY(view.grab().toImage() != with);
    for (QAbstractSeries *series : view.chart()->series()) {
        if (auto *bars = qobject_cast<QAbstractBarSeries *>(series))
            QVERIFY(!bars->isLabelsVisible());
        if (auto *pie = qobject_cast<QPieSeries *>(series)) {
            for (QPieSlice *slice : pie->slices())
                QVERIFY(!slice->isLabelVisible());
        }
    }
    view.SetShowDataLabels(true);
    QTRY_COMPARE(view.grab().toImage(), with);
}

void TestChartView::hoverHighlights_data()
{
    typeRows(allTypes);
}

void TestChartView::hoverHighlights()
{
    QFETCH(int, type);
    CMyChartView view;
    QVERIFY(showChart(view, type, content(1, 3, false)));
    QWidget *surface = chartSurface(view);
    const QPoint away = surface->mapFrom(&view, QPoint(2, 2));
    QTest::mouseMove(surface, away);
    const QImage plain = view.grab().toImage();
    std::optional<QPoint> onPoint;
    for (int y = view.height() / 2; y < view.height() && !onPoint; y += 4) {
        for (int x = 0; x < view.width() && !onPoint; x += 4) {
            if (view.HitTest(QPoint(x, y)))
                onPoint = QPoint(x, y);
        }
    }
    QVERIFY(onPoint);
    QTest::mouseMove(surface, surface->mapFrom(&view, *onPoint));
    QTRY_COMPARE(surface->cursor().shape(), Qt::PointingHandCursor);
    QTRY_VERIFY(view.grab().toImage() != plain);
    QTest::mouseMove(surface, away);
    QTRY_COMPARE(surface->cursor().shape(), Qt::ArrowCursor);
    QTRY_COMPARE(view.grab().toImage(), plain);
}

QTEST_MAIN(TestChartView)
#include "tst_chartview.moc"
