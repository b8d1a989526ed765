#include "ui/controls/chart3dwidget.h"
#include "ui/controls/cmychartview.h"

#include <QDir>
#include <QPdfWriter>
#include <QProcess>
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

QString pdfText(const QString &file)
{
    QProcess p;
    p.start(u"pdftotext"_s, { u"-layout"_s, file, u"-"_s });
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
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
    void pieSliceIsHit3D();
    void printsIntoPdf_data();
    void printsIntoPdf();
    void themesDiffer();
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
    view.resize(500, 350);
    view.SetChartType(type);
    view.SetContent(content(series, points, legend));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

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
        view.resize(640, 420);
        view.SetChartType(type);
        view.SetContent(content(3, 4, true));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
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
    QTest::addColumn<int>("type");
    for (int type :
         { int(ChartColumns2D), int(ChartBars2D), int(ChartColumns3D), int(ChartBars3D) })
        QTest::addRow("type %d", type) << type;
}

// One bar towers over the rest: the ends of the value axis hold only that bar, the start of it
// all bars, and a click on it tells the owner its series and point.
void TestChartView::barIsHit()
{
    QFETCH(int, type);
    ChartContent c = content(2, 3, true);
    c.series[1].values = { 1, 2, 100 };
    CMyChartView view;
    view.resize(600, 400);
    view.SetChartType(type);
    view.SetContent(c);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

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
    QWidget *surface = view.currentWidget() == view.chart3D()
        ? static_cast<QWidget *>(view.chart3D())
        : view.chartView()->viewport();
    QTest::mouseClick(surface, Qt::LeftButton, {}, surface->mapFrom(&view, *onTall));
    QTRY_COMPARE(clicks.size(), 1);
    const auto hit = clicks.first().first().value<ChartPointHit>();
    QCOMPARE(hit.seriesIndex, 1);
    QCOMPARE(hit.pointIndex, 2);
    QCOMPARE(hit.value, QPointF(2, 100));
}

void TestChartView::pieSliceIsHit3D()
{
    ChartContent c;
    c.labels = { u"甲"_s, u"乙"_s, u"丙"_s };
    c.series = { { u"人数"_s, { 1, 1, 2 } } };
    c.legend = false;
    CMyChartView view;
    view.resize(400, 300);
    view.SetChartType(ChartPie3D);
    view.SetContent(c);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // Clockwise from twelve o'clock: a quarter, a quarter, then the left half.
    std::set<int> seen;
    for (int y = 0; y < view.height(); y += 4) {
        for (int x = 0; x < view.width(); x += 4) {
            if (const auto hit = view.HitTest(QPoint(x, y))) {
                seen.insert(hit->pointIndex);
                if (x < view.width() / 2 - 10)
                    QCOMPARE(hit->pointIndex, 2);
            }
        }
    }
    QCOMPARE(seen, std::set<int>({ 0, 1, 2 }));
}

void TestChartView::printsIntoPdf_data()
{
    QTest::addColumn<int>("type");
    for (int type : allTypes)
        QTest::addRow("type %d", type) << type;
}

void TestChartView::printsIntoPdf()
{
    QFETCH(int, type);
    CMyChartView view;
    view.resize(500, 350);
    view.SetChartType(type);
    view.SetContent(content(2, 3, true));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QTemporaryDir dir;
    const QString file = dir.filePath(u"chart.pdf"_s);
    {
        QPdfWriter writer(file);
        QPainter painter(&writer);
        view.PrintChart(painter, QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height())));
    }
    const QString text = pdfText(file);
    QVERIFY2(text.contains(u"学历人数"_s), qPrintable(text));
    QVERIFY(text.contains(u"部门1"_s));
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

QTEST_MAIN(TestChartView)
#include "tst_chartview.moc"
