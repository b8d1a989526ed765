#include "platform/workbook/xlsxsheetparser.h"

#include "platform/workbook/cellgrid.h"
#include "platform/workbook/datestyles.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

constexpr int maxRows = 1048576;
constexpr int maxColumns = 16384;

vantrel::Status broken(const QString &what)
{
    return vantrel::Status::failure(what);
}

// "AB12" → column 27, row 12 (both 1-based); row 0 when the reference has no digits.
bool parseReference(QStringView ref, int &row, int &column)
{
    qsizetype i = 0;
    column = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) {
        const int letter = ref[i].toUpper().unicode() - u'A';
        if (letter < 0 || letter > 25)
            return false;
        column = column * 26 + letter + 1;
        if (column > maxColumns)
            return false;
    }
    bool ok = true;
    row = i < ref.size() ? ref.sliced(i).toInt(&ok) : 0;
    return column > 0 && ok && row >= 0 && row <= maxRows;
}

QVariant textValue(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant isoDateValue(const QString &text)
{
    const QDateTime value = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!value.isValid())
        return textValue(text);
    if (value.time() == QTime(0, 0))
        return value.date();
    return value;
}

} // namespace

XlsxSheetParser::XlsxSheetParser(const QStringList &sharedStrings, const DateStyles &styles,
                                 DateSystem dateSystem)
    : m_sharedStrings(sharedStrings), m_styles(styles), m_dateSystem(dateSystem)
{
}

vantrel::Status XlsxSheetParser::parse(QXmlStreamReader &xml, CellSink &grid)
{
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"sheetData")
            break;
        if (!xml.isStartElement())
            continue;
        vantrel::Status status;
        if (xml.name() == u"row" && grid.stopped())
            return {};
        if (xml.name() == u"row")
            status = readRow(xml);
        else if (xml.name() == u"c")
            status = readCell(xml, grid);
        if (!status)
            return status;
    }
    if (xml.hasError())
        return broken(xml.errorString());
    return {};
}

vantrel::Status XlsxSheetParser::readRow(QXmlStreamReader &xml)
{
    const QStringView ref = xml.attributes().value("r"_L1);
    if (ref.isEmpty()) {
        ++m_row;
    } else {
        bool ok = false;
        const int number = ref.toInt(&ok);
        if (!ok || number < 1 || number > maxRows)
            return broken(u"row r=\"%1\""_s.arg(ref));
        m_row = number - 1;
    }
    m_column = -1;
    return {};
}

vantrel::Status XlsxSheetParser::readCell(QXmlStreamReader &xml, CellSink &grid)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    const QStringView ref = attributes.value("r"_L1);
    if (ref.isEmpty()) {
        ++m_column;
    } else {
        int row = 0;
        int column = 0;
        if (!parseReference(ref, row, column))
            return broken(u"cell r=\"%1\""_s.arg(ref));
        if (row > 0)
            m_row = row - 1;
        m_column = column - 1;
    }
    m_row = std::max(m_row, 0);
    RawCell cell;
    cell.type = attributes.value("t"_L1).toString();
    cell.style = attributes.value("s"_L1).toInt();
    readCellContent(xml, cell);
    const vantrel::Result<QVariant> value = cellValue(cell);
    if (!value)
        return broken(value.error() + u" @ "_s + ref.toString());
    grid.set(m_row, m_column, *value);
    return {};
}

void XlsxSheetParser::readCellContent(QXmlStreamReader &xml, RawCell &cell)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == u"v")
            cell.value = xml.readElementText();
        else if (xml.name() == u"is")
            cell.inlineText = readText(xml);
        else
            xml.skipCurrentElement(); // the formula: its last result is in <v>
    }
}

vantrel::Result<QVariant> XlsxSheetParser::cellValue(const RawCell &cell) const
{
    if (cell.type == u"s" && !cell.value.isEmpty()) {
        bool ok = false;
        const int index = cell.value.toInt(&ok);
        if (!ok || index < 0 || index >= m_sharedStrings.size())
            return vantrel::Result<QVariant>::failure(u"shared string "_s + cell.value);
        return textValue(m_sharedStrings[index]);
    }
    if (cell.type == u"inlineStr")
        return textValue(cell.inlineText);
    if (cell.type == u"str")
        return textValue(cell.value);
    if (cell.type == u"b")
        return cell.value.isEmpty() ? QVariant()
                                    : QVariant(cell.value == u"1" || cell.value == u"true");
    if (cell.type == u"e")
        return QVariant(); // #N/A and the like: no value to import
    if (cell.type == u"d")
        return isoDateValue(cell.value);
    return numberValue(cell.value, cell.style);
}

QVariant XlsxSheetParser::numberValue(const QString &text, int style) const
{
    if (text.isEmpty())
        return {};
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        return text;
    if (m_styles.isDate(style)) {
        const QVariant date = dateFromSerial(number, m_dateSystem);
        if (date.isValid())
            return date;
    }
    return number;
}

QString XlsxSheetParser::readText(QXmlStreamReader &xml)
{
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && (xml.name() == u"si" || xml.name() == u"is"))
            break;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"t")
            text += xml.readElementText();
        else if (xml.name() == u"rPh")
            xml.skipCurrentElement();
    }
    return text;
}

} // namespace workbook
