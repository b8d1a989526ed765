#include "platform/vbscript/executor.h"

#include "platform/vbscript/arraydata.h"
#include "platform/vbscript/binder.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/hostobject.h"
#include "platform/vbscript/operators.h"
#include "platform/vbscript/parser.h"
#include "platform/vbscript/runtime.h"
#include "platform/vbscript/scriptobject.h"

namespace vantrel::vbscript {

namespace {

// Deep enough for real recursion, shallow enough for the stack of a worker thread.
constexpr int kMaxCallDepth = 600;

// Makes frame current for the guard's life and counts the call depth.
class FrameScope
{
public:
    FrameScope(Runtime &runtime, Frame *frame) : m_runtime(runtime), m_previous(runtime.frame())
    {
        if (++m_runtime.depth() > kMaxCallDepth) {
            --m_runtime.depth();
            raiseError(28);
        }
        m_runtime.setFrame(frame);
    }
    ~FrameScope()
    {
        m_runtime.setFrame(m_previous);
        --m_runtime.depth();
    }
    FrameScope(const FrameScope &) = delete;
    FrameScope &operator=(const FrameScope &) = delete;

private:
    Runtime &m_runtime;
    Frame *m_previous;
};

Variant newArray(const std::vector<qint32> &bounds)
{
    return Variant::fromArray(new ArrayData(bounds, !bounds.empty()));
}

// Loop bounds: numbers stay as they are, anything else is read as a Double.
Variant loopNumber(const Variant &value)
{
    if (value.isNumber() || value.type() == VarType::Date)
        return value;
    if (value.isEmpty())
        return Variant::fromInteger(0);
    return Variant(Coerce::toDouble(value));
}

bool isWhole(const Variant &v)
{
    return v.type() == VarType::Integer || v.type() == VarType::Long;
}

qint32 wholeValue(const Variant &v)
{
    return v.type() == VarType::Long ? v.longValue() : v.integerValue();
}

bool pastEnd(const Variant &counter, const Variant &end, bool upwards)
{
    int order = 0;
    if (isWhole(counter) && isWhole(end)) {
        const qint32 a = wholeValue(counter);
        const qint32 b = wholeValue(end);
        order = a < b ? -1 : (a > b ? 1 : 0);
    } else {
        order = Operators::order(counter, end, false, false);
    }
    return upwards ? order > 0 : order < 0;
}

} // namespace

Executor::Executor(Runtime &runtime)
    : m_runtime(runtime), m_evaluator(runtime, *this), m_objects(*runtime.objectHost())
{
    m_objects.executor = this;
}

Executor::~Executor()
{
    m_objects.executor = nullptr;
    m_objects.terminating.clear();
}

// Cold: kept out of the statement loop, which it would otherwise slow down.
[[gnu::cold]] void Executor::runTerminations()
{
    while (!m_objects.terminating.empty()) {
        const std::shared_ptr<ScriptObject> standIn = std::move(m_objects.terminating.front());
        m_objects.terminating.pop_front();
        standIn->terminate();
    }
}

void Executor::runScript(const Program &program)
{
    Frame frame;
    FrameScope scope(m_runtime, &frame);
    for (const auto &array : program.globalArrays)
        m_runtime.global(array.slot) = newArray(array.bounds);
    runBlock(program.code);
}

Variant Executor::evaluate(const Program &program, Variant *slots, ScriptObject *self)
{
    Frame frame;
    frame.slots = slots;
    frame.self = self;
    FrameScope scope(m_runtime, &frame);
    try {
        return m_evaluator.eval(program.expression);
    } catch (ScriptError &error) {
        if (!error.hasPosition())
            error.setPosition(program.expression->line, program.expression->column);
        throw;
    }
}

Variant Executor::invoke(const Procedure &procedure, Variant *slots, ScriptObject *self)
{
    Frame frame;
    frame.slots = slots;
    frame.procedure = &procedure;
    frame.self = self;
    FrameScope scope(m_runtime, &frame);
    for (const auto &array : procedure.arrays)
        slots[array.slot] = newArray(array.bounds);
    runBlock(procedure.body);
    return std::move(slots[0]);
}

namespace {

// The running procedure's variables: their folded names and where their values are.
struct Visible
{
    QStringList names;
    std::vector<Variant *> values;
};

Visible visibleVariables(const Frame *frame)
{
    Visible visible;
    if (!frame || !frame->procedure || !frame->slots)
        return visible;
    const auto &names = frame->procedure->slotNames;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].isEmpty())
            continue;
        visible.names.append(names[i]);
        visible.values.push_back(&frame->slots[i].deref());
    }
    if (frame->executed) {
        for (ExecutedVariable &variable : *frame->executed) {
            if (visible.names.contains(variable.key))
                continue;
            visible.names.append(variable.key);
            visible.values.push_back(&variable.value);
        }
    }
    return visible;
}

