#pragma once

#include "platform/workbook/sheetsource.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

#include <memory>

namespace workbook {

// An .xls workbook read by the reader program (vantrel-xlsread) in a process of its own: the
// .xls library can crash on a damaged file, and that must cost the user an error message,
// not the program and the work in it. The whole workbook comes back in one run.
class IsolatedXlsFile : public SheetSource
{
public:
    // Errors come as user texts (errortexts.h); a reader that crashes or hangs means a
    // damaged file.
    static vantrel::Result<std::unique_ptr<SheetSource>> open(const QString &path);
    // The workbook from what the reader program wrote; anything malformed means a damaged file.
    static vantrel::Result<std::unique_ptr<SheetSource>> decode(const QByteArray &data,
                                                                const QString &path);

    QStringList sheetNames() const override { return m_names; }
    vantrel::Status readSheet(int index, CellSink &grid) override;

    // The reader program: beside the running program, else where the build put it.
    static QString readerProgram();

private:
    struct SheetData
    {
        QString error;
        QStringList header;
        QList<QVariantList> rows;
    };

    QStringList m_names;
    QList<SheetData> m_sheets;
};

// The reader program's side: reads the workbook in this process and writes it to `out`.
// Returns the process exit code.
int writeXlsWorkbook(const QString &path, QIODevice &out);

} // namespace workbook
