#pragma once

#include <QString>

// The program folder, without a trailing separator.
QString GetAppFolder();

// Where kelm.ini lives: beside the program when that folder can be written, else in the
// user's configuration folder.
QString IniFilePath();

// "WRITE" stores value under section/key and returns the empty text; "GET" returns the stored
// value (trimmed at both ends) or the default; the mode is compared without regard to case;
// any other mode does nothing and returns the empty text.
QString AccessIniFile(const QString &mode, const QString &section, const QString &key,
                      const QString &value = {}, const QString &defaultValue = {});
