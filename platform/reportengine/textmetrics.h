#pragma once

#include "platform/reportengine/reportlayout.h"

#include <QFont>
#include <QStringList>

namespace vantrel::report {

// How texts are measured and broken into lines, in twips. Lines break at the Unicode line
// break opportunities (between CJK characters, never before closing punctuation such as 。，、）);
// a word wider than the line is broken between characters.
class TextMetrics
{
public:
    virtual ~TextMetrics() = default;
    virtual QStringList wrap(const QString &text, const FontSpec &font, int width) = 0;
    virtual int lineHeight(const FontSpec &font) = 0;
    // The width of one line of text.
    virtual int textWidth(const QString &text, const FontSpec &font) = 0;
};

// Real fonts (after substitution) through QTextLayout. Needs a QGuiApplication.
class FontTextMetrics final : public TextMetrics
{
public:
    QStringList wrap(const QString &text, const FontSpec &font, int width) override;
    int lineHeight(const FontSpec &font) override;
    int textWidth(const QString &text, const FontSpec &font) override;
};

// Fixed widths whatever the font: narrow characters and wide (CJK, full-width) ones. For tests
// that check pagination without depending on installed fonts.
class FixedTextMetrics final : public TextMetrics
{
public:
    FixedTextMetrics(int narrow = 100, int wide = 200, int line = 240)
        : m_narrow(narrow), m_wide(wide), m_line(line)
    {
    }
    QStringList wrap(const QString &text, const FontSpec &font, int width) override;
    int lineHeight(const FontSpec &) override { return m_line; }
    int textWidth(const QString &text, const FontSpec &) override { return width(text); }
    int width(QStringView text) const;

private:
    int m_narrow;
    int m_wide;
    int m_line;
};

// The QFont a report font is drawn with: the family substituted (FontTable), the size in pixels
// of one twip each (20 per point).
QFont qfontFor(const FontSpec &font);

} // namespace vantrel::report
