#pragma once

#include "platform/workbook/sheetsource.h"

#include <QStringList>

#include <memory>

namespace workbook {

// An Excel 97-2003 (.xls) workbook read with FreeXL, which holds the whole file in memory
// while it is open.
class XlsFile : public SheetSource
{
public:
    // Errors come as user texts (errortexts.h).
    static vantrel::Result<std::unique_ptr<SheetSource>> open(const QString &path);

    ~XlsFile() override;
    XlsFile(const XlsFile &) = delete;
    XlsFile &operator=(const XlsFile &) = delete;

    QStringList sheetNames() const override;
    vantrel::Status readSheet(int index, CellSink &grid) override;

private:
    XlsFile(QString path, const void *handle);
    vantrel::Status readNames();
    vantrel::Status failure(int code) const;

    QString m_path;
    const void *m_handle;
    QStringList m_sheetNames;
};

} // namespace workbook
