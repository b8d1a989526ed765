#pragma once

#include <QString>

namespace vantrel::report::Barcode {

// The modules of a bar code, '1' a bar and '0' a space, each one module wide; empty when the
// text cannot be encoded. Code 39: upper-case letters, digits and - . space $ / + %, with the
// start and stop characters added. Code 128: printable ASCII (code set B) with its check digit.
QString code39(const QString &text);
QString code128(const QString &text);

} // namespace vantrel::report::Barcode
