#include "ui/htmledit/ccolorpickbutton.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QWidgetAction>

using namespace Qt::StringLiterals;

namespace {

QIcon swatch(const QColor &color, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    if (color.isValid())
        painter.setBrush(color);
    painter.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
    if (!color.isValid())
        painter.drawLine(1, size.height() - 2, size.width() - 2, 1);
    return QIcon(pixmap);
}

// The palette of the colour buttons: five rows of eight, from dark to light.
constexpr QRgb kPalette[] = {
    0x000000, 0x993300, 0x333300, 0x003300, 0x003366, 0x000080, 0x333399, 0x333333,
    0x800000, 0xff6600, 0x808000, 0x008000, 0x008080, 0x0000ff, 0x666699, 0x808080,
    0xff0000, 0xff9900, 0x99cc00, 0x339966, 0x33cccc, 0x3366ff, 0x800080, 0x969696,
    0xff00ff, 0xffcc00, 0xffff00, 0x00ff00, 0x00ffff, 0x00ccff, 0x993366, 0xc0c0c0,
    0xff99cc, 0xffcc99, 0xffff99, 0xccffcc, 0xccffff, 0x99ccff, 0xcc99ff, 0xffffff,
};

} // namespace

CColorPickButton::CColorPickButton(QWidget *parent) : QToolButton(parent)
{
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(36, 14));
    buildMenu();
    refresh();
}

void CColorPickButton::buildMenu()
{
    auto *menu = new QMenu(this);
    m_automaticAction = menu->addAction(QString(), this, [this] { pick(QColor()); });
    auto *palette = new QWidget(menu);
    auto *grid = new QGridLayout(palette);
    grid->setSpacing(2);
    grid->setContentsMargins(4, 4, 4, 4);
    addPalette(grid);
    auto *paletteAction = new QWidgetAction(menu);
    paletteAction->setDefaultWidget(palette);
    menu->addAction(paletteAction);
    m_otherAction = menu->addAction(QString(), this, &CColorPickButton::pickOther);
    setMenu(menu);
}

void CColorPickButton::addPalette(QGridLayout *grid)
{
    int index = 0;
    for (const QRgb rgb : kPalette) {
        const QColor color(rgb);
        auto *cell = new QToolButton;
        cell->setAutoRaise(true);
        cell->setIcon(swatch(color, QSize(14, 14)));
        cell->setToolTip(color.name());
        connect(cell, &QToolButton::clicked, this, [this, color] {
            menu()->hide();
            pick(color);
        });
        grid->addWidget(cell, index / 8, index % 8);
        ++index;
    }
}

void CColorPickButton::setAutomatic(const QString &label, const QColor &color)
{
    m_automaticAction->setText(label);
    m_automaticColor = color;
    m_automaticAction->setIcon(swatch(color, QSize(14, 14)));
    refresh();
}

void CColorPickButton::setOtherLabel(const QString &label)
{
    m_otherAction->setText(label);
}

void CColorPickButton::setColor(const QColor &color)
{
    m_automatic = !color.isValid();
    m_color = color;
    refresh();
}

QColor CColorPickButton::color() const
{
    return m_automatic ? m_automaticColor : m_color;
}

void CColorPickButton::pick(const QColor &color)
{
    setColor(color);
    Q_EMIT colorChanged();
}

void CColorPickButton::pickOther()
{
    const QColor chosen = QColorDialog::getColor(color().isValid() ? color() : Qt::black, this);
    if (chosen.isValid())
        pick(chosen);
}

void CColorPickButton::refresh()
{
    setIcon(swatch(color(), iconSize()));
    setText(m_automatic ? m_automaticAction->text() : QString());
}
