#pragma once

#include "platform/common/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace workbook {

// Writes one sheet of an .xlsx workbook row by row, keeping only the current row in memory.
//
//     WorkbookWriter writer(WorkbookWriter::xlsxPath(path), sheetName);
//     writer.open(); writer.writeHeader(names); writer.writeRow(values) ...; writer.finish();
//
// Each call returns a Status; after the first failure every later call fails with the same
// text. The workbook goes to a hidden file beside the target and replaces the target only in
// finish(), so a failed or abandoned export leaves no half-written file and keeps the old one.
class WorkbookWriter
{
public:
    // The path is used as given (see xlsxPath()); the sheet name is made valid.
    WorkbookWriter(QString path, const QString &sheetName);
    // Discards the workbook when finish() has not succeeded.
    ~WorkbookWriter();
    WorkbookWriter(const WorkbookWriter &) = delete;
    WorkbookWriter &operator=(const WorkbookWriter &) = delete;

    // Fails when the file cannot be created in the target's folder.
    vantrel::Status open();
    vantrel::Status writeHeader(const QStringList &names);
    // Values: texts, numbers, bools, QDate, QDateTime and QTime (shown with a date or time
    // format); null or invalid values leave the cell empty. Binary data is refused.
    vantrel::Status writeRow(const QVariantList &values);
    // Completes the file and moves it to the path, replacing any file there.
    vantrel::Status finish();

    QString sheetName() const { return m_sheetName; }

    // At most 31 characters, none of []:*?/\ (each becomes '_'), no apostrophe at either end,
    // never empty ("Sheet1").
    static QString validSheetName(const QString &name);
    // The path with an .xlsx extension: ".xls" is replaced, any other name gets ".xlsx" added.
    static QString xlsxPath(const QString &path);

private:
    // Every failure ends the workbook: the first error stays and is returned from then on.
    vantrel::Status fail(const QString &reason);
    vantrel::Status checkOpen(const char *call);
    // A call out of order: a programmer's mistake, logged and refused.
    vantrel::Status misuse(const char *call);
    vantrel::Status writeCell(int column, const QVariant &value);
    vantrel::Status writeDateTime(int column, const QVariant &value);
    void discard();

    QString m_path;
    QString m_sheetName;
    QString m_tempPath;
    QByteArray m_tempDir; // libxlsxwriter keeps the pointer
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_dateFormat = nullptr;
    lxw_format *m_dateTimeFormat = nullptr;
    lxw_format *m_timeFormat = nullptr;
    int m_row = 0;
    QString m_error;
};

} // namespace workbook
