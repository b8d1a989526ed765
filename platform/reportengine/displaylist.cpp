#include "platform/reportengine/displaylist.h"

namespace vantrel::report {

int PageSet::internString(const QString &text)
{
    const auto it = m_stringIndex.constFind(text);
    if (it != m_stringIndex.constEnd())
        return *it;
    m_strings.append(text);
    const int index = int(m_strings.size()) - 1;
    m_stringIndex.insert(text, index);
    return index;
}

int PageSet::internFont(const FontSpec &font)
{
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i] == font)
            return int(i);
    }
    m_fonts.push_back(font);
    return int(m_fonts.size()) - 1;
}

QStringList PageSet::texts(int page) const
{
    QStringList out;
    for (const DisplayItem &item : pages[size_t(page)].items) {
        if ((item.kind == ItemKind::Text || item.kind == ItemKind::CheckBox) && item.text >= 0)
            out.append(m_strings[item.text]);
    }
    return out;
}

void PageSet::clear()
{
    pages.clear();
    m_strings.clear();
    m_stringIndex.clear();
    m_fonts.clear();
    m_images.clear();
}

} // namespace vantrel::report
