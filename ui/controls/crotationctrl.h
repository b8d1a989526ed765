#pragma once

#include <QWidget>

#include <array>

class QToolButton;

// A 3×3 pad of buttons that turn a chart: parts 0 to 7 clockwise from the top (0 up, 1 up-right,
// 2 right … 7 up-left) and 8 in the centre. A part held down repeats every 100 ms; each press
// and repeat emits partClicked with the part.
class CRotationCtrl : public QWidget
{
    Q_OBJECT

public:
    static constexpr int partCount = 9;
    static constexpr int centrePart = 8;

    explicit CRotationCtrl(QWidget *parent = nullptr);

    void setPartEnabled(int part, bool on);
    bool isPartEnabled(int part) const;
    QToolButton *partButton(int part) const;
    // The part pressed last; -1 before the first press.
    int lastPart() const { return m_lastPart; }

Q_SIGNALS:
    void partClicked(int part);

private:
    std::array<QToolButton *, partCount> m_parts {};
    int m_lastPart = -1;
};
