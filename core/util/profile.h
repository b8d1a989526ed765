#pragma once

#include <QString>
#include <QVariant>

// The user's profile: values under organisation "MorvelSoft", application "Vantrel", group
// "Settings". Sections are paths below that group ("Dlgs/Form-3-0", "MDIForm"); an empty
// section means the group itself. The profile file is left readable by its owner only.
namespace Profile {

int getInt(const QString &section, const QString &key, int defaultValue);
void writeInt(const QString &section, const QString &key, int value);
QString getString(const QString &section, const QString &key, const QString &defaultValue = {});
void writeString(const QString &section, const QString &key, const QString &value);
QVariant getValue(const QString &section, const QString &key, const QVariant &defaultValue = {});
void writeValue(const QString &section, const QString &key, const QVariant &value);
bool contains(const QString &section, const QString &key);
void remove(const QString &section, const QString &key);

} // namespace Profile
