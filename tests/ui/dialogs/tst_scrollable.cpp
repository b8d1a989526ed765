#include "ui/dialogs/cdlgscrollable.h"

#include <QScrollBar>
#include <QTest>

// The host of forms taller than their place.
class TestScrollable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scrollSteps_data();
    void scrollSteps();
    void scrollByBarWheelAndDrag();
};

void TestScrollable::scrollSteps_data()
{
    QTest::addColumn<int>("formHeight");
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("page");

    QTest::newRow("1000 in 400") << 1000 << 600 << 30 << 60;
    QTest::newRow("450 in 400") << 450 << 50 << 5 << 20;
    QTest::newRow("fits") << 300 << 0 << 5 << 20;
}

void TestScrollable::scrollSteps()
{
    QFETCH(int, formHeight);
    QFETCH(int, range);
    QFETCH(int, line);
    QFETCH(int, page);
    QWidget parent;
    auto *host = new CDlgScrollable(&parent);
    host->resize(300, 400);
    host->SetContentRect(QRect(0, 0, 280, formHeight));
    QCOMPARE(host->ScrollRange(), range);
    QCOMPARE(host->LineStep(), line);
    QCOMPARE(host->PageStep(), page);
    QCOMPARE(host->verticalScrollBar()->isVisibleTo(host), range > 0);
}

void TestScrollable::scrollByBarWheelAndDrag()
{
    QWidget parent;
    parent.resize(300, 400);
    auto *host = new CDlgScrollable(&parent);
    host->resize(300, 400);
    host->SetContentRect(QRect(0, 0, 280, 1000));
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QScrollBar *bar = host->verticalScrollBar();

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(host->GetScrollPos(), 30);
    QCOMPARE(host->content()->y(), -30);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(host->GetScrollPos(), 90);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(host->GetScrollPos(), 0); // never past the top

    // One wheel notch is one line, whatever its size.
    QWheelEvent down(QPointF(50, 50), host->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -360),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(host, &down);
    QCOMPARE(host->GetScrollPos(), 30);

    // Dragging the background up scrolls down by the distance, clipped at the end.
    QTest::mousePress(host, Qt::LeftButton, {}, QPoint(150, 300));
    QTest::mouseMove(host, QPoint(150, 200));
    QCOMPARE(host->GetScrollPos(), 130);
    QTest::mouseMove(host, QPoint(150, -600));
    QCOMPARE(host->GetScrollPos(), 600);
    QTest::mouseRelease(host, Qt::LeftButton, {}, QPoint(150, -600));
    QCOMPARE(host->cursor().shape(), Qt::OpenHandCursor);

    // Resizing goes back to the top.
    host->resize(300, 500);
    QCOMPARE(host->GetScrollPos(), 0);
    QCOMPARE(host->content()->y(), 0);
}

QTEST_MAIN(TestScrollable)
#include "tst_scrollable.moc"
