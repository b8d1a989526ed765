#include "personnel/psncolumns.h"

#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace vantrel::personnel {

namespace {

bool saveItem(CADODatabase &db, const QString &column, const QVariant &value, const QString &table,
              const QString &name, QString *error)
{
    const bool ok = db.Execute(
        u"UPDATE qz_Items SET %1=? WHERE UPPER(TblName)=UPPER(?) AND Name=?"_s.arg(column),
        { value, table, name });
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
    // A value that is no COLORREF (-1 as the program writes it) is the default colour.
    const auto colour = [](qint64 value) {
        return value < 0 || value > 0xFFFFFF ? QColor() : ColorFromColorRef(quint32(value));
    };
    format->text = colour(values[1]);
    format->background = colour(values[2]);
    return true;
}

QString ColumnFormatText(const PsnColumnFormat &format)
{
    const auto number = [](const QColor &color) {
        return color.isValid() ? qint64(ColorRefFromColor(color)) : qint64(-1);
    };
    return u"%1;%2;%3"_s.arg(format.bold ? 1 : 0)
        .arg(number(format.text))
        .arg(number(format.background));
}

bool SaveColumnWidth(CADODatabase &db, const QString &table, const QString &name, int width,
                     QString *error)
{
    return saveItem(db, u"iWid"_s, width, table, name, error);
}

bool SaveColumnFormat(CADODatabase &db, const QString &table, const QString &name,
                      const QString &format, QString *error)
{
    return saveItem(db, u"ColFmt"_s, format, table, name, error);
}

bool SavePsnColumnWidth(CADODatabase &db, const QString &name, int width, QString *error)
{
    return SaveColumnWidth(db, u"QZ_PSNBASE"_s, name, width, error);
}

bool SavePsnColumnFormat(CADODatabase &db, const QString &name, const QString &format,
                         QString *error)
{
    return SaveColumnFormat(db, u"QZ_PSNBASE"_s, name, format, error);
}

bool IsPsnNumberEditAllowed(const QString &oldNumber, const QString &typed)
{
    return typed == oldNumber || IsPsnNumberFree(typed);
}

} // namespace vantrel::personnel
