#pragma once

#include "platform/reportengine/displaylist.h"

class QPainter;

namespace vantrel::report {

// Paints one page of a run on any paint device (screen, image, printer, PDF) at any
// resolution: scale is device units per twip (the device's dots per inch / 1440), the page's
// top left corner at the painter's origin. The painter's state is restored afterwards.
void paintPage(const PageSet &pages, int page, QPainter &painter, double scale);

} // namespace vantrel::report
