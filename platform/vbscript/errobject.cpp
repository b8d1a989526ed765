#include "platform/vbscript/errobject.h"

#include "platform/vbscript/coerce.h"

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

enum Member { Number, Description, Source, HelpFile, HelpContext, Clear, Raise };

} // namespace

int ErrObject::memberId(const QString &name) const
{
    static const char16_t *const names[]
        = { u"number", u"description", u"source", u"helpfile", u"helpcontext", u"clear", u"raise" };
    for (int id = Number; id <= Raise; ++id) {
        if (name.compare(QStringView(names[id]), Qt::CaseInsensitive) == 0)
            return id;
    }
    return -1;
}

Variant ErrObject::invoke(int memberId, HostCall &call)
{
    if (call.isPropertyPut())
        return put(memberId, call.argument(call.count() - 1));
    switch (memberId) {
    case Number:
        return Variant(qint32(m_number));
    case Description:
        return Variant(m_description);
    case Source:
        return Variant(m_source);
    case HelpFile:
        return Variant(m_helpFile);
    case HelpContext:
        return Variant(qint32(m_helpContext));
    case Clear:
        clear();
        return Variant();
    case Raise:
        return raise(call);
    default:
        raiseError(438);
    }
}

Variant ErrObject::put(int memberId, const Variant &value)
{
    switch (memberId) {
    case Number:
        m_number = Coerce::toLong(value);
        break;
    case Description:
        m_description = Coerce::toString(value);
        break;
    case Source:
        m_source = Coerce::toString(value);
        break;
    case HelpFile:
        m_helpFile = Coerce::toString(value);
        break;
    case HelpContext:
        m_helpContext = Coerce::toLong(value);
        break;
    default:
        raiseError(438);
    }
    return Variant();
}

// Err.Raise number[, source[, description[, helpfile[, helpcontext]]]]
Variant ErrObject::raise(HostCall &call)
{
    if (call.count() < 1 || call.count() > 5)
        raiseError(450);
    const qint32 number = Coerce::toLong(call.argument(0));
    if (number == 0)
        raiseError(5);
    auto text = [&call](int index, const QString &fallback) {
        return call.count() > index && !call.argument(index).isEmpty()
            ? Coerce::toString(call.argument(index))
            : fallback;
    };
    ScriptError error(number, text(2, ScriptError::standardDescription(number)),
                      text(1, ScriptError::runtimeSource()));
    m_helpFile = text(3, QString());
    m_helpContext = call.count() > 4 ? Coerce::toLong(call.argument(4)) : 0;
    throw error;
}

void ErrObject::set(const ScriptError &error)
{
    m_number = error.number();
    m_description = error.errDescription();
    m_source = error.source();
}

void ErrObject::clear()
{
    m_number = 0;
    m_description.clear();
    m_source.clear();
    m_helpFile.clear();
    m_helpContext = 0;
}

} // namespace vantrel::vbscript
