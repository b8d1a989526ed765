#include "ui/frame/mdibackground.h"

#include "core/app/constants.h"
#include "core/util/profile.h"

#include <QEvent>
#include <QMdiArea>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

const QString kMode = u"BkMode"_s;
const QString kColor = u"BkColor"_s;
const QString kOriginX = u"OriginX"_s;
const QString kOriginY = u"OriginY"_s;
const QString kPicture = u"BkPicture"_s;

// The profile keeps colours as 0x00BBGGRR.
int colorRef(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QColor fromColorRef(int value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

} // namespace

MdiBackground::MdiBackground(QMdiArea &area)
    : QObject(&area), m_area(area), m_viewport(area.viewport())
{
    // The area paints nothing of its own; the viewport's paint event is ours first.
    m_area.setBackground(Qt::NoBrush);
    m_viewport->installEventFilter(this);
    ResetBackground();
}

QColor MdiBackground::defaultColor() const
{
    return m_area.palette().color(QPalette::Dark);
}

void MdiBackground::LoadBkSettings()
{
    m_mode = Profile::getInt({}, kMode, Tile);
    m_origin = QPoint(Profile::getInt({}, kOriginX, 0), Profile::getInt({}, kOriginY, 0));
    m_color = fromColorRef(Profile::getInt({}, kColor, colorRef(defaultColor())));
    const QString path = Profile::getString({}, kPicture);
    if (!path.isEmpty())
        SetBkPicture(path);
    m_area.viewport()->update();
}

void MdiBackground::ResetBackground()
{
    m_mode = Tile;
    m_origin = QPoint();
    m_picturePath.clear();
    m_picture = QPixmap();
    m_color = defaultColor();
    m_area.viewport()->update();
}

bool MdiBackground::SetBkPicture(const QString &path)
{
    m_picturePath = path;
    m_picture = path.isEmpty() ? QPixmap() : QPixmap(path);
    m_area.viewport()->update();
    return path.isEmpty() || !m_picture.isNull();
}

void MdiBackground::SaveBkSettings(int bannerHeight) const
{
    Profile::writeInt({}, kMode, m_mode);
    Profile::writeInt({}, kColor, colorRef(m_color));
    Profile::writeInt({}, kOriginX, m_origin.x());
    Profile::writeInt({}, kOriginY, m_origin.y());
    Profile::writeString({}, kPicture, m_picturePath);
    Profile::writeInt({}, QString::fromUtf16(strBannerHeight), bannerHeight);
}

void MdiBackground::setMode(int mode)
{
    m_mode = mode;
    m_area.viewport()->update();
}

void MdiBackground::setColor(const QColor &color)
{
    m_color = color;
    m_area.viewport()->update();
}

void MdiBackground::setOrigin(const QPoint &origin)
{
    m_origin = origin;
    m_area.viewport()->update();
}

void MdiBackground::paint(QPainter &painter, const QRect &area) const
{
    const QSize size = m_picture.size();
    switch (m_picture.isNull() ? -1 : m_mode) {
    case Tile:
        tile(painter, area);
        break;
    case Centre:
        painter.fillRect(area, m_color);
        painter.drawPixmap(area.left() + (area.width() - size.width()) / 2,
                           area.top() + (area.height() - size.height()) / 2, m_picture);
        break;
    case Stretch:
        painter.drawPixmap(area, m_picture);
        break;
    case AtOrigin:
        painter.fillRect(area, m_color);
        painter.drawPixmap(area.topLeft() + m_origin, m_picture);
        break;
    default:
        // No picture, or a mode we do not know: the colour alone.
        painter.fillRect(area, m_color);
        break;
    }
}

void MdiBackground::tile(QPainter &painter, const QRect &area) const
{
    const QSize size = m_picture.size();
    for (int y = area.top(); y <= area.bottom(); y += size.height()) {
        for (int x = area.left(); x <= area.right(); x += size.width())
            painter.drawPixmap(x, y, m_picture);
    }
}

bool MdiBackground::eventFilter(QObject *watched, QEvent *event)
{
    // The viewport is compared by the pointer kept at the start: while the area is being
    // destroyed it is no scroll area any more and must not be asked for its viewport.
    if (m_viewport && watched == m_viewport) {
        if (event->type() == QEvent::Paint) {
            QPainter painter(m_viewport);
            paint(painter, m_viewport->rect());
        } else if (event->type() == QEvent::Resize) {
            // A centred or stretched picture follows the window.
            m_viewport->update();
        }
    }
    return QObject::eventFilter(watched, event);
}
