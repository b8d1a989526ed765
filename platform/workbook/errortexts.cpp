#include "platform/workbook/errortexts.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace workbook::errortexts {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString missingFile(const QString &path)
{
    return u"找不到文件：%1"_s.arg(shown(path));
}

QString unreadableFile(const QString &path, const QString &reason)
{
    return u"无法打开文件：%1（%2）"_s.arg(shown(path), reason);
}

QString corruptFile(const QString &path, const QString &detail)
{
    const QString text = u"文件已损坏，无法读取：%1"_s.arg(shown(path));
    return detail.isEmpty() ? text : text + u"（"_s + detail + u"）"_s;
}

QString unknownFormat(const QString &path)
{
    return u"不是 Excel 工作簿（.xls 或 .xlsx）：%1"_s.arg(shown(path));
}

QString passwordProtected(const QString &path)
{
    return u"工作簿有密码保护，无法读取：%1"_s.arg(shown(path));
}

QString noSheets(const QString &path)
{
    return u"工作簿中没有工作表：%1"_s.arg(shown(path));
}

QString sheetNotFound(const QString &sheetName)
{
    return u"工作簿中没有名为“%1”的工作表"_s.arg(sheetName);
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return u"无法写入文件：%1（%2）"_s.arg(shown(path), reason);
}

} // namespace workbook::errortexts
