#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QStringList>

// The colour themes and fills that the 2D and the 3D charts share.

// The names of the twenty colour themes, in theme-number order.
QStringList ChartThemeNames();
// The names of the six fill styles, in setting order: 0 the default fill, 1 solid,
// 2 horizontal, 3 vertical, 4 diagonal, 5 tube.
QStringList ChartFillNames();

namespace ChartStyle {

// The series (or slice) colours of a theme; a number outside 0..19 gives theme 0.
QList<QColor> palette(int theme);
// The colour of series or slice index in a theme; past the palette's end the colours repeat
// lighter or darker.
QColor color(int theme, int index);

// The fill of one bar, face or slice drawn in color under a fill setting (0..5; 0 or above 5 is
// the default fill). The brush spans the bounding box of whatever it fills; a tube runs across
// the bar, so horizontal bars (across = Qt::Vertical) shade top to bottom.
QBrush fill(const QColor &color, int setting, Qt::Orientation across = Qt::Horizontal);

// A font whose text maps stay exact in PDF output, so printed charts remain searchable. Sized
// in pixels, so a chart drawn scaled onto a page keeps its proportions.
QFont font(int pixelSize, bool bold = false);

// A value axis for values up to highest: a tick step of 1, 2 or 5 times a power of ten giving
// about five ticks, and the axis top, a whole number of steps with room above highest.
struct ValueScale
{
    double step;
    double top;
};
ValueScale valueScale(double highest);

// A value as labels and tooltips show it: counts without decimals, others to 12 digits.
QString valueText(double value);

} // namespace ChartStyle
