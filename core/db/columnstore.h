#pragma once

#include "core/db/sqldialect.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <vector>

namespace vantrel::db {

// The values of one result column, kept compactly: one 8-byte cell per row (an integer, a
// double, a date and time, or where a text or byte string starts in the column's arena) and a
// bit for NULL. A value that does not fit the column's kind (SQLite lets a column hold
// anything) turns the column into one that keeps QVariants, so nothing is ever lost.
class ColumnStore
{
public:
    explicit ColumnStore(FieldKind kind = FieldKind::Unknown) : m_kind(kind) { }

    FieldKind kind() const { return m_kind; }
    int size() const { return int(m_null.size()); }
    void reserve(int rows);

    // Appending while reading a result. The kind of an Unknown column is set by its first
    // value that is not NULL.
    void appendNull();
    void appendInteger(qint64 value);
    void appendDouble(double value);
    void appendText(const char16_t *text, qsizetype length);
    void appendText(QStringView text) { appendText(text.utf16(), text.size()); }
    // Text as the databases hand it out, decoded straight into the column.
    void appendUtf8(const char *text, qsizetype length);
    void appendBytes(const char *bytes, qsizetype length);
    void appendDateTime(const QDate &date, const QTime &time);
    void appendVariant(const QVariant &value);

    bool isNull(int row) const { return m_null[size_t(row)]; }
    // The value as the recordset hands it out: NULL is an invalid QVariant; Integer gives int
    // when it fits, BigInt qint64, DateTime a local QDateTime.
    QVariant value(int row) const;
    // Text without building a QVariant.
    QString text(int row) const;

    // Replaces one value; converted to the column's kind when it fits.
    void set(int row, const QVariant &value);
    void remove(int row);

    // Bytes held, for memory accounting in benchmarks.
    qsizetype byteSize() const;

private:
    bool holdsVariants() const { return m_promoted; }
    bool appendTyped(const QVariant &value);
    void promote(); // keep QVariants from here on
    quint64 storeText(const char16_t *text, qsizetype length);
    quint64 storeBytes(const char *bytes, qsizetype length);
    QVariant typedValue(int row) const;

    FieldKind m_kind;
    bool m_promoted = false;
    std::vector<bool> m_null;
    std::vector<quint64> m_cells;
    std::vector<char16_t> m_text;     // each text: its length in two units, then its characters
    std::vector<char> m_bytes;        // each byte string: its length in eight bytes, then the bytes
    std::vector<QVariant> m_variants; // once promoted
};

} // namespace vantrel::db
