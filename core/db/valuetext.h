#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

// Value-to-text conversions shared by the recordset and the command parameters.

QString IntToText(int value);
QString LongToText(qint64 value);
QString ULongToText(quint64 value);
// Ten significant digits.
QString FloatToText(float value);
// The shortest digits that read back as the same double.
QString DoubleToText(double value);
// Formats with strftime conventions ("%Y-%m-%d %H:%M:%S" when the format is empty);
// "Invalid DateTime" for a date that cannot be split into its parts.
QString DateTimeToText(const QDateTime &value, const QString &format = {});

// A value as text, by its kind: empty or NULL give the empty text; numbers, dates (with the
// format above) and texts their text; booleans "True"/"False" when asked for. Any other kind
// (binary, and booleans when not asked for) leaves the text as it was and gives false.
enum class BooleanText { AsWords, Refused };
bool ValueToText(const QVariant &value, const QString &dateFormat, QString &text,
                 BooleanText booleans = BooleanText::AsWords);
