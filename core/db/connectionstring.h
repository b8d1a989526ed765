#pragma once

#include <QMap>
#include <QString>

namespace vantrel::db {

enum class Backend { Unknown, Sqlite, Postgres };

// The connection string in ADO's key=value form, naming the backend:
//   Provider=QSQLITE;Data Source=/path/to/file.db
//   Provider=QPSQL;Server=host[,port];UID=user;PWD=secret;Database=name;SSL Mode=require
// Keys are matched without regard to case; the usual ADO synonyms are understood
// (Data Source/Server, User ID/UID, Password/PWD, Initial Catalog/Database).
//
// Values are quoted as ODBC does: one holding ';', a quote, a brace, a control character or
// blanks at either end is written between double quotes with every inner '"' doubled. Parsing
// reads that back exactly, and also takes ODBC's {…} braces (a '}' doubled inside) and the
// older '…' quotes; an unquoted value is trimmed.
class ConnectionString
{
public:
    static ConnectionString parse(const QString &text);

    Backend backend() const;
    QString value(const QString &key) const;

    QString filePath() const; // SQLite: the database file
    QString host() const;
    int port() const; // 0 when none is given
    QString userName() const;
    QString password() const;
    QString databaseName() const;
    bool integratedSecurity() const; // log in as the operating-system user
    // PostgreSQL: libpq's sslmode ("disable", "prefer", "require", "verify-full" …); empty
    // leaves libpq's default.
    QString sslMode() const;

    // The text with every password value (PWD=, Password=) replaced by asterisks as a whole,
    // whichever way it is quoted, for error reports that may embed a connection string.
    static QString masked(const QString &text);

    static QString forSqlite(const QString &filePath);
    // No user: the operating-system login (Integrated Security). An empty sslMode writes none.
    static QString forPostgres(const QString &host, int port, const QString &user,
                               const QString &password, const QString &database,
                               const QString &sslMode = {});

private:
    QString first(std::initializer_list<const char *> keys) const;
    QMap<QString, QString> m_values; // lower-case key -> value
};

} // namespace vantrel::db
