#pragma once

#include <QColor>
#include <QString>

class CADODatabase;

namespace vantrel::personnel {

// A column's stored look: qz_Items.ColFmt "bold;text colour;background colour", colours as
// COLORREF (0x00BBGGRR), -1 for the grid's default colour (an invalid QColor). Anything that
// does not split into three whole numbers is no format.
struct PsnColumnFormat
{
    bool bold = false;
    QColor text;
    QColor background;
};

bool ParseColumnFormat(const QString &text, PsnColumnFormat *format);
// "%d;%d;%d".
QString ColumnFormatText(const PsnColumnFormat &format);
QColor ColorFromColorRef(quint32 colorRef);
quint32 ColorRefFromColor(const QColor &color);

// Store a column's width or format text in the item of that table (compared without case) and
// name; items of the same name in other tables keep theirs. False with the database's text.
bool SaveColumnWidth(CADODatabase &db, const QString &table, const QString &name, int width,
                     QString *error = nullptr);
bool SaveColumnFormat(CADODatabase &db, const QString &table, const QString &name,
                      const QString &format, QString *error = nullptr);

// Store a person column's width or format text in its item (the person table's only; other
// tables' items of the same name keep theirs). False with the database's text in *error.
bool SavePsnColumnWidth(CADODatabase &db, const QString &name, int width, QString *error = nullptr);
bool SavePsnColumnFormat(CADODatabase &db, const QString &name, const QString &format,
                         QString *error = nullptr);

// Whether a Number cell may take the typed text: unchanged (compared exactly) it may; else it
// must be 1 to 50 characters that no person holds in any letter case.
bool IsPsnNumberEditAllowed(const QString &oldNumber, const QString &typed);

} // namespace vantrel::personnel
