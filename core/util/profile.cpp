#include "core/util/profile.h"

#include "core/util/appfiles.h"

#include <QSettings>

#include <functional>

using namespace Qt::StringLiterals;

namespace Profile {

namespace {

QString path(const QString &section, const QString &key)
{
    QString p = u"Settings/"_s;
    if (!section.isEmpty())
        p += QString(section).replace(u'\\', u'/') + u'/';
    return p + key;
}

QSettings settings()
{
    return QSettings(u"MorvelSoft"_s, u"Vantrel"_s);
}

// The profile may hold a remembered password: it stays readable by its owner only.
void store(const std::function<void(QSettings &)> &change)
{
    QSettings profile = settings();
    change(profile);
    profile.sync();
    RestrictToOwner(profile.fileName());
}

} // namespace

QVariant getValue(const QString &section, const QString &key, const QVariant &defaultValue)
{
    return settings().value(path(section, key), defaultValue);
}

void writeValue(const QString &section, const QString &key, const QVariant &value)
{
    store([&](QSettings &profile) { profile.setValue(path(section, key), value); });
}

int getInt(const QString &section, const QString &key, int defaultValue)
{
    bool ok = false;
    const int v = getValue(section, key).toInt(&ok);
    return ok ? v : defaultValue;
}

void writeInt(const QString &section, const QString &key, int value)
{
    writeValue(section, key, value);
}

QString getString(const QString &section, const QString &key, const QString &defaultValue)
{
    return getValue(section, key, defaultValue).toString();
}

void writeString(const QString &section, const QString &key, const QString &value)
{
    writeValue(section, key, value);
}

bool contains(const QString &section, const QString &key)
{
    return settings().contains(path(section, key));
}

void remove(const QString &section, const QString &key)
{
    store([&](QSettings &profile) { profile.remove(path(section, key)); });
}

} // namespace Profile
