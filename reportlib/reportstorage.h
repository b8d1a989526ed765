#pragma once

#include "platform/common/result.h"
#include "reportlib/ferrolynexport.h"

#include <QString>

namespace vantrel::report {
class ReportLayout;
class ReportControl;
class Section;
} // namespace vantrel::report

namespace ferrolyn {

// Report rows in qz_Report, read and written on a connection of their own opened on
// gConnectionString and closed before they return. Main reports have ParentID 0; subreports
// Type -1 and their main report's ID as ParentID.

// Loads row gReportID: its Name into gReportName, and its EPara into the Excel settings while
// gLoadExportSettings is set. A missing row, a layout that does not read or a database error
// is the failure; the layout and gReportName are left as they were then.
FERROLYN_EXPORT vantrel::Status LoadReportLayout(vantrel::report::ReportLayout &layout);

// Stores the layout and the Excel settings as the main report: updates row gReportID (Data and
// EPara only) when gReportExists is 1, else inserts a row (ParentID 0, gReportType, gReportName)
// and keeps its ID in gReportID; gReportExists becomes 1. Under gReadOnly nothing is written
// ("此报表只读！"). A failure shows its reason under "保存时出错" and keeps gReportExists and
// gReportID.
FERROLYN_EXPORT vantrel::Status SaveReportLayout(const vantrel::report::ReportLayout &layout);

// One subreport row under gReportID by name: its layout with an empty connection string, and
// its data control's Source (or "") as RsSQL. Failures are returned, never shown.
FERROLYN_EXPORT vantrel::Status SaveSubReportRecord(const vantrel::report::ReportLayout &subreport,
                                                    const QString &name);
// Nothing happens while gReportID is 0 or less or gReportExists is 0.
FERROLYN_EXPORT vantrel::Status DeleteSubReportRecord(const QString &name);
FERROLYN_EXPORT vantrel::Status RenameSubReportRecord(const QString &oldName,
                                                      const QString &newName);

// The subreport row of that name under gReportID: its layout, its data control given
// gConnectionString and the stored RsSQL. A missing row is a failure.
FERROLYN_EXPORT vantrel::Result<vantrel::report::ReportLayout> LoadSubReportRecord(
    const QString &name);

// The first section of Type 6, and its first control of type name "DataControl"; null when
// there is none.
FERROLYN_EXPORT vantrel::report::Section *FindDataSection(vantrel::report::ReportLayout &layout);
FERROLYN_EXPORT vantrel::report::ReportControl *FindDataControl(
    vantrel::report::ReportLayout &layout);

} // namespace ferrolyn
