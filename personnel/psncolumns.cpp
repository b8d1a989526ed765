#include "personnel/psncolumns.h"

#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

bool saveItem(CADODatabase &db, const QString &column, const QVariant &value, const QString &name,
              QString *error)
{
    const bool ok = db.Execute(u"UPDATE qz_Items SET %1=? WHERE UPPER(TblName)='QZ_PSNBASE'"
                               " AND Name=?"_s.arg(column),
                               { value, name });
    if (!ok && error)
        *error = db.GetLastErrorString();
    return ok;
}

} // namespace

QColor ColorFromColorRef(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

quint32 ColorRefFromColor(const QColor &color)
{
    if (!color.isValid())
        return 0;
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

bool ParseColumnFormat(const QString &text, PsnColumnFormat *format)
{
    const QStringList parts = text.split(u';');
    if (parts.size() != 3)
        return false;
    bool ok[3] = {};
    const qint64 values[3]
        = { parts[0].trimmed().toLongLong(&ok[0]), parts[1].trimmed().toLongLong(&ok[1]),
            parts[2].trimmed().toLongLong(&ok[2]) };
    if (!ok[0] || !ok[1] || !ok[2])
        return false;
    format->bold = values[0] != 0;
    format->text = ColorFromColorRef(quint32(values[1]));
    format->background = ColorFromColorRef(quint32(values[2]));
    return true;
}

QString ColumnFormatText(const PsnColumnFormat &format)
{
    return u"%1;%2;%3"_s.arg(format.bold ? 1 : 0)
        .arg(ColorRefFromColor(format.text))
        .arg(ColorRefFromColor(format.background));
}

bool SavePsnColumnWidth(CADODatabase &db, const QString &name, int width, QString *error)
{
    return saveItem(db, u"iWid"_s, width, name, error);
}

bool SavePsnColumnFormat(CADODatabase &db, const QString &name, const QString &format,
                         QString *error)
{
    return saveItem(db, u"ColFmt"_s, format, name, error);
}

bool IsPsnNumberEditAllowed(const QString &oldNumber, const QString &typed)
{
    return typed == oldNumber || IsPsnNumberFree(typed);
}

} // namespace vantrel::personnel
