#pragma once

#include <QString>

// The program folder, without a trailing separator.
QString GetAppFolder();

// Where kelm.ini lives: beside the program when that folder can be written, else in the
// user's configuration folder.
QString IniFilePath();

// True when path is the kelm.ini beside the program, which every user of the installation
// shares; a kelm.ini anywhere else is the user's own.
bool IsSharedIniFile(const QString &path);

// Leaves a file of the user's own readable and writable by its owner only (0600): the profile
// and a kelm.ini of one's own may hold a password. False when the permissions cannot be set.
bool RestrictToOwner(const QString &path);

// "WRITE" stores value under section/key and returns the empty text; "GET" returns the stored
// value (trimmed at both ends) or the default; the mode is compared without regard to case;
// any other mode does nothing and returns the empty text. A kelm.ini of the user's own is left
// readable by its owner only.
QString AccessIniFile(const QString &mode, const QString &section, const QString &key,
                      const QString &value = {}, const QString &defaultValue = {});
