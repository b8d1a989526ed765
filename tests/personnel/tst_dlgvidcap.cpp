#include "core/util/profile.h"
#include "modalanswers.h"
#include "personnel/cfakeframesource.h"
#include "personnel/cqtframesource.h"
#include "personnel/ui/cdlgvidcap.h"
#include "personnel/ui/cphotoctrl.h"
#include "personnel/ui/cpicturecap.h"
#include "testprofile.h"

#include <QAudioDevice>
#include <QCameraDevice>
#include <QComboBox>
#include <QMediaDevices>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Mode = CFakeFrameSource::Mode;

const QString capturingCaption = u"摄像头拍照 (分辨率:640x480 24bpp)"_s;
const QString openError = u"打开视频时出错!\r\n\r\n请检查设备是否被其他程序占用!\r\n"_s;

// The dialog's state as a person sees it: caption | start button | 拍照 enabled.
QString shown(const CDlgVidCap &dialog)
{
    return u"%1|%2%3|%4"_s.arg(dialog.windowTitle(), dialog.startButton()->text(),
                               dialog.startButton()->isEnabled() ? QString() : u" (off)"_s,
                               dialog.photoButton()->isEnabled() ? u"拍照"_s : u"-"_s);
}

bool within(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

// The camera dialog on the made-up camera (and the real one where there is none), headless.
class TestDlgVidCap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void noDevice_data();
    void noDevice();
    void failingStart();
    void startStopStart();
    void deviceStopsByItself();
    void focusSizeInProfile();
    void photoIsTheFocusFrame();
    void clickOnPreviewTakesPhoto();
};

void TestDlgVidCap::initTestCase()
{
    QVERIFY(useTestProfile());
}

void TestDlgVidCap::init()
{
    clearTestProfile();
}

void TestDlgVidCap::noDevice_data()
{
    QTest::addColumn<bool>("real");
    QTest::newRow("made-up camera without a device") << false;
    QTest::newRow("QtMultimedia on this machine") << true;
}

void TestDlgVidCap::noDevice()
{
    QFETCH(bool, real);
    if (real && !QMediaDevices::videoInputs().isEmpty())
        QSKIP("This machine has a camera.");
    std::unique_ptr<CFrameSource> source;
    if (real)
        source = std::make_unique<CQtFrameSource>();
    else
        source = std::make_unique<CFakeFrameSource>(Mode::NoDevice);
    MessageCatcher messages;
    CDlgVidCap dialog(nullptr, std::move(source));
    dialog.show();
    QTRY_COMPARE(messages.texts, QStringList { u"没有检测到可用设备.\r\n"_s });
    QVERIFY(dialog.isInitialized());
    QCOMPARE(dialog.deviceList()->count(), 0);
    QCOMPARE(shown(dialog), u"摄像头拍照|启动|-"_s);
    // Another start says the same and leaves everything as it was.
    QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    QTRY_COMPARE(messages.texts.size(), 2);
    QCOMPARE(shown(dialog), u"摄像头拍照|启动|-"_s);
}

void TestDlgVidCap::failingStart()
{
    MessageCatcher messages;
    CDlgVidCap dialog(nullptr, std::make_unique<CFakeFrameSource>(Mode::StartFails));
    dialog.show();
    QTRY_COMPARE(messages.texts,
                 QStringList { openError + u"The test pattern camera cannot be opened."_s });
    QCOMPARE(dialog.deviceList()->count(), 1);
    QCOMPARE(shown(dialog), u"摄像头拍照|启动|-"_s);
    QVERIFY(!dialog.preview()->IsStarted());
}

void TestDlgVidCap::startStopStart()
{
    MessageCatcher messages;
    CDlgVidCap dialog(nullptr, std::make_unique<CFakeFrameSource>());
    dialog.show();
    QTRY_VERIFY(dialog.isInitialized());
    // Started at opening; capturing from the first frame.
    QCOMPARE(dialog.deviceList()->currentText(), u"Test pattern camera"_s);
    QCOMPARE(shown(dialog), u"摄像头拍照|启动 (off)|-"_s);
    QTRY_COMPARE(shown(dialog), capturingCaption + u"|停止|拍照"_s);
    QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    QCOMPARE(shown(dialog), u"摄像头拍照|启动|-"_s);
    QTest::mouseClick(dialog.startButton(), Qt::LeftButton);
    QCOMPARE(shown(dialog), u"摄像头拍照|启动 (off)|-"_s);
    QTRY_COMPARE(shown(dialog), capturingCaption + u"|停止|拍照"_s);
    // Closing stops the camera.
    dialog.reject();
    QVERIFY(!dialog.preview()->IsStarted());
    QCOMPARE(dialog.preview()->source()->state(), CFrameSource::State::Stopped);
    QCOMPARE(messages.texts, QStringList());
}

