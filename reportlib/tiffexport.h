#pragma once

#include "platform/common/result.h"
#include "platform/reportengine/displaylist.h"
#include "reportlib/ferrolynexport.h"

#include <QString>

namespace ferrolyn {

// The pages as one TIFF file: a directory per page, 200 dpi, RGB, LZW. Through a temporary
// file: a failure leaves no half-written file behind.
FERROLYN_EXPORT vantrel::Status writeTiff(const vantrel::report::PageSet &pages,
                                          const QString &path);

} // namespace ferrolyn