// Errors of code run by Eval or Execute are reported at the statement that ran it.
template<typename Work> auto atCaller(Work work)
{
    try {
        return work();
    } catch (ScriptError &error) {
        error.setPosition(0, 0);
        throw;
    }
}

} // namespace

Variant Executor::evaluateText(const QString &text)
{
    return atCaller([&] {
        const Frame *caller = m_runtime.frame();
        const Visible visible = visibleVariables(caller);
        ScriptObject *self = caller ? caller->self : nullptr;
        const std::unique_ptr<Program> program = Parser::parseExpression(text);
        Binder(m_runtime, *program)
            .bindExpression(visible.names, self ? &self->scriptClass() : nullptr);
        std::vector<Variant> slots(size_t(program->frameSlots));
        for (size_t i = 0; i < visible.values.size(); ++i)
            slots[i] = Variant::reference(visible.values[i]);
        return evaluate(*program, slots.data(), self);
    });
}

void Executor::executeText(const QString &text, bool global)
{
    atCaller([&] {
        Frame *caller = m_runtime.frame();
        std::shared_ptr<Program> program = Parser::parseScript(text);
        // Procedures it defines keep pointing into the program.
        if (!program->procedures.empty() || !program->classes.empty())
            m_runtime.keep(program);
        if (global || !caller || !caller->procedure) {
            Binder(m_runtime, *program).bindScript();
            runScript(*program);
            return;
        }
        const Visible visible = visibleVariables(caller);
        Procedure body;
        body.name = caller->procedure->name;
        ScriptObject *self = caller->self;
        Binder(m_runtime, *program)
            .bindLocalCode(visible.names, body, self ? &self->scriptClass() : nullptr);
        std::vector<Variant> slots(size_t(body.slotCount));
        for (size_t i = 0; i < visible.values.size(); ++i)
            slots[i + 1] = Variant::reference(visible.values[i]);
        // What the text declares or assigns first stays in the procedure for the next texts.
        if (!caller->executed)
            caller->executed = std::make_shared<ExecutedVariables>();
        for (size_t i = visible.values.size() + 1; i < body.slotNames.size(); ++i) {
            if (body.slotNames[i].isEmpty())
                continue;
            ExecutedVariable &variable
                = caller->executed->emplace_back(ExecutedVariable { body.slotNames[i], {} });
            slots[i] = Variant::reference(&variable.value);
        }
        for (const auto &array : body.arrays)
            slots[size_t(array.slot)].deref() = newArray(array.bounds);
        body.arrays.clear();
        runLocalCode(body, slots.data(), self, caller->executed);
    });
}

void Executor::runLocalCode(const Procedure &body, Variant *slots, ScriptObject *self,
                            std::shared_ptr<ExecutedVariables> executed)
{
    Frame frame;
    frame.slots = slots;
    frame.procedure = &body;
    frame.self = self;
    frame.executed = std::move(executed);
    FrameScope scope(m_runtime, &frame);
    runBlock(body.body);
}

namespace {

[[noreturn, gnu::cold]] void stopRunaway(quint64 &left)
{
    left = 0;
    throw ScriptError(qint32(0x80004004),
                      QStringLiteral("The script was stopped: it ran longer than allowed."),
                      ScriptError::runtimeSource());
}

} // namespace

inline void Executor::countStep()
{
    quint64 &left = m_runtime.stepsLeft();
    if (left <= 1) [[unlikely]]
        stopRunaway(left);
    --left;
}

