#pragma once

#include "platform/common/result.h"

#include <QDateTime>
#include <QString>
#include <QVector>

class CADODatabase;

namespace vantrel::personnel {

// Files attached to persons (qz_PsnFiles), without any window: the attachments pane lists,
// adds, saves out, renames and deletes through these. Every call names the person as well as
// the file, so a file is only ever reached through its own person.

// Files above this size are refused before they are read.
inline constexpr qint64 MaxAttachmentBytes = 100 * 1024 * 1024;

// A byte count as the file lists show it: "123 字节", "1.20 KB", "12.0 KB", "120 KB", "1.50 MB"
// (three significant digits, cut rather than rounded).
QString FormatByteSize(qint64 bytes);

// One attachment as listed: no content.
struct PsnFileRow
{
    int ID = 0;
    QString Name;
    QString FileSize;
    QDateTime AddDate;
};

// The person's files, newest first; the content is not read.
Result<QVector<PsnFileRow>> LoadPsnFiles(CADODatabase &db, int pid);

// How adding one file ended. Added carries the new row's id; Empty (0 bytes) and TooLarge are
// not stored; Unreadable: the file could not be opened or read; Failed: the database refused
// (error says why).
struct PsnFileAdd
{
    enum Outcome { Added, Empty, TooLarge, Unreadable, Failed } outcome = Failed;
    int ID = 0;
    QString Name; // the stored name: file name with extension, no folder
    QString error;
};
// Reads the file whole and stores it for the person in one insert, dated now.
PsnFileAdd AddPsnFile(CADODatabase &db, int pid, const QString &path);

// Writes the stored content of the person's file to path. False with the reason when there is
// no such file or no content, the query fails, or the target cannot be written.
Result<bool> SavePsnFileAs(CADODatabase &db, int id, int pid, const QString &path);

// Renames the person's file. True when a row took the name; false when there is no such row.
Result<bool> RenamePsnFile(CADODatabase &db, int id, int pid, const QString &name);

// Deletes the person's file. True when a row went; false when there was none.
Result<bool> DeletePsnFile(CADODatabase &db, int id, int pid);

} // namespace vantrel::personnel
