#pragma once

#include <QList>
#include <QStringView>

class QXmlStreamReader;

namespace workbook {

// Which cell styles of an .xlsx workbook show their number as a date: a sheet cell holds a
// date only as a serial number whose style has a date format.
class DateStyles
{
public:
    // Reads the cell formats of styles.xml; the caller checks the reader for XML errors.
    void read(QXmlStreamReader &xml);

    // `styleIndex` is a cell's "s" attribute: an index into the cell formats.
    bool isDate(int styleIndex) const;

    // The builtin format ids that show dates or times.
    static bool isBuiltinDateFormat(int id);
    // A format code shows a date or time when its first section has a date or time letter
    // outside quoted text, escapes, fills and colour or locale brackets.
    static bool isDateFormatCode(QStringView code);

private:
    QList<bool> m_dateStyles;
};

} // namespace workbook