void TestDlgVidCap::deviceStopsByItself()
{
    MessageCatcher messages;
    CDlgVidCap dialog(nullptr, std::make_unique<CFakeFrameSource>(Mode::Stops));
    dialog.show();
    QTRY_COMPARE(shown(dialog), capturingCaption + u"|停止|拍照"_s);
    QTRY_COMPARE(shown(dialog), u"摄像头拍照|启动|-"_s);
    QVERIFY(dialog.preview()->GrabFrame().isNull());
    QCOMPARE(messages.texts, QStringList());
}

void TestDlgVidCap::focusSizeInProfile()
{
    {
        CDlgVidCap dialog(nullptr, std::make_unique<CFakeFrameSource>());
        dialog.show();
        QTRY_VERIFY(dialog.isInitialized());
        QCOMPARE(dialog.widthSpin()->value(), 135);
        QCOMPARE(dialog.heightSpin()->value(), 170);
        QCOMPARE(dialog.widthSpin()->maximum(), 1000);
        QCOMPARE(dialog.preview()->size(), QSize(480, 360));
        QCOMPARE(dialog.preview()->focusRect(), QRect(172, 95, 135, 170));
        // Typed sizes keep the frame's place; one beyond the preview shrinks the frame only.
        dialog.heightSpin()->setValue(100);
        QCOMPARE(dialog.preview()->focusRect(), QRect(172, 95, 135, 100));
        dialog.widthSpin()->setValue(900);
        QCOMPARE(dialog.preview()->focusRect(), QRect(0, 95, 479, 100));
        dialog.reject();
    }
    QCOMPARE(Profile::getInt(u"Camera"_s, u"FoucsWidth"_s, 0), 900);
    QCOMPARE(Profile::getInt(u"Camera"_s, u"FoucsHeight"_s, 0), 100);
    CDlgVidCap again(nullptr, std::make_unique<CFakeFrameSource>());
    again.show();
    QTRY_VERIFY(again.isInitialized());
    QCOMPARE(again.widthSpin()->value(), 900);
    QCOMPARE(again.preview()->focusRect(), QRect(0, 130, 479, 100));
}

void TestDlgVidCap::photoIsTheFocusFrame()
{
    CPhotoCtrl target;
    CDlgVidCap dialog(nullptr, std::make_unique<CFakeFrameSource>());
    dialog.m_pTarget = &target;
    // A preview of another size and shape than the 640 × 480 frames.
    dialog.preview()->setFixedSize(300, 250);
    dialog.widthSpin()->setValue(280);
    dialog.heightSpin()->setValue(230);
    dialog.show();
    QTRY_VERIFY(dialog.photoButton()->isEnabled());
    const QRect focus = dialog.preview()->focusRect();
    QCOMPARE(focus, QRect(10, 10, 280, 230));
    QTest::mouseClick(dialog.photoButton(), Qt::LeftButton);
    QVERIFY(target.IsChanged());
    const QByteArray jpeg = target.pendingPhoto().value_or(QByteArray());
    QVERIFY(jpeg.startsWith("\xff\xd8"));
    const QImage photo = QImage::fromData(jpeg, "JPEG");
    QCOMPARE(photo.size(), focus.size());
    // Every block whose centre lies in the frame shows its colour there.
    const QSize frame = CFakeFrameSource::patternSize();
    int blocks = 0;
    for (int y = CFakeFrameSource::BlockSize / 2; y < frame.height();
         y += CFakeFrameSource::BlockSize) {
        for (int x = CFakeFrameSource::BlockSize / 2; x < frame.width();
             x += CFakeFrameSource::BlockSize) {
            const QPoint inPreview(x * 300 / frame.width(), y * 250 / frame.height());
            if (!focus.contains(inPreview))
                continue;
            ++blocks;
            const QColor seen = photo.pixelColor(inPreview - focus.topLeft());
            const QColor made = CFakeFrameSource::patternColor(QPoint(x, y));
            QVERIFY2(within(seen, made, 24),
                     qPrintable(u"block at %1,%2: %3 for %4"_s.arg(x).arg(y).arg(seen.name(),
                                                                                 made.name())));
        }
    }
    QCOMPARE(blocks, CFakeFrameSource::Columns * CFakeFrameSource::Rows);
}

void TestDlgVidCap::clickOnPreviewTakesPhoto()
{
    MessageCatcher messages;
    CPhotoCtrl target;
    CDlgVidCap dialog(nullptr, std::make_unique<CFakeFrameSource>());
    dialog.m_pTarget = &target;
    dialog.show();
    // Before any frame a click takes nothing.
    QTest::mouseClick(dialog.preview(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!target.IsChanged());
    QTRY_VERIFY(dialog.photoButton()->isEnabled());
    QTest::mouseClick(dialog.preview(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(target.IsChanged());
    QVERIFY(!target.showsPlaceholder());
    QCOMPARE(target.picture().GetSize(), QSize(135, 170));
    // Without an audio device the photo is taken all the same, silently.
    QCOMPARE(dialog.shutter() == nullptr, QMediaDevices::audioOutputs().isEmpty());
    QTest::qWait(50);
    QCOMPARE(messages.texts, QStringList());
}

QTEST_MAIN(TestDlgVidCap)
#include "tst_dlgvidcap.moc"
