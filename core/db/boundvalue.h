#pragma once

#include "platform/common/result.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVector>

namespace vantrel::db {

// What a value bound to a statement is, on either backend. Only these travel to the
// database; anything else is refused with its type named, never turned into text.
enum class BoundKind { Null, Integer, Double, Text, Bytes, Date, Time, DateTime };

struct BoundValue
{
    BoundKind kind = BoundKind::Null;
    qint64 integer = 0; // Integer; booleans are 0/1 (flags are INTEGER columns)
    double number = 0;  // Double
    QString text;       // Text
    QByteArray bytes;   // Bytes
    QDate date;         // Date, DateTime
    QTime time;         // Time, DateTime (local time)

    static Result<BoundValue> from(const QVariant &value);
};

// The statement's '?' placeholders outside quoted texts, quoted names, comments and
// PostgreSQL's dollar-quoted texts, as offsets into the text.
QVector<qsizetype> placeholderPositions(QStringView sql);

// "The statement has N placeholders but M values were given."
QString placeholderCountMessage(qsizetype placeholders, qsizetype values);

} // namespace vantrel::db
