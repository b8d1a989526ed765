#include "core/db/columnstore.h"

#include <QStringDecoder>

#include <bit>
#include <cstring>
#include <limits>

namespace vantrel::db {

namespace {

constexpr qint64 msecsPerDay = 86400000;

quint64 dateTimeCell(const QDate &date, const QTime &time)
{
    return quint64(date.toJulianDay() * msecsPerDay + time.msecsSinceStartOfDay());
}

QDateTime dateTimeFromCell(quint64 cell)
{
    const qint64 value = qint64(cell);
    qint64 day = value / msecsPerDay;
    qint64 ms = value % msecsPerDay;
    if (ms < 0) {
        ms += msecsPerDay;
        --day;
    }
    return QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QVariant integerVariant(qint64 value, FieldKind kind)
{
    if (kind == FieldKind::Boolean)
        return QVariant(value != 0);
    if (kind != FieldKind::BigInt && value >= std::numeric_limits<int>::min()
        && value <= std::numeric_limits<int>::max())
        return QVariant(int(value));
    return QVariant(value);
}

bool isIntegerType(int type)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    case QMetaType::ULongLong:
        return true; // checked for range by the caller
    default:
        return false;
    }
}

} // namespace

void ColumnStore::reserve(int rows)
{
    m_null.reserve(size_t(rows));
    if (!holdsVariants())
        m_cells.reserve(size_t(rows));
}

quint64 ColumnStore::storeText(const char16_t *text, qsizetype length)
{
    const quint64 offset = m_text.size();
    const auto n = quint32(length);
    m_text.push_back(char16_t(n & 0xFFFF));
    m_text.push_back(char16_t(n >> 16));
    m_text.insert(m_text.end(), text, text + length);
    return offset;
}

quint64 ColumnStore::storeBytes(const char *bytes, qsizetype length)
{
    const quint64 offset = m_bytes.size();
    const auto n = quint64(length);
    const char *prefix = reinterpret_cast<const char *>(&n);
    m_bytes.insert(m_bytes.end(), prefix, prefix + sizeof n);
    m_bytes.insert(m_bytes.end(), bytes, bytes + length);
    return offset;
}

QString ColumnStore::text(int row) const
{
    if (isNull(row))
        return {};
    if (holdsVariants() || m_kind != FieldKind::Text)
        return value(row).toString();
    const char16_t *p = m_text.data() + m_cells[size_t(row)];
    const quint32 n = quint32(p[0]) | (quint32(p[1]) << 16);
    return QString(reinterpret_cast<const QChar *>(p + 2), qsizetype(n));
}

QVariant ColumnStore::typedValue(int row) const
{
    const quint64 cell = m_cells[size_t(row)];
    switch (m_kind) {
    case FieldKind::Integer:
    case FieldKind::BigInt:
    case FieldKind::Boolean:
        return integerVariant(qint64(cell), m_kind);
    case FieldKind::Double:
        return QVariant(std::bit_cast<double>(cell));
    case FieldKind::DateTime:
        return QVariant(dateTimeFromCell(cell));
    case FieldKind::Text:
        return QVariant(text(row));
    case FieldKind::Binary: {
        quint64 n = 0;
        std::memcpy(&n, m_bytes.data() + cell, sizeof n);
        return QVariant(QByteArray(m_bytes.data() + cell + sizeof n, qsizetype(n)));
    }
    case FieldKind::Unknown:
        break;
    }
    return {};
}

QVariant ColumnStore::value(int row) const
{
    if (row < 0 || row >= size() || isNull(row))
        return {};
    if (holdsVariants())
        return m_variants[size_t(row)];
    return typedValue(row);
}

void ColumnStore::promote()
{
    if (m_promoted)
        return;
    std::vector<QVariant> values;
    values.reserve(m_null.capacity());
    for (int row = 0; row < size(); ++row)
        values.push_back(isNull(row) ? QVariant() : typedValue(row));
    m_variants = std::move(values);
    m_promoted = true;
    m_cells = {};
    m_text = {};
    m_bytes = {};
}

