#pragma once

#include "platform/vbscript/expr.h"
#include "platform/vbscript/runtime.h"

#include <span>
#include <vector>

namespace vantrel::vbscript {

class ArrayData;
class Executor;
class HostObject;
class ScriptObject;

// Evaluates bound expressions in the runtime's current frame, left operand first. Script
// procedures are run through the Executor; errors are raised as ScriptError.
class Evaluator
{
public:
    Evaluator(Runtime &runtime, Executor &executor);

    Variant eval(const Expr *e)
    {
        switch (e->kind) {
        case ExprKind::Constant:
            return e->value;
        case ExprKind::Local:
            return slot(e->index).deref();
        case ExprKind::Global:
            return *e->global;
        case ExprKind::Add:
        case ExprKind::Subtract:
        case ExprKind::Multiply:
        case ExprKind::Divide:
        case ExprKind::Concat:
        case ExprKind::Equal:
        case ExprKind::NotEqual:
        case ExprKind::Less:
        case ExprKind::LessEqual:
        case ExprKind::Greater:
        case ExprKind::GreaterEqual:
            // Straight to the operator: evalOther's frame is larger than these need.
            return binary(e);
        default:
            return evalOther(e);
        }
    }

    // The variable an expression names (a local, global or implicit variable), or nullptr for
    // any other expression. ByRef arguments, For counters and ReDim use it.
    Variant *variable(const Expr *e);
    // Let (isSet false: an object gives its default value) or Set (the value must be an object).
    void assign(const Expr *target, Variant value, bool isSet);
    // Let target = value; s = s & x appends to the variable's own text when nothing else shares
    // it, so building a text piece by piece takes linear time.
    void let(const Expr *target, const Expr *value)
    {
        if (value->kind == ExprKind::Concat) {
            letConcat(target, value);
            return;
        }
        Variant result = eval(value);
        // The usual statement, a value that is no object into a plain variable, goes straight in.
        if (!result.isObject()) {
            if (target->kind == ExprKind::Global) {
                *target->global = std::move(result);
                return;
            }
            if (target->kind == ExprKind::Local) {
                slot(target->index).deref() = std::move(result);
                return;
            }
        }
        assign(target, std::move(result), false);
    }
    // Runs a script procedure with arguments already evaluated (from the host).
    Variant callProcedure(int procedure, std::span<const Variant> arguments);

private:
    // Evaluated arguments of one call: on the stack for the usual few.
    class Arguments
    {
    public:
        Variant *data() { return m_data; }
        size_t size() const { return m_size; }
        std::span<const Variant> span() const { return { m_data, m_size }; }
        void resize(size_t size);
        void append(Variant value);

    private:
        Variant m_inline[6];
        std::vector<Variant> m_heap;
        Variant *m_data = m_inline;
        size_t m_size = 0;
    };

    Variant &slot(int index) { return m_runtime.frame()->slots[index]; }
    Variant &global(int index) { return m_runtime.global(index); }
    Variant evalOther(const Expr *e);
    Variant binary(const Expr *e);
    Variant logical(const Expr *e);
    void evaluateArguments(const std::vector<Expr *> &args, Arguments &out);
    // Array elements passed ByRef, locked until the call returns.
    class ElementPins
    {
    public:
        ElementPins() = default;
        ElementPins(const ElementPins &) = delete;
        ElementPins &operator=(const ElementPins &) = delete;
        ~ElementPins();
        void add(ArrayData *data);

    private:
        std::vector<ArrayData *> m_arrays;
    };

    Variant callScript(int procedure, const std::vector<Expr *> &args);
    Variant *pinElement(const Expr *e, ElementPins &pins);
    Variant callBuiltin(const Expr *e);
    Variant callHost(int function, const std::vector<Expr *> &args);
    Variant callMember(const std::shared_ptr<HostObject> &object, int member,
                       const std::vector<Expr *> &args);
    Variant callDynamic(const Expr *e);
    Variant callCode(const Expr *e);
    ScriptObject &self() { return *m_runtime.frame()->self; }
    Variant callSelf(const Expr *e, const Variant *value);
    // A member of a script Class instance: ByRef parameters get the caller's variables.
    Variant callInstance(ScriptObject &object, int member, const std::vector<Expr *> &args);
    Variant dynamicValue(const Expr *e);
    // Under Option Explicit, a name that Execute or ExecuteGlobal declared after the code was
    // compiled; nullptr while it is still undefined.
    Variant *lateVariable(const Expr *e);
    Variant member(const Expr *e);
    Variant index(const Expr *e);
    Variant element(const Variant &container, const std::vector<Expr *> &args);
    void letConcat(const Expr *target, const Expr *value);
    void assignElement(const Expr *target, Variant value);
    void assignMember(const Expr *target, Variant value);

    Runtime &m_runtime;
    Executor &m_executor;
};

} // namespace vantrel::vbscript
