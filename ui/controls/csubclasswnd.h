#pragma once

#include <QObject>

class QEvent;
class QWidget;

// A hook that sees the events of a window it does not own before the window does, so that a
// control can react to what happens to its dialog (moved, clicked elsewhere) or to a list it
// shows. Any number of hooks may watch one window: the newest sees an event first and passes
// it on (WindowProc's default) to the one hooked before it, and the oldest to the window
// itself. One application-wide map names the newest hook of each watched window. When a
// hooked window is destroyed, all its hooks are unhooked. User-interface thread only.
class CSubclassWnd : public QObject
{
    Q_OBJECT

public:
    explicit CSubclassWnd(QObject *parent = nullptr);
    // Unhooks the hook when it is still hooked.
    ~CSubclassWnd() override;

    // A window hooks this hook to it (after unhooking it from another); null unhooks it.
    // Returns true.
    bool HookWindow(QWidget *window);
    // Null when not hooked.
    QWidget *hookedWindow() const { return m_window; }

    // The newest hook of the window, or null.
    static CSubclassWnd *newestHook(const QWidget *window);

protected:
    // Sees the event before the window and the older hooks; true swallows it. The default
    // passes it on: to the hook installed before this one, else to the window.
    virtual bool WindowProc(QEvent *event);

private:
    friend class CSubclassWndMap;
    void unhook();

    QWidget *m_window = nullptr;
    CSubclassWnd *m_next = nullptr; // the hook installed before this one on the same window
};
