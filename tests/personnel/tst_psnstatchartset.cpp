#include "personnel/ui/cdlgpsnstatchartset.h"
#include "ui/controls/cmychartview.h"
#include "ui/controls/crotationctrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

struct Rotation
{
    int part;
    double xStep, yStep, perspectiveStep;
};

// Plays the statistics window: keeps what the dialog applies and draws it on a real chart.
class FakeOwner : public IPsnStatChartOwner
{
public:
    explicit FakeOwner(int type)
    {
        m_chart.SetChartType(type);
        ChartContent content;
        content.labels = { u"男"_s, u"女"_s };
        content.series = { { u"人数"_s, { 3, 5 } } };
        m_chart.SetContent(content);
    }

    void ApplyChartSettings(int colorTheme, int fillGradientType, bool showDataLabels) override
    {
        applied.append({ colorTheme, fillGradientType, showDataLabels ? 1 : 0 });
        m_chart.SetColorTheme(colorTheme);
        m_chart.SetFillGradientType(fillGradientType);
        m_chart.SetShowDataLabels(showDataLabels);
    }
    void RotateChart(int part, double xStep, double yStep, double perspectiveStep) override
    {
        rotations.append({ part, xStep, yStep, perspectiveStep });
        m_chart.RotateChart(part, xStep, yStep, perspectiveStep);
    }
    CMyChartView *chartView() const override { return &m_chart; }

    QList<QList<int>> applied; // theme, fill, labels
    QList<Rotation> rotations;

private:
    mutable CMyChartView m_chart;
};

} // namespace

// The chart settings dialog: which turns it offers for a chart type and that each change
// reaches the owner's chart at once.
class TestPsnStatChartSet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void padFollowsChartType_data();
    void padFollowsChartType();
    void settingsApplyLive();
    void padTurnsThroughOwner();
    void heldPartRepeats();
    void resetRestoresDefaults_data();
    void resetRestoresDefaults();
};

void TestPsnStatChartSet::padFollowsChartType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("pad");
    QTest::addColumn<QList<int>>("enabledParts");
    QTest::newRow("2D columns") << int(ChartColumns2D) << false << QList<int>();
    QTest::newRow("2D bars") << int(ChartBars2D) << false << QList<int>();
    QTest::newRow("2D pie") << int(ChartPie2D) << true << QList<int> { 2, 6, 8 };
    QTest::newRow("3D pie") << int(ChartPie3D) << true << QList<int> { 0, 2, 4, 6, 8 };
    QTest::newRow("3D columns") << int(ChartColumns3D) << true
                                << QList<int> { 0, 2, 3, 4, 5, 6, 8 };
    QTest::newRow("3D bars") << int(ChartBars3D) << true << QList<int> { 0, 2, 3, 4, 5, 6, 8 };
}

void TestPsnStatChartSet::padFollowsChartType()
{
    QFETCH(int, type);
    QFETCH(bool, pad);
    QFETCH(QList<int>, enabledParts);
    FakeOwner owner(type);
    CDlgPsnStatChartSet dialog(&owner, type, 3, 2, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), u"图表设置"_s);
    QCOMPARE(dialog.themeBox()->count(), 20);
    QCOMPARE(dialog.themeBox()->currentText(), u"森林绿"_s);
    QCOMPARE(dialog.fillBox()->currentText(), u"水平"_s);
    QVERIFY(!dialog.labelsBox()->isChecked());
    QCOMPARE(dialog.rotationCtrl()->isVisible(), pad);
    if (pad) {
        for (int part = 0; part < CRotationCtrl::partCount; ++part)
            QCOMPARE(dialog.rotationCtrl()->isPartEnabled(part), enabledParts.contains(part));
    }

    // Without the pad the window is 130 pixels lower than with it.
    FakeOwner turning(ChartColumns3D);
    CDlgPsnStatChartSet withPad(&turning, ChartColumns3D, 0, 0, true);
    QCOMPARE(withPad.height() - dialog.height(), pad ? 0 : 130);
    QCOMPARE(dialog.width(), withPad.width());
    QVERIFY(owner.applied.isEmpty());
}

