#include "platform/vbscript/scriptobject.h"

#include "platform/vbscript/arraydata.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/executor.h"
#include "platform/vbscript/runtime.h"

#include <QVarLengthArray>

namespace vantrel::vbscript {

std::shared_ptr<ScriptObject> ScriptObject::create(std::shared_ptr<const ScriptClass> scriptClass,
                                                   std::shared_ptr<ObjectHost> host)
{
    auto state = std::make_shared<State>();
    state->fields.resize(size_t(scriptClass->fieldCount));
    for (const ScriptClass::Member &member : scriptClass->members) {
        if (member.field >= 0 && member.isArray)
            state->fields[size_t(member.field)]
                = Variant::fromArray(new ArrayData(member.bounds, !member.bounds.empty()));
    }
    auto object
        = std::make_shared<ScriptObject>(scriptClass, std::move(host), std::move(state), true);
    if (scriptClass->initialize)
        object->run(*scriptClass->initialize, {});
    return object;
}

ScriptObject::ScriptObject(std::shared_ptr<const ScriptClass> scriptClass,
                           std::shared_ptr<ObjectHost> host, std::shared_ptr<State> state,
                           bool terminates)
    : m_class(std::move(scriptClass))
    , m_host(std::move(host))
    , m_state(std::move(state))
    , m_terminates(terminates)
{
}

// Class_Terminate runs later on a stand-in sharing the variables, as this object is going.
ScriptObject::~ScriptObject()
{
    if (!m_terminates || !m_class->terminate || !m_host->executor)
        return;
    try {
        m_host->terminating.push_back(
            std::make_shared<ScriptObject>(m_class, m_host, m_state, false));
    } catch (const std::bad_alloc &) {
        // Without memory for the stand-in the instance goes without its Class_Terminate.
    }
}

void ScriptObject::terminate()
{
    try {
        run(*m_class->terminate, {});
    } catch (const ScriptError &) {
        // An error in Class_Terminate has nobody to go to.
    }
}

int ScriptObject::memberId(const QString &name) const
{
    const auto it = m_class->byName.constFind(Runtime::fold(name));
    if (it == m_class->byName.constEnd() || !m_class->members[size_t(it.value())].isPublic)
        return -1;
    return it.value() + 1;
}

int ScriptObject::memberIndex(int memberId) const
{
    if (!m_host->executor)
        return -1;
    return memberId == DefaultMember ? m_class->defaultMember : memberId - 1;
}

const Procedure *ScriptObject::procedureOf(int member) const
{
    const ScriptClass::Member &m = m_class->members[size_t(member)];
    return m.method ? m.method.get() : m.get.get();
}

Variant ScriptObject::invoke(int memberId, HostCall &call)
{
    const int member = memberId == DefaultMember ? m_class->defaultMember : memberId - 1;
    if (!m_host->executor) {
        call.raise(507);
        return Variant();
    }
    if (member < 0) {
        call.raise(438);
        return Variant();
    }
    return this->call(member, call.arguments(), call.isPropertyPut());
}

Variant ScriptObject::call(int member, std::span<const Variant> arguments, bool put)
{
    const ScriptClass::Member &m = m_class->members[size_t(member)];
    if (m.field >= 0)
        return fieldAccess(m.field, arguments, put);
    if (put) {
        // Set obj.P = object goes to Property Set when there is one.
        const bool object = !arguments.empty() && arguments.back().isObject();
        const std::shared_ptr<Procedure> &p = object && m.set ? m.set : (m.let ? m.let : m.set);
        if (!p)
            raiseError(438, m.name);
        run(*p, arguments);
        return Variant();
    }
    if (m.method)
        return run(*m.method, arguments);
    if (m.get)
        return run(*m.get, arguments);
    raiseError(438, m.name);
}

Variant ScriptObject::fieldAccess(int index, std::span<const Variant> arguments, bool put)
{
    Variant &value = field(index);
    if (put && arguments.size() == 1) {
        value = arguments[0];
        return Variant();
    }
    if (!put && arguments.empty())
        return value;
    if (!value.isArray())
        raiseError(13);
    const size_t count = put ? arguments.size() - 1 : arguments.size();
    QVarLengthArray<qint32, 4> indexes;
    for (size_t i = 0; i < count; ++i)
        indexes.append(Coerce::toLong(arguments[i]));
    const qsizetype offset
        = value.arrayData()->offsetOf({ indexes.data(), size_t(indexes.size()) });
    if (offset < 0)
        raiseError(9);
    if (!put)
        return value.arrayData()->at(offset);
    value.mutableArrayData()->at(offset) = arguments.back();
    return Variant();
}

Variant ScriptObject::run(const Procedure &procedure, std::span<const Variant> arguments)
{
    if (!m_host->executor)
        raiseError(507);
    if (arguments.size() != procedure.parameters.size())
        raiseError(450, procedure.name);
    QVarLengthArray<Variant, 16> slots(procedure.slotCount);
    for (size_t i = 0; i < arguments.size(); ++i)
        slots[qsizetype(i) + 1] = arguments[i];
    return m_host->executor->invoke(procedure, slots.data(), this);
}

} // namespace vantrel::vbscript
