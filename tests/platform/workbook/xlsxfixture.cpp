#include "xlsxfixture.h"

#include <QFile>

#include <zip.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray rootRelations = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>)";

QByteArray workbookXml(bool date1904)
{
    return QByteArray(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<workbookPr)")
        + (date1904 ? R"( date1904="1")" : "") + R"(/>
<sheets><sheet name="工资" sheetId="1" r:id="rId1"/><sheet name="Other" sheetId="2" r:id="rId2"/></sheets>
</workbook>)";
}

// The second sheet's target is absolute, as some writers make it.
const QByteArray workbookRelations = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>
<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
</Relationships>)";

// 0 plain, 1 rich text with a phonetic guide, 2 金额, 3 empty.
const QByteArray sharedStrings = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="4" uniqueCount="4">
<si><t>编号</t></si>
<si><r><rPr><b/></rPr><t>张</t></r><r><t xml:space="preserve">三丰</t></r><rPh sb="0" eb="1"><t>ZHANG</t></rPh></si>
<si><t>金额</t></si>
<si><t></t></si>
</sst>)";

// Cell formats: 0 General, 1 builtin date 14, 2 custom Chinese date, 3 colour number format,
// 4 builtin date and time 22.
const QByteArray styles = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts count="2"><numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/><numFmt numFmtId="165" formatCode="[Red]0.00"/></numFmts>
<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>
<cellXfs count="5"><xf numFmtId="0"/><xf numFmtId="14" applyNumberFormat="1"/><xf numFmtId="164"/><xf numFmtId="165"/><xf numFmtId="22"/></cellXfs>
</styleSheet>)";

// Column C of the header is skipped, row 3 is missing, row 4 gives no references, row 6 has
// formatted cells without values.
const QByteArray handmadeSheet = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<dimension ref="A1:E6"/>
<sheetData>
<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is><t>姓名</t></is></c><c r="D1" t="inlineStr"><is><r><t>日</t></r><r><t>期</t></r></is></c><c r="E1" t="s"><v>2</v></c></row>
<row r="2"><c r="A2"><v>1001</v></c><c r="B2" t="s"><v>1</v></c><c r="C2" t="b"><v>1</v></c><c r="D2" s="1"><v>43831</v></c><c r="E2" s="3"><v>1234.5</v></c></row>
<row r="4"><c t="str"><f>"公"&amp;"式"</f><v>公式</v></c><c s="2"><v>45000.5</v></c><c t="e"><v>#DIV/0!</v></c><c s="4"><v>0.75</v></c><c t="s"><v>3</v></c></row>
<row r="6"><c r="A6" s="1"/><c r="B6" t="s" s="0"/></row>
</sheetData>
<mergeCells count="1"><mergeCell ref="A10:B10"/></mergeCells>
</worksheet>)";

const QByteArray emptySheet = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData/></worksheet>)";

} // namespace

ZipEntries handmadeXlsxParts(bool date1904, const QByteArray &firstSheet)
{
    return { { u"[Content_Types].xml"_s, "<Types/>" },
             { u"_rels/.rels"_s, rootRelations },
             { u"xl/workbook.xml"_s, workbookXml(date1904) },
             { u"xl/_rels/workbook.xml.rels"_s, workbookRelations },
             { u"xl/sharedStrings.xml"_s, sharedStrings },
             { u"xl/styles.xml"_s, styles },
             { u"xl/worksheets/sheet1.xml"_s, firstSheet },
             { u"xl/worksheets/sheet2.xml"_s, emptySheet } };
}

QByteArray handmadeFirstSheet()
{
    return handmadeSheet;
}

QByteArray sheetWithCell(const QByteArray &cell)
{
    return R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1">)"
        + cell + "</row></sheetData></worksheet>";
}

bool writeZip(const QString &path, const ZipEntries &entries)
{
    int error = 0;
    zip_t *archive
        = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto &[name, data] : entries) {
        // The buffer is read only at zip_close(); `entries` outlives it.
        zip_source_t *source
            = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        if (!source
            || zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}
