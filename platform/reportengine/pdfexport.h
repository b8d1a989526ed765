#pragma once

#include "platform/common/result.h"
#include "platform/reportengine/displaylist.h"

#include <QString>

namespace vantrel::report {

// Writes the pages as one PDF file, page size from the run's page setup, fonts embedded (after
// substitution). Through a temporary file: a failure leaves no half-written file behind.
Result<void> writePdf(const PageSet &pages, const QString &path, const QString &title = {});

} // namespace vantrel::report
