#include "personnel/ui/cdlgvidcap.h"

#include "core/util/profile.h"
#include "personnel/cframesource.h"
#include "personnel/ui/cphotoctrl.h"
#include "personnel/ui/cpicturecap.h"
#include "ui/app/messagebox.h"
#include "ui_cdlgvidcap.h"

#include <QAudioDevice>
#include <QBuffer>
#include <QImageWriter>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString section = u"Camera"_s;
const QString caption = u"摄像头拍照"_s;

} // namespace

static void initCameraResources()
{
    Q_INIT_RESOURCE(camera);
}

CDlgVidCap::CDlgVidCap(QWidget *parent, std::unique_ptr<CFrameSource> source)
    : QDialog(parent), m_ui(std::make_unique<Ui::CDlgVidCap>())
{
    static const bool resources = (initCameraResources(), true);
    Q_UNUSED(resources);
    m_ui->setupUi(this);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_ui->m_preview->SetSource(source ? source.release() : CreateFrameSource().release());
    for (QSpinBox *spin : { m_ui->m_spinWidth, m_ui->m_spinHeight })
        spin->setRange(0, 1000);
    m_ui->m_spinWidth->setValue(Profile::getInt(section, u"FoucsWidth"_s, 135));
    m_ui->m_spinHeight->setValue(Profile::getInt(section, u"FoucsHeight"_s, 170));
    m_ui->m_btnTakePhoto->setEnabled(false);
    if (!QMediaDevices::audioOutputs().isEmpty()) {
        m_pShutter = new QSoundEffect(this);
        m_pShutter->setSource(QUrl(u"qrc:/camera/shutter.wav"_s));
    }
    connect(m_ui->m_btnStart, &QPushButton::clicked, this, &CDlgVidCap::OnStartStop);
    connect(m_ui->m_btnTakePhoto, &QPushButton::clicked, this, &CDlgVidCap::OnTakePhoto);
    connect(m_ui->m_preview, &CPictureCap::clicked, this, &CDlgVidCap::OnTakePhoto);
    connect(m_ui->m_btnClose, &QPushButton::clicked, this, &CDlgVidCap::reject);
    connect(m_ui->m_preview, &CPictureCap::captureStateChanged, this, &CDlgVidCap::OnCaptureState);
}

CDlgVidCap::~CDlgVidCap()
{
    Profile::writeInt(section, u"FoucsWidth"_s, m_ui->m_spinWidth->value());
    Profile::writeInt(section, u"FoucsHeight"_s, m_ui->m_spinHeight->value());
}

void CDlgVidCap::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_bInitQueued)
        return;
    m_bInitQueued = true;
    // Once laid out and shown, so that the preview has its size and messages their owner.
    QTimer::singleShot(0, this, &CDlgVidCap::OnInitDialog);
}

void CDlgVidCap::OnInitDialog()
{
    if (!isVisible())
        return;
    m_bInitialized = true;
    m_bJpegWriter = QImageWriter::supportedMimeTypes().contains("image/jpeg");
    if (!m_bJpegWriter)
        ShowMessage(this, u"Failed to get image/jpeg encoder"_s, u"warning"_s,
                    QMessageBox::Warning);
    m_ui->m_preview->EnumerateDevices(m_ui->m_cmbDevice);
    m_ui->m_preview->SetFocusSize(m_ui->m_spinWidth->value(), m_ui->m_spinHeight->value(), true);
    for (QSpinBox *spin : { m_ui->m_spinWidth, m_ui->m_spinHeight })
        connect(spin, &QSpinBox::valueChanged, this, &CDlgVidCap::OnFocusSizeChanged);
    m_ui->m_btnTakePhoto->setEnabled(false);
    OnStartStop();
}

void CDlgVidCap::OnStartStop()
{
    m_ui->m_btnStart->setEnabled(false);
    if (!m_ui->m_preview->StartOrStop(m_ui->m_cmbDevice->currentIndex()))
        m_ui->m_btnStart->setEnabled(true);
}

void CDlgVidCap::OnCaptureState(bool capturing)
{
    if (capturing) {
        const QSize size = m_ui->m_preview->videoSize();
        setWindowTitle(u"摄像头拍照 (分辨率:%1x%2 %3bpp)"_s.arg(size.width())
                           .arg(size.height())
                           .arg(m_ui->m_preview->bitsPerPixel()));
    } else {
        setWindowTitle(caption);
    }
    m_ui->m_btnStart->setText(capturing ? u"停止"_s : u"启动"_s);
    m_ui->m_btnTakePhoto->setEnabled(capturing);
    m_ui->m_btnStart->setEnabled(true);
}

void CDlgVidCap::OnFocusSizeChanged()
{
    m_ui->m_preview->SetFocusSize(m_ui->m_spinWidth->value(), m_ui->m_spinHeight->value(), false);
}

void CDlgVidCap::OnTakePhoto()
{
    const QImage cut = m_ui->m_preview->GrabFrame().copy(m_ui->m_preview->focusRect());
    if (cut.isNull())
        return;
    if (m_bJpegWriter) {
        if (!m_pTarget)
            return;
        QBuffer jpeg;
        jpeg.open(QIODevice::ReadWrite);
        if (!QImageWriter(&jpeg, "jpeg").write(cut))
            return;
        jpeg.seek(0);
        if (m_pTarget->SetPhotoFromFile(&jpeg) && m_pTarget->m_bStoreAtOnce)
            m_pTarget->StorePhoto();
    }
    if (m_pShutter)
        m_pShutter->play();
}

void CDlgVidCap::done(int result)
{
    m_ui->m_preview->Stop();
    QDialog::done(result);
}

CPictureCap *CDlgVidCap::preview() const
{
    return m_ui->m_preview;
}

QComboBox *CDlgVidCap::deviceList() const
{
    return m_ui->m_cmbDevice;
}

QPushButton *CDlgVidCap::startButton() const
{
    return m_ui->m_btnStart;
}

QPushButton *CDlgVidCap::photoButton() const
{
    return m_ui->m_btnTakePhoto;
}

QSpinBox *CDlgVidCap::widthSpin() const
{
    return m_ui->m_spinWidth;
}

QSpinBox *CDlgVidCap::heightSpin() const
{
    return m_ui->m_spinHeight;
}
