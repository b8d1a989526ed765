#pragma once

#include "platform/common/result.h"
#include "platform/reportengine/reportlayout.h"

#include <QByteArray>
#include <QString>

namespace vantrel::report {

// The layout file: UTF-8 XML with the root <Report FormatVersion="1">. One canonical writer, so
// a layout saved to bytes and to a file gives the same bytes, and an unchanged load and save
// gives the bytes it read (elements and attributes of a newer version included).
namespace LayoutXml {

// A failure names what is wrong ("Not a report layout", the XML error with its line).
Result<ReportLayout> read(const QByteArray &bytes);
QByteArray write(const ReportLayout &layout);

Result<ReportLayout> readFile(const QString &path);
// Writes through a temporary file, so a failed save leaves the old file as it was.
Result<void> writeFile(const ReportLayout &layout, const QString &path);

} // namespace LayoutXml

} // namespace vantrel::report
