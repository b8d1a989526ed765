#pragma once

#include "platform/reportengine/reportlayout.h"

#include <QHash>
#include <QImage>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <vector>

namespace vantrel::report {

enum class ItemKind : quint8 {
    Text, // one line of text: font, text, alignment within the box
    Line, // from the box's top left to its bottom right
    Rect,
    RoundRect,
    Ellipse,
    Image,    // image scaled into the box
    CheckBox, // box with a tick when checked, then the text
    Bars,     // bar code: text is the module pattern ('1' bar, '0' space) over the box's width
    RichText, // HTML laid out in the box
};

enum class TextAlign : quint8 { Left, Right, Center };

// One thing drawn on a page. Positions in twips from the page's top left corner; texts, fonts
// and images are indexes into the PageSet's tables.
struct DisplayItem
{
    ItemKind kind = ItemKind::Text;
    TextAlign align = TextAlign::Left;
    bool checked = false;
    qint32 x = 0;
    qint32 y = 0;
    qint32 width = 0;
    qint32 height = 0;
    qint32 font = -1;
    qint32 text = -1;
    qint32 image = -1;
    QRgb color = 0xff000000;
    QRgb fill = 0;        // transparent when alpha is 0
    qint16 penWidth = 15; // twips

    qint32 bottom() const { return y + height; }
};

struct Page
{
    std::vector<DisplayItem> items;
};

// The pages of one run. Viewer, printer and writers all read these lists; strings, fonts and
// images are stored once however often pages use them.
class PageSet
{
public:
    int pageWidth = 11906; // twips
    int pageHeight = 16838;
    std::vector<Page> pages;

    int internString(const QString &text);
    int internFont(const FontSpec &font);
    int addImage(const QImage &image)
    {
        m_images.push_back(image);
        return int(m_images.size()) - 1;
    }

    const QString &string(int index) const { return m_strings[index]; }
    void setString(int index, const QString &text) { m_strings[index] = text; }
    const FontSpec &font(int index) const { return m_fonts[size_t(index)]; }
    const QImage &image(int index) const { return m_images[size_t(index)]; }
    int imageCount() const { return int(m_images.size()); }
    // A writer's change of an image (a lossy copy of it, say); every page using it follows.
    void replaceImage(int index, const QImage &image) { m_images[size_t(index)] = image; }
    int fontCount() const { return int(m_fonts.size()); }

    // The text runs of a page in drawing order: what find and the text writers read.
    QStringList texts(int page) const;
    void clear();

private:
    QStringList m_strings;
    QHash<QString, int> m_stringIndex;
    std::vector<FontSpec> m_fonts;
    std::vector<QImage> m_images;
};

} // namespace vantrel::report
