#include "modalanswers.h"
#include "personnel/cfakeframesource.h"
#include "personnel/ui/cpicturecap.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A camera the test plays by hand: one device, frames and failures when the test says.
class PlayedSource : public CFrameSource
{
public:
    QStringList deviceNames() const override { return { u"played"_s }; }
    bool start(int, QString *) override { return true; }
    void stop() override { setStopped(); }
    void frame() { deliverFrame(CFakeFrameSource::pattern(1)); }
    void fail(const QString &text)
    {
        Q_EMIT errorOccurred(text);
        stop();
    }
};

} // namespace

// The preview's focus frame: its size, its place and the mouse that drags it, on a preview of
// 200 × 150 pixels.
class TestCPictureCap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void setFocusSize_data();
    void setFocusSize();
    void dragClamps_data();
    void dragClamps();
    void clickIsNoDrag();
    void grabScalesTheLatestFrame();
    void failureWhileCapturing();

private:
    // Drags the frame from its centre by offset.
    void drag(const QPoint &offset);

    CPictureCap *m_pCap = nullptr;
};

void TestCPictureCap::init()
{
    m_pCap = new CPictureCap;
    m_pCap->setFixedSize(200, 150);
    m_pCap->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pCap));
}

void TestCPictureCap::cleanup()
{
    delete m_pCap;
    m_pCap = nullptr;
}

void TestCPictureCap::drag(const QPoint &offset)
{
    const QPoint from = m_pCap->focusRect().center();
    QTest::mousePress(m_pCap, Qt::LeftButton, {}, from);
    QTest::mouseMove(m_pCap, from + offset / 2);
    QTest::mouseMove(m_pCap, from + offset);
    QTest::mouseRelease(m_pCap, Qt::LeftButton, {}, from + offset);
}

void TestCPictureCap::setFocusSize_data()
{
    QTest::addColumn<QPoint>("start"); // the top-left corner of a 40 × 30 frame
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("centre");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("smaller, centred")
        << QPoint(0, 0) << QSize(100, 51) << true << QRect(50, 49, 100, 51);
    QTest::newRow("client size, centred")
        << QPoint(0, 0) << QSize(200, 150) << true << QRect(0, 0, 199, 149);
    QTest::newRow("larger, centred")
        << QPoint(10, 10) << QSize(1000, 1000) << true << QRect(0, 0, 199, 149);
    QTest::newRow("one below the client, centred")
        << QPoint(0, 0) << QSize(199, 148) << true << QRect(0, 1, 199, 148);
    QTest::newRow("smaller, kept")
        << QPoint(30, 40) << QSize(60, 50) << false << QRect(30, 40, 60, 50);
    QTest::newRow("near the right edge")
        << QPoint(150, 20) << QSize(60, 30) << false << QRect(139, 20, 60, 30);
    QTest::newRow("near the bottom edge")
        << QPoint(20, 110) << QSize(40, 80) << false << QRect(20, 69, 40, 80);
    QTest::newRow("near the left and top edges")
        << QPoint(0, 0) << QSize(80, 90) << false << QRect(0, 0, 80, 90);
    QTest::newRow("larger, kept") << QPoint(100, 100) << QSize(300, 300) << false
                                  << QRect(0, 0, 199, 149);
    QTest::newRow("right edge exactly at the limit")
        << QPoint(159, 0) << QSize(40, 30) << false << QRect(159, 0, 40, 30);
}

void TestCPictureCap::setFocusSize()
{
    QFETCH(QPoint, start);
    QFETCH(QSize, size);
    QFETCH(bool, centre);
    QFETCH(QRect, expected);
    m_pCap->SetFocusSize(40, 30, true);
    drag(start - m_pCap->focusRect().topLeft());
    QCOMPARE(m_pCap->focusRect(), QRect(start, QSize(40, 30)));
    m_pCap->SetFocusSize(size.width(), size.height(), centre);
    QCOMPARE(m_pCap->focusRect(), expected);
}

