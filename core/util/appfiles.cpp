#include "core/util/appfiles.h"

#include <QCoreApplication>
#include <QDir>
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
        return {};
    }
    return ini.value(key, defaultValue).toString().trimmed();
}
