#include "ui/controls/chartpalettes.h"

#include <QLinearGradient>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Eight colours a theme, as 0xRRGGBB; neighbours differ enough to tell bars apart.
using Palette = std::array<unsigned, 8>;

constexpr std::array<Palette, 20> palettes { {
    { 0x4472c4, 0xed7d31, 0x70ad47, 0xffc000, 0x5b9bd5, 0xa5a5a5, 0x9e480e, 0x264478 }, // [缺省]
    { 0xf4a6a6, 0xa6d8f4, 0xb8e6a0, 0xfde28a, 0xd4b0ec, 0xf9c59a, 0x9fe0d6, 0xf2b5d4 }, // 彩色蜡笔
    { 0x5cb85c, 0x9ccc65, 0x2e9e6a, 0xc5e1a5, 0x00a676, 0x7cb342, 0x43a047, 0xaed581 }, // 春绿
    { 0x1b5e20, 0x2e7d32, 0x558b2f, 0x33691e, 0x4e7d4e, 0x6b8e23, 0x3d5229, 0x228b22 }, // 森林绿
    { 0x1565c0, 0x0288d1, 0x00838f, 0x283593, 0x4fc3f7, 0x1e88e5, 0x006064, 0x81d4fa }, // 海蓝
    { 0xd4a017, 0xffc107, 0xb8860b, 0xf0c75e, 0xc9a227, 0xe6b422, 0x8c6d1f, 0xffd966 }, // 金色
    { 0xe91e63, 0xf06292, 0xc2185b, 0xf8bbd0, 0xd81b60, 0xff80ab, 0xad1457, 0xf48fb1 }, // 玫瑰色
    { 0x212121, 0xc9a227, 0x424242, 0xe6c35c, 0x616161, 0x9c7a12, 0x000000, 0xf0d98c }, // 黑金
    { 0xe53935, 0xfb8c00, 0xfdd835, 0x43a047, 0x1e88e5, 0x3949ab, 0x8e24aa, 0x00acc1 }, // 彩虹
    { 0x424242, 0x757575, 0x9e9e9e, 0x616161, 0xbdbdbd, 0x545454, 0x8a8a8a, 0x303030 }, // 灰色
    { 0x00bfa5, 0x64dd17, 0x7c4dff, 0x00b8d4, 0xaa00ff, 0x1de9b6, 0x304ffe, 0x76ff03 }, // 北极光
    { 0x8b0000, 0xb22222, 0x7f1d1d, 0xc62828, 0x5d0f0f, 0xa52a2a, 0xd84343, 0x6d1a1a }, // 暗红
    { 0x4a148c, 0x6a1b9a, 0x38006b, 0x7b1fa2, 0x512da8, 0x311b92, 0x8e24aa, 0x5e35b1 }, // 暗紫
    { 0xff1744, 0x2979ff, 0xffea00, 0x00e676, 0xd500f9, 0xff9100, 0x00e5ff, 0xf50057 }, // 闪耀
    { 0x8e44ad, 0x9b59b6, 0xb39ddb, 0x7e57c2, 0xce93d8, 0x6a1b9a, 0xba68c8, 0x9575cd }, // 紫罗兰
    { 0xec407a, 0xffca28, 0xab47bc, 0x66bb6a, 0xff7043, 0x42a5f5, 0xf48fb1, 0xd4e157 }, // 花卉
    { 0x37474f, 0x455a64, 0x546e7a, 0x4682b4, 0x607d8b, 0x2f4f6f, 0x78909c, 0x263238 }, // 铁青
    { 0x6b8e7f, 0x8fa998, 0x5f7a6b, 0xa3b8a8, 0x4f6b5c, 0x7d9d8a, 0x93a89b, 0x3e5a4c }, // 灰绿
    { 0x808000, 0x6b8e23, 0x9a9a3a, 0x556b2f, 0xb5b35c, 0x707b2d, 0xa0a060, 0x4b5320 }, // 橄榄色
    { 0xe1a436, 0xd2691e, 0xf4c542, 0xb5651d, 0xffb347, 0xc68e17, 0xe9967a, 0x996515 }, // 秋黄
} };

} // namespace

QStringList ChartThemeNames()
{
    return { u"[缺省]"_s, u"彩色蜡笔"_s, u"春绿"_s, u"森林绿"_s, u"海蓝"_s,
             u"金色"_s,   u"玫瑰色"_s,   u"黑金"_s, u"彩虹"_s,   u"灰色"_s,
             u"北极光"_s, u"暗红"_s,     u"暗紫"_s, u"闪耀"_s,   u"紫罗兰"_s,
             u"花卉"_s,   u"铁青"_s,     u"灰绿"_s, u"橄榄色"_s, u"秋黄"_s };
}

QStringList ChartFillNames()
{
    return { u"[缺省]"_s, u"纯色"_s, u"水平"_s, u"垂直"_s, u"斜角"_s, u"管状"_s };
}

namespace ChartStyle {

QList<QColor> palette(int theme)
{
    const Palette &colors = palettes.at(theme >= 0 && theme < int(palettes.size()) ? theme : 0);
    QList<QColor> list;
    for (unsigned rgb : colors)
        list << QColor::fromRgb(rgb);
    return list;
}

QColor color(int theme, int index)
{
    // Past the end of the palette the colours come round again, lighter, then darker.
    const QList<QColor> colors = palette(theme);
    const int n = int(colors.size());
    const QColor base = colors.at(std::abs(index) % n);
    const int round = std::abs(index) / n;
    if (round == 0)
        return base;
    return round % 2 == 1 ? base.lighter(100 + 35 * ((round + 1) / 2))
                          : base.darker(100 + 35 * (round / 2));
}

QBrush fill(const QColor &color, int setting, Qt::Orientation across)
{
    QLinearGradient gradient;
    gradient.setCoordinateMode(QGradient::ObjectMode);
    switch (setting) {
    case 1:
        return QBrush(color);
    case 2:
        gradient.setStart(0, 0);
        gradient.setFinalStop(1, 0);
        break;
    case 3:
        gradient.setStart(0, 0);
        gradient.setFinalStop(0, 1);
        break;
    case 4:
        gradient.setStart(0, 0);
        gradient.setFinalStop(1, 1);
        break;
    case 5:
        gradient.setStart(0, 0);
        gradient.setFinalStop(across == Qt::Horizontal ? QPointF(1, 0) : QPointF(0, 1));
        gradient.setColorAt(0, color.darker(150));
        gradient.setColorAt(0.4, color.lighter(150));
        gradient.setColorAt(1, color.darker(150));
        return QBrush(gradient);
    default:
        // The default fill: the theme colour with a faint sheen from the top.
        gradient.setStart(0, 0);
        gradient.setFinalStop(0, 1);
        gradient.setColorAt(0, color.lighter(112));
        gradient.setColorAt(1, color);
        return QBrush(gradient);
    }
    gradient.setColorAt(0, color.lighter(160));
    gradient.setColorAt(1, color.darker(130));
    return QBrush(gradient);
}

QFont font(int pixelSize, bool bold)
{
    QFont f(u"WenQuanYi Micro Hei"_s);
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

ValueScale valueScale(double highest)
{
    const double wanted = highest > 0 ? highest * 1.05 : 1.0;
    const double raw = wanted / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double norm = raw / magnitude;
    const double step = (norm <= 1 ? 1 : norm <= 2 ? 2 : norm <= 5 ? 5 : 10) * magnitude;
    return { step, std::ceil(wanted / step) * step };
}

QString valueText(double value)
{
    if (std::isfinite(value) && value == std::round(value) && std::abs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 12);
}

} // namespace ChartStyle
