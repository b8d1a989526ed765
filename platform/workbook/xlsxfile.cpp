#include "platform/workbook/xlsxfile.h"

#include "platform/workbook/errortexts.h"
#include "platform/workbook/xlsxsheetparser.h"

#include <QDir>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

QString directoryOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash);
}

// The relationships of "xl/workbook.xml" live in "xl/_rels/workbook.xml.rels".
QString relationsPartOf(const QString &part)
{
    const QString dir = directoryOf(part);
    const QString name = part.mid(dir.isEmpty() ? 0 : dir.size() + 1);
    return (dir.isEmpty() ? QString() : dir + u'/') + u"_rels/"_s + name + u".rels"_s;
}

QString resolveTarget(const QString &baseDir, const QString &target)
{
    if (target.startsWith(u'/'))
        return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(baseDir.isEmpty() ? target : baseDir + u'/' + target);
}

// The r:id attribute of a <sheet>, whatever prefix its namespace got.
QString relationId(const QXmlStreamAttributes &attributes)
{
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
            return attribute.value().toString();
    }
    return {};
}

} // namespace

vantrel::Result<std::unique_ptr<SheetSource>> XlsxFile::open(const QString &path)
{
    using R = vantrel::Result<std::unique_ptr<SheetSource>>;
    vantrel::Result<ZipArchive> zip = ZipArchive::open(path);
    if (!zip)
        return R::failure(errortexts::corruptFile(path, zip.error()));
    std::unique_ptr<XlsxFile> file(new XlsxFile(path, std::move(zip).value()));
    const vantrel::Status loaded = file->load();
    if (!loaded)
        return R::failure(loaded.error());
    return R(std::unique_ptr<SheetSource>(std::move(file)));
}

XlsxFile::XlsxFile(QString path, ZipArchive zip)
    : m_path(std::move(path)), m_zip(std::move(zip)) { }

QStringList XlsxFile::sheetNames() const
{
    return m_sheetNames;
}

vantrel::Status XlsxFile::readSheet(int index, CellSink &grid)
{
    const QString &part = m_sheetParts.at(index);
    XlsxSheetParser parser(m_sharedStrings, m_styles, m_dateSystem);
    vantrel::Status parsed;
    const vantrel::Status read
        = readXml(part, [&](QXmlStreamReader &xml) { parsed = parser.parse(xml, grid); });
    if (!read)
        return read;
    if (!parsed)
        return broken(part + u": "_s + parsed.error());
    return {};
}

vantrel::Status XlsxFile::load()
{
    // A package names its workbook part in its root relationships; files that leave them out
    // use the usual place.
    QString workbookPart = u"xl/workbook.xml"_s;
    if (m_zip.contains(u"_rels/.rels"_s)) {
        const vantrel::Result<Relations> root = readRelations(u"_rels/.rels"_s);
        if (!root)
            return vantrel::Status::failure(root.error());
        workbookPart = root->byType.value(u"officeDocument"_s, workbookPart);
    }
    if (!m_zip.contains(workbookPart))
        return vantrel::Status::failure(errortexts::unknownFormat(m_path));
    const vantrel::Result<Relations> relations = readRelations(relationsPartOf(workbookPart));
    if (!relations)
        return vantrel::Status::failure(relations.error());
    if (vantrel::Status status = readWorkbook(workbookPart, *relations); !status)
        return status;
    if (vantrel::Status status = readSharedStrings(relations->byType.value(u"sharedStrings"_s));
        !status)
        return status;
    const QString stylesPart = relations->byType.value(u"styles"_s);
    if (stylesPart.isEmpty())
        return {};
    return readXml(stylesPart, [&](QXmlStreamReader &xml) { m_styles.read(xml); });
}

vantrel::Status XlsxFile::readWorkbook(const QString &part, const Relations &relations)
{
    QStringList relationIds;
    const vantrel::Status read = readXml(part, [&](QXmlStreamReader &xml) {
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (xml.name() == u"sheet") {
                m_sheetNames.append(attributes.value("name"_L1).toString());
                relationIds.append(relationId(attributes));
            } else if (xml.name() == u"workbookPr") {
                const QStringView flag = attributes.value("date1904"_L1);
                if (flag == u"1" || flag == u"true")
                    m_dateSystem = DateSystem::Excel1904;
            }
        }
    });
    if (!read)
        return read;
    for (qsizetype i = 0; i < relationIds.size(); ++i) {
        const QString sheetPart = relations.byId.value(relationIds[i]);
        if (sheetPart.isEmpty() || !m_zip.contains(sheetPart))
            return broken(u"sheet "_s + m_sheetNames[i]);
        m_sheetParts.append(sheetPart);
    }
    return {};
}

vantrel::Result<XlsxFile::Relations> XlsxFile::readRelations(const QString &part) const
{
    Relations relations;
    if (!m_zip.contains(part))
        return relations;
    const QString baseDir = directoryOf(directoryOf(part)); // "xl/_rels/x.rels" → "xl"
    const vantrel::Status read = readXml(part, [&](QXmlStreamReader &xml) {
        while (!xml.atEnd()) {
            xml.readNext();
            const QXmlStreamAttributes attributes = xml.attributes();
            if (!xml.isStartElement() || xml.name() != u"Relationship"
                || attributes.value("TargetMode"_L1) == u"External")
                continue;
            const QString target = resolveTarget(baseDir, attributes.value("Target"_L1).toString());
            const QString type = attributes.value("Type"_L1).toString().section(u'/', -1);
            relations.byId.insert(attributes.value("Id"_L1).toString(), target);
            if (!relations.byType.contains(type))
                relations.byType.insert(type, target);
        }
    });
    if (!read)
        return vantrel::Result<Relations>::failure(read.error());
    return relations;
}

vantrel::Status XlsxFile::readSharedStrings(const QString &part)
{
    if (part.isEmpty())
        return {};
    return readXml(part, [&](QXmlStreamReader &xml) {
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"si")
                m_sharedStrings.append(XlsxSheetParser::readText(xml));
        }
    });
}

vantrel::Status XlsxFile::readXml(const QString &part,
                                  const std::function<void(QXmlStreamReader &)> &read) const
{
    vantrel::Result<std::unique_ptr<QIODevice>> device = m_zip.openEntry(part);
    if (!device)
        return broken(device.error());
    QXmlStreamReader xml(device->get());
    read(xml);
    if (xml.hasError())
        return broken(part + u": "_s + xml.errorString());
    return {};
}

vantrel::Status XlsxFile::broken(const QString &detail) const
{
    return vantrel::Status::failure(errortexts::corruptFile(m_path, detail));
}

} // namespace workbook
