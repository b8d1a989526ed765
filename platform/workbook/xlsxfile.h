#pragma once

#include "platform/workbook/datestyles.h"
#include "platform/workbook/exceldate.h"
#include "platform/workbook/sheetsource.h"
#include "platform/workbook/ziparchive.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>

class QXmlStreamReader;

namespace workbook {

// An .xlsx workbook: the sheet list, shared strings and date styles are read when it opens,
// a sheet's cells when it is asked for.
class XlsxFile : public SheetSource
{
public:
    // Errors come as user texts (errortexts.h).
    static vantrel::Result<std::unique_ptr<SheetSource>> open(const QString &path);

    QStringList sheetNames() const override;
    vantrel::Status readSheet(int index, CellSink &grid) override;

private:
    // A relationship target by id, and the first target of each type (the type's last word).
    struct Relations
    {
        QHash<QString, QString> byId;
        QHash<QString, QString> byType;
    };

    XlsxFile(QString path, ZipArchive zip);

    vantrel::Status load();
    // Runs `read` over the part's XML; a broken part gives the corrupt-file text.
    vantrel::Status readXml(const QString &part,
                            const std::function<void(QXmlStreamReader &)> &read) const;
    // No relationships at all when the part is missing.
    vantrel::Result<Relations> readRelations(const QString &part) const;
    vantrel::Status readWorkbook(const QString &part, const Relations &relations);
    vantrel::Status readSharedStrings(const QString &part);
    vantrel::Status broken(const QString &detail) const;

    QString m_path;
    ZipArchive m_zip;
    QStringList m_sheetNames;
    QStringList m_sheetParts;
    QStringList m_sharedStrings;
    DateStyles m_styles;
    DateSystem m_dateSystem = DateSystem::Excel1900;
};

} // namespace workbook
