#include "ui/controls/ctransparentpic.h"

#include "ui/controls/resources.h"

#include <QBitmap>
#include <QPainter>

using namespace Qt::StringLiterals;

CTransparentPic::CTransparentPic(QWidget *parent) : QWidget(parent) { }

QPixmap CTransparentPic::loadTransparent(int resourceId)
{
    InitVantrelResources();
    QPixmap pixmap(u":/bitmaps/%1.png"_s.arg(resourceId));
    if (pixmap.isNull())
        return pixmap;
    pixmap.setMask(pixmap.createMaskFromColor(Qt::white, Qt::MaskInColor));
    return pixmap;
}

void CTransparentPic::SetBitmap(int resourceId)
{
    const bool changed = resourceId != m_id;
    m_id = resourceId;
    m_pixmap = loadTransparent(resourceId);
    if (!m_pixmap.isNull()) {
        resize(m_pixmap.size());
        updateGeometry();
    }
    if (changed)
        update();
}

QSize CTransparentPic::sizeHint() const
{
    return m_pixmap.isNull() ? QSize(60, 20) : m_pixmap.size();
}

void CTransparentPic::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_pixmap.isNull()) {
        painter.drawText(QPoint(1, 1 + fontMetrics().ascent()), u"ERROR!"_s);
        return;
    }
    painter.drawPixmap(0, 0, m_pixmap);
}
