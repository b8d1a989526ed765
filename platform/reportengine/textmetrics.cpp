#include "platform/reportengine/textmetrics.h"

#include "platform/reportengine/fonttable.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace vantrel::report {

namespace {

QStringList paragraphs(const QString &text)
{
    QString plain = text;
    plain.remove(u'\r');
    return plain.split(u'\n');
}

bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115f) || (c >= 0x2e80 && c <= 0xa4cf)
        || (c >= 0xac00 && c <= 0xd7a3) || (c >= 0xf900 && c <= 0xfaff)
        || (c >= 0xfe30 && c <= 0xfe4f) || (c >= 0xff00 && c <= 0xff60)
        || (c >= 0xffe0 && c <= 0xffe6) || (c >= 0x20000 && c <= 0x3fffd);
}

QString trimEnd(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

} // namespace

int FixedTextMetrics::width(QStringView text) const
{
    int w = 0;
    for (char32_t c : text.toUcs4())
        w += isWide(c) ? m_wide : m_narrow;
    return w;
}

QStringList FixedTextMetrics::wrap(const QString &text, const FontSpec &, int lineWidth)
{
    QStringList lines;
    for (const QString &paragraph : paragraphs(text)) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Line, paragraph);
        QString line;
        qsizetype start = 0;
        auto push = [&](const QString &l) { lines.append(trimEnd(l)); };
        while (start < paragraph.size()) {
            qsizetype end = finder.toNextBoundary();
            if (end < 0)
                end = paragraph.size();
            const QString segment = paragraph.mid(start, end - start);
            start = end;
            if (width(trimEnd(line + segment)) <= lineWidth) {
                line += segment;
                continue;
            }
            if (!trimEnd(line).isEmpty())
                push(line);
            line.clear();
            // A segment wider than the line is broken between characters.
            for (qsizetype i = 0; i < segment.size();) {
                const qsizetype n = segment[i].isHighSurrogate() ? 2 : 1;
                const QString ch = segment.mid(i, n);
                if (!line.isEmpty() && width(trimEnd(line + ch)) > lineWidth) {
                    push(line);
                    line.clear();
                }
                line += ch;
                i += n;
            }
        }
        lines.append(line); // the paragraph's own end keeps its blanks
    }
    return lines;
}

QFont qfontFor(const FontSpec &font)
{
    QFont f(FontTable::substitute(font.name));
    f.setPixelSize(qMax(1, int(std::lround(font.size * 20))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setKerning(false);
    return f;
}

QStringList FontTextMetrics::wrap(const QString &text, const FontSpec &font, int lineWidth)
{
    QStringList lines;
    const QFont f = qfontFor(font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &paragraph : paragraphs(text)) {
        QTextLayout layout(paragraph, f);
        layout.setTextOption(option);
        layout.beginLayout();
        bool any = false;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(lineWidth);
            const QString part = paragraph.mid(line.textStart(), line.textLength());
            const bool last = line.textStart() + line.textLength() >= paragraph.size();
            lines.append(last ? part : trimEnd(part));
            any = true;
        }
        layout.endLayout();
        if (!any)
            lines.append(QString());
    }
    return lines;
}

int FontTextMetrics::textWidth(const QString &text, const FontSpec &font)
{
    return int(std::ceil(QFontMetricsF(qfontFor(font)).horizontalAdvance(text)));
}

int FontTextMetrics::lineHeight(const FontSpec &font)
{
    return int(std::ceil(QFontMetricsF(qfontFor(font)).lineSpacing()));
}

} // namespace vantrel::report
