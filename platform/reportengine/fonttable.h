#pragma once

#include <QString>

namespace vantrel::report {

// The one font substitution table of reports. The Chinese system fonts and other Windows names
// that layouts carry ("宋体", "黑体", "楷体", "仿宋", SimSun, Arial …), and any family not
// installed here, become "WenQuanYi Micro Hei": its PDF text maps are exact (copy and search
// work) and pages look the same on every machine.
namespace FontTable {

QString reportFamily();
QString substitute(const QString &family);

} // namespace FontTable

} // namespace vantrel::report