void ColumnStore::appendNull()
{
    m_null.push_back(true);
    if (holdsVariants())
        m_variants.emplace_back();
    else
        m_cells.push_back(0);
}

void ColumnStore::appendInteger(qint64 value)
{
    if (m_kind == FieldKind::Unknown)
        m_kind = FieldKind::Integer;
    if (!holdsVariants()) {
        switch (m_kind) {
        case FieldKind::Integer:
        case FieldKind::BigInt:
        case FieldKind::Boolean:
            m_null.push_back(false);
            m_cells.push_back(quint64(value));
            return;
        case FieldKind::Double:
            m_null.push_back(false);
            m_cells.push_back(std::bit_cast<quint64>(double(value)));
            return;
        default:
            promote();
        }
    }
    m_null.push_back(false);
    m_variants.push_back(integerVariant(value, m_kind));
}

void ColumnStore::appendDouble(double value)
{
    if (m_kind == FieldKind::Unknown)
        m_kind = FieldKind::Double;
    if (!holdsVariants() && m_kind == FieldKind::Double) {
        m_null.push_back(false);
        m_cells.push_back(std::bit_cast<quint64>(value));
        return;
    }
    promote();
    m_null.push_back(false);
    m_variants.emplace_back(value);
}

void ColumnStore::appendText(const char16_t *text, qsizetype length)
{
    if (m_kind == FieldKind::Unknown)
        m_kind = FieldKind::Text;
    if (!holdsVariants()) {
        if (m_kind == FieldKind::Text) {
            m_null.push_back(false);
            m_cells.push_back(storeText(text, length));
            return;
        }
        if (m_kind == FieldKind::DateTime) {
            QDate date;
            QTime time;
            if (SqlDialect::parseDateTime(QStringView(text, length), &date, &time)) {
                appendDateTime(date, time);
                return;
            }
        } else if (m_kind == FieldKind::Double) {
            bool ok = false;
            const double d = QStringView(text, length).toDouble(&ok);
            if (ok) {
                appendDouble(d);
                return;
            }
        }
        promote();
    }
    m_null.push_back(false);
    m_variants.emplace_back(QString::fromUtf16(text, length));
}

void ColumnStore::appendUtf8(const char *text, qsizetype length)
{
    if (m_kind == FieldKind::Unknown)
        m_kind = FieldKind::Text;
    if (!holdsVariants() && m_kind == FieldKind::Text && length < (qsizetype(1) << 31)) {
        // At most one UTF-16 unit per byte; the arena is trimmed to what the decoder wrote.
        const size_t offset = m_text.size();
        m_text.resize(offset + 2 + size_t(length));
        auto *start = reinterpret_cast<QChar *>(m_text.data() + offset + 2);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QChar *end = decoder.appendToBuffer(start, QByteArrayView(text, length));
        const auto n = quint32(end - start);
        m_text.resize(offset + 2 + n);
        m_text[offset] = char16_t(n & 0xFFFF);
        m_text[offset + 1] = char16_t(n >> 16);
        m_null.push_back(false);
        m_cells.push_back(offset);
        return;
    }
    if (!holdsVariants() && m_kind == FieldKind::DateTime && length < 40) {
        // Dates are plain ASCII: no decoding, no allocation.
        char16_t wide[40];
        for (qsizetype i = 0; i < length; ++i)
            wide[i] = char16_t(uchar(text[i]));
        appendText(wide, length);
        return;
    }
    appendText(QString::fromUtf8(text, length));
}

void ColumnStore::appendBytes(const char *bytes, qsizetype length)
{
    if (m_kind == FieldKind::Unknown)
        m_kind = FieldKind::Binary;
    if (!holdsVariants() && m_kind == FieldKind::Binary) {
        m_null.push_back(false);
        m_cells.push_back(storeBytes(bytes, length));
        return;
    }
    promote();
    m_null.push_back(false);
    m_variants.emplace_back(QByteArray(bytes, length));
}

