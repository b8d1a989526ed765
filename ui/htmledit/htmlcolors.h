#pragma once

#include <QColor>
#include <QString>

// Colour texts of the HTML editor's dialogs: "#RRGGBB" in, six lower-case hex digits out.
namespace HtmlColors {

// The colour of a seven-character "#RRGGBB"; an invalid colour for any other text.
QColor fromHtmlText(const QString &text);
// "rrggbb" of the colour, without "#".
QString toHtmlText(const QColor &color);

} // namespace HtmlColors