Executor::Flow Executor::runBlock(const Block &block)
{
    // One step per block run: every loop turn and every call runs a block, and code without
    // them ends by itself.
    countStep();
    for (const Stmt *stmt : block) {
        const Flow flow = run(stmt);
        if (!m_objects.terminating.empty()) [[unlikely]]
            runTerminations();
        if (flow != Flow::Normal)
            return flow;
    }
    return Flow::Normal;
}

Executor::Flow Executor::run(const Stmt *stmt)
{
    try {
        return dispatch(stmt);
    } catch (ScriptError &error) {
        if (!error.hasPosition())
            error.setPosition(stmt->line, stmt->column);
        if (!m_runtime.frame()->resumeNext || m_runtime.stepsLeft() == 0)
            throw;
        m_runtime.err().set(error);
        return Flow::Normal;
    }
}

Executor::Flow Executor::dispatch(const Stmt *stmt)
{
    switch (stmt->kind) {
    case StmtKind::Assign:
        m_evaluator.let(stmt->target, stmt->value);
        return Flow::Normal;
    case StmtKind::Set:
        m_evaluator.assign(stmt->target, m_evaluator.eval(stmt->value), true);
        return Flow::Normal;
    case StmtKind::Call:
        m_evaluator.eval(stmt->target);
        return Flow::Normal;
    case StmtKind::If:
        return runIf(stmt);
    case StmtKind::Select:
        return runSelect(stmt);
    case StmtKind::With:
        return runWith(stmt);
    case StmtKind::ForNext:
        return runFor(stmt);
    case StmtKind::ForEach:
        return runForEach(stmt);
    case StmtKind::DoLoop:
        return runDo(stmt);
    case StmtKind::While:
        return runWhile(stmt);
    case StmtKind::Exit:
        switch (ExitKind(stmt->flags)) {
        case ExitKind::Do:
            return Flow::ExitDo;
        case ExitKind::For:
            return Flow::ExitFor;
        default:
            return Flow::ExitProcedure;
        }
    case StmtKind::OnErrorResumeNext:
        m_runtime.frame()->resumeNext = true;
        m_runtime.err().clear();
        return Flow::Normal;
    case StmtKind::OnErrorGoToZero:
        m_runtime.frame()->resumeNext = false;
        m_runtime.err().clear();
        return Flow::Normal;
    case StmtKind::ReDim:
        runReDim(stmt);
        return Flow::Normal;
    case StmtKind::Erase:
        runErase(stmt);
        return Flow::Normal;
    default:
        return Flow::Normal;
    }
}

// Under On Error Resume Next a failing condition counts as met: the language goes on with the
// next statement, which is the first one of the If block.
bool Executor::conditionHolds(const Expr *condition)
{
    try {
        return Operators::isTrue(m_evaluator.eval(condition));
    } catch (ScriptError &error) {
        if (!m_runtime.frame()->resumeNext)
            throw;
        m_runtime.err().set(error);
        return true;
    }
}

Executor::Flow Executor::runIf(const Stmt *stmt)
{
    for (size_t i = 0; i < stmt->exprs.size(); ++i) {
        if (conditionHolds(stmt->exprs[i]))
            return runBlock(stmt->blocks[i]);
    }
    if (stmt->blocks.size() > stmt->exprs.size())
        return runBlock(stmt->blocks.back());
    return Flow::Normal;
}

Executor::Flow Executor::runSelect(const Stmt *stmt)
{
    const Variant subject = m_evaluator.eval(stmt->value);
    for (const CaseClause &clause : stmt->cases) {
        bool matched = clause.tests.empty();
        for (const Expr *test : clause.tests) {
            const Variant value = m_evaluator.eval(test);
            if (Operators::order(subject, value, stmt->value->literal, test->literal) == 0) {
                matched = true;
                break;
            }
        }
        if (matched)
            return runBlock(clause.body);
    }
    return Flow::Normal;
}

// The object is evaluated once; .name inside the block refers to it by its nesting level.
Executor::Flow Executor::runWith(const Stmt *stmt)
{
    Variant object = m_evaluator.eval(stmt->value);
    if (!object.isObject())
        raiseError(424);
    std::vector<Variant> &with = m_runtime.frame()->with;
    with.push_back(std::move(object));
    struct Pop
    {
        std::vector<Variant> &with;
        ~Pop() { with.pop_back(); }
    } pop { with };
    return runBlock(stmt->blocks[0]);
}