void ColumnStore::appendDateTime(const QDate &date, const QTime &time)
{
    if (m_kind == FieldKind::Unknown)
        m_kind = FieldKind::DateTime;
    if (!holdsVariants() && m_kind == FieldKind::DateTime && date.isValid()) {
        m_null.push_back(false);
        m_cells.push_back(dateTimeCell(date, time.isValid() ? time : QTime(0, 0)));
        return;
    }
    promote();
    m_null.push_back(false);
    m_variants.emplace_back(QDateTime(date, time));
}

bool ColumnStore::appendTyped(const QVariant &value)
{
    const int type = value.typeId();
    if (m_kind == FieldKind::Unknown) {
        FieldKind kind = SqlDialect::kindFromMetaType(type);
        if (kind == FieldKind::Unknown || type == QMetaType::QTime)
            return false;
        m_kind = kind == FieldKind::BigInt ? FieldKind::Integer : kind;
    }
    if (isIntegerType(type) || type == QMetaType::Bool) {
        if (type == QMetaType::ULongLong
            && value.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return false;
        if (m_kind == FieldKind::Text || m_kind == FieldKind::DateTime
            || m_kind == FieldKind::Binary)
            return false;
        appendInteger(value.toLongLong());
        return true;
    }
    switch (type) {
    case QMetaType::Double:
    case QMetaType::Float:
        if (m_kind != FieldKind::Double)
            return false;
        appendDouble(value.toDouble());
        return true;
    case QMetaType::QString: {
        const QString s = value.toString();
        if (m_kind != FieldKind::Text && m_kind != FieldKind::DateTime
            && m_kind != FieldKind::Double)
            return false;
        appendText(s);
        return true;
    }
    case QMetaType::QByteArray:
        if (m_kind != FieldKind::Binary)
            return false;
        appendBytes(value.toByteArray().constData(), value.toByteArray().size());
        return true;
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        if (m_kind != FieldKind::DateTime)
            return false;
        const QDateTime dt = type == QMetaType::QDate ? value.toDate().startOfDay()
                                                      : value.toDateTime().toLocalTime();
        if (!dt.isValid())
            return false;
        appendDateTime(dt.date(), dt.time());
        return true;
    }
    default:
        return false;
    }
}

void ColumnStore::appendVariant(const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        appendNull();
        return;
    }
    if (!holdsVariants()) {
        const int before = size();
        if (appendTyped(value))
            return;
        Q_ASSERT(size() == before);
        promote();
    }
    m_null.push_back(false);
    m_variants.push_back(value.typeId() == QMetaType::QDate ? QVariant(value.toDate().startOfDay())
                                                            : value);
}

void ColumnStore::set(int row, const QVariant &value)
{
    if (row < 0 || row >= size())
        return;
    // Append the new value at the end, then move it into place: one conversion path.
    appendVariant(value);
    const size_t from = m_null.size() - 1;
    const size_t to = size_t(row);
    m_null[to] = m_null[from];
    m_null.pop_back();
    if (holdsVariants()) {
        m_variants[to] = std::move(m_variants[from]);
        m_variants.pop_back();
    } else {
        m_cells[to] = m_cells[from];
        m_cells.pop_back();
    }
}

void ColumnStore::remove(int row)
{
    if (row < 0 || row >= size())
        return;
    m_null.erase(m_null.begin() + row);
    if (holdsVariants())
        m_variants.erase(m_variants.begin() + row);
    else
        m_cells.erase(m_cells.begin() + row);
}

qsizetype ColumnStore::byteSize() const
{
    qsizetype total = qsizetype(m_null.capacity() / 8 + m_cells.capacity() * sizeof(quint64)
                                + m_text.capacity() * sizeof(char16_t) + m_bytes.capacity());
    total += qsizetype(m_variants.capacity() * sizeof(QVariant));
    return total;
}

} // namespace vantrel::db
