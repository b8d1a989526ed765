#include "personnel/psnfiles.h"

#include "core/db/cadodatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>
#include <iterator>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

QString FormatByteSize(qint64 bytes)
{
    if (bytes < 1024)
        return u"%1 字节"_s.arg(bytes);
    static const char *const units[] = { "KB", "MB", "GB", "TB", "PB" };
    double value = double(bytes) / 1024;
    int unit = 0;
    while (value >= 1000 && unit + 1 < int(std::size(units))) {
        value /= 1024;
        ++unit;
    }
    // Three significant digits, the rest cut off.
    const int decimals = value < 10 ? 2 : value < 100 ? 1 : 0;
    double scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const double cut = std::floor(value * scale + 1e-9) / scale;
    return u"%1 %2"_s.arg(QString::number(cut, 'f', decimals), QString::fromLatin1(units[unit]));
}

Result<QVector<PsnFileRow>> LoadPsnFiles(CADODatabase &db, int pid)
{
    const db::QueryResult result = db.run(u"SELECT ID, Name, FileSize, AddDate FROM qz_PsnFiles"
                                          " WHERE PID = ? ORDER BY AddDate DESC, ID DESC"_s,
                                          { pid });
    if (!result.ok)
        return Result<QVector<PsnFileRow>>::failure(result.error.description);
    QVector<PsnFileRow> files;
    for (int row = 0; row < result.rows.rowCount(); ++row) {
        files.append({ result.rows.value(row, 0).toInt(), result.rows.value(row, 1).toString(),
                       result.rows.value(row, 2).toString(),
                       result.rows.value(row, 3).toDateTime() });
    }
    return files;
}

PsnFileAdd AddPsnFile(CADODatabase &db, int pid, const QString &path)
{
    PsnFileAdd add;
    add.Name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        add.outcome = PsnFileAdd::Unreadable;
        add.error = file.errorString();
        return add;
    }
    const qint64 size = file.size();
    if (size > MaxAttachmentBytes) {
        add.outcome = PsnFileAdd::TooLarge;
        return add;
    }
    const QByteArray content = file.readAll();
    if (content.size() != size) {
        add.outcome = PsnFileAdd::Unreadable;
        add.error = file.errorString();
        return add;
    }
    if (content.isEmpty()) {
        add.outcome = PsnFileAdd::Empty;
        return add;
    }
    const db::QueryResult inserted = db.run(
        u"INSERT INTO qz_PsnFiles (PID, Name, FileSize, AddDate, FileData)"
        " VALUES (?, ?, ?, ?, ?) RETURNING ID"_s,
        { pid, add.Name, FormatByteSize(content.size()), QDateTime::currentDateTime(), content });
    if (!inserted.hasRow()) {
        add.error = inserted.ok ? u"The new row gave no id."_s : inserted.error.description;
        return add;
    }
    add.outcome = PsnFileAdd::Added;
    add.ID = inserted.scalar().toInt();
    return add;
}

Result<bool> SavePsnFileAs(CADODatabase &db, int id, int pid, const QString &path)
{
    const db::QueryResult result
        = db.run(u"SELECT FileData FROM qz_PsnFiles WHERE ID = ? AND PID = ?"_s, { id, pid });
    if (!result.ok)
        return Result<bool>::failure(result.error.description);
    const QByteArray content = result.rows.value(0, 0).toByteArray();
    if (!result.hasRow() || content.isEmpty())
        return Result<bool>::failure(u"The attachment has no content."_s);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit())
        return Result<bool>::failure(out.errorString());
    return true;
}

Result<bool> RenamePsnFile(CADODatabase &db, int id, int pid, const QString &name)
{
    const db::QueryResult result
        = db.run(u"UPDATE qz_PsnFiles SET Name = ? WHERE ID = ? AND PID = ?"_s, { name, id, pid });
    if (!result.ok)
        return Result<bool>::failure(result.error.description);
    return result.rowsAffected > 0;
}

Result<bool> DeletePsnFile(CADODatabase &db, int id, int pid)
{
    const db::QueryResult result
        = db.run(u"DELETE FROM qz_PsnFiles WHERE ID = ? AND PID = ?"_s, { id, pid });
    if (!result.ok)
        return Result<bool>::failure(result.error.description);
    return result.rowsAffected > 0;
}

} // namespace vantrel::personnel
