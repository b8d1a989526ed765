#pragma once

#include <QString>

#include <optional>

// Where the program's database is: the line "DBConnect" of section "ConnectInfo" in kelm.ini,
// and the remembered login password of the profile. No widgets here.
//
// The server field holds either a database file path (the embedded SQLite database) or a
// PostgreSQL host with an optional port ("host", "host,port", "host:port", "[::1]:5432").
// Login kind 0 is the system login (no password: the file itself, or the operating-system user
// on PostgreSQL); kind 1 logs in with login ID and password.
//
// Stored line, before encoding: "<code>,<f1>,<f2>,<f3>,<system flag>[,<SSL mode>]" where the
// code (1, 2 or 3) says which of f1..f3 hold server, login ID and password; '%' and ',' inside
// a field are written as %25 and %2C, so paths and passwords may hold commas. The SSL mode
// (PostgreSQL only) is written only when one was chosen, so older five-field lines still read.
class ConnectionSetting
{
public:
    enum LoginKind { SystemLogin = 0, PasswordLogin = 1 };

    ConnectionSetting() = default;
    ConnectionSetting(const QString &server, int loginKind, const QString &loginId,
                      const QString &password, const QString &sslMode = {});

    QString server() const { return m_server; }
    int loginKind() const { return m_loginKind; }
    QString loginId() const { return m_loginId; }
    QString password() const { return m_password; }
    // libpq's sslmode for a PostgreSQL server; empty leaves libpq's default.
    QString sslMode() const { return m_sslMode; }

    // The SSL modes a setting may carry (libpq's names, lower case).
    static bool isSslMode(const QString &mode);

    // True when the server field names a database file rather than a PostgreSQL host: it holds
    // a '/' or '\', ends in .db, .db3, .sqlite or .sqlite3, or is an existing file.
    static bool isDatabaseFile(const QString &server);

    // The ADO-style connection string of this setting (never empty).
    QString connectionString() const;

    // The decoded ini line, and back. fromLine gives nothing for a line of fewer than five
    // fields; an arrangement code other than 1, 2 or 3 gives empty server, login ID and
    // password; a sixth field that is no SSL mode is ignored. No field is trimmed.
    QString toLine() const;
    static std::optional<ConnectionSetting> fromLine(const QString &line);

    // The connection string of the setting in kelm.ini; empty when there is none or it is
    // too short.
    static QString BuildConnectionString();
    // True when kelm.ini holds a connection setting at all.
    static bool exists();
    // Encodes and writes the setting into kelm.ini; false when the file cannot be written. A
    // kelm.ini outside the program folder is the user's own and is left readable by its owner
    // only (0600).
    bool write() const;

    // Our reversible text codec for the stored setting and the remembered password: a keyed
    // XOR over the UTF-8 bytes, written as base64 (ASCII, no ',' or ';'). It only keeps the
    // text from being read at a glance; it is not encryption. decode(encode(t)) == t; a text
    // that is not in this form decodes to the empty text.
    static QString encode(const QString &plain);
    static QString decode(const QString &stored);

    // The PostgreSQL database every installation uses.
    static QString databaseName();
    // The embedded database proposed on first use: "vantrel.db" in the user's data folder
    // (the folder is created).
    static QString defaultDatabaseFile();

    // kelm.ini as the program uses it (IniFilePath()), unless a test has pointed it elsewhere.
    static QString iniFilePath();
    // For tests: another kelm.ini and another PostgreSQL database name; empty texts restore
    // the defaults.
    static void setIniFilePathOverride(const QString &path);
    static void setDatabaseNameOverride(const QString &name);

private:
    QString m_server;
    int m_loginKind = PasswordLogin;
    QString m_loginId;
    QString m_password;
    QString m_sslMode;
};
