#pragma once

#include <QPoint>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>
#include <QWidget>

class QLabel;

// A small frameless window that slides in, stays above the other windows without taking the
// focus, and closes itself after a while: a caption (icon, title, close button) over the
// content widget it is given. The user can drag it by its caption; the auto-close waits while
// the mouse is over it. It deletes itself when it closes, after telling where it was.
class CDesktopAlertWnd : public QWidget
{
    Q_OBJECT

public:
    // The alert belongs to the owner's window and goes with it.
    explicit CDesktopAlertWnd(QWidget *owner);
    ~CDesktopAlertWnd() override;

    // 0: no auto-close.
    void SetAutoCloseTime(int ms) { m_autoCloseMs = ms; }
    // Milliseconds per step of the slide (ten steps); 0 shows at once.
    void SetAnimationSpeed(int msPerStep) { m_stepMs = msPerStep; }
    // 0 (invisible) to 255 (opaque).
    void SetTransparency(int alpha);
    void SetIcon(const QIcon &icon);
    void SetTitle(const QString &title);

    // Shows the content (owned from now on) at the point, or at the bottom-right corner of the
    // owner's screen when the point is (-1, -1), kept on a visible screen.
    void Create(QWidget *content, const QPoint &position = QPoint(-1, -1));

    QWidget *content() const { return m_content; }
    // Where the window stands (or will stand once the slide ends).
    QPoint lastPosition() const { return m_target; }

Q_SIGNALS:
    // The window is closing (by itself, by the user, or by close()); it is deleted later.
    void closed(const QPoint &lastPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *createCaption();
    QPoint cornerPosition() const;
    void slideIn();

    QWidget *m_caption = nullptr;
    QLabel *m_icon = nullptr;
    QLabel *m_title = nullptr;
    QPointer<QWidget> m_content;
    QPointer<QPropertyAnimation> m_slide;
    QTimer m_autoClose;
    int m_autoCloseMs = 0;
    int m_stepMs = 30;
    QPoint m_target;
    QPoint m_dragOffset;
    bool m_dragging = false;
    bool m_closed = false;
};
