#include "core/script/scriptvalue.h"

#include <QDateTime>

#include <cmath>

using vantrel::vbscript::Variant;
using vantrel::vbscript::VarType;

namespace ScriptValue {

namespace {

const QDate serialEpoch(1899, 12, 30);

// Dates are days since 1899-12-30; the fraction is the time of day, also for days before it.
QDateTime dateFromSerial(double serial)
{
    const double whole = std::trunc(serial);
    const double fraction = std::abs(serial - whole);
    const qint64 ms = qRound64(fraction * 86'400'000.0);
    return QDateTime(serialEpoch.addDays(qint64(whole)), QTime(0, 0)).addMSecs(ms);
}

double serialFromDate(const QDateTime &value)
{
    const qint64 days = serialEpoch.daysTo(value.date());
    const double fraction = value.time().msecsSinceStartOfDay() / 86'400'000.0;
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

} // namespace

QVariant toQVariant(const Variant &input)
{
    const Variant &value = input.deref();
    switch (value.type()) {
    case VarType::Empty:
        return {};
    case VarType::Null:
        return QVariant(QMetaType::fromType<QString>());
    case VarType::Boolean:
        return value.boolValue();
    case VarType::Byte:
        return int(value.byteValue());
    case VarType::Integer:
        return int(value.integerValue());
    case VarType::Long:
        return int(value.longValue());
    case VarType::Single:
        return double(value.singleValue());
    case VarType::Double:
        return value.doubleValue();
    case VarType::Currency:
        return double(value.currencyRaw()) / 10000.0;
    case VarType::Date:
        return dateFromSerial(value.dateValue());
    case VarType::String:
        return value.stringValue();
    default:
        break;
    }
    const auto text = value.toText();
    return text ? QVariant(*text) : QVariant();
}

Variant fromQVariant(const QVariant &value)
{
    if (!value.isValid())
        return Variant();
    if (value.isNull())
        return Variant::null();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Variant::fromBool(value.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UChar:
        return Variant::fromLong(value.toInt());
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const qint64 v = value.toLongLong();
        if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
            return Variant::fromLong(qint32(v));
        return Variant::fromDouble(double(v));
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return Variant::fromDouble(value.toDouble());
    case QMetaType::QDateTime:
        return Variant::fromDate(serialFromDate(value.toDateTime()));
    case QMetaType::QDate:
        return Variant::fromDate(serialFromDate(value.toDate().startOfDay()));
    default:
        return Variant::fromString(value.toString());
    }
}

} // namespace ScriptValue
