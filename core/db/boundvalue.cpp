#include "core/db/boundvalue.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace vantrel::db {

Result<BoundValue> BoundValue::from(const QVariant &value)
{
    BoundValue b;
    if (!value.isValid() || value.isNull())
        return b;
    switch (value.typeId()) {
    case QMetaType::Bool:
        b.kind = BoundKind::Integer;
        b.integer = value.toBool() ? 1 : 0;
        return b;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        b.kind = BoundKind::Integer;
        b.integer = value.toLongLong();
        return b;
    case QMetaType::ULongLong:
        if (value.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return Result<BoundValue>::failure(
                u"The number %1 is too large to store."_s.arg(value.toULongLong()));
        b.kind = BoundKind::Integer;
        b.integer = value.toLongLong();
        return b;
    case QMetaType::Double:
    case QMetaType::Float:
        b.kind = BoundKind::Double;
        b.number = value.toDouble();
        return b;
    case QMetaType::QString:
        b.kind = BoundKind::Text;
        b.text = value.toString();
        return b;
    case QMetaType::QByteArray:
        b.kind = BoundKind::Bytes;
        b.bytes = value.toByteArray();
        return b;
    case QMetaType::QDate:
        if (value.toDate().isValid()) {
            b.kind = BoundKind::Date;
            b.date = value.toDate();
            b.time = QTime(0, 0);
        }
        return b;
    case QMetaType::QTime:
        if (value.toTime().isValid()) {
            b.kind = BoundKind::Time;
            b.time = value.toTime();
        }
        return b;
    case QMetaType::QDateTime: {
        // Most dates are local already; converting one costs a time-zone look-up.
        const QDateTime given = value.toDateTime();
        const QDateTime local = given.timeSpec() == Qt::LocalTime ? given : given.toLocalTime();
        if (local.isValid()) {
            b.kind = BoundKind::DateTime;
            b.date = local.date();
            b.time = local.time();
        }
        return b;
    }
    default:
        return Result<BoundValue>::failure(
            u"A value of type %1 cannot be passed to the database."_s.arg(
                QString::fromLatin1(value.typeName())));
    }
}

namespace {

// Where the quoted text, name or comment that starts at i ends (the index after it).
qsizetype skipQuoted(QStringView sql, qsizetype i)
{
    const qsizetype n = sql.size();
    const QChar c = sql.at(i);
    if (c == u'\'' || c == u'"') {
        // E'…' texts may escape a quote with a backslash.
        const bool escapes = c == u'\'' && i > 0 && (sql.at(i - 1) == u'E' || sql.at(i - 1) == u'e')
            && (i < 2 || !(sql.at(i - 2).isLetterOrNumber() || sql.at(i - 2) == u'_'));
        for (++i; i < n; ++i) {
            if (escapes && sql.at(i) == u'\\') {
                ++i;
            } else if (sql.at(i) == c) {
                if (i + 1 < n && sql.at(i + 1) == c)
                    ++i; // a doubled quote stays inside
                else
                    return i + 1;
            }
        }
        return n;
    }
    if (c == u'-') {
        const qsizetype end = sql.indexOf(u'\n', i);
        return end < 0 ? n : end + 1;
    }
    if (c == u'/') {
        const qsizetype end = sql.indexOf(u"*/", i + 2);
        return end < 0 ? n : end + 2;
    }
    // $tag$ … $tag$
    qsizetype j = i + 1;
    while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'_'))
        ++j;
    const QStringView tag = sql.mid(i, j - i + 1);
    const qsizetype end = sql.indexOf(tag, j + 1);
    return end < 0 ? n : end + tag.size();
}

bool startsQuoted(QStringView sql, qsizetype i)
{
    const QChar c = sql.at(i);
    const qsizetype n = sql.size();
    if (c == u'\'' || c == u'"')
        return true;
    if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-')
        return true;
    if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*')
        return true;
    if (c != u'$' || (i > 0 && (sql.at(i - 1).isLetterOrNumber() || sql.at(i - 1) == u'_')))
        return false;
    // A dollar quote's tag is empty or a name; $1 is a parameter, not a quote.
    qsizetype j = i + 1;
    if (j < n && sql.at(j).isDigit())
        return false;
    while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'_'))
        ++j;
    return j < n && sql.at(j) == u'$';
}

} // namespace

QVector<qsizetype> placeholderPositions(QStringView sql)
{
    QVector<qsizetype> positions;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        if (startsQuoted(sql, i)) {
            i = skipQuoted(sql, i);
            continue;
        }
        if (sql.at(i) == u'?')
            positions.push_back(i);
        ++i;
    }
    return positions;
}

QString placeholderCountMessage(qsizetype placeholders, qsizetype values)
{
    return u"The statement has %1 placeholders but %2 values were given."_s.arg(placeholders)
        .arg(values);
}

} // namespace vantrel::db