Variant &Executor::requireVariable(const Expr *target)
{
    Variant *variable = m_evaluator.variable(target);
    if (!variable) {
        // Not a variable: let assignment raise the error the language gives for the target.
        m_evaluator.assign(target, Variant(), false);
        variable = m_evaluator.variable(target);
        if (!variable)
            raiseError(501, target->name);
    }
    return *variable;
}

Executor::Flow Executor::runFor(const Stmt *stmt)
{
    Variant &counter = requireVariable(stmt->target);
    const Variant start = loopNumber(m_evaluator.eval(stmt->value));
    const Variant end = loopNumber(m_evaluator.eval(stmt->limit));
    const Variant step
        = stmt->step ? loopNumber(m_evaluator.eval(stmt->step)) : Variant::fromInteger(1);
    const bool upwards = Operators::order(step, Variant::fromInteger(0), false, false) >= 0;
    counter = start;
    while (!pastEnd(counter, end, upwards)) {
        const Flow flow = runBlock(stmt->blocks[0]);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
        counter = Operators::add(counter, step);
    }
    return Flow::Normal;
}

Executor::Flow Executor::runForEach(const Stmt *stmt)
{
    const Variant collection = m_evaluator.eval(stmt->value);
    std::vector<Variant> items;
    if (collection.isArray()) {
        items = collection.arrayData()->items();
    } else if (collection.isObject() && collection.objectValue()) {
        auto elements = collection.objectValue()->elements();
        if (!elements)
            raiseError(451);
        items = std::move(*elements);
    } else {
        raiseError(451);
    }
    for (Variant &item : items) {
        const bool isObject = item.isObject();
        m_evaluator.assign(stmt->target, std::move(item), isObject);
        const Flow flow = runBlock(stmt->blocks[0]);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
    }
    return Flow::Normal;
}

Executor::Flow Executor::runDo(const Stmt *stmt)
{
    const bool until = stmt->flags & LoopUntil;
    const bool testAfter = stmt->flags & LoopTestAfter;
    auto holds = [&] {
        if (!stmt->value)
            return true;
        return Operators::isTrue(m_evaluator.eval(stmt->value)) != until;
    };
    for (;;) {
        if (!testAfter && !holds())
            break;
        const Flow flow = runBlock(stmt->blocks[0]);
        if (flow == Flow::ExitDo)
            break;
        if (flow != Flow::Normal)
            return flow;
        if (testAfter && !holds())
            break;
    }
    return Flow::Normal;
}

Executor::Flow Executor::runWhile(const Stmt *stmt)
{
    while (Operators::isTrue(m_evaluator.eval(stmt->value))) {
        const Flow flow = runBlock(stmt->blocks[0]);
        if (flow != Flow::Normal)
            return flow;
    }
    return Flow::Normal;
}

void Executor::runReDim(const Stmt *stmt)
{
    Variant &variable = requireVariable(stmt->target);
    std::vector<qint32> bounds;
    for (const Expr *e : stmt->exprs) {
        const qint32 bound = Coerce::toLong(m_evaluator.eval(e));
        if (bound < -1)
            raiseError(9);
        bounds.push_back(bound);
    }
    // A size beyond what an array may hold is the script's own error, on its line.
    try {
        if (!variable.isArray()) {
            variable = Variant::fromArray(new ArrayData(std::move(bounds)));
            return;
        }
        ArrayData *data = variable.mutableArrayData();
        if (data->isFixedSize() || data->isLocked())
            raiseError(10);
        if (!data->resize(std::move(bounds), stmt->flags != 0))
            raiseError(9);
    } catch (const std::bad_alloc &) {
        raiseError(7);
    }
}

void Executor::runErase(const Stmt *stmt)
{
    Variant &variable = requireVariable(stmt->target);
    if (!variable.isArray())
        raiseError(13);
    ArrayData *data = variable.mutableArrayData();
    if (data->isLocked())
        raiseError(10);
    if (data->isFixedSize())
        data->clearValues();
    else
        variable = Variant::fromArray(new ArrayData());
}

} // namespace vantrel::vbscript
