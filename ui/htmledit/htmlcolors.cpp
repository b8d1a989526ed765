#include "ui/htmledit/htmlcolors.h"

#include "core/util/stringhelpers.h"

namespace HtmlColors {

QColor fromHtmlText(const QString &text)
{
    const ColorRef color = ColorFromHtmlText(text);
    if (color == InvalidColor)
        return QColor();
    return QColor(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
}

QString toHtmlText(const QColor &color)
{
    const ColorRef value
        = ColorRef(color.red()) | ColorRef(color.green()) << 8 | ColorRef(color.blue()) << 16;
    return ColorToHtmlText(value);
}

} // namespace HtmlColors
