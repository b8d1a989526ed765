#pragma once

#include <QByteArray>
#include <QString>

#include <bit>
#include <memory>
#include <optional>

namespace vantrel::vbscript {

class ArrayData;
class HostObject;

// The subtype codes that VarType() reports to scripts.
enum class VarType : quint16 {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Byte = 17,
    Array = 8204,       // vbArray + vbVariant: every script array holds Variants
    Reference = 0x7fff, // internal: a ByRef parameter slot pointing at the caller's variable
};

// Inline values are written through m_bits, low bytes first.
static_assert(std::endian::native == std::endian::little);

// One script value. Numbers, dates and booleans live inline without heap allocation;
// strings share their QString data; arrays are copy-on-write, so assigning an array copies it
// as the language requires; objects are shared references (Nothing is an Object with no target).
// Currency is a 64-bit integer scaled by 10,000; a Date is the day count since 1899-12-30 with
// the time as the fraction.
class Variant
{
public:
    Variant() noexcept : m_bits(0) { }
    Variant(const Variant &other) : m_bits(0)
    {
        if (other.m_shared)
            copyShared(other);
        else
            copyRaw(other);
    }
    Variant(Variant &&other) noexcept : m_bits(0)
    {
        if (other.m_shared)
            moveFrom(other);
        else
            copyRaw(other);
    }
    ~Variant()
    {
        if (m_shared)
            release();
    }
    Variant &operator=(const Variant &other)
    {
        if (!m_shared && !other.m_shared) {
            copyRaw(other);
            return *this;
        }
        return assignSlow(other);
    }
    Variant &operator=(Variant &&other) noexcept
    {
        if (!m_shared && !other.m_shared) {
            copyRaw(other);
            return *this;
        }
        if (this != &other) {
            if (m_shared)
                release();
            moveFrom(other);
        }
        return *this;
    }

    // The inline values are written as one 64-bit store: a copy that reads the payload back
    // right away then takes it from that store instead of stalling on a narrower one.
    explicit Variant(bool value) : m_type(VarType::Boolean), m_bits(value ? 1 : 0) { }
    Variant(qint32 value) : m_type(VarType::Long), m_bits(qint64(quint32(value))) { }
    Variant(double value) : m_type(VarType::Double), m_double(value) { }
    Variant(const QString &value);
    Variant(QString &&value);

    static Variant null()
    {
        Variant v;
        v.m_type = VarType::Null;
        return v;
    }
    static Variant fromInteger(qint16 value)
    {
        Variant v;
        v.m_type = VarType::Integer;
        v.m_bits = quint16(value);
        return v;
    }
    static Variant fromLong(qint32 value) { return Variant(value); }
    static Variant fromByte(quint8 value)
    {
        Variant v;
        v.m_type = VarType::Byte;
        v.m_bits = value;
        return v;
    }
    static Variant fromSingle(float value)
    {
        Variant v;
        v.m_type = VarType::Single;
        v.m_bits = std::bit_cast<quint32>(value);
        return v;
    }
    static Variant fromDouble(double value) { return Variant(value); }
    // value is the amount times 10,000.
    static Variant fromCurrencyRaw(qint64 scaled)
    {
        Variant v;
        v.m_type = VarType::Currency;
        v.m_currency = scaled;
        return v;
    }
    static Variant fromDate(double serial)
    {
        Variant v;
        v.m_type = VarType::Date;
        v.m_double = serial;
        return v;
    }
    static Variant fromBool(bool value) { return Variant(value); }
    static Variant fromString(QString value) { return Variant(std::move(value)); }
    // A String from its bytes, two to a character, low byte first. Our texts hold whole
    // characters, so an odd last byte (what ChrB and the other byte functions can make) is kept
    // beside the text: the byte functions and & see it, everything else sees the whole
    // characters only, as the language's own functions see such a text.
    static Variant fromBytes(const QByteArray &bytes);
    static Variant fromObject(std::shared_ptr<HostObject> object);
    static Variant nothing() { return fromObject(nullptr); }
    // Takes one reference on data (which the caller has just created or already holds one on).
    static Variant fromArray(ArrayData *data);
    static Variant reference(Variant *target)
    {
        Variant v;
        v.m_type = VarType::Reference;
        v.m_ref = target;
        return v;
    }

    VarType type() const { return m_type; }
    bool isEmpty() const { return m_type == VarType::Empty; }
    bool isNull() const { return m_type == VarType::Null; }
    bool isString() const { return m_type == VarType::String; }
    bool isObject() const { return m_type == VarType::Object; }
    bool isArray() const { return m_type == VarType::Array; }
    bool isReference() const { return m_type == VarType::Reference; }
    // Integer, Long, Single, Double, Currency, Byte, Boolean (the types arithmetic takes as they
    // are).
    bool isNumber() const;

    bool boolValue() const { return m_bool; }
    quint8 byteValue() const { return m_byte; }
    qint16 integerValue() const { return m_integer; }
    qint32 longValue() const { return m_long; }
    float singleValue() const { return m_single; }
    double doubleValue() const { return m_double; }
    double dateValue() const { return m_double; }
    qint64 currencyRaw() const { return m_currency; }
    const QString &stringValue() const { return m_string; }
    // A String's bytes, the odd last one included.
    QByteArray stringBytes() const;
    bool hasOddByte() const { return m_oddByte != 0; }
    // The text to change in place; nullptr when the value is no String.
    QString *mutableString() { return m_type == VarType::String ? &m_string : nullptr; }
    const std::shared_ptr<HostObject> &objectValue() const { return m_object; }
    const ArrayData *arrayData() const { return m_array; }
    // Detaches a shared array first, so the caller may change the elements.
    ArrayData *mutableArrayData();
    Variant *referenceTarget() const { return m_ref; }
    // The variable a slot stands for: its target when it is a ByRef slot, else itself.
    Variant &deref() { return m_type == VarType::Reference ? *m_ref : *this; }
    const Variant &deref() const { return m_type == VarType::Reference ? *m_ref : *this; }

    // Conversions for host code, following the script's coercion rules; nullopt when the script
    // would raise an error (Type mismatch, Overflow, Invalid use of Null).
    std::optional<double> toDouble() const;
    std::optional<qint32> toLong() const;
    std::optional<bool> toBool() const;
    std::optional<QString> toText() const;

    // The name TypeName() reports.
    QString typeName() const;

private:
    void copyRaw(const Variant &other)
    {
        m_type = other.m_type;
        m_bits = other.m_bits;
    }
    void copyShared(const Variant &other);
    void moveFrom(Variant &other) noexcept;
    Variant &assignSlow(const Variant &other);
    void release() noexcept;

    VarType m_type = VarType::Empty;
    bool m_shared = false; // String, Object or Array: the payload needs copying and releasing
    quint16 m_oddByte = 0; // String: 0x100 | the byte after the whole characters, or 0
    union
    {
        qint64 m_bits;
        bool m_bool;
        quint8 m_byte;
        qint16 m_integer;
        qint32 m_long;
        float m_single;
        double m_double;
        qint64 m_currency;
        Variant *m_ref;
        ArrayData *m_array;
        QString m_string;
        std::shared_ptr<HostObject> m_object;
    };
};

} // namespace vantrel::vbscript
