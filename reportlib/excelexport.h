#pragma once

#include "platform/common/result.h"
#include "platform/reportengine/displaylist.h"
#include "reportlib/modmain.h"

#include <QString>

namespace ferrolyn {

// The pages' text runs as an .xlsx workbook: each run goes into the cell of a grid made from
// the runs' left edges (and right edges with ExcelDoubleBoundaries) and top edges, edges
// closer than ExcelMinColumnWidth / ExcelMinRowHeight twips sharing a column or row. Texts
// that read as numbers are written as numbers. One sheet for all pages, with page breaks
// under ExcelGenPagebreaks, or one sheet per page under ExcelMultiSheet. ExcelVersion is not
// read: the file is always .xlsx. Through a temporary file.
FERROLYN_EXPORT vantrel::Status writeExcel(const vantrel::report::PageSet &pages,
                                           const QString &path, const ExportSettings &settings);

} // namespace ferrolyn
