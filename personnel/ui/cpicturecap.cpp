#include "personnel/ui/cpicturecap.h"

#include "core/util/stringtable.h"
#include "personnel/cframesource.h"
#include "ui/app/messagebox.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

// Moves the rectangle inside 0 … limit − 1 on the right and bottom first, then on the left and
// top, so that one wider than the area starts at 0.
QRect keptInside(QRect rect, const QSize &area)
{
    if (rect.x() + rect.width() > area.width() - 1)
        rect.moveLeft(area.width() - 1 - rect.width());
    if (rect.y() + rect.height() > area.height() - 1)
        rect.moveTop(area.height() - 1 - rect.height());
    rect.moveLeft(qMax(0, rect.x()));
    rect.moveTop(qMax(0, rect.y()));
    return rect;
}

// A camera that cannot be opened or fails while it runs; the text is the backend's own.
void showOpenError(QWidget *owner, const QString &text)
{
    MessageBoxFormat(owner, u"打开视频时出错!\r\n\r\n请检查设备是否被其他程序占用!\r\n"_s + text);
}

} // namespace

CPictureCap::CPictureCap(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_frameTimer.setInterval(FrameInterval);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] {
        if (!m_bNewFrame)
            return;
        m_bNewFrame = false;
        update();
    });
}

CPictureCap::~CPictureCap()
{
    if (m_pSource) {
        m_pSource->disconnect(this);
        m_pSource->stop();
    }
}

void CPictureCap::SetSource(CFrameSource *source)
{
    if (m_pSource) {
        Stop();
        m_pSource->disconnect(this);
        m_pSource->deleteLater();
    }
    m_pSource = source;
    if (!source)
        return;
    source->setParent(this);
    connect(source, &CFrameSource::frameReady, this, &CPictureCap::onFrame);
    connect(source, &CFrameSource::stateChanged, this,
            [this](CFrameSource::State state) { onSourceState(int(state)); });
    connect(source, &CFrameSource::errorOccurred, this, &CPictureCap::onSourceError);
}

void CPictureCap::EnumerateDevices(QComboBox *list) const
{
    list->clear();
    if (m_pSource)
        list->addItems(m_pSource->deviceNames());
    list->setCurrentIndex(list->count() > 0 ? 0 : -1);
}

bool CPictureCap::StartOrStop(int index)
{
    if (m_bStarted) {
        Stop();
        return true;
    }
    const QStringList devices = m_pSource ? m_pSource->deviceNames() : QStringList();
    if (devices.isEmpty()) {
        ShowMessage(this, u"没有检测到可用设备.\r\n"_s, LoadResString(117),
                    QMessageBox::Information);
        return false;
    }
    index = qMax(index, 0);
    if (index >= devices.size()) {
        MessageBoxFormat(this, u"Unable to access video capture device!"_s);
        return false;
    }
    QString error;
    m_bStarted = true;
    if (!m_pSource->start(index, &error)) {
        m_bStarted = false;
        showOpenError(this, error);
        return false;
    }
    m_frameTimer.start();
    return true;
}

void CPictureCap::Stop()
{
    if (!m_bStarted)
        return;
    m_bStarted = false;
    m_pSource->stop();
    stopped();
}

void CPictureCap::stopped()
{
    m_frameTimer.stop();
    m_frame = QImage();
    m_bNewFrame = false;
    update();
    Q_EMIT captureStateChanged(false);
}

void CPictureCap::onFrame(const QImage &frame)
{
    if (!m_bStarted)
        return;
    m_frame = frame;
    m_bNewFrame = true;
}

void CPictureCap::onSourceState(int state)
{
    if (!m_bStarted)
        return;
    if (state == int(CFrameSource::State::Capturing)) {
        Q_EMIT captureStateChanged(true);
        return;
    }
    // The device stopped by itself.
    m_bStarted = false;
    stopped();
}

void CPictureCap::onSourceError(const QString &text)
{
    if (!m_bStarted)
        return;
    Stop();
    showOpenError(this, text);
}

void CPictureCap::SetFocusSize(int width, int height, bool centre)
{
    const QSize area = size();
    const int w = qMax(0, width >= area.width() ? area.width() - 1 : width);
    const int h = qMax(0, height >= area.height() ? area.height() - 1 : height);
    if (centre)
        m_rcFocus = QRect((area.width() - w) / 2, (area.height() - h) / 2, w, h);
    else
        m_rcFocus = keptInside(QRect(m_rcFocus.topLeft(), QSize(w, h)), area);
    update();
}

QImage CPictureCap::GrabFrame() const
{
    if (m_frame.isNull())
        return QImage();
    return m_frame.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QSize CPictureCap::videoSize() const
{
    return m_pSource ? m_pSource->frameSize() : QSize();
}

int CPictureCap::bitsPerPixel() const
{
    return CFrameSource::bitsPerPixel();
}

void CPictureCap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_frame.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(rect(), m_frame);
    painter.setPen(QPen(QColor(255, 0, 0), 1, Qt::DashDotDotLine));
    painter.setBackgroundMode(Qt::TransparentMode);
    const int left = m_rcFocus.x();
    const int top = m_rcFocus.y();
    const int right = left + m_rcFocus.width();
    const int bottom = top + m_rcFocus.height();
    const QPoint corners[]
        = { { left, top }, { right, top }, { right, bottom }, { left, bottom }, { left, top } };
    painter.drawPolyline(corners, 5);
}

void CPictureCap::mousePressEvent(QMouseEvent *event)
{
    m_bDragged = false;
    if (event->button() != Qt::LeftButton)
        return;
    if (m_rcFocus.contains(event->position().toPoint())) {
        m_rcDragStart = m_rcFocus;
        m_ptDragStart = event->position().toPoint();
        m_bDragging = true;
    }
}

void CPictureCap::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_bDragging || m_rcFocus.contains(point))
        setCursor(Qt::SizeAllCursor);
    else
        unsetCursor();
    if (!m_bDragging)
        return;
    const QPoint offset = point - m_ptDragStart;
    if (offset.isNull())
        return;
    m_bDragged = true;
    m_rcFocus = keptInside(m_rcDragStart.translated(offset), size());
    update();
}

void CPictureCap::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_bDragging = false;
    if (!m_bDragged)
        Q_EMIT clicked();
}
