#include "ui/controls/looktheme.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

using namespace Qt::StringLiterals;

namespace LookTheme {

namespace {

int g_current = 0;
int g_office2007 = 215; // the colour an unknown id keeps

QPalette tinted(const QColor &window, const QColor &highlight, const QColor &base = Qt::white,
                const QColor &text = Qt::black)
{
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window.lighter(105));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    p.setColor(QPalette::ToolTipText, Qt::black);
    // setColor fills every colour group; disabled commands must still look disabled.
    const QColor disabled = text == Qt::black ? QColor(0x8A, 0x8A, 0x8A) : QColor(0x80, 0x80, 0x80);
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

QPalette dark()
{
    return tinted(QColor(0x35, 0x38, 0x3D), QColor(0x4A, 0x7F, 0xC1), QColor(0x25, 0x27, 0x2B),
                  QColor(0xE8, 0xE8, 0xE8));
}

QPalette paletteFor(int id)
{
    switch (id) {
    case 210:
        return tinted(QColor(0xD4, 0xD0, 0xC8), QColor(0x0A, 0x24, 0x6A));
    case 211:
        return tinted(QColor(0xF0, 0xEE, 0xE8), QColor(0x31, 0x6A, 0xC5));
    case 213:
        return tinted(QColor(0xE3, 0xEF, 0xFF), QColor(0x31, 0x6A, 0xC5));
    case 214:
        return tinted(QColor(0xEE, 0xED, 0xE5), QColor(0x33, 0x99, 0xFF));
    case 216:
        return dark();
    case 217:
        return tinted(QColor(0xE9, 0xED, 0xF1), QColor(0x5B, 0x7F, 0xA8));
    case 218:
        return tinted(QColor(0xE0, 0xF0, 0xF5), QColor(0x1F, 0x8A, 0xA8));
    case 215:
    default:
        return tinted(QColor(0xDB, 0xE7, 0xF5), QColor(0x39, 0x6B, 0xB5));
    }
}

} // namespace

void apply(int lookId)
{
    int id = lookId;
    if (id < 210 || id > 218)
        id = g_office2007; // the 2007 look with the colour it has
    if (id >= 215)
        g_office2007 = id;
    const QString styleName = id == 210 ? u"Windows"_s : u"Fusion"_s;
    if (QStyle *style = QStyleFactory::create(styleName))
        QApplication::setStyle(style);
    QApplication::setPalette(id == 212 ? QApplication::style()->standardPalette() : paletteFor(id));
    g_current = id;
}

int current()
{
    return g_current;
}

} // namespace LookTheme
