#include "personnel/cqtframesource.h"

#include <QCamera>
#include <QMediaDevices>
#include <QVideoFrame>

using namespace Qt::StringLiterals;

CQtFrameSource::CQtFrameSource(QObject *parent) : CFrameSource(parent)
{
    m_session.setVideoSink(&m_sink);
    // The sink may call from the backend's streaming thread: the context object queues it.
    connect(&m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
        if (m_camera)
            deliverFrame(frame.toImage());
    });
}

CQtFrameSource::~CQtFrameSource()
{
    release();
}

QStringList CQtFrameSource::deviceNames() const
{
    QStringList names;
    for (const QCameraDevice &device : QMediaDevices::videoInputs())
        names << device.description();
    return names;
}

bool CQtFrameSource::start(int index, QString *error)
{
    stop();
    const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
    if (index < 0 || index >= devices.size()) {
        if (error)
            *error = u"No camera at index %1."_s.arg(index);
        return false;
    }
    m_camera = new QCamera(devices.at(index), this);
    m_session.setCamera(m_camera);
    m_camera->start();
    if (m_camera->error() != QCamera::NoError) {
        if (error)
            *error = m_camera->errorString();
        release();
        return false;
    }
    connect(m_camera, &QCamera::errorOccurred, this, [this](QCamera::Error, const QString &text) {
        Q_EMIT errorOccurred(text);
        stop();
    });
    // A camera that goes away (unplugged) turns inactive without an error.
    connect(m_camera, &QCamera::activeChanged, this, [this](bool active) {
        if (!active)
            stop();
    });
    return true;
}

void CQtFrameSource::stop()
{
    release();
    setStopped();
}

void CQtFrameSource::release()
{
    if (!m_camera)
        return;
    // Whatever the camera says while it is taken down is no news to the caller.
    m_camera->disconnect(this);
    m_camera->stop();
    m_session.setCamera(nullptr);
    m_camera->deleteLater();
    m_camera = nullptr;
}
