#pragma once

#include "personnel/cframesource.h"

#include <QTimer>

// A made-up camera for trying the photo dialog without one: one device whose frames are
// large blocks of distinct solid colours, the frame counter written in the top band of the
// first block so that the picture visibly moves. It can also play the failures a real camera
// has: no device at all, a start that fails, a device that stops after a few frames.
class CFakeFrameSource : public CFrameSource
{
    Q_OBJECT

public:
    enum class Mode { Pattern, NoDevice, StartFails, Stops };

    static constexpr int Columns = 4;
    static constexpr int Rows = 3;
    static constexpr int BlockSize = 160;
    static constexpr int FrameInterval = 40; // milliseconds
    static constexpr int FramesBeforeStop = 5;

    explicit CFakeFrameSource(Mode mode = Mode::Pattern, QObject *parent = nullptr);

    // The mode that VANTREL_FAKE_CAMERA names: "nodevice", "startfails", "stops"; anything
    // else is the plain pattern.
    static Mode modeFromText(const QByteArray &text);
    // The frame size, Columns × Rows blocks.
    static QSize patternSize() { return QSize(Columns * BlockSize, Rows * BlockSize); }
    // The colour of the block that holds the point (frame coordinates).
    static QColor patternColor(const QPoint &point);
    // The pattern with the counter written in.
    static QImage pattern(int counter);

    QStringList deviceNames() const override;
    bool start(int index, QString *error) override;
    void stop() override;

private:
    void nextFrame();

    Mode m_mode;
    QTimer m_timer;
    int m_counter = 0;
};
