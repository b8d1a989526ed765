#pragma once

#include "platform/vbscript/expr.h"

#include <QVarLengthArray>

#include <span>
#include <vector>

namespace vantrel::vbscript {

class Executor;
class HostObject;
class Runtime;

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
            return global(e->index);
        default:
            return evalOther(e);
        }
    }

    // The variable an expression names (a local, global or implicit variable), or nullptr for
    // any other expression. ByRef arguments, For counters and ReDim use it.
    Variant *variable(const Expr *e);
    // Let (isSet false: an object gives its default value) or Set (the value must be an object).
    void assign(const Expr *target, Variant value, bool isSet);
    // Runs a script procedure with arguments already evaluated (from the host).
    Variant callProcedure(int procedure, std::span<const Variant> arguments);

private:
    using Arguments = QVarLengthArray<Variant, 8>;

    Variant &slot(int index);
    Variant &global(int index);
    Variant evalOther(const Expr *e);
    Variant binary(const Expr *e);
    Variant logical(const Expr *e);
    void evaluateArguments(const std::vector<Expr *> &args, Arguments &out);
    Variant callScript(int procedure, const std::vector<Expr *> &args);
    Variant callBuiltin(const Expr *e);
    Variant callHost(int function, const std::vector<Expr *> &args);
    Variant callMember(const std::shared_ptr<HostObject> &object, int member,
                       const std::vector<Expr *> &args);
    Variant callDynamic(const Expr *e);
    Variant dynamicValue(const Expr *e);
    Variant member(const Expr *e);
    Variant index(const Expr *e);
    Variant element(const Variant &container, const std::vector<Expr *> &args);
    void assignElement(const Expr *target, Variant value);
    void assignMember(const Expr *target, Variant value);

    Runtime &m_runtime;
    Executor &m_executor;
};

} // namespace vantrel::vbscript
