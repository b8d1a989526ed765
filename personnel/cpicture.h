#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QPainter;

// A picture as stored: the original bytes are kept next to the decoded image, so that saving
// writes exactly what was loaded. JPEG, GIF, BMP, PNG and ICO decode; anything else (WMF and
// EMF too) is refused and leaves the picture as it was.
class CPicture
{
public:
    // False, with the picture unchanged, when the bytes are empty or do not decode.
    bool Load(const QByteArray &bytes);
    bool LoadFromFile(const QString &path);
    // A picture of the program's resources (":/…").
    bool LoadFromResource(const QString &resource) { return LoadFromFile(resource); }
    // Writes the kept bytes; false when there are none or the file cannot be written.
    bool SaveToFile(const QString &path) const;
    void Free();

    bool IsEmpty() const { return m_image.isNull(); }
    const QByteArray &bytes() const { return m_bytes; }
    const QImage &image() const { return m_image; }
    // The natural size in device pixels.
    QSize GetSize() const { return m_image.size(); }
    // The extension of the bytes' real format ("jpg", "png", "gif", "bmp", "ico"), or empty.
    QString suffix() const { return m_suffix; }

    // Draws the whole picture into the rectangle, scaled to it.
    void Render(QPainter *painter, const QRect &target) const;
    // Draws at natural size with its top-left corner at the point.
    void Draw(QPainter *painter, const QPoint &topLeft) const;

    // The path with the extension of the format added, unless it ends with it already.
    static QString PathWithSuffix(const QString &path, const QString &suffix);
    // The open dialog's filter: the formats that decode, and all files.
    static QString OpenFilter();

private:
    QByteArray m_bytes;
    QImage m_image;
    QString m_suffix;
};
