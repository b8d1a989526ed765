#pragma once

#include <QRect>
#include <QWidget>

class QScrollBar;

// A borderless host for a form taller than its place (generated entry forms, wizard pages):
// the owner puts its controls on content() and sets the content rectangle to their extent.
// The form scrolls by the scroll bar, the mouse wheel and by dragging its background with the
// mouse (an open hand shows while the form is taller than the host). With R the form's height
// less the host's, a line (and a wheel notch) scrolls max(R / 20, 5) pixels and a page
// max(R / 10, 20); the position stays within 0 … R.
class CDlgScrollable : public QWidget
{
    Q_OBJECT

public:
    explicit CDlgScrollable(QWidget *parent);

    QWidget *content() const { return m_pContent; }
    void SetContentRect(const QRect &rect);
    QRect GetContentRect() const { return m_contentRect; }

    int GetScrollPos() const { return m_nScrollPos; }
    int ScrollRange() const;
    int LineStep() const;
    int PageStep() const;
    // Moves by the delta, clipped to 0 … R.
    void ScrollBy(int delta);
    QScrollBar *verticalScrollBar() const { return m_pScrollBar; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void onScrollAction(int action);
    void layoutContent();
    void endDrag();
    void updateCursor();

    QWidget *m_pContent;
    QScrollBar *m_pScrollBar;
    QRect m_contentRect { 0, 0, 100, 100 };
    bool m_bDragging = false;
    int m_nLastY = 0;
    int m_nScrollPos = 0;
};
