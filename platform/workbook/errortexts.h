#pragma once

#include <QString>

// The texts a user sees when a workbook cannot be read or written. Paths are shown with the
// platform's separators.
namespace workbook::errortexts {

QString missingFile(const QString &path);
QString unreadableFile(const QString &path, const QString &reason);
// `detail` names what is broken, for whoever looks into the file; it may be empty.
QString corruptFile(const QString &path, const QString &detail = {});
QString unknownFormat(const QString &path);
QString passwordProtected(const QString &path);
QString noSheets(const QString &path);
QString sheetNotFound(const QString &sheetName);
QString cannotWrite(const QString &path, const QString &reason);

} // namespace workbook::errortexts