void TestCPictureCap::dragClamps_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QRect>("expected");
    // A 60 × 40 frame centred at (70, 55).
    QTest::newRow("inside") << QPoint(-20, 15) << QRect(50, 70, 60, 40);
    QTest::newRow("left") << QPoint(-500, 0) << QRect(0, 55, 60, 40);
    QTest::newRow("right") << QPoint(500, 0) << QRect(139, 55, 60, 40);
    QTest::newRow("top") << QPoint(0, -500) << QRect(70, 0, 60, 40);
    QTest::newRow("bottom") << QPoint(0, 500) << QRect(70, 109, 60, 40);
    QTest::newRow("bottom right corner") << QPoint(500, 500) << QRect(139, 109, 60, 40);
}

void TestCPictureCap::dragClamps()
{
    QFETCH(QPoint, offset);
    QFETCH(QRect, expected);
    m_pCap->SetFocusSize(60, 40, true);
    QCOMPARE(m_pCap->focusRect(), QRect(70, 55, 60, 40));
    QSignalSpy clicks(m_pCap, &CPictureCap::clicked);
    drag(offset);
    QCOMPARE(m_pCap->focusRect(), expected);
    QCOMPARE(clicks.size(), 0);
}

void TestCPictureCap::clickIsNoDrag()
{
    m_pCap->SetFocusSize(60, 40, true);
    QSignalSpy clicks(m_pCap, &CPictureCap::clicked);
    // Inside the frame and outside it, a click without a move is a click; the frame stays.
    QTest::mouseClick(m_pCap, Qt::LeftButton, {}, QPoint(100, 75));
    QTest::mouseClick(m_pCap, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.size(), 2);
    QCOMPARE(m_pCap->focusRect(), QRect(70, 55, 60, 40));
    // A press outside the frame drags nothing.
    QTest::mousePress(m_pCap, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(m_pCap, QPoint(50, 50));
    QTest::mouseRelease(m_pCap, Qt::LeftButton, {}, QPoint(50, 50));
    QCOMPARE(m_pCap->focusRect(), QRect(70, 55, 60, 40));
}

void TestCPictureCap::grabScalesTheLatestFrame()
{
    QVERIFY(m_pCap->GrabFrame().isNull());
    m_pCap->SetSource(new CFakeFrameSource);
    QSignalSpy states(m_pCap, &CPictureCap::captureStateChanged);
    QVERIFY(m_pCap->StartOrStop(-1));
    QTRY_COMPARE(states.size(), 1);
    QCOMPARE(states.at(0).at(0).toBool(), true);
    QCOMPARE(m_pCap->videoSize(), CFakeFrameSource::patternSize());
    const QImage grabbed = m_pCap->GrabFrame();
    QCOMPARE(grabbed.size(), QSize(200, 150));
    // The last block (bottom right) fills the bottom right corner, stretched.
    QCOMPARE(grabbed.pixelColor(190, 140), CFakeFrameSource::patternColor(QPoint(639, 479)));
    QVERIFY(m_pCap->StartOrStop(-1));
    QCOMPARE(states.size(), 2);
    QCOMPARE(states.at(1).at(0).toBool(), false);
    QVERIFY(m_pCap->GrabFrame().isNull());
    QVERIFY(m_pCap->videoSize().isEmpty());
}

void TestCPictureCap::failureWhileCapturing()
{
    auto *source = new PlayedSource;
    m_pCap->SetSource(source);
    QSignalSpy states(m_pCap, &CPictureCap::captureStateChanged);
    QVERIFY(m_pCap->StartOrStop(0));
    source->frame();
    QCOMPARE(states.size(), 1);
    MessageCatcher messages;
    source->fail(u"The device was unplugged."_s);
    QCOMPARE(messages.texts,
             QStringList { u"打开视频时出错!\r\n\r\n请检查设备是否被其他程序占用!\r\n"
                           "The device was unplugged."_s });
    QCOMPARE(states.size(), 2);
    QCOMPARE(states.at(1).at(0).toBool(), false);
    QVERIFY(!m_pCap->IsStarted());
    QVERIFY(m_pCap->GrabFrame().isNull());
}

QTEST_MAIN(TestCPictureCap)
#include "tst_cpicturecap.moc"
