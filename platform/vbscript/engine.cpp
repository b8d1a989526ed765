#include "platform/vbscript/engine.h"

#include "platform/vbscript/binder.h"
#include "platform/vbscript/executor.h"
#include "platform/vbscript/parser.h"
#include "platform/vbscript/runtime.h"

namespace vantrel::vbscript {

namespace {

// Runs work and turns whatever it throws into a script error.
template<typename Work> std::optional<ScriptError> guarded(Work work)
{
    try {
        work();
        return std::nullopt;
    } catch (const ScriptError &error) {
        return error;
    } catch (const std::bad_alloc &) {
        return ScriptError::runtime(7);
    } catch (const std::exception &) {
        return ScriptError::runtime(507);
    }
}

} // namespace

Engine::Engine()
    : m_runtime(std::make_unique<Runtime>()), m_executor(std::make_unique<Executor>(*m_runtime))
{
}

Engine::~Engine() = default;

void Engine::setDialogHost(DialogHost *host)
{
    m_runtime->setDialogHost(host);
}

void Engine::setStepLimit(quint64 steps)
{
    m_runtime->stepsLeft() = steps ? steps : std::numeric_limits<quint64>::max();
}

void Engine::registerFunction(const QString &name, HostFunction function)
{
    m_runtime->registerFunction(name, std::move(function));
}

void Engine::addNamedItem(const QString &name, std::shared_ptr<HostObject> object,
                          bool globalMembers)
{
    m_runtime->addNamedItem(name, std::move(object), globalMembers);
}

QString Engine::fail(const ScriptError &error)
{
    m_lastError = error;
    return error.message();
}

Status Engine::loadScript(const QString &source)
{
    std::shared_ptr<Program> program;
    const auto error = guarded([&] {
        program = Parser::parseScript(source);
        Binder(*m_runtime, *program).bindScript();
        m_runtime->keep(program);
        m_executor->runScript(*program);
    });
    if (error)
        return Status::failure(fail(*error));
    return Status();
}

Result<Variant> Engine::evaluate(const QString &expression)
{
    Variant value;
    const auto error = guarded([&] {
        std::unique_ptr<Program> program = Parser::parseExpression(expression);
        Binder(*m_runtime, *program).bindExpression({});
        value = m_executor->evaluate(*program, nullptr);
    });
    if (error)
        return Result<Variant>::failure(fail(*error));
    return value;
}

Result<CompiledExpression> Engine::compile(const QString &expression, const QStringList &parameters)
{
    std::shared_ptr<Program> program;
    const auto error = guarded([&] {
        program = Parser::parseExpression(expression);
        Binder(*m_runtime, *program).bindExpression(parameters);
    });
    if (error)
        return Result<CompiledExpression>::failure(fail(*error));
    const int slots = program->frameSlots;
    return CompiledExpression(m_executor.get(), std::move(program), parameters, slots);
}

Result<Variant> Engine::call(const QString &procedure, const QList<Variant> &arguments)
{
    Variant value;
    const auto error = guarded([&] {
        const GlobalSymbol *symbol = m_runtime->find(Runtime::fold(procedure));
        if (!symbol || symbol->kind != GlobalSymbol::Kind::Procedure)
            raiseError(35, procedure);
        value = m_executor->evaluator().callProcedure(
            symbol->index, std::span<const Variant>(arguments.data(), size_t(arguments.size())));
    });
    if (error)
        return Result<Variant>::failure(fail(*error));
    return value;
}

bool Engine::hasProcedure(const QString &name) const
{
    const GlobalSymbol *symbol = m_runtime->find(Runtime::fold(name));
    return symbol && symbol->kind == GlobalSymbol::Kind::Procedure;
}

Variant Engine::globalValue(const QString &name) const
{
    const GlobalSymbol *symbol = m_runtime->find(Runtime::fold(name));
    if (!symbol)
        return Variant();
    if (symbol->kind == GlobalSymbol::Kind::Variable)
        return m_runtime->global(symbol->index);
    if (symbol->kind == GlobalSymbol::Kind::Constant)
        return m_runtime->constant(symbol->index);
    return Variant();
}

void Engine::setGlobalValue(const QString &name, const Variant &value)
{
    m_runtime->global(m_runtime->declareVariable(name)) = value;
}

} // namespace vantrel::vbscript
