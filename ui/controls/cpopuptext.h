#pragma once

#include <QPointer>
#include <QSize>
#include <QTimer>
#include <QWidget>

// A borderless one-line tip shown over a control, for instance the whole text of a tree item
// that the tree cuts off. The program shares one: Create() makes it for an owner control and
// Shared() finds it; it goes when that owner goes, and the next Create() makes a new one.
//
// It never takes the activation. ShowDelayed() shows it after 200 ms and then watches the
// mouse every 200 ms: when the mouse is over neither the tip nor its owner (or the owner's
// children), the tip hides itself and wasLeft() turns true. Any click on it hides it.
class CPopupText : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DelayMs = 200;

    // The shared tip, created at the point (screen coordinates) with the owner as its parent
    // when there is none; an existing one gets the owner to watch and keeps its place.
    static CPopupText *Create(QWidget *owner, const QPoint &point);
    // Null while there is none.
    static CPopupText *Shared();

    // Sets the text and resizes the window to fit it: the text's single-line size plus the
    // margins on every side. The left edge stays, or the right edge when right-justified.
    void SetText(const QString &text);
    QString text() const { return m_text; }
    void SetRightJustified(bool right) { m_rightJustified = right; }
    // The control the mouse may rest on without the tip hiding.
    void SetOwner(QWidget *owner) { m_owner = owner; }
    QWidget *owner() const { return m_owner; }

    void ShowDelayed();
    // Stops both timers and hides the tip.
    void Cancel();
    // True after the watch hid the tip because the mouse left.
    bool wasLeft() const { return m_left; }
    bool isShowPending() const { return m_showTimer.isActive(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    explicit CPopupText(QWidget *owner);
    void showNow();
    void watchMouse();

    static QPointer<CPopupText> s_shared;

    QSize m_margins { 4, 4 };
    QString m_text;
    QPointer<QWidget> m_owner;
    QTimer m_showTimer;
    QTimer m_watchTimer;
    bool m_rightJustified = false;
    bool m_left = false;
};
