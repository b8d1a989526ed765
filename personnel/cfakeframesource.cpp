#include "personnel/cfakeframesource.h"

#include <QPainter>

using namespace Qt::StringLiterals;

CFakeFrameSource::CFakeFrameSource(Mode mode, QObject *parent) : CFrameSource(parent), m_mode(mode)
{
    m_timer.setInterval(FrameInterval);
    connect(&m_timer, &QTimer::timeout, this, &CFakeFrameSource::nextFrame);
}

CFakeFrameSource::Mode CFakeFrameSource::modeFromText(const QByteArray &text)
{
    const QByteArray mode = text.toLower();
    if (mode == "nodevice")
        return Mode::NoDevice;
    if (mode == "startfails")
        return Mode::StartFails;
    if (mode == "stops")
        return Mode::Stops;
    return Mode::Pattern;
}

QColor CFakeFrameSource::patternColor(const QPoint &point)
{
    // Far apart in every channel, so that a JPEG round trip never mistakes one for another.
    static const QColor colors[Columns * Rows] = {
        QColor(230, 30, 30),  QColor(30, 200, 30),  QColor(30, 30, 230),   QColor(230, 230, 30),
        QColor(30, 220, 220), QColor(220, 30, 220), QColor(250, 250, 250), QColor(20, 20, 20),
        QColor(250, 140, 20), QColor(120, 60, 20),  QColor(140, 140, 140), QColor(20, 110, 120),
    };
    const int column = qBound(0, point.x() / BlockSize, Columns - 1);
    const int row = qBound(0, point.y() / BlockSize, Rows - 1);
    return colors[row * Columns + column];
}

QImage CFakeFrameSource::pattern(int counter)
{
    QImage image(patternSize(), QImage::Format_RGB888);
    QPainter painter(&image);
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            const QRect block(column * BlockSize, row * BlockSize, BlockSize, BlockSize);
            painter.fillRect(block, patternColor(block.topLeft()));
        }
    }
    // The counter keeps to the top band of the first block; its centre stays solid.
    QFont font = painter.font();
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 4, BlockSize - 16, 40), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::number(counter));
    return image;
}

QStringList CFakeFrameSource::deviceNames() const
{
    if (m_mode == Mode::NoDevice)
        return {};
    return { u"Test pattern camera"_s };
}

bool CFakeFrameSource::start(int index, QString *error)
{
    if (index < 0 || index >= deviceNames().size()) {
        if (error)
            *error = u"No camera at index %1."_s.arg(index);
        return false;
    }
    m_counter = 0;
    if (m_mode == Mode::StartFails) {
        // A real camera reports most failures after start() returned.
        QTimer::singleShot(0, this, [this] {
            Q_EMIT errorOccurred(u"The test pattern camera cannot be opened."_s);
            stop();
        });
        return true;
    }
    m_timer.start();
    return true;
}

void CFakeFrameSource::stop()
{
    m_timer.stop();
    setStopped();
}

void CFakeFrameSource::nextFrame()
{
    if (m_mode == Mode::Stops && m_counter >= FramesBeforeStop) {
        stop();
        return;
    }
    deliverFrame(pattern(++m_counter));
}
