#include "platform/workbook/datestyles.h"

#include <QHash>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

// [h], [mm], [ss]: elapsed time, still a time.
bool isElapsedTime(QStringView bracket)
{
    if (bracket.isEmpty())
        return false;
    const QChar first = bracket.front().toLower();
    if (first != u'h' && first != u'm' && first != u's')
        return false;
    for (QChar c : bracket) {
        if (c.toLower() != first)
            return false;
    }
    return true;
}

bool isDateLetter(QChar c)
{
    switch (c.toLower().unicode()) {
    case u'd':
    case u'm':
    case u'y':
    case u'h':
    case u's':
        return true;
    default:
        return false;
    }
}

} // namespace

bool DateStyles::isBuiltinDateFormat(int id)
{
    // 27-36 and 50-58 are the East Asian date formats that Chinese Excel saves by id alone.
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47)
        || (id >= 50 && id <= 58);
}

bool DateStyles::isDateFormatCode(QStringView code)
{
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u';')
            return false;
        if (c == u'"') {
            const qsizetype end = code.indexOf(u'"', i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i; // the next character is shown as it is, or is padding
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i + 1);
            if (end < 0)
                return false;
            if (isElapsedTime(code.sliced(i + 1, end - i - 1)))
                return true;
            i = end;
        } else if (isDateLetter(c)) {
            return true;
        }
    }
    return false;
}

void DateStyles::read(QXmlStreamReader &xml)
{
    QHash<int, bool> customIsDate;
    bool inCellFormats = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"cellXfs")
            inCellFormats = false;
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const int formatId = attributes.value("numFmtId"_L1).toInt();
        if (xml.name() == u"numFmt") {
            customIsDate.insert(formatId, isDateFormatCode(attributes.value("formatCode"_L1)));
        } else if (xml.name() == u"cellXfs") {
            inCellFormats = true;
        } else if (inCellFormats && xml.name() == u"xf") {
            m_dateStyles.append(customIsDate.value(formatId, isBuiltinDateFormat(formatId)));
        }
    }
}

bool DateStyles::isDate(int styleIndex) const
{
    return styleIndex >= 0 && styleIndex < m_dateStyles.size() && m_dateStyles[styleIndex];
}

} // namespace workbook
