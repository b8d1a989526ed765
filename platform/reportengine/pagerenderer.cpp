#include "platform/reportengine/pagerenderer.h"

#include "platform/reportengine/textmetrics.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

namespace vantrel::report {

namespace {

constexpr double TwipsPerPixel = 15; // rich text is laid out at 96 dots per inch

void drawText(QPainter &p, const PageSet &pages, const DisplayItem &item,
              const std::vector<QFont> &fonts)
{
    p.setFont(fonts[size_t(item.font)]);
    p.setPen(QColor::fromRgba(item.color));
    int flags = Qt::AlignTop | Qt::TextSingleLine;
    flags |= item.align == TextAlign::Right ? Qt::AlignRight
        : item.align == TextAlign::Center   ? Qt::AlignHCenter
                                            : Qt::AlignLeft;
    p.drawText(QRect(item.x, item.y, item.width, item.height), flags, pages.string(item.text));
}

void drawBars(QPainter &p, const QString &modules, const DisplayItem &item)
{
    if (modules.isEmpty())
        return;
    const double module = double(item.width) / modules.size();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(item.color));
    for (qsizetype i = 0; i < modules.size();) {
        qsizetype end = i;
        while (end < modules.size() && modules[end] == modules[i])
            ++end;
        if (modules[i] == u'1')
            p.drawRect(QRectF(item.x + i * module, item.y, (end - i) * module, item.height));
        i = end;
    }
}

void drawCheckBox(QPainter &p, const PageSet &pages, const DisplayItem &item,
                  const std::vector<QFont> &fonts)
{
    const int side = std::min(item.height, 200);
    const QRect box(item.x, item.y + (item.height - side) / 2, side, side);
    p.setPen(QPen(QColor::fromRgba(item.color), 15));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    if (item.checked) {
        p.drawLine(box.left() + side / 5, box.center().y(), box.center().x(),
                   box.bottom() - side / 5);
        p.drawLine(box.center().x(), box.bottom() - side / 5, box.right() - side / 6,
                   box.top() + side / 6);
    }
    if (item.text >= 0 && item.font >= 0 && !pages.string(item.text).isEmpty()) {
        DisplayItem label = item;
        label.x += side + 60;
        label.width = std::max(0, item.width - side - 60);
        drawText(p, pages, label, fonts);
    }
}

void drawRichText(QPainter &p, const PageSet &pages, const DisplayItem &item)
{
    QTextDocument document;
    document.setDocumentMargin(0);
    if (item.font >= 0) {
        const FontSpec &spec = pages.font(item.font);
        QFont font = qfontFor(spec);
        font.setPixelSize(qMax(1, qRound(spec.size * 96 / 72)));
        document.setDefaultFont(font);
    }
    const QString &html = pages.string(item.text);
    document.setHtml(html);
    document.setTextWidth(item.width / TwipsPerPixel);
    p.save();
    p.translate(item.x, item.y);
    p.scale(TwipsPerPixel, TwipsPerPixel);
    const QRectF clip(0, 0, item.width / TwipsPerPixel, item.height / TwipsPerPixel);
    p.setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    document.documentLayout()->draw(&p, context);
    p.restore();
}

} // namespace

void paintPage(const PageSet &pages, int page, QPainter &p, double scale)
{
    std::vector<QFont> fonts;
    fonts.reserve(size_t(pages.fontCount()));
    for (int i = 0; i < pages.fontCount(); ++i)
        fonts.push_back(qfontFor(pages.font(i)));

    p.save();
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    for (const DisplayItem &item : pages.pages[size_t(page)].items) {
        const QRect box(item.x, item.y, item.width, item.height);
        const QPen pen = qAlpha(item.color) ? QPen(QColor::fromRgba(item.color), item.penWidth)
                                            : QPen(Qt::NoPen);
        const QBrush brush
            = qAlpha(item.fill) ? QBrush(QColor::fromRgba(item.fill)) : QBrush(Qt::NoBrush);
        switch (item.kind) {
        case ItemKind::Text:
            drawText(p, pages, item, fonts);
            break;
        case ItemKind::Line:
            p.setPen(pen);
            p.drawLine(item.x, item.y, item.x + item.width, item.y + item.height);
            break;
        case ItemKind::Rect:
            p.setPen(pen);
            p.setBrush(brush);
            p.drawRect(box);
            break;
        case ItemKind::RoundRect:
            p.setPen(pen);
            p.setBrush(brush);
            p.drawRoundedRect(box, 15, 15, Qt::RelativeSize);
            break;
        case ItemKind::Ellipse:
            p.setPen(pen);
            p.setBrush(brush);
            p.drawEllipse(box);
            break;
        case ItemKind::Image:
            p.drawImage(QRectF(box), pages.image(item.image));
            break;
        case ItemKind::CheckBox:
            drawCheckBox(p, pages, item, fonts);
            break;
        case ItemKind::Bars:
            drawBars(p, pages.string(item.text), item);
            break;
        case ItemKind::RichText:
            drawRichText(p, pages, item);
            break;
        }
    }
    p.restore();
}

} // namespace vantrel::report
