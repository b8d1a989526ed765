#include "ui/frame/mdiplacement.h"

#include "core/util/profile.h"

#include <QMdiSubWindow>

using namespace Qt::StringLiterals;

namespace {

const QString Placement = u"MDIForm"_s;

} // namespace

void SaveMdiPlacement(const QMdiSubWindow *window)
{
    if (!window)
        return;
    const bool maximized = window->isMaximized();
    Profile::writeInt(Placement, u"Maximize"_s, maximized ? 1 : 0);
    if (!maximized) {
        Profile::writeInt(Placement, u"Left"_s, window->x());
        Profile::writeInt(Placement, u"Top"_s, window->y());
        Profile::writeInt(Placement, u"Width"_s, window->width());
        Profile::writeInt(Placement, u"Height"_s, window->height());
    }
}

void ApplyMdiPlacement(QMdiSubWindow *window)
{
    window->setGeometry(
        Profile::getInt(Placement, u"Left"_s, 0), Profile::getInt(Placement, u"Top"_s, 0),
        Profile::getInt(Placement, u"Width"_s, 800), Profile::getInt(Placement, u"Height"_s, 500));
    if (Profile::getInt(Placement, u"Maximize"_s, 0) != 0)
        window->showMaximized();
}
