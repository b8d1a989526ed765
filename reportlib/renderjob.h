#pragma once

#include "platform/common/result.h"
#include "reportlib/ferrolynexport.h"

#include <QString>
#include <QStringList>

namespace ferrolyn {

// One layout file rendered against a database to PDF, without a window.
struct RenderJob
{
    QString layoutPath;
    QString connectionString; // given to the layout's data control (and its subreports')
    QString sql;              // replaces the data control's Source when not blank
    QString pdfPath;
};

struct RenderOutcome
{
    int pages = 0;
    bool noData = false;
};

// Loads the layout, runs it and writes the PDF. A layout that does not load, a script or data
// error, or a file that cannot be written gives the reason; no PDF is left behind then.
FERROLYN_EXPORT vantrel::Result<RenderOutcome> renderToPdf(const RenderJob &job);

} // namespace ferrolyn
