#include "platform/reportengine/fonttable.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace vantrel::report::FontTable {

QString reportFamily()
{
    return u"WenQuanYi Micro Hei"_s;
}

QString substitute(const QString &family)
{
    static const QStringList windowsNames {
        u"宋体"_s,
        u"新宋体"_s,
        u"黑体"_s,
        u"楷体"_s,
        u"楷体_GB2312"_s,
        u"仿宋"_s,
        u"仿宋_GB2312"_s,
        u"微软雅黑"_s,
        u"隶书"_s,
        u"幼圆"_s,
        u"SimSun"_s,
        u"NSimSun"_s,
        u"SimHei"_s,
        u"KaiTi"_s,
        u"FangSong"_s,
        u"Microsoft YaHei"_s,
        u"Arial"_s,
        u"Times New Roman"_s,
        u"Tahoma"_s,
        u"Verdana"_s,
        u"Courier New"_s,
        u"MS Sans Serif"_s,
        u"MS Serif"_s,
        u"System"_s,
        u"Microsoft Sans Serif"_s,
    };
    const QString trimmed = family.trimmed();
    if (trimmed.isEmpty() || windowsNames.contains(trimmed, Qt::CaseInsensitive))
        return reportFamily();
    // Without a font database (no QGuiApplication) nothing counts as installed.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        || !QFontDatabase::hasFamily(trimmed))
        return reportFamily();
    return trimmed;
}

} // namespace vantrel::report::FontTable
