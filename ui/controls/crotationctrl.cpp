#include "ui/controls/crotationctrl.h"

#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int buttonSize = 36;
constexpr int repeatMs = 100;

// An arrow pointing the way of a part, or a ring for the centre.
QIcon partIcon(int part)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x30, 0x50, 0x80), 2));
    painter.translate(12, 12);
    if (part == CRotationCtrl::centrePart) {
        painter.drawEllipse(QPointF(0, 0), 6, 6);
    } else {
        painter.rotate(45.0 * part);
        QPainterPath arrow;
        arrow.moveTo(0, -9);
        arrow.lineTo(6, -2);
        arrow.lineTo(2, -2);
        arrow.lineTo(2, 8);
        arrow.lineTo(-2, 8);
        arrow.lineTo(-2, -2);
        arrow.lineTo(-6, -2);
        arrow.closeSubpath();
        painter.fillPath(arrow, QColor(0x30, 0x50, 0x80));
    }
    return QIcon(pixmap);
}

} // namespace

CRotationCtrl::CRotationCtrl(QWidget *parent) : QWidget(parent)
{
    // Grid cells of the parts 0..8.
    static constexpr std::array<std::pair<int, int>, partCount> cells {
        { { 0, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 }, { 2, 1 }, { 2, 0 }, { 1, 0 }, { 0, 0 }, { 1, 1 } }
    };
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    for (int part = 0; part < partCount; ++part) {
        auto *button = new QToolButton(this);
        button->setObjectName(u"part%1"_s.arg(part));
        button->setIcon(partIcon(part));
        button->setFixedSize(buttonSize, buttonSize);
        button->setAutoRepeat(true);
        button->setAutoRepeatDelay(repeatMs);
        button->setAutoRepeatInterval(repeatMs);
        connect(button, &QToolButton::clicked, this, [this, part] {
            m_lastPart = part;
            Q_EMIT partClicked(part);
        });
        grid->addWidget(button, cells.at(part).first, cells.at(part).second);
        m_parts.at(part) = button;
    }
}

void CRotationCtrl::setPartEnabled(int part, bool on)
{
    if (part >= 0 && part < partCount)
        m_parts.at(part)->setEnabled(on);
}

bool CRotationCtrl::isPartEnabled(int part) const
{
    return part >= 0 && part < partCount && m_parts.at(part)->isEnabled();
}

QToolButton *CRotationCtrl::partButton(int part) const
{
    return part >= 0 && part < partCount ? m_parts.at(part) : nullptr;
}
