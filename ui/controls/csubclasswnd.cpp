#include "ui/controls/csubclasswnd.h"

#include <QHash>
#include <QWidget>

// The window-to-newest-hook map and the one event filter that every hooked window gets.
class CSubclassWndMap : public QObject
{
public:
    static CSubclassWndMap &instance()
    {
        static CSubclassWndMap map;
        return map;
    }

    CSubclassWnd *find(const QWidget *window) const { return m_hooks.value(window); }

    void hook(CSubclassWnd *hook, QWidget *window)
    {
        CSubclassWnd *newest = find(window);
        hook->m_next = newest;
        hook->m_window = window;
        m_hooks.insert(window, hook);
        if (!newest) {
            window->installEventFilter(this);
            connect(window, &QObject::destroyed, this, &CSubclassWndMap::windowDestroyed);
        }
    }

    void unhook(CSubclassWnd *hook)
    {
        QWidget *window = hook->m_window;
        CSubclassWnd *newest = find(window);
        if (newest == hook) {
            if (hook->m_next) {
                m_hooks.insert(window, hook->m_next);
            } else {
                m_hooks.remove(window);
                window->removeEventFilter(this);
                disconnect(window, &QObject::destroyed, this, nullptr);
            }
        } else {
            for (CSubclassWnd *h = newest; h; h = h->m_next) {
                if (h->m_next == hook) {
                    h->m_next = hook->m_next;
                    break;
                }
            }
        }
        hook->m_next = nullptr;
        hook->m_window = nullptr;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (CSubclassWnd *newest = m_hooks.value(static_cast<QWidget *>(watched)))
            return newest->WindowProc(event);
        return false;
    }

private:
    // The window is going: its hooks let go of it without touching it again.
    void windowDestroyed(QObject *object)
    {
        const auto *window = static_cast<const QWidget *>(object);
        CSubclassWnd *hook = m_hooks.take(window);
        while (hook) {
            CSubclassWnd *next = hook->m_next;
            hook->m_next = nullptr;
            hook->m_window = nullptr;
            hook = next;
        }
    }

    QHash<const QWidget *, CSubclassWnd *> m_hooks;
};

CSubclassWnd::CSubclassWnd(QObject *parent) : QObject(parent) { }

CSubclassWnd::~CSubclassWnd()
{
    unhook();
}

bool CSubclassWnd::HookWindow(QWidget *window)
{
    unhook();
    if (window)
        CSubclassWndMap::instance().hook(this, window);
    return true;
}

CSubclassWnd *CSubclassWnd::newestHook(const QWidget *window)
{
    return CSubclassWndMap::instance().find(window);
}

bool CSubclassWnd::WindowProc(QEvent *event)
{
    return m_next ? m_next->WindowProc(event) : false;
}

void CSubclassWnd::unhook()
{
    if (m_window)
        CSubclassWndMap::instance().unhook(this);
}
