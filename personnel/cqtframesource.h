#pragma once

#include "personnel/cframesource.h"

#include <QMediaCaptureSession>
#include <QVideoSink>

class QCamera;

// The cameras that QtMultimedia finds (on Debian through its GStreamer backend and the v4l2
// source). Each frame of the session's video sink is converted to an image; camera errors
// stop the source and come as errorOccurred with Qt's text.
class CQtFrameSource : public CFrameSource
{
    Q_OBJECT

public:
    explicit CQtFrameSource(QObject *parent = nullptr);
    ~CQtFrameSource() override;

    QStringList deviceNames() const override;
    bool start(int index, QString *error) override;
    void stop() override;

private:
    void release();

    QMediaCaptureSession m_session;
    QVideoSink m_sink;
    QCamera *m_camera = nullptr; // a child; dropped with deleteLater, also from its own signals
};
