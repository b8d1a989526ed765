#pragma once

#include "platform/common/result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace vantrel::personnel {

// Rows to browse: a query's result or a workbook's first sheet, held whole (the browse dialog
// shows drill-downs and import sources, not whole tables).
struct PreviewTable
{
    QStringList header;
    QList<QVariantList> rows;
};

struct PreviewLoad
{
    PreviewTable table;
    bool connectionFailed = false; // "打开数据库出错!"
    QString error;                 // why the rows could not be read; empty when they were
    bool ok() const { return error.isEmpty(); }
};

// Runs the query with its bound values on a connection of its own opened from the string,
// read-only, and closes it again.
PreviewLoad LoadQueryPreview(const QString &connectionString, const QString &sql,
                             const QVariantList &values = {});
// The first sheet of the workbook (in workbook order), empty rows left out.
PreviewLoad LoadSheetPreview(const QString &path);

// Writes the rows into an .xlsx workbook at the path as given; the workbook layer's text on
// failure (the caller shows "导出时出错!").
vantrel::Status ExportPreview(const PreviewTable &table, const QString &path);

// "共 %d 条记录"
QString PreviewFooterText(int rows);

} // namespace vantrel::personnel
