#include "ui/controls/screenplacement.h"

#include <QGuiApplication>
#include <QScreen>

QRect keepOnScreen(const QRect &rect)
{
    const QScreen *target = nullptr;
    int bestArea = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(rect);
        const int area = overlap.isValid() ? overlap.width() * overlap.height() : 0;
        if (area > bestArea) {
            bestArea = area;
            target = screen;
        }
    }
    if (!target)
        target = QGuiApplication::primaryScreen();
    if (!target)
        return rect;
    const QRect area = target->availableGeometry();
    QRect result = rect;
    result.setWidth(qMin(rect.width(), area.width()));
    result.setHeight(qMin(rect.height(), area.height()));
    if (result.right() > area.right())
        result.moveRight(area.right());
    if (result.bottom() > area.bottom())
        result.moveBottom(area.bottom());
    if (result.left() < area.left())
        result.moveLeft(area.left());
    if (result.top() < area.top())
        result.moveTop(area.top());
    return result;
}
