#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>

#include <memory>

// A source of live camera frames: lists its devices, starts one by its index in that list and
// stops. Frames come as 24-bit RGB images (frameReady); the source counts as capturing from its
// first frame until it stops, asked or by itself (stateChanged). A failure after start() comes
// as errorOccurred with the backend's text while the source still counts as started (so that
// a receiver can tell it from a device that stopped by itself); the source stops right after.
class CFrameSource : public QObject
{
    Q_OBJECT

public:
    enum class State { Stopped, Capturing };
    Q_ENUM(State)

    using QObject::QObject;

    // The devices by their names, in the order start() counts them.
    virtual QStringList deviceNames() const = 0;
    // Starts the device at index; false with the reason in error when it cannot start.
    virtual bool start(int index, QString *error) = 0;
    // Stops delivering frames; a capturing source reports Stopped.
    virtual void stop() = 0;

    State state() const { return m_state; }
    // The size of the frames delivered since the last start; empty before the first.
    QSize frameSize() const { return m_frameSize; }
    // Bits per pixel of the delivered frames.
    static constexpr int bitsPerPixel() { return 24; }

Q_SIGNALS:
    void frameReady(const QImage &frame);
    void stateChanged(CFrameSource::State state);
    void errorOccurred(const QString &text);

protected:
    // Converts the frame to 24-bit RGB and hands it on; the first one makes the source
    // capturing. A null image is dropped.
    void deliverFrame(const QImage &frame);
    // Forgets the frame size and reports Stopped when the source was capturing.
    void setStopped();

private:
    State m_state = State::Stopped;
    QSize m_frameSize;
};

// The frame source of this run: the made-up pattern when VANTREL_FAKE_CAMERA asks for it
// (see CFakeFrameSource::modeFromText), else the cameras that QtMultimedia finds.
std::unique_ptr<CFrameSource> CreateFrameSource(QObject *parent = nullptr);
