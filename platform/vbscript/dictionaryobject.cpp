#include "platform/vbscript/dictionaryobject.h"

#include "platform/vbscript/arraydata.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/objectmembers.h"

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

enum Member {
    Item = HostObject::DefaultMember,
    Add,
    Exists,
    Remove,
    RemoveAll,
    Keys,
    Items,
    Count,
    CompareMode,
    Key
};

constexpr const char16_t *kMembers[] = { u"Item", u"Add",   u"Exists", u"Remove",      u"RemoveAll",
                                         u"Keys", u"Items", u"Count",  u"CompareMode", u"Key" };

[[noreturn]] void duplicateKey()
{
    members::raise(457, u"This key is already associated with an element of this collection"_s);
}

[[noreturn]] void notFound()
{
    members::raise(32811, u"Element not found"_s);
}

} // namespace

int DictionaryObject::memberId(const QString &name) const
{
    return members::find(name, kMembers);
}

QString DictionaryObject::lookupKey(const Variant &key) const
{
    switch (key.type()) {
    case VarType::Empty:
        return u"e"_s;
    case VarType::Null:
        return u"z"_s;
    case VarType::String:
        return u's' + (m_compareMode == 0 ? key.stringValue() : key.stringValue().toCaseFolded());
    case VarType::Boolean:
        return key.boolValue() ? u"b1"_s : u"b0"_s;
    case VarType::Date:
        return u'd' + QString::number(key.dateValue(), 'g', 17);
    case VarType::Object:
        return u'o' + QString::number(quintptr(key.objectValue().get()), 16);
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
        // 1, 1& and 1# are one key.
        return u'n' + QString::number(Coerce::toDouble(key), 'g', 17);
    default:
        raiseError(13);
    }
}

qsizetype DictionaryObject::indexOf(const Variant &key) const
{
    return m_index.value(lookupKey(key), -1);
}

void DictionaryObject::append(const Variant &key, Variant item)
{
    m_index.insert(lookupKey(key), qsizetype(m_keys.size()));
    m_keys.push_back(key);
    m_items.push_back(std::move(item));
}

void DictionaryObject::removeAt(qsizetype index)
{
    m_index.remove(lookupKey(m_keys[size_t(index)]));
    m_keys.erase(m_keys.begin() + index);
    m_items.erase(m_items.begin() + index);
    for (auto it = m_index.begin(); it != m_index.end(); ++it) {
        if (it.value() > index)
            --it.value();
    }
}

// Reading a missing key adds it with Empty, as scripts that count with d(k) = d(k) + 1 expect.
Variant DictionaryObject::item(HostCall &call)
{
    members::expect(call, call.isPropertyPut() ? 2 : 1, call.isPropertyPut() ? 2 : 1);
    const Variant &key = call.argument(0);
    qsizetype index = indexOf(key);
    if (call.isPropertyPut()) {
        if (index < 0)
            append(key, call.argument(1));
        else
            m_items[size_t(index)] = call.argument(1);
        return Variant();
    }
    if (index < 0) {
        append(key, Variant());
        index = qsizetype(m_keys.size()) - 1;
    }
    return m_items[size_t(index)];
}

Variant DictionaryObject::add(HostCall &call)
{
    members::readOnly(call);
    members::expect(call, 2, 2);
    if (indexOf(call.argument(0)) >= 0)
        duplicateKey();
    append(call.argument(0), call.argument(1));
    return Variant();
}

Variant DictionaryObject::remove(HostCall &call)
{
    members::readOnly(call);
    members::expect(call, 1, 1);
    const qsizetype index = indexOf(call.argument(0));
    if (index < 0)
        notFound();
    removeAt(index);
    return Variant();
}

// The compare mode changes only while the dictionary is empty.
Variant DictionaryObject::compareMode(HostCall &call)
{
    if (!call.isPropertyPut()) {
        members::expect(call, 0, 0);
        return Variant(m_compareMode);
    }
    members::expect(call, 1, 1);
    const qint32 mode = Coerce::toLong(call.argument(0));
    if (mode < 0 || !m_keys.empty())
        raiseError(5);
    m_compareMode = mode;
    return Variant();
}

// d.Key(old) = new
Variant DictionaryObject::renameKey(HostCall &call)
{
    if (!call.isPropertyPut())
        raiseError(438);
    members::expect(call, 2, 2);
    const qsizetype index = indexOf(call.argument(0));
    if (index < 0)
        notFound();
    const Variant &newKey = call.argument(1);
    const qsizetype clash = indexOf(newKey);
    if (clash >= 0 && clash != index)
        duplicateKey();
    m_index.remove(lookupKey(m_keys[size_t(index)]));
    m_keys[size_t(index)] = newKey;
    m_index.insert(lookupKey(newKey), index);
    return Variant();
}

Variant DictionaryObject::invoke(int memberId, HostCall &call)
{
    switch (memberId) {
    case Item:
        return item(call);
    case Add:
        return add(call);
    case Exists:
        members::readOnly(call);
        members::expect(call, 1, 1);
        return Variant(indexOf(call.argument(0)) >= 0);
    case Remove:
        return remove(call);
    case RemoveAll:
        members::readOnly(call);
        members::expect(call, 0, 0);
        m_keys.clear();
        m_items.clear();
        m_index.clear();
        return Variant();
    case Keys:
    case Items:
        members::readOnly(call);
        members::expect(call, 0, 0);
        return Variant::fromArray(ArrayData::fromValues(memberId == Keys ? m_keys : m_items));
    case Count:
        members::readOnly(call);
        members::expect(call, 0, 0);
        return Variant(qint32(m_keys.size()));
    case CompareMode:
        return compareMode(call);
    case Key:
        return renameKey(call);
    default:
        raiseError(438);
    }
}

} // namespace vantrel::vbscript
