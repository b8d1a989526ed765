#include "personnel/cframesource.h"

#include "personnel/cfakeframesource.h"
#include "personnel/cqtframesource.h"

void CFrameSource::deliverFrame(const QImage &frame)
{
    if (frame.isNull())
        return;
    const QImage rgb = frame.convertToFormat(QImage::Format_RGB888);
    m_frameSize = rgb.size();
    Q_EMIT frameReady(rgb);
    if (m_state == State::Capturing)
        return;
    m_state = State::Capturing;
    Q_EMIT stateChanged(m_state);
}

void CFrameSource::setStopped()
{
    m_frameSize = QSize();
    if (m_state == State::Stopped)
        return;
    m_state = State::Stopped;
    Q_EMIT stateChanged(m_state);
}

std::unique_ptr<CFrameSource> CreateFrameSource(QObject *parent)
{
    const QByteArray fake = qgetenv("VANTREL_FAKE_CAMERA");
    if (!fake.isEmpty())
        return std::make_unique<CFakeFrameSource>(CFakeFrameSource::modeFromText(fake), parent);
    return std::make_unique<CQtFrameSource>(parent);
}
