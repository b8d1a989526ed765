#include "platform/vbscript/runtime.h"

#include "platform/vbscript/hostobject.h"
#include "platform/vbscript/scriptobject.h"

namespace vantrel::vbscript {

Runtime::Runtime()
    : m_objectHost(std::make_shared<ObjectHost>()), m_err(std::make_shared<ErrObject>())
{
}

Runtime::~Runtime() = default;

const GlobalSymbol *Runtime::find(const QString &key) const
{
    const auto it = m_symbols.constFind(key);
    return it == m_symbols.constEnd() ? nullptr : &it.value();
}

int Runtime::declareVariable(const QString &name, bool implicit)
{
    const QString key = fold(name);
    const GlobalSymbol *existing = find(key);
    if (existing && existing->kind == GlobalSymbol::Kind::Variable) {
        if (!implicit)
            m_implicit[size_t(existing->index)] = false;
        return existing->index;
    }
    const int slot = int(m_globals.size());
    m_globals.emplace_back();
    m_globalNames.push_back(name);
    m_implicit.push_back(implicit);
    m_symbols.insert(key, GlobalSymbol { GlobalSymbol::Kind::Variable, slot });
    return slot;
}

void Runtime::defineClass(std::shared_ptr<const ScriptClass> scriptClass)
{
    m_classes.insert(fold(scriptClass->name), std::move(scriptClass));
}

void Runtime::declareConstant(const QString &name, Variant value)
{
    const int index = int(m_constants.size());
    m_constants.push_back(std::move(value));
    m_symbols.insert(fold(name), GlobalSymbol { GlobalSymbol::Kind::Constant, index });
}

int Runtime::defineProcedure(std::shared_ptr<const Procedure> procedure)
{
    const QString key = fold(procedure->name);
    const GlobalSymbol *existing = find(key);
    if (existing && existing->kind == GlobalSymbol::Kind::Procedure) {
        m_procedures[size_t(existing->index)] = std::move(procedure);
        return existing->index;
    }
    const int slot = int(m_procedures.size());
    m_procedures.push_back(std::move(procedure));
    m_symbols.insert(key, GlobalSymbol { GlobalSymbol::Kind::Procedure, slot });
    return slot;
}

void Runtime::registerFunction(const QString &name, HostFunction function)
{
    const QString key = fold(name);
    const GlobalSymbol *existing = find(key);
    if (existing && existing->kind == GlobalSymbol::Kind::Function) {
        m_functions[size_t(existing->index)] = std::move(function);
        return;
    }
    const int index = int(m_functions.size());
    m_functions.push_back(std::move(function));
    m_functionNames.push_back(name);
    m_symbols.insert(key, GlobalSymbol { GlobalSymbol::Kind::Function, index });
}

void Runtime::addNamedItem(const QString &name, std::shared_ptr<HostObject> object,
                           bool globalMembers)
{
    const int index = int(m_items.size());
    m_items.push_back(NamedItem { name, std::move(object), globalMembers });
    m_symbols.insert(fold(name), GlobalSymbol { GlobalSymbol::Kind::NamedItem, index });
}

bool Runtime::findItemMember(const QString &name, int &item, int &member) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (!m_items[i].globalMembers || !m_items[i].object)
            continue;
        const int id = m_items[i].object->memberId(name);
        if (id >= 0) {
            item = int(i);
            member = id;
            return true;
        }
    }
    return false;
}

Variant Runtime::errValue() const
{
    return Variant::fromObject(m_err);
}

} // namespace vantrel::vbscript
