#include "platform/vbscript/evaluator.h"

#include "platform/vbscript/regexpobject.h"

#include "platform/vbscript/arraydata.h"
#include "platform/vbscript/builtins.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/executor.h"
#include "platform/vbscript/hostobject.h"
#include "platform/vbscript/operators.h"
#include "platform/vbscript/regexpobject.h"
#include "platform/vbscript/runtime.h"
#include "platform/vbscript/scriptobject.h"

#include <QVarLengthArray>

namespace vantrel::vbscript {

namespace {

// Gives a call's error the position of the call when the error has none yet.
template<typename Call> Variant positioned(const Expr *e, Call call)
{
    try {
        return call();
    } catch (ScriptError &error) {
        if (!error.hasPosition())
            error.setPosition(e->line, e->column);
        throw;
    }
}

Variant invoke(HostObject &object, int member, std::span<const Variant> args, HostCall::Kind kind)
{
    HostCall call(args, kind);
    Variant result = object.invoke(member, call);
    if (call.failed())
        throw call.error();
    return result;
}

// The object a member is called on or read from; Nothing is no object here either. The name of
// the variable, when there is one, goes to the host's message.
HostObject &objectOf(const Variant &value, const Expr *source = nullptr)
{
    if (!value.isObject() || !value.objectValue()) {
        const bool named = source
            && (source->kind == ExprKind::Local || source->kind == ExprKind::Global
                || source->kind == ExprKind::Dynamic);
        raiseError(424, named ? source->name : QString());
    }
    return *value.objectValue();
}

int memberOf(const HostObject &object, const QString &name)
{
    const int id = object.memberId(name);
    if (id < 0)
        raiseError(438, name);
    return id;
}

// What GetRef gives: calling the object calls the procedure, while the engine is there.
class ProcedureReference : public HostObject
{
public:
    ProcedureReference(std::shared_ptr<ObjectHost> host, int procedure)
        : m_host(std::move(host)), m_procedure(procedure)
    {
    }
    int memberId(const QString &) const override { return -1; }
    Variant invoke(int memberId, HostCall &call) override
    {
        if (memberId != DefaultMember || call.isPropertyPut()) {
            call.raise(438);
            return Variant();
        }
        if (!m_host->executor) {
            call.raise(507);
            return Variant();
        }
        return m_host->executor->evaluator().callProcedure(m_procedure, call.arguments());
    }

private:
    std::shared_ptr<ObjectHost> m_host;
    int m_procedure;
};

} // namespace

Evaluator::Evaluator(Runtime &runtime, Executor &executor)
    : m_runtime(runtime), m_executor(executor)
{
}

Variant Evaluator::evalOther(const Expr *e)
{
    switch (e->kind) {
    case ExprKind::Add:
    case ExprKind::Subtract:
    case ExprKind::Multiply:
    case ExprKind::Divide:
    case ExprKind::IntegerDivide:
    case ExprKind::Modulo:
    case ExprKind::Power:
    case ExprKind::Concat:
    case ExprKind::Equal:
    case ExprKind::NotEqual:
    case ExprKind::Less:
    case ExprKind::LessEqual:
    case ExprKind::Greater:
    case ExprKind::GreaterEqual:
        return binary(e);
    case ExprKind::Is:
    case ExprKind::And:
    case ExprKind::Or:
    case ExprKind::Xor:
    case ExprKind::Eqv:
    case ExprKind::Imp:
        return logical(e);
    case ExprKind::Negate:
        return Operators::negate(eval(e->left));
    case ExprKind::Not:
        return Operators::logicalNot(eval(e->left));
    case ExprKind::Paren:
        return eval(e->left);
    case ExprKind::CallHost:
        return positioned(e, [&] { return callHost(e->index, e->args); });
    case ExprKind::CallBuiltin:
        return positioned(e, [&] { return callBuiltin(e); });
    case ExprKind::CallScript:
        return positioned(e, [&] { return callScript(e->index, e->args); });
    case ExprKind::CallItemMember:
        return positioned(
            e, [&] { return callMember(m_runtime.namedItem(e->index), e->member, e->args); });
    case ExprKind::CallDynamic:
        return positioned(e, [&] { return callDynamic(e); });
    case ExprKind::CallCode:
        return positioned(e, [&] { return callCode(e); });
    case ExprKind::New:
        return positioned(e, [&] {
            auto scriptClass = m_runtime.findClass(e->key);
            // RegExp is the one class the language itself brings; a script's own comes first.
            if (!scriptClass && e->key == QStringLiteral("regexp"))
                return Variant::fromObject(std::make_shared<RegExpObject>());
            if (!scriptClass)
                raiseError(506, e->name);
            return Variant::fromObject(
                ScriptObject::create(std::move(scriptClass), m_runtime.objectHost()));
        });
    case ExprKind::Field:
        return self().field(e->index);
    case ExprKind::Me:
        return Variant::fromObject(self().shared_from_this());
    case ExprKind::SelfCall:
        return positioned(e, [&] { return callSelf(e, nullptr); });
    case ExprKind::WithObject:
        if (e->index < 0)
            raiseError(505);
        return m_runtime.frame()->with[size_t(e->index)];
    case ExprKind::Dynamic:
        return dynamicValue(e);
    case ExprKind::NamedItem:
        return Variant::fromObject(m_runtime.namedItem(e->index));
    case ExprKind::Member:
    case ExprKind::MemberCall:
        return positioned(e, [&] { return member(e); });
    case ExprKind::Index:
        return positioned(e, [&] { return index(e); });
    case ExprKind::Undefined:
        if (const Variant *late = lateVariable(e))
            return *late;
        // A procedure that ExecuteGlobal defined since.
        if (const GlobalSymbol *symbol = m_runtime.find(e->key);
            symbol && symbol->kind != GlobalSymbol::Kind::Variable)
            return dynamicValue(e);
        raiseError(500, e->name);
    default:
        raiseError(51);
    }
}

Variant Evaluator::binary(const Expr *e)
{
    const Variant a = eval(e->left);
    const Variant b = eval(e->right);
    using C = Operators::Compare;
    const bool la = e->left->literal;
    const bool lb = e->right->literal;
    switch (e->kind) {
    case ExprKind::Add:
        return Operators::add(a, b);
    case ExprKind::Subtract:
        return Operators::subtract(a, b);
    case ExprKind::Multiply:
        return Operators::multiply(a, b);
    case ExprKind::Divide:
        return Operators::divide(a, b);
    case ExprKind::IntegerDivide:
        return Operators::integerDivide(a, b);
    case ExprKind::Modulo:
        return Operators::modulo(a, b);
    case ExprKind::Power:
        return Operators::power(a, b);
    case ExprKind::Concat:
        return Operators::concat(a, b);
    case ExprKind::Equal:
        return Operators::compare(C::Equal, a, b, la, lb);
    case ExprKind::NotEqual:
        return Operators::compare(C::NotEqual, a, b, la, lb);
    case ExprKind::Less:
        return Operators::compare(C::Less, a, b, la, lb);
    case ExprKind::LessEqual:
        return Operators::compare(C::LessEqual, a, b, la, lb);
    case ExprKind::Greater:
        return Operators::compare(C::Greater, a, b, la, lb);
    default:
        return Operators::compare(C::GreaterEqual, a, b, la, lb);
    }
}

Variant Evaluator::logical(const Expr *e)
{
    const Variant a = eval(e->left);
    const Variant b = eval(e->right);
    switch (e->kind) {
    case ExprKind::Is:
        return Variant(Operators::identical(a, b));
    case ExprKind::And:
        return Operators::logicalAnd(a, b);
    case ExprKind::Or:
        return Operators::logicalOr(a, b);
    case ExprKind::Xor:
        return Operators::logicalXor(a, b);
    case ExprKind::Eqv:
        return Operators::logicalEqv(a, b);
    default:
        return Operators::logicalImp(a, b);
    }
}

void Evaluator::Arguments::resize(size_t size)
{
    if (size > std::size(m_inline)) {
        m_heap.resize(size);
        m_data = m_heap.data();
    }
    m_size = size;
}

void Evaluator::Arguments::append(Variant value)
{
    const size_t at = m_size;
    if (m_data == m_inline && at < std::size(m_inline)) {
        m_inline[at] = std::move(value);
        ++m_size;
        return;
    }
    if (m_data == m_inline)
        m_heap.assign(std::make_move_iterator(m_inline), std::make_move_iterator(m_inline + at));
    m_heap.push_back(std::move(value));
    m_data = m_heap.data();
    m_size = m_heap.size();
}

void Evaluator::evaluateArguments(const std::vector<Expr *> &args, Arguments &out)
{
    out.resize(args.size());
    for (size_t i = 0; i < args.size(); ++i)
        out.data()[i] = eval(args[i]);
}

Variant Evaluator::callBuiltin(const Expr *e)
{
    const BuiltinInfo &info = Builtins::at(e->index);
    const int count = int(e->args.size());
    if (count < info.minArgs || count > info.maxArgs)
        raiseError(450, info.name);
    Arguments args;
    evaluateArguments(e->args, args);
    return info.function(m_runtime, args.span());
}

Variant Evaluator::callHost(int function, const std::vector<Expr *> &args)
{
    Arguments values;
    evaluateArguments(args, values);
    HostCall call(values.span());
    Variant result = m_runtime.hostFunction(function)(call);
    if (call.failed())
        throw call.error();
    return result;
}

Variant Evaluator::callMember(const std::shared_ptr<HostObject> &object, int member,
                              const std::vector<Expr *> &args)
{
    Arguments values;
    evaluateArguments(args, values);
    return invoke(*object, member, values.span(), HostCall::Kind::Call);
}

Variant Evaluator::callScript(int procedure, const std::vector<Expr *> &args)
{
    const auto keep = m_runtime.procedurePointer(procedure);
    const Procedure &p = *keep;
    if (args.size() != p.parameters.size())
        raiseError(450, p.name);
    QVarLengthArray<Variant, 16> slots(p.slotCount);
    ElementPins pins;
    for (size_t i = 0; i < args.size(); ++i) {
        Variant *target = nullptr;
        if (p.parameters[i].byRef) {
            target = variable(args[i]);
            if (!target && args[i]->kind == ExprKind::Index)
                target = pinElement(args[i], pins);
        }
        if (target)
            slots[qsizetype(i) + 1] = Variant::reference(target);
        else
            slots[qsizetype(i) + 1] = eval(args[i]);
    }
    return m_executor.invoke(p, slots.data());
}

Evaluator::ElementPins::~ElementPins()
{
    for (ArrayData *data : m_arrays) {
        data->unlock();
        if (!data->ref.deref())
            delete data;
    }
}

void Evaluator::ElementPins::add(ArrayData *data)
{
    data->ref.ref();
    data->lock();
    m_arrays.push_back(data);
}

// The element of an array variable, for a ByRef parameter; nullptr for anything else.
Variant *Evaluator::pinElement(const Expr *e, ElementPins &pins)
{
    Variant *container = variable(e->left);
    if (!container || !container->isArray())
        return nullptr;
    QVarLengthArray<qint32, 4> indexes;
    for (const Expr *arg : e->args)
        indexes.append(Coerce::toLong(eval(arg)));
    ArrayData *data = container->mutableArrayData();
    const qsizetype offset = data->offsetOf({ indexes.data(), size_t(indexes.size()) });
    if (offset < 0)
        raiseError(9);
    pins.add(data);
    return &data->at(offset);
}

Variant Evaluator::callProcedure(int procedure, std::span<const Variant> arguments)
{
    const auto keep = m_runtime.procedurePointer(procedure);
    const Procedure &p = *keep;
    if (arguments.size() != p.parameters.size())
        raiseError(450, p.name);
    QVarLengthArray<Variant, 16> slots(p.slotCount);
    for (size_t i = 0; i < arguments.size(); ++i)
        slots[qsizetype(i) + 1] = arguments[i];
    return m_executor.invoke(p, slots.data());
}

// A name that was unknown when the expression was compiled: looked up now.
Variant Evaluator::dynamicValue(const Expr *e)
{
    if (const GlobalSymbol *symbol = m_runtime.find(e->key)) {
        switch (symbol->kind) {
        case GlobalSymbol::Kind::Variable:
            if (!m_runtime.globalExists(symbol->index))
                break;
            return global(symbol->index);
        case GlobalSymbol::Kind::Constant:
            return m_runtime.constant(symbol->index);
        case GlobalSymbol::Kind::Procedure:
            return positioned(e, [&] { return callScript(symbol->index, {}); });
        case GlobalSymbol::Kind::Function:
            return positioned(e, [&] { return callHost(symbol->index, {}); });
        case GlobalSymbol::Kind::NamedItem:
            return Variant::fromObject(m_runtime.namedItem(symbol->index));
        }
    }
    int item = 0;
    int member = 0;
    if (m_runtime.findItemMember(e->name, item, member))
        return callMember(m_runtime.namedItem(item), member, {});
    return e->member >= 0 ? slot(e->member).deref() : Variant();
}

Variant Evaluator::callDynamic(const Expr *e)
{
    if (const GlobalSymbol *symbol = m_runtime.find(e->key)) {
        switch (symbol->kind) {
        case GlobalSymbol::Kind::Procedure:
            return callScript(symbol->index, e->args);
        case GlobalSymbol::Kind::Function:
            return callHost(symbol->index, e->args);
        case GlobalSymbol::Kind::Variable:
            return element(global(symbol->index), e->args);
        case GlobalSymbol::Kind::NamedItem:
            return element(Variant::fromObject(m_runtime.namedItem(symbol->index)), e->args);
        default:
            break;
        }
    }
    int item = 0;
    int member = 0;
    if (m_runtime.findItemMember(e->name, item, member))
        return callMember(m_runtime.namedItem(item), member, e->args);
    raiseError(13, e->name);
}

// A member of Me; with value, a property write.
Variant Evaluator::callSelf(const Expr *e, const Variant *value)
{
    if (!value)
        return callInstance(self(), e->index, e->args);
    Arguments values;
    evaluateArguments(e->args, values);
    if (value)
        values.append(*value);
    return self().call(e->index, values.span(), value != nullptr);
}

Variant Evaluator::callCode(const Expr *e)
{
    if (e->args.size() != 1)
        raiseError(450, e->name);
    const QString text = Coerce::toString(eval(e->args[0]));
    switch (CodeFunction(e->index)) {
    case CodeFunction::Eval:
        return m_executor.evaluateText(text);
    case CodeFunction::Execute:
        m_executor.executeText(text, false);
        return Variant();
    case CodeFunction::ExecuteGlobal:
        m_executor.executeText(text, true);
        return Variant();
    case CodeFunction::GetRef:
        break;
    }
    const GlobalSymbol *symbol = m_runtime.find(Runtime::fold(text));
    if (!symbol || symbol->kind != GlobalSymbol::Kind::Procedure)
        raiseError(5);
    return Variant::fromObject(
        std::make_shared<ProcedureReference>(m_runtime.objectHost(), symbol->index));
}

Variant Evaluator::member(const Expr *e)
{
    const Variant target = eval(e->left);
    HostObject &object = objectOf(target, e->left);
    const int id = memberOf(object, e->name);
    if (auto *instance = dynamic_cast<ScriptObject *>(&object)) {
        if (const int index = instance->memberIndex(id); index >= 0)
            return callInstance(*instance, index, e->args);
    }
    Arguments values;
    evaluateArguments(e->args, values);
    return invoke(object, id, values.span(), HostCall::Kind::Call);
}

Variant Evaluator::callInstance(ScriptObject &object, int member, const std::vector<Expr *> &args)
{
    const Procedure *procedure = object.procedureOf(member);
    ElementPins pins;
    Arguments values;
    values.resize(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        Variant *target = nullptr;
        if (procedure && i < procedure->parameters.size() && procedure->parameters[i].byRef) {
            target = variable(args[i]);
            if (!target && args[i]->kind == ExprKind::Index)
                target = pinElement(args[i], pins);
        }
        values.data()[i] = target ? Variant::reference(target) : eval(args[i]);
    }
    return object.call(member, values.span(), false);
}

Variant Evaluator::index(const Expr *e)
{
    if (const Variant *container = variable(e->left))
        return element(*container, e->args);
    return element(eval(e->left), e->args);
}

Variant Evaluator::element(const Variant &container, const std::vector<Expr *> &args)
{
    if (container.isObject()) {
        Arguments values;
        evaluateArguments(args, values);
        return invoke(objectOf(container), HostObject::DefaultMember, values.span(),
                      HostCall::Kind::Call);
    }
    if (!container.isArray())
        raiseError(13);
    QVarLengthArray<qint32, 4> indexes;
    for (const Expr *arg : args)
        indexes.append(Coerce::toLong(eval(arg)));
    const ArrayData *data = container.arrayData();
    const qsizetype offset = data->offsetOf({ indexes.data(), size_t(indexes.size()) });
    if (offset < 0)
        raiseError(9);
    return data->at(offset);
}

Variant *Evaluator::variable(const Expr *e)
{
    switch (e->kind) {
    case ExprKind::Local:
        return &slot(e->index).deref();
    case ExprKind::Global:
        return e->global;
    case ExprKind::Field:
        return &self().field(e->index);
    case ExprKind::Dynamic: {
        const GlobalSymbol *symbol = m_runtime.find(e->key);
        if (symbol && symbol->kind == GlobalSymbol::Kind::Variable
            && (e->member < 0 || m_runtime.globalExists(symbol->index)))
            return &global(symbol->index);
        return e->member >= 0 ? &slot(e->member).deref() : nullptr;
    }
    case ExprKind::Undefined:
        return lateVariable(e);
    default:
        return nullptr;
    }
}

Variant *Evaluator::lateVariable(const Expr *e)
{
    if (const Frame *frame = m_runtime.frame(); frame && frame->executed) {
        for (ExecutedVariable &variable : *frame->executed) {
            if (variable.key == e->key)
                return &variable.value;
        }
    }
    const GlobalSymbol *symbol = m_runtime.find(e->key);
    if (symbol && symbol->kind == GlobalSymbol::Kind::Variable)
        return &global(symbol->index);
    return nullptr;
}

void Evaluator::assign(const Expr *target, Variant value, bool isSet)
{
    if (isSet && !value.isObject())
        raiseError(424);
    if (!isSet && value.isObject())
        value = Coerce::defaultValue(value);
    switch (target->kind) {
    case ExprKind::SelfCall:
        callSelf(target, &value);
        return;
    case ExprKind::Local:
    case ExprKind::Global:
    case ExprKind::Field:
    case ExprKind::Dynamic: {
        Variant *v = variable(target);
        if (!v)
            v = &global(m_runtime.declareVariable(target->name));
        *v = std::move(value);
        return;
    }
    case ExprKind::Index:
        assignElement(target, std::move(value));
        return;
    case ExprKind::Member:
    case ExprKind::MemberCall:
        assignMember(target, std::move(value));
        return;
    case ExprKind::Undefined:
        if (Variant *late = lateVariable(target)) {
            *late = std::move(value);
            return;
        }
        raiseError(500, target->name);
    default:
        raiseError(501, target->name);
    }
}

namespace {

bool sameVariable(const Expr *a, const Expr *b)
{
    if (a->kind != b->kind)
        return false;
    switch (a->kind) {
    case ExprKind::Local:
    case ExprKind::Global:
        return a->index == b->index;
    case ExprKind::Dynamic:
        return a->key == b->key;
    default:
        return false;
    }
}

} // namespace

void Evaluator::letConcat(const Expr *target, const Expr *value)
{
    if (!sameVariable(target, value->left)) {
        assign(target, eval(value), false);
        return;
    }
    Variant *v = variable(target);
    if (!v || !v->isString()) {
        assign(target, eval(value), false);
        return;
    }
    Variant left = *v;
    const Variant right = eval(value->right);
    // The right side may have changed the variable; then the text read first is what counts.
    const bool unchanged = v->isString()
        && v->stringValue().constData() == left.stringValue().constData()
        && v->stringValue().size() == left.stringValue().size();
    if (!unchanged || right.isObject() || right.isArray() || left.hasOddByte()
        || right.hasOddByte()) {
        assign(target, Operators::concat(left, right), false);
        return;
    }
    if (right.isNull() || right.isEmpty())
        return;
    const QString tail = right.isString() ? right.stringValue() : Coerce::toString(right);
    left = Variant();
    v->mutableString()->append(tail);
}

void Evaluator::assignElement(const Expr *target, Variant value)
{
    Variant *container = variable(target->left);
    Variant object;
    if (!container) {
        object = eval(target->left);
        container = &object;
    }
    Arguments values;
    evaluateArguments(target->args, values);
    if (container->isObject()) {
        values.append(std::move(value));
        invoke(objectOf(*container), HostObject::DefaultMember, values.span(),
               HostCall::Kind::PropertyPut);
        return;
    }
    if (!container->isArray())
        raiseError(13);
    QVarLengthArray<qint32, 4> indexes;
    for (const Variant &v : values.span())
        indexes.append(Coerce::toLong(v));
    ArrayData *data = container->mutableArrayData();
    const qsizetype offset = data->offsetOf({ indexes.data(), size_t(indexes.size()) });
    if (offset < 0)
        raiseError(9);
    data->at(offset) = std::move(value);
}

void Evaluator::assignMember(const Expr *target, Variant value)
{
    const Variant owner = eval(target->left);
    HostObject &object = objectOf(owner, target->left);
    const int id = memberOf(object, target->name);
    Arguments values;
    evaluateArguments(target->args, values);
    values.append(std::move(value));
    invoke(object, id, values.span(), HostCall::Kind::PropertyPut);
}

} // namespace vantrel::vbscript
