#include "core/db/databasefile.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vantrel::db {

Status createSqliteDatabase(const QString &filePath)
{
    const QFileInfo info(filePath);
    if (filePath.trimmed().isEmpty())
        return Status::failure(u"No database file was named."_s);
    if (info.exists())
        return Status::failure(u"The file %1 already exists."_s.arg(filePath));
    if (!QDir().mkpath(info.absolutePath()))
        return Status::failure(u"The folder %1 cannot be created."_s.arg(info.absolutePath()));
    sqlite3 *handle = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(filePath).constData(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString error;
    if (rc != SQLITE_OK)
        error = QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc));
    else if (sqlite3_exec(handle, "PRAGMA user_version = 0", nullptr, nullptr, nullptr)
             != SQLITE_OK)
        error = QString::fromUtf8(sqlite3_errmsg(handle));
    sqlite3_close(handle);
    if (!error.isEmpty())
        return Status::failure(
            u"The database file %1 cannot be created: %2"_s.arg(filePath, error));
    return {};
}

} // namespace vantrel::db
