#include "core/util/appfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString GetAppFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString IniFilePath()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(u"kelm.ini"_s);
    const QFileInfo file(beside);
    if (file.exists() ? file.isWritable() : QFileInfo(file.absolutePath()).isWritable())
        return beside;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(u"kelm.ini"_s);
}

bool IsSharedIniFile(const QString &path)
{
    return QFileInfo(path).absoluteDir()
        == QDir(QCoreApplication::applicationDirPath()).absolutePath();
}

bool RestrictToOwner(const QString &path)
{
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString AccessIniFile(const QString &mode, const QString &section, const QString &key,
                      const QString &value, const QString &defaultValue)
{
    const QString m = mode.toUpper();
    if (m != u"WRITE" && m != u"GET")
        return {};
    QSettings ini(IniFilePath(), QSettings::IniFormat);
    ini.beginGroup(section);
    if (m == u"WRITE") {
        ini.setValue(key, value);
        ini.sync();
        if (!IsSharedIniFile(ini.fileName()))
            RestrictToOwner(ini.fileName());
        return {};
    }
    return ini.value(key, defaultValue).toString().trimmed();
}
