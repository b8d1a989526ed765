#pragma once

#include "platform/common/result.h"
#include "platform/vbscript/compiledexpression.h"
#include "platform/vbscript/hostcall.h"
#include "platform/vbscript/scripterror.h"
#include "platform/vbscript/variant.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace vantrel::vbscript {

class DialogHost;
class Executor;
class HostObject;
class Runtime;

// One VBScript engine: scripts loaded into it keep their global variables and procedures for
// the engine's life; expressions are evaluated against them. An engine belongs to the thread
// that uses it; engines share nothing that changes, so each thread runs its own.
//
// Nothing is shown from here: every failure comes back to the caller as a failed Result whose
// text is ScriptError::message(), and lastError() holds the error's number, description, source
// and position (line and column from 1) for the host to report as it decides.
class Engine
{
public:
    Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;
    ~Engine();

    // MsgBox and InputBox go to host (not owned; may be null, then both raise Permission denied).
    void setDialogHost(DialogHost *host);
    // For hosts that run untrusted text (the fuzzers): after this many loop turns and
    // procedure runs, counted over the engine's life, scripts stop with an error that On Error
    // Resume Next cannot catch. 0: no limit (the default).
    void setStepLimit(quint64 steps);
    // A global function of the scripts, called with or without parentheses; names are matched
    // without regard to case. Registering a name again replaces the function.
    void registerFunction(const QString &name, HostFunction function);
    // A host object reachable by its name (myApp.Sum(...)); with globalMembers its members are
    // also reachable by their bare names (Sum(...)), as for an item added with global members.
    void addNamedItem(const QString &name, std::shared_ptr<HostObject> object,
                      bool globalMembers = false);

    // Script mode: compiles the whole text, then runs its global statements. Its Subs and
    // Functions stay callable. A compilation error runs nothing; a run-time error stops the rest
    // of the global statements but keeps the procedures.
    Status loadScript(const QString &source);
    // Expression mode: = compares. An unknown name evaluates to Empty.
    Result<Variant> evaluate(const QString &expression);
    // Compiles an expression once for many evaluate() calls with new parameter values.
    Result<CompiledExpression> compile(const QString &expression,
                                       const QStringList &parameters = {});
    // Runs a script Sub or Function by name with arguments (passed by value).
    Result<Variant> call(const QString &procedure, const QList<Variant> &arguments = {});
    bool hasProcedure(const QString &name) const;

    // Script-level variables, created on first set.
    Variant globalValue(const QString &name) const;
    void setGlobalValue(const QString &name, const Variant &value);

    const ScriptError &lastError() const { return m_lastError; }

private:
    QString fail(const ScriptError &error);

    std::unique_ptr<Runtime> m_runtime;
    std::unique_ptr<Executor> m_executor;
    ScriptError m_lastError;
};

} // namespace vantrel::vbscript
