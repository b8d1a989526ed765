#pragma once

#include "core/db/connectionstring.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlDatabase;

namespace vantrel::db {

// What a column holds, as the recordset reports it on both backends.
enum class FieldKind { Unknown, Integer, BigInt, Double, Text, DateTime, Boolean, Binary };

// Everything that differs between SQLite and PostgreSQL lives here, so that the rest of the
// data layer writes its SQL once.
class SqlDialect
{
public:
    explicit SqlDialect(Backend backend = Backend::Unknown) : m_backend(backend) { }

    Backend backend() const { return m_backend; }
    QString qtDriverName() const;

    // Replaces the schema placeholders (%IDENTITY%, %BLOB%, %DATETIME%, and %UPDATEROOM% after
    // a table's columns: room on each page for rows that are rewritten often).
    QString ddl(const QString &statement) const;

    // Run right after a connection opens: functions the shared SQL relies on (CHARINDEX, a
    // Unicode UPPER) and connection settings.
    bool prepareConnection(QSqlDatabase &db, QString *error) const;

    // Statements run on every new connection (PostgreSQL's session settings).
    QStringList sessionSettings() const;

    // Statements that create the same functions in a PostgreSQL database; run with the schema.
    QStringList serverFunctions() const;

    // "SELECT 1 …" that yields a row when the table (or view) exists; one bound value: the name.
    QString tableExistsQuery() const;

    // Column types of user-defined items: numbers as wage values, dates as local date-times.
    QString numberColumnType() const;
    QString dateColumnType() const;
    // Run first inside a transaction that changes a table's structure: on PostgreSQL a change
    // that has to wait longer than this for another session's lock fails instead of hanging
    // (SQLite's own busy timeout does the same there).
    QStringList structureChangeSettings(int lockTimeoutMs) const;
    // A statement that takes the write lock of a table for the rest of the transaction, so
    // that a check and the write after it see no other writer in between.
    QString writeLockStatement(const QString &table) const;

    // "column = ?" for an optimistic check of a value read before; SQLite compares dates by
    // their meaning, since a file may hold them in more than one text form.
    QString equalsPlaceholder(const QString &column, FieldKind kind) const;
    // "column <op> ?" for a date and time column and a bound date (op is <, <=, >, >= or =),
    // comparing by meaning on SQLite as above.
    QString dateTimeComparison(const QString &column, QStringView op) const;

    // The kind of a column from its declared type (SQLite) or Qt's type id.
    static FieldKind kindFromDeclaredType(const QString &declaredType);
    static FieldKind kindFromMetaType(int metaTypeId);

    // Canonical text of a local date and time: "yyyy-MM-dd HH:mm:ss" (".zzz" when there are ms).
    static QString dateTimeText(const QDateTime &dateTime);
    // Reads the canonical text back (also "yyyy-MM-dd", and 'T' between date and time).
    static QDateTime parseDateTimeText(const QString &text);
    // The same without building a QDateTime; false when the text is not such a date.
    static bool parseDateTime(QStringView text, QDate *date, QTime *time);

private:
    Backend m_backend;
};

} // namespace vantrel::db
