#pragma once

#include <QIcon>
#include <QString>

// The icon and type name of a kind of file, by its name's extension (the file need not exist).
class CUseShGetFileInfo
{
public:
    virtual ~CUseShGetFileInfo() = default;
    QIcon GetFileIcon(const QString &fileName, bool small) const;
    QString GetFileTypeName(const QString &fileName) const;
};
