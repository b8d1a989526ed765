#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

class CFrameSource;
class QComboBox;

// The live camera preview of the photo dialog. It paints the latest frame of its frame source
// stretched over the whole control, at most every 50 ms (black without a frame), and over it
// the focus rectangle that the user sizes (SetFocusSize) and drags with the mouse. The focus
// rectangle is in control pixels, right and bottom edges exclusive, and always keeps inside
// the control less one pixel on the right and bottom. A click that drags nothing is clicked().
class CPictureCap : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FrameInterval = 50; // milliseconds between repaints

    explicit CPictureCap(QWidget *parent = nullptr);
    ~CPictureCap() override;

    // The frame source; the control owns it. Replacing it stops the old one.
    void SetSource(CFrameSource *source);
    CFrameSource *source() const { return m_pSource; }

    // Fills the list with the device names and selects the first.
    void EnumerateDevices(QComboBox *list) const;
    // Starts the device at index (-1 counts as the first) when stopped, stops when started.
    // A start that fails shows why and returns false, the control stopped.
    bool StartOrStop(int index);
    // Stops without a word; stopped says so through captureStateChanged.
    void Stop();
    bool IsStarted() const { return m_bStarted; }

    void SetFocusSize(int width, int height, bool centre);
    QRect focusRect() const { return m_rcFocus; }
    // The latest frame scaled to the control's size (aspect ignored); null without a frame.
    QImage GrabFrame() const;
    QSize videoSize() const;
    int bitsPerPixel() const;

Q_SIGNALS:
    // Capturing from the first frame after a start; stopped when stopped, asked or not.
    void captureStateChanged(bool capturing);
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void onFrame(const QImage &frame);
    void onSourceState(int state);
    void onSourceError(const QString &text);
    void stopped();

    CFrameSource *m_pSource = nullptr;
    QRect m_rcFocus { 0, 0, 100, 120 };
    QRect m_rcDragStart;
    QPoint m_ptDragStart;
    bool m_bDragging = false;
    bool m_bDragged = false;
    bool m_bStarted = false;
    QImage m_frame;
    bool m_bNewFrame = false;
    QTimer m_frameTimer;
};