void TestPsnStatChartSet::settingsApplyLive()
{
    FakeOwner owner(ChartColumns2D);
    CDlgPsnStatChartSet dialog(&owner, ChartColumns2D, 0, 0, true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTest::keyClick(dialog.themeBox(), Qt::Key_Down);
    QCOMPARE(owner.applied.size(), 1);
    QCOMPARE(owner.applied.last(), QList<int>({ 1, 0, 1 }));
    QCOMPARE(owner.chartView()->colorTheme(), 1);

    QTest::keyClick(dialog.fillBox(), Qt::Key_End);
    QCOMPARE(owner.applied.last(), QList<int>({ 1, 5, 1 }));
    QCOMPARE(owner.chartView()->fillGradientType(), 5);

    QTest::mouseClick(dialog.labelsBox(), Qt::LeftButton, {},
                      QPoint(4, dialog.labelsBox()->height() / 2));
    QCOMPARE(owner.applied.last(), QList<int>({ 1, 5, 0 }));
    QVERIFY(!owner.chartView()->showDataLabels());

    // Closing with the close box takes nothing back.
    const int calls = int(owner.applied.size());
    dialog.close();
    QCOMPARE(owner.applied.size(), calls);
    QCOMPARE(owner.chartView()->colorTheme(), 1);
}

void TestPsnStatChartSet::padTurnsThroughOwner()
{
    FakeOwner owner(ChartPie3D);
    CDlgPsnStatChartSet dialog(&owner, ChartPie3D, 0, 0, true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QToolButton *up = dialog.rotationCtrl()->partButton(0);
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(dialog.rotationCtrl()->partButton(6), Qt::LeftButton);
    // A disabled part sends nothing.
    QTest::mouseClick(dialog.rotationCtrl()->partButton(1), Qt::LeftButton);

    QCOMPARE(owner.rotations.size(), 7);
    QCOMPARE(owner.rotations.first().part, 0);
    QCOMPARE(owner.rotations.first().xStep, 10.0);
    QCOMPARE(owner.rotations.first().yStep, 10.0);
    QCOMPARE(owner.rotations.first().perspectiveStep, 0.1);
    QCOMPARE(owner.rotations.last().part, 6);
    QCOMPARE(dialog.rotationCtrl()->lastPart(), 6);
    QCOMPARE(owner.chartView()->pieAngle(), 1.0);
    QCOMPARE(owner.chartView()->pieHeight(), 10);
}

void TestPsnStatChartSet::heldPartRepeats()
{
    FakeOwner owner(ChartColumns3D);
    CDlgPsnStatChartSet dialog(&owner, ChartColumns3D, 0, 0, true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QToolButton *left = dialog.rotationCtrl()->partButton(6);
    QTest::mousePress(left, Qt::LeftButton);
    QTest::qWait(450);
    QTest::mouseRelease(left, Qt::LeftButton);
    QVERIFY2(owner.rotations.size() >= 3, qPrintable(QString::number(owner.rotations.size())));
    for (const Rotation &r : owner.rotations)
        QCOMPARE(r.part, 6);
}

void TestPsnStatChartSet::resetRestoresDefaults_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("part");
    QTest::newRow("3D pie") << int(ChartPie3D) << 0;
    QTest::newRow("2D pie") << int(ChartPie2D) << 6;
    QTest::newRow("3D columns") << int(ChartColumns3D) << 6;
}

void TestPsnStatChartSet::resetRestoresDefaults()
{
    QFETCH(int, type);
    QFETCH(int, part);
    FakeOwner owner(type);
    CDlgPsnStatChartSet dialog(&owner, type, 7, 4, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const ChartRotation before = owner.chartView()->rotation();
    QTest::mouseClick(dialog.rotationCtrl()->partButton(part), Qt::LeftButton);
    QTest::mouseClick(dialog.rotationCtrl()->partButton(part), Qt::LeftButton);
    QVERIFY(owner.chartView()->pieAngle() != before.pieAngle
            || owner.chartView()->pieHeight() != before.pieHeight
            || owner.chartView()->rotation().xRotation != before.xRotation);

    QTest::mouseClick(dialog.resetButton(), Qt::LeftButton);
    QCOMPARE(dialog.themeBox()->currentIndex(), 0);
    QCOMPARE(dialog.fillBox()->currentIndex(), 0);
    QVERIFY(dialog.labelsBox()->isChecked());
    QCOMPARE(owner.applied.last(), QList<int>({ 0, 0, 1 }));
    QCOMPARE(owner.chartView()->pieAngle(), 45.0);
    QCOMPARE(owner.chartView()->pieHeight(), 0);
    QCOMPARE(owner.chartView()->rotation().xRotation, before.xRotation);
    QCOMPARE(owner.chartView()->colorTheme(), 0);
    QVERIFY(owner.chartView()->showDataLabels());
}

QTEST_MAIN(TestPsnStatChartSet)
#include "tst_psnstatchartset.moc"
