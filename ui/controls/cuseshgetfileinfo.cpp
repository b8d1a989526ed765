#include "ui/controls/cuseshgetfileinfo.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>

QIcon CUseShGetFileInfo::GetFileIcon(const QString &fileName, bool) const
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QFileIconProvider().icon(QFileIconProvider::File);
    return icon;
}

QString CUseShGetFileInfo::GetFileTypeName(const QString &fileName) const
{
    return QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).comment();
}
