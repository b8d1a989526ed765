#include "platform/vbscript/coerce.h"

#include "platform/vbscript/datemath.h"
#include "platform/vbscript/dateparser.h"
#include "platform/vbscript/hostobject.h"
#include "platform/vbscript/numbertext.h"
#include "platform/vbscript/scripterror.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

int objectValue(const Variant &object, Variant &out)
{
    try {
        out = Coerce::defaultValue(object);
        return 0;
    } catch (const ScriptError &error) {
        return error.number();
    }
}

void check(int error)
{
    if (error != 0)
        raiseError(error);
}

} // namespace

int Coerce::tryDouble(const Variant &value, double &out)
{
    switch (value.type()) {
    case VarType::Empty:
        out = 0;
        return 0;
    case VarType::Null:
        return 94;
    case VarType::Boolean:
        out = value.boolValue() ? -1 : 0;
        return 0;
    case VarType::Byte:
        out = value.byteValue();
        return 0;
    case VarType::Integer:
        out = value.integerValue();
        return 0;
    case VarType::Long:
        out = value.longValue();
        return 0;
    case VarType::Single:
        out = double(value.singleValue());
        return 0;
    case VarType::Double:
    case VarType::Date:
        out = value.doubleValue();
        return 0;
    case VarType::Currency:
        out = double(value.currencyRaw()) / 10000.0;
        return 0;
    case VarType::String:
        return NumberText::parse(value.stringValue(), out) ? 0 : 13;
    case VarType::Object: {
        Variant inner;
        const int error = objectValue(value, inner);
        return error != 0 ? error : tryDouble(inner, out);
    }
    case VarType::Reference:
        return tryDouble(value.deref(), out);
    default:
        return 13;
    }
}

int Coerce::tryLong(const Variant &value, qint32 &out)
{
    switch (value.type()) {
    case VarType::Boolean:
        out = value.boolValue() ? -1 : 0;
        return 0;
    case VarType::Byte:
        out = value.byteValue();
        return 0;
    case VarType::Integer:
        out = value.integerValue();
        return 0;
    case VarType::Long:
        out = value.longValue();
        return 0;
    default:
        break;
    }
    double number = 0;
    if (const int error = tryDouble(value, number))
        return error;
    number = std::nearbyint(number);
    if (number < -2147483648.0 || number > 2147483647.0)
        return 6;
    out = qint32(number);
    return 0;
}

int Coerce::tryCurrency(const Variant &value, qint64 &out)
{
    if (value.type() == VarType::Currency) {
        out = value.currencyRaw();
        return 0;
    }
    if (value.type() == VarType::String && NumberText::parseCurrency(value.stringValue(), out))
        return 0;
    double number = 0;
    if (const int error = tryDouble(value, number))
        return error;
    return currencyFromDouble(number, out);
}

// Scaling the whole value by 10,000 in a double would lose the last digits of large amounts.
int Coerce::currencyFromDouble(double value, qint64 &out)
{
    if (!std::isfinite(value))
        return 6;
    const double whole = std::trunc(value);
    if (std::fabs(whole) > 922337203685477.0)
        return 6;
    const auto fraction = qint64(std::nearbyint((value - whole) * 10000.0));
    if (__builtin_add_overflow(qint64(whole) * 10000, fraction, &out))
        return 6;
    return 0;
}

int Coerce::tryBool(const Variant &value, bool &out)
{
    switch (value.type()) {
    case VarType::Boolean:
        out = value.boolValue();
        return 0;
    case VarType::String: {
        const QString text = value.stringValue().trimmed();
        if (text.compare(u"true"_s, Qt::CaseInsensitive) == 0) {
            out = true;
            return 0;
        }
        if (text.compare(u"false"_s, Qt::CaseInsensitive) == 0) {
            out = false;
            return 0;
        }
        break;
    }
    case VarType::Currency:
        out = value.currencyRaw() != 0;
        return 0;
    default:
        break;
    }
    double number = 0;
    if (const int error = tryDouble(value, number))
        return error;
    out = number != 0;
    return 0;
}

int Coerce::tryDate(const Variant &value, double &out)
{
    if (value.type() == VarType::String)
        return DateParser::parse(value.stringValue(), out) ? 0 : 13;
    double number = 0;
    if (const int error = tryDouble(value, number))
        return error;
    if (!DateMath::isValid(number))
        return 6;
    out = number;
    return 0;
}

QString Coerce::numberText(const Variant &value)
{
    switch (value.type()) {
    case VarType::Boolean:
        return value.boolValue() ? u"True"_s : u"False"_s;
    case VarType::Byte:
        return QString::number(value.byteValue());
    case VarType::Integer:
        return QString::number(value.integerValue());
    case VarType::Long:
        return QString::number(value.longValue());
    case VarType::Single:
        return NumberText::fromSingle(value.singleValue());
    case VarType::Double:
        return NumberText::fromDouble(value.doubleValue());
    case VarType::Currency:
        return NumberText::fromCurrency(value.currencyRaw());
    case VarType::Date:
        return DateMath::toText(value.dateValue());
    default:
        return QString();
    }
}

int Coerce::tryString(const Variant &value, QString &out)
{
    switch (value.type()) {
    case VarType::Empty:
        out.clear();
        return 0;
    case VarType::Null:
        return 94;
    case VarType::String:
        out = value.stringValue();
        return 0;
    case VarType::Object: {
        Variant inner;
        const int error = objectValue(value, inner);
        return error != 0 ? error : tryString(inner, out);
    }
    case VarType::Reference:
        return tryString(value.deref(), out);
    case VarType::Array:
    case VarType::Error:
        return 13;
    default:
        out = numberText(value);
        return 0;
    }
}

double Coerce::toDouble(const Variant &value)
{
    double out = 0;
    check(tryDouble(value, out));
    return out;
}

qint32 Coerce::toLong(const Variant &value)
{
    qint32 out = 0;
    check(tryLong(value, out));
    return out;
}

qint16 Coerce::toInteger(const Variant &value)
{
    const qint32 number = toLong(value);
    if (number < -32768 || number > 32767)
        raiseError(6);
    return qint16(number);
}

quint8 Coerce::toByte(const Variant &value)
{
    const qint32 number = toLong(value);
    if (number < 0 || number > 255)
        raiseError(6);
    return quint8(number);
}

float Coerce::toSingle(const Variant &value)
{
    const double number = toDouble(value);
    if (std::fabs(number) > 3.4028234663852886e38)
        raiseError(6);
    return float(number);
}

qint64 Coerce::toCurrency(const Variant &value)
{
    qint64 out = 0;
    check(tryCurrency(value, out));
    return out;
}

bool Coerce::toBool(const Variant &value)
{
    bool out = false;
    check(tryBool(value, out));
    return out;
}

double Coerce::toDate(const Variant &value)
{
    double out = 0;
    check(tryDate(value, out));
    return out;
}

QString Coerce::toString(const Variant &value)
{
    QString out;
    check(tryString(value, out));
    return out;
}

Variant Coerce::defaultValue(const Variant &object)
{
    const std::shared_ptr<HostObject> &target = object.objectValue();
    if (!target)
        raiseError(91);
    HostCall call({});
    Variant result = target->invoke(HostObject::DefaultMember, call);
    if (call.failed())
        throw call.error();
    if (result.isObject())
        raiseError(13);
    return result;
}

} // namespace vantrel::vbscript
