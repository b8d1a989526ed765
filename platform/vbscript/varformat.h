#pragma once

#include "platform/common/result.h"
#include "platform/vbscript/variant.h"

#include <QString>

namespace vantrel::vbscript {

// Format codes as the OLE Automation VarFormat reads them, for the Chinese (PRC) regional
// settings the reports are written for: named formats ("Long Date" is 2024年5月1日, "Standard"
// is #,##0.00 …), user number codes (0 # . , % E+ E- and literals, up to four sections split by
// ";"), date and time codes (d … dddddd, w, ww, m … mmmm, q, y, yy, yyyy, h, hh, n, nn, s,
// ss, ttttt, c, AM/PM, A/P, AMPM) with Sunday as the first day of the week and the week of
// 1 January as the first week, and text codes (@ & < > !).
class VarFormat
{
public:
    // Null gives ""; a value that the codes cannot take (a text for a date code) is a failure.
    static Result<QString> format(const Variant &value, const QString &codes);
};

} // namespace vantrel::vbscript
