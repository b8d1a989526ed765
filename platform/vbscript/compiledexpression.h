#pragma once

#include "platform/common/result.h"
#include "platform/vbscript/scripterror.h"
#include "platform/vbscript/variant.h"

#include <QStringList>

#include <memory>
#include <span>
#include <vector>

namespace vantrel::vbscript {

class Executor;
class Program;

// An expression compiled once by Engine::compile and evaluated many times with new values for
// its parameters, e.g. one wage formula per person. Every other name in it was resolved when
// it was compiled. Belongs to its engine's thread and must not outlive the engine.
class CompiledExpression
{
public:
    CompiledExpression() = default;

    // The parameter names, in the order evaluate() takes their values.
    const QStringList &parameters() const { return m_parameters; }
    // The position of a parameter (matched without regard to case), or -1.
    int parameterIndex(const QString &name) const;

    // values[i] is the value of parameters()[i]; missing values are Empty. On failure the
    // error text is ScriptError::message(); lastError() has the number and position.
    Result<Variant> evaluate(std::span<const Variant> values);
    Result<Variant> evaluate(std::initializer_list<Variant> values)
    {
        return evaluate(std::span<const Variant>(values.begin(), values.size()));
    }
    const ScriptError &lastError() const { return m_lastError; }

private:
    friend class Engine;
    CompiledExpression(Executor *executor, std::shared_ptr<Program> program, QStringList parameters,
                       int slots);

    Executor *m_executor = nullptr;
    std::shared_ptr<Program> m_program;
    QStringList m_parameters;
    std::vector<Variant> m_slots;
    ScriptError m_lastError;
};

} // namespace vantrel::vbscript
