#pragma once

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QPointer>

class QMdiArea;
class QPainter;

// What the main frame paints behind its child windows: a colour, and a picture over it that is
// tiled (mode 0), centred (1), stretched over the whole area (2) or put with its corner at the
// origin (3). The profile keeps "BkMode", "BkColor" (0x00BBGGRR), "OriginX", "OriginY" and
// "BkPicture" (a file path); the options page changes the values here, then saves them.
class MdiBackground : public QObject
{
    Q_OBJECT

public:
    enum Mode { Tile = 0, Centre = 1, Stretch = 2, AtOrigin = 3 };

    // Paints the area's viewport from now on; starts with the default background.
    explicit MdiBackground(QMdiArea &area);

    // Reads the settings (missing ones take the defaults) and loads the picture they name.
    void LoadBkSettings();
    // Back to the default: the workspace colour, no picture, mode 0, origin 0, 0.
    void ResetBackground();
    // Loads the picture (an empty path drops it); false when the file is not a picture. The
    // path is kept either way.
    bool SetBkPicture(const QString &path);
    // Writes the settings, and "BannerHeight" as the banner's height (0 without a banner).
    void SaveBkSettings(int bannerHeight) const;

    int mode() const { return m_mode; }
    void setMode(int mode);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    QPoint origin() const { return m_origin; }
    void setOrigin(const QPoint &origin);
    QString picturePath() const { return m_picturePath; }
    // In device pixels; empty without a picture.
    QSize pictureSize() const { return m_picture.size(); }

    // Paints the background over the rectangle.
    void paint(QPainter &painter, const QRect &area) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QColor defaultColor() const;
    void tile(QPainter &painter, const QRect &area) const;

    QMdiArea &m_area;
    QPointer<QWidget> m_viewport;
    QColor m_color;
    QPixmap m_picture;
    QString m_picturePath;
    QPoint m_origin;
    int m_mode = Tile;
};
