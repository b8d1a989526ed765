#include "ui/controls/combogridhook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

ComboGridHook::ComboGridHook(QWidget *picker, std::function<void()> closeList, QObject *parent)
    : CSubclassWnd(parent), m_picker(picker), m_closeList(std::move(closeList))
{
    qApp->installEventFilter(this);
}

ComboGridHook::~ComboGridHook()
{
    qApp->removeEventFilter(this);
}

bool ComboGridHook::WindowProc(QEvent *event)
{
    bool closing = false;
    switch (event->type()) {
    case QEvent::Wheel:
        return true;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowDeactivate:
    case QEvent::NonClientAreaMouseButtonPress:
        closing = true;
        break;
    case QEvent::KeyPress:
        closing = static_cast<QKeyEvent *>(event)->modifiers().testFlag(Qt::AltModifier)
            || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Alt;
        break;
    default:
        break;
    }
    const bool result = CSubclassWnd::WindowProc(event);
    if (closing)
        closeList();
    return result;
}

bool ComboGridHook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && hookedWindow()
        && !isInside(static_cast<QWidget *>(watched)))
        closeList();
    return false;
}

bool ComboGridHook::isInside(const QWidget *widget) const
{
    for (const QWidget *w : { m_picker.data(), m_list.data() }) {
        if (w && (w == widget || w->isAncestorOf(widget)))
            return true;
    }
    return false;
}

void ComboGridHook::closeList()
{
    if (m_closeList)
        m_closeList();
}
