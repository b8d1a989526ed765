#pragma once

#include <QString>

class QSqlError;

namespace vantrel::db {

// HRESULT-style codes kept in the wrappers' last error code, so that callers can tell the
// common failures apart.
namespace ErrorCode {
constexpr quint32 Failed = 0x80004005; // the driver reported an error
constexpr quint32 InvalidArgument = 0x80070057;
constexpr quint32 CommandError = 0x80040E14; // the statement was rejected
constexpr quint32 ObjectClosed = 0x800A0E78; // the connection or recordset is not open
constexpr quint32 RowConflict = 0x80040E38;  // another user changed or deleted the row
constexpr quint32 NotUpdatable = 0x800A0CB3; // the recordset cannot write this change
constexpr quint32 NoCurrentRecord = 0x800A0BCD;
constexpr quint32 FileNotFound = 0x80030002; // an embedded database file that is not there
} // namespace ErrorCode

struct ErrorInfo
{
    quint32 code = 0;
    QString meaning;
    QString source;
    QString description;

    static ErrorInfo fromSqlError(const QSqlError &error, const QString &source);
    static ErrorInfo make(quint32 code, const QString &description, const QString &source = {});

    // "<title> Error\n\tCode = %08lx\n\tCode meaning = …\n\tSource = …\n\tDescription = …\n"
    QString report(const char *title) const;
};

} // namespace vantrel::db
