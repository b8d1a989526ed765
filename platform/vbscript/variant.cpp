#include "platform/vbscript/variant.h"

#include "platform/vbscript/arraydata.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/hostobject.h"

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

Variant::Variant(const QString &value) : m_type(VarType::String), m_shared(true)
{
    new (&m_string) QString(value);
}

Variant::Variant(QString &&value) : m_type(VarType::String), m_shared(true)
{
    new (&m_string) QString(std::move(value));
}

Variant Variant::fromObject(std::shared_ptr<HostObject> object)
{
    Variant v;
    v.m_type = VarType::Object;
    v.m_shared = true;
    new (&v.m_object) std::shared_ptr<HostObject>(std::move(object));
    return v;
}

Variant Variant::fromArray(ArrayData *data)
{
    Variant v;
    v.m_type = VarType::Array;
    v.m_shared = true;
    v.m_array = data;
    data->ref.ref();
    return v;
}

Variant Variant::fromBytes(const QByteArray &bytes)
{
    const qsizetype whole = bytes.size() / 2;
    QString text(whole, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < whole; ++i)
        out[i] = QChar(char16_t(quint8(bytes[2 * i]) | quint8(bytes[2 * i + 1]) << 8));
    Variant v(std::move(text));
    if (bytes.size() % 2)
        v.m_oddByte = quint16(0x100 | quint8(bytes.back()));
    return v;
}

QByteArray Variant::stringBytes() const
{
    const qsizetype whole = m_string.size();
    QByteArray bytes(whole * 2 + (hasOddByte() ? 1 : 0), Qt::Uninitialized);
    for (qsizetype i = 0; i < whole; ++i) {
        const char16_t code = m_string[i].unicode();
        bytes[2 * i] = char(code & 0xff);
        bytes[2 * i + 1] = char(code >> 8);
    }
    if (hasOddByte())
        bytes.back() = char(m_oddByte & 0xff);
    return bytes;
}

void Variant::copyShared(const Variant &other)
{
    m_type = other.m_type;
    m_shared = true;
    m_oddByte = other.m_oddByte;
    switch (m_type) {
    case VarType::String:
        new (&m_string) QString(other.m_string);
        break;
    case VarType::Object:
        new (&m_object) std::shared_ptr<HostObject>(other.m_object);
        break;
    default:
        m_array = other.m_array;
        m_array->ref.ref();
        break;
    }
}

void Variant::moveFrom(Variant &other) noexcept
{
    m_type = other.m_type;
    m_shared = other.m_shared;
    m_oddByte = other.m_oddByte;
    if (!m_shared) {
        m_bits = other.m_bits;
        return;
    }
    switch (m_type) {
    case VarType::String:
        new (&m_string) QString(std::move(other.m_string));
        other.m_string.~QString();
        break;
    case VarType::Object:
        new (&m_object) std::shared_ptr<HostObject>(std::move(other.m_object));
        other.m_object.~shared_ptr();
        break;
    default:
        m_array = other.m_array;
        break;
    }
    other.m_type = VarType::Empty;
    other.m_shared = false;
    other.m_oddByte = 0;
    other.m_bits = 0;
}

Variant &Variant::assignSlow(const Variant &other)
{
    if (this == &other)
        return *this;
    Variant copy(other);
    if (m_shared)
        release();
    moveFrom(copy);
    return *this;
}

void Variant::release() noexcept
{
    switch (m_type) {
    case VarType::String:
        m_string.~QString();
        break;
    case VarType::Object:
        m_object.~shared_ptr();
        break;
    default:
        if (!m_array->ref.deref())
            delete m_array;
        break;
    }
    m_type = VarType::Empty;
    m_shared = false;
    m_oddByte = 0;
    m_bits = 0;
}

ArrayData *Variant::mutableArrayData()
{
    if (m_array->ref.loadRelaxed() != 1 && !m_array->isLocked()) {
        auto *copy = new ArrayData(*m_array);
        copy->ref.ref();
        if (!m_array->ref.deref())
            delete m_array;
        m_array = copy;
    }
    return m_array;
}

bool Variant::isNumber() const
{
    switch (m_type) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Byte:
    case VarType::Boolean:
        return true;
    default:
        return false;
    }
}

std::optional<double> Variant::toDouble() const
{
    double out = 0;
    if (Coerce::tryDouble(*this, out) != 0)
        return std::nullopt;
    return out;
}

std::optional<qint32> Variant::toLong() const
{
    qint32 out = 0;
    if (Coerce::tryLong(*this, out) != 0)
        return std::nullopt;
    return out;
}

std::optional<bool> Variant::toBool() const
{
    bool out = false;
    if (Coerce::tryBool(*this, out) != 0)
        return std::nullopt;
    return out;
}

std::optional<QString> Variant::toText() const
{
    QString out;
    if (Coerce::tryString(*this, out) != 0)
        return std::nullopt;
    return out;
}

QString Variant::typeName() const
{
    switch (m_type) {
    case VarType::Empty:
        return u"Empty"_s;
    case VarType::Null:
        return u"Null"_s;
    case VarType::Integer:
        return u"Integer"_s;
    case VarType::Long:
        return u"Long"_s;
    case VarType::Single:
        return u"Single"_s;
    case VarType::Double:
        return u"Double"_s;
    case VarType::Currency:
        return u"Currency"_s;
    case VarType::Date:
        return u"Date"_s;
    case VarType::String:
        return u"String"_s;
    case VarType::Object:
        return m_object ? m_object->typeName() : u"Nothing"_s;
    case VarType::Error:
        return u"Error"_s;
    case VarType::Boolean:
        return u"Boolean"_s;
    case VarType::Byte:
        return u"Byte"_s;
    case VarType::Array:
        return u"Variant()"_s;
    case VarType::Reference:
        return m_ref->typeName();
    default:
        return u"Unknown"_s;
    }
}

} // namespace vantrel::vbscript
