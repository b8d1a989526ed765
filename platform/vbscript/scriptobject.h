#pragma once

#include "platform/vbscript/hostobject.h"
#include "platform/vbscript/scriptclass.h"

#include <deque>
#include <memory>
#include <span>

namespace vantrel::vbscript {

class Executor;
class ScriptObject;

// How objects of script classes reach the interpreter. The engine clears it when it goes, so an
// object that outlives the engine runs no more script code.
struct ObjectHost
{
    Executor *executor = nullptr;
    // Stand-ins of instances whose Class_Terminate is due. They run between statements: never
    // while the variable that held the instance is still being replaced.
    std::deque<std::shared_ptr<ScriptObject>> terminating;
};

// An instance of a script Class (New C). Class_Terminate runs after the statement that let go
// of the last reference.
class ScriptObject : public HostObject, public std::enable_shared_from_this<ScriptObject>
{
public:
    // Makes an instance and runs its Class_Initialize.
    static std::shared_ptr<ScriptObject> create(std::shared_ptr<const ScriptClass> scriptClass,
                                                std::shared_ptr<ObjectHost> host);

    struct State
    {
        std::vector<Variant> fields;
    };
    ScriptObject(std::shared_ptr<const ScriptClass> scriptClass, std::shared_ptr<ObjectHost> host,
                 std::shared_ptr<State> state, bool terminates);
    ~ScriptObject() override;

    int memberId(const QString &name) const override;
    Variant invoke(int memberId, HostCall &call) override;
    QString typeName() const override { return m_class->name; }
    const ScriptClass &scriptClass() const { return *m_class; }
    // Runs Class_Terminate; its errors go nowhere.
    void terminate();

    Variant &field(int index) { return m_state->fields[size_t(index)]; }
    // The member a memberId() stands for (the default member for DefaultMember), or -1 when
    // there is none or the engine has gone.
    int memberIndex(int memberId) const;
    // The Sub, Function or Property Get a call of the member runs; nullptr for a variable.
    const Procedure *procedureOf(int member) const;
    // A member by its index in the class, private ones included: a call or property read, or a
    // property write (put) whose value is the last argument.
    Variant call(int member, std::span<const Variant> arguments, bool put);

private:
    Variant run(const Procedure &procedure, std::span<const Variant> arguments);
    Variant fieldAccess(int field, std::span<const Variant> arguments, bool put);

    std::shared_ptr<const ScriptClass> m_class;
    std::shared_ptr<ObjectHost> m_host;
    std::shared_ptr<State> m_state;
    bool m_terminates;
};

} // namespace vantrel::vbscript
