#pragma once

#include "platform/vbscript/evaluator.h"
#include "platform/vbscript/program.h"

namespace vantrel::vbscript {

class Runtime;
class ScriptObject;
struct ObjectHost;

// Runs statements: global code, procedure bodies and expressions, each in its frame, with
// On Error Resume Next handled per procedure as the language does.
class Executor
{
public:
    explicit Executor(Runtime &runtime);
    Executor(const Executor &) = delete;
    Executor &operator=(const Executor &) = delete;
    ~Executor();

    void runScript(const Program &program);
    // Expression mode; slots holds the expression's parameters.
    Variant evaluate(const Program &program, Variant *slots, ScriptObject *self = nullptr);
    // slots: the frame, parameters already in place from slot 1; self: Me in a Class.
    Variant invoke(const Procedure &procedure, Variant *slots, ScriptObject *self = nullptr);
    Evaluator &evaluator() { return m_evaluator; }
    // Eval: the value of text as an expression in the running procedure's scope.
    Variant evaluateText(const QString &text);
    // Execute (global false: in the running procedure's scope) and ExecuteGlobal.
    void executeText(const QString &text, bool global);

private:
    enum class Flow { Normal, ExitDo, ExitFor, ExitProcedure };

    void runTerminations();
    // Code that Execute compiled in a procedure: a frame of its own over the caller's variables.
    void runLocalCode(const Procedure &body, Variant *slots, ScriptObject *self,
                      std::shared_ptr<ExecutedVariables> executed);
    Flow runBlock(const Block &block);
    void countStep();
    Flow run(const Stmt *stmt);
    Flow dispatch(const Stmt *stmt);
    Flow runIf(const Stmt *stmt);
    bool conditionHolds(const Expr *condition);
    Flow runSelect(const Stmt *stmt);
    Flow runWith(const Stmt *stmt);
    Flow runFor(const Stmt *stmt);
    Flow runForEach(const Stmt *stmt);
    Flow runDo(const Stmt *stmt);
    Flow runWhile(const Stmt *stmt);
    void runReDim(const Stmt *stmt);
    void runErase(const Stmt *stmt);
    Variant &requireVariable(const Expr *target);

    Runtime &m_runtime;
    Evaluator m_evaluator;
    ObjectHost &m_objects;
};

} // namespace vantrel::vbscript
