#pragma once

#include "platform/common/result.h"
#include "platform/workbook/exceldate.h"

#include <QStringList>
#include <QStringView>
#include <QVariant>

class QXmlStreamReader;

namespace workbook {

class CellSink;
class DateStyles;

// Reads the cells of one .xlsx worksheet part. Rows and cells may leave out their reference
// ("r"); then they follow the previous one, and skipped rows and columns stay empty.
class XlsxSheetParser
{
public:
    // The parser keeps references: the strings and styles must outlive it.
    XlsxSheetParser(const QStringList &sharedStrings, const DateStyles &styles,
                    DateSystem dateSystem);

    // The error text names what is broken.
    vantrel::Status parse(QXmlStreamReader &xml, CellSink &grid);

    // The text of a string item (<si> or <is>) whose start tag was just read: plain or rich
    // text runs, without the phonetic guides. Leaves the reader at the item's end tag.
    static QString readText(QXmlStreamReader &xml);

private:
    struct RawCell
    {
        QString type;
        QString value;
        QString inlineText;
        int style = 0;
    };

    vantrel::Status readRow(QXmlStreamReader &xml);
    vantrel::Status readCell(QXmlStreamReader &xml, CellSink &grid);
    static void readCellContent(QXmlStreamReader &xml, RawCell &cell);
    vantrel::Result<QVariant> cellValue(const RawCell &cell) const;
    QVariant numberValue(const QString &text, int style) const;

    const QStringList &m_sharedStrings;
    const DateStyles &m_styles;
    DateSystem m_dateSystem;
    int m_row = -1;
    int m_column = -1;
};

} // namespace workbook
