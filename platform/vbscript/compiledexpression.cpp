#include "platform/vbscript/compiledexpression.h"

#include "platform/vbscript/executor.h"

namespace vantrel::vbscript {

CompiledExpression::CompiledExpression(Executor *executor, std::shared_ptr<Program> program,
                                       QStringList parameters, int slots)
    : m_executor(executor)
    , m_program(std::move(program))
    , m_parameters(std::move(parameters))
    , m_slots(size_t(slots))
{
}

int CompiledExpression::parameterIndex(const QString &name) const
{
    for (qsizetype i = 0; i < m_parameters.size(); ++i) {
        if (m_parameters[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

Result<Variant> CompiledExpression::evaluate(std::span<const Variant> values)
{
    if (!m_program) {
        m_lastError = ScriptError::runtime(51);
        return Result<Variant>::failure(m_lastError.message());
    }
    const size_t given = std::min(values.size(), m_slots.size());
    for (size_t i = 0; i < given; ++i)
        m_slots[i] = values[i];
    for (size_t i = given; i < m_slots.size(); ++i)
        m_slots[i] = Variant();
    try {
        return m_executor->evaluate(*m_program, m_slots.data());
    } catch (const ScriptError &error) {
        m_lastError = error;
    } catch (const std::bad_alloc &) {
        m_lastError = ScriptError::runtime(7);
    } catch (const std::exception &) {
        m_lastError = ScriptError::runtime(507);
    }
    return Result<Variant>::failure(m_lastError.message());
}

} // namespace vantrel::vbscript
