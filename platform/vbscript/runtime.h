#pragma once

#include <limits>

#include "platform/vbscript/errobject.h"
#include "platform/vbscript/hostcall.h"
#include "platform/vbscript/program.h"

#include <QHash>
#include <QString>

#include <deque>
#include <memory>
#include <vector>

namespace vantrel::vbscript {

class DialogHost;
class HostObject;
class ScriptObject;
struct ObjectHost;

// A variable that text run by Execute created in a procedure; folded name.
struct ExecutedVariable
{
    QString key;
    Variant value;
};
// Never moves while the procedure runs, so frames of later Execute texts point into it.
using ExecutedVariables = std::deque<ExecutedVariable>;

// The running procedure (or the global code, with no slots) and its error mode.
struct Frame
{
    Variant *slots = nullptr;
    const Procedure *procedure = nullptr;
    bool resumeNext = false;
    std::vector<Variant> with;    // objects of the With statements being run, outermost first
    ScriptObject *self = nullptr; // Me, in a procedure of a Class
    // The procedure's variables that Execute created: later Execute and Eval texts in it see
    // them. Shared with the frames of those texts; null until Execute first creates one.
    std::shared_ptr<ExecutedVariables> executed;
};

struct GlobalSymbol
{
    enum class Kind { Variable, Constant, Procedure, Function, NamedItem };
    Kind kind = Kind::Variable;
    int index = 0;
};

// The state of one engine: global names and values, procedures, host functions and named
// items, the Err object, the random sequence and the current frame. Names are matched by their
// folded (lower-case) form. Global values never move, so ByRef parameters may point at them.
class Runtime
{
public:
    Runtime();
    Runtime(const Runtime &) = delete;
    Runtime &operator=(const Runtime &) = delete;
    ~Runtime();

    static QString fold(const QString &name) { return name.toLower(); }

    const GlobalSymbol *find(const QString &key) const;
    // The slot of a global variable; a name that meant something else becomes a variable.
    // implicit: only used by global code without a declaration; a declaration clears it.
    int declareVariable(const QString &name, bool implicit = false);
    // Whether procedures see the global: declared, or implicit and holding a value (until the
    // global code gives it one, a procedure's name of the same spelling is its own variable).
    bool globalExists(int slot) const
    {
        return !m_implicit[size_t(slot)] || !m_globals[size_t(slot)].isEmpty();
    }
    bool isImplicit(int slot) const { return m_implicit[size_t(slot)]; }
    void declareConstant(const QString &name, Variant value);
    // Returns the procedure slot; a later definition of the same name takes over the slot.
    int defineProcedure(std::shared_ptr<const Procedure> procedure);
    void registerFunction(const QString &name, HostFunction function);
    void addNamedItem(const QString &name, std::shared_ptr<HostObject> object, bool globalMembers);
    // A member of a named item added with global members: item index and member id.
    bool findItemMember(const QString &name, int &item, int &member) const;

    Variant &global(int slot) { return m_globals[size_t(slot)]; }
    const QString &globalName(int slot) const { return m_globalNames[size_t(slot)]; }
    const Variant &constant(int index) const { return m_constants[size_t(index)]; }
    const Procedure &procedure(int slot) const { return *m_procedures[size_t(slot)]; }
    std::shared_ptr<const Procedure> procedurePointer(int slot) const
    {
        return m_procedures[size_t(slot)];
    }
    void defineClass(std::shared_ptr<const ScriptClass> scriptClass);
    std::shared_ptr<const ScriptClass> findClass(const QString &key) const
    {
        return m_classes.value(key);
    }
    const std::shared_ptr<ObjectHost> &objectHost() const { return m_objectHost; }
    const HostFunction &hostFunction(int index) const { return m_functions[size_t(index)]; }
    const QString &hostFunctionName(int index) const { return m_functionNames[size_t(index)]; }
    const std::shared_ptr<HostObject> &namedItem(int index) const
    {
        return m_items[size_t(index)].object;
    }

    // Keeps a compiled script alive for as long as its procedures may run.
    void keep(std::shared_ptr<Program> program) { m_programs.push_back(std::move(program)); }

    Frame *frame() const { return m_frame; }
    void setFrame(Frame *frame) { m_frame = frame; }
    int &depth() { return m_depth; }
    // Statements and blocks the scripts may still run; counts down, 0 stops them.
    quint64 &stepsLeft() { return m_stepsLeft; }
    ErrObject &err() { return *m_err; }
    Variant errValue() const;
    DialogHost *dialogHost() const { return m_dialogHost; }
    void setDialogHost(DialogHost *host) { m_dialogHost = host; }
    quint32 &randomSeed() { return m_randomSeed; }
    float &lastRandom() { return m_lastRandom; }

private:
    struct NamedItem
    {
        QString name;
        std::shared_ptr<HostObject> object;
        bool globalMembers = false;
    };

    QHash<QString, GlobalSymbol> m_symbols;
    std::deque<Variant> m_globals;
    std::vector<QString> m_globalNames;
    std::vector<bool> m_implicit;
    std::vector<Variant> m_constants;
    std::vector<std::shared_ptr<const Procedure>> m_procedures;
    // Deques: a host function may register more while it runs.
    std::deque<HostFunction> m_functions;
    std::vector<QString> m_functionNames;
    std::deque<NamedItem> m_items;
    std::vector<std::shared_ptr<Program>> m_programs;
    QHash<QString, std::shared_ptr<const ScriptClass>> m_classes;
    std::shared_ptr<ObjectHost> m_objectHost;
    std::shared_ptr<ErrObject> m_err;
    Frame *m_frame = nullptr;
    int m_depth = 0;
    quint64 m_stepsLeft = std::numeric_limits<quint64>::max();
    DialogHost *m_dialogHost = nullptr;
    quint32 m_randomSeed = 0x50000;
    float m_lastRandom = 0;
};

} // namespace vantrel::vbscript
