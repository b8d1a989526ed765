#include "ui/frame/framelayout.h"

#include "core/app/constants.h"
#include "core/util/profile.h"
#include "ui/controls/screenplacement.h"

#include <QMainWindow>

using namespace Qt::StringLiterals;

namespace FrameLayout {

namespace {

QString name(const char16_t *constant)
{
    return QString::fromUtf16(constant);
}

QString paneSection(int controlId)
{
    return u"BasePane-%1%2"_s.arg(controlId).arg(0, 0, 16);
}

const QString dockStateKey = u"MainFrame"_s;

} // namespace

void savePlacement(const QWidget &window)
{
    const QString section = name(strMDIForm);
    const bool maximized = window.isMaximized();
    Profile::writeInt(section, name(strMaximize), maximized ? 1 : 0);
    if (maximized)
        return;
    const QRect r = window.frameGeometry();
    Profile::writeInt(section, name(strLeft), r.left());
    Profile::writeInt(section, name(strTop), r.top());
    Profile::writeInt(section, name(strWidth), r.width());
    Profile::writeInt(section, name(strHeight), r.height());
}

bool restorePlacement(QWidget &window)
{
    const QString section = name(strMDIForm);
    if (!Profile::contains(section, name(strWidth))
        && !Profile::contains(section, name(strMaximize)))
        return false;
    const QRect current = window.frameGeometry();
    const QRect saved(Profile::getInt(section, name(strLeft), current.left()),
                      Profile::getInt(section, name(strTop), current.top()),
                      Profile::getInt(section, name(strWidth), current.width()),
                      Profile::getInt(section, name(strHeight), current.height()));
    const QRect visible = keepOnScreen(saved);
    window.move(visible.topLeft());
    window.resize(visible.size() - (current.size() - window.size()));
    if (Profile::getInt(section, name(strMaximize), 0) != 0)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}

void saveDockState(const QMainWindow &frame)
{
    Profile::writeValue(name(strPanes), dockStateKey, frame.saveState());
}

bool restoreDockState(QMainWindow &frame)
{
    const QByteArray state = Profile::getValue(name(strPanes), dockStateKey).toByteArray();
    return !state.isEmpty() && frame.restoreState(state);
}

void savePaneVisibility(int controlId, bool visible)
{
    Profile::writeInt(paneSection(controlId), u"IsVisible"_s, visible ? 1 : 0);
}

bool paneVisibility(int controlId)
{
    return Profile::getInt(paneSection(controlId), u"IsVisible"_s, 1) != 0;
}

} // namespace FrameLayout
