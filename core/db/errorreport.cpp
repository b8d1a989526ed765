#include "core/db/errorreport.h"

#include <QSqlError>

namespace vantrel::db {

namespace {

QString meaningOf(quint32 code)
{
    switch (code) {
    case ErrorCode::Failed:
        return QStringLiteral("Unspecified error");
    case ErrorCode::InvalidArgument:
        return QStringLiteral("The parameter is incorrect.");
    case ErrorCode::CommandError:
        return QStringLiteral("The command contained one or more errors.");
    case ErrorCode::ObjectClosed:
        return QStringLiteral("Operation is not allowed when the object is closed.");
    case ErrorCode::RowConflict:
        return QStringLiteral("Row cannot be located for updating.");
    case ErrorCode::NotUpdatable:
        return QStringLiteral("Current Recordset does not support updating.");
    case ErrorCode::NoCurrentRecord:
        return QStringLiteral("Either BOF or EOF is True, or the current record has been deleted.");
    default:
        return QStringLiteral("Unknown error 0x%1").arg(code, 0, 16).toUpper();
    }
}

} // namespace

ErrorInfo ErrorInfo::fromSqlError(const QSqlError &error, const QString &source)
{
    ErrorInfo info;
    info.code
        = error.type() == QSqlError::StatementError ? ErrorCode::CommandError : ErrorCode::Failed;
    info.meaning = meaningOf(info.code);
    info.source = source;
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    else if (!error.driverText().isEmpty() && !text.contains(error.driverText()))
        text = error.driverText().trimmed() + QStringLiteral(": ") + text;
    if (!error.nativeErrorCode().isEmpty())
        text += QStringLiteral(" (%1)").arg(error.nativeErrorCode());
    info.description = text;
    return info;
}

ErrorInfo ErrorInfo::make(quint32 code, const QString &description, const QString &source)
{
    return ErrorInfo { code, meaningOf(code), source, description };
}

QString ErrorInfo::report(const char *title) const
{
    return QStringLiteral(
               "%1 Error\n\tCode = %2\n\tCode meaning = %3\n\tSource = %4\n\tDescription = %5\n")
        .arg(QLatin1String(title))
        .arg(code, 8, 16, QLatin1Char('0'))
        .arg(meaning, source, description);
}

} // namespace vantrel::db
