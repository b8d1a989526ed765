#include "platform/vbscript/binder.h"

#include "platform/vbscript/builtins.h"
#include "platform/vbscript/operators.h"
#include "platform/vbscript/runtime.h"

namespace vantrel::vbscript {

namespace {

[[noreturn]] void redefined(const Declaration &declaration)
{
    throw ScriptError::compilation(1041, declaration.line, declaration.column);
}

template<typename Visit> void forEachNestedBlock(const Stmt *stmt, Visit visit)
{
    for (const Block &block : stmt->blocks)
        visit(block);
    for (const CaseClause &clause : stmt->cases)
        visit(clause.body);
}

std::optional<CodeFunction> codeFunction(const QString &key)
{
    if (key == u"eval")
        return CodeFunction::Eval;
    if (key == u"execute")
        return CodeFunction::Execute;
    if (key == u"executeglobal")
        return CodeFunction::ExecuteGlobal;
    if (key == u"getref")
        return CodeFunction::GetRef;
    return std::nullopt;
}

void recordSlotNames(Procedure &procedure, const QHash<QString, int> &slots,
                     const QHash<QString, int> &implicitSlots, int slotCount)
{
    procedure.slotNames.assign(size_t(slotCount), QString());
    if (procedure.isFunction)
        procedure.slotNames[0] = Runtime::fold(procedure.name);
    for (auto it = slots.begin(); it != slots.end(); ++it)
        procedure.slotNames[size_t(it.value())] = it.key();
    for (auto it = implicitSlots.begin(); it != implicitSlots.end(); ++it)
        procedure.slotNames[size_t(it.value())] = it.key();
}

} // namespace

Binder::Binder(Runtime &runtime, Program &program) : m_runtime(runtime), m_program(program) { }

// A Class takes its name for good: a second Class, or a Sub or Function, of that name in a later
// text is Name redefined. A procedure may be defined again; the later one replaces it.
void Binder::checkClassNames() const
{
    for (const auto &scriptClass : m_program.classes) {
        const QString key = Runtime::fold(scriptClass->name);
        const GlobalSymbol *symbol = m_runtime.find(key);
        if (m_runtime.findClass(key) || (symbol && symbol->kind == GlobalSymbol::Kind::Procedure))
            throw ScriptError::compilation(1041, scriptClass->line, scriptClass->column);
    }
    for (const auto &procedure : m_program.procedures) {
        if (m_runtime.findClass(Runtime::fold(procedure->name)))
            throw ScriptError::compilation(1041, procedure->line, procedure->column);
    }
}

// Declarations first, without touching the engine, so a compilation error leaves it as it was.
void Binder::bindScript()
{
    checkClassNames();
    QSet<QString> declared;
    for (const auto &procedure : m_program.procedures)
        declared.insert(Runtime::fold(procedure->name));
    for (const auto &scriptClass : m_program.classes)
        declared.insert(Runtime::fold(scriptClass->name));
    collectGlobals(m_program.code, declared);
    std::vector<Scope> scopes;
    prepareProcedures(scopes, declared);

    declareGlobals();
    for (const auto &procedure : m_program.procedures)
        m_runtime.defineProcedure(procedure);
    for (const auto &scriptClass : m_program.classes)
        m_runtime.defineClass(scriptClass);
    m_scope = nullptr;
    bindBlock(m_program.code);
    bindProcedures(scopes);
}

void Binder::bindLocalCode(const QStringList &names, Procedure &body, const ScriptClass *owner)
{
    checkClassNames();
    QSet<QString> declared;
    for (const auto &procedure : m_program.procedures)
        declared.insert(Runtime::fold(procedure->name));
    std::vector<Scope> scopes;
    prepareProcedures(scopes, declared);
    Scope scope;
    scope.procedure = &body;
    scope.owner = owner;
    scope.slotCount = 1;
    for (const QString &name : names)
        scope.slots.insert(name, scope.slotCount++);
    collectLocals(m_program.code, scope, declared);

    for (const auto &procedure : m_program.procedures)
        m_runtime.defineProcedure(procedure);
    for (const auto &scriptClass : m_program.classes)
        m_runtime.defineClass(scriptClass);
    m_scope = &scope;
    bindBlock(m_program.code);
    body.body = m_program.code;
    body.slotCount = scope.slotCount;
    recordSlotNames(body, scope.slots, scope.implicitSlots, scope.slotCount);
    bindProcedures(scopes);
}

void Binder::prepareProcedures(std::vector<Scope> &scopes, const QSet<QString> &declared)
{
    size_t count = m_program.procedures.size();
    for (const auto &scriptClass : m_program.classes)
        scriptClass->forEachProcedure([&](Procedure &) { ++count; });
    scopes.resize(count);
    size_t next = 0;
    for (const auto &procedure : m_program.procedures)
        prepareScope(scopes[next++], *procedure, declared);
    for (const auto &scriptClass : m_program.classes) {
        scriptClass->forEachProcedure([&](Procedure &procedure) {
            scopes[next].owner = scriptClass.get();
            prepareScope(scopes[next++], procedure, declared);
        });
    }
}

void Binder::prepareScope(Scope &scope, Procedure &procedure, const QSet<QString> &declared)
{
    scope.procedure = &procedure;
    scope.slotCount = 1;
    for (const auto &parameter : procedure.parameters)
        scope.slots.insert(Runtime::fold(parameter.name), scope.slotCount++);
    collectLocals(procedure.body, scope, declared);
}

void Binder::bindProcedures(std::vector<Scope> &scopes)
{
    for (Scope &scope : scopes) {
        m_scope = &scope;
        bindBlock(scope.procedure->body);
        scope.procedure->slotCount = scope.slotCount;
        recordSlotNames(*scope.procedure, scope.slots, scope.implicitSlots, scope.slotCount);
    }
    m_scope = nullptr;
}

void Binder::bindExpression(const QStringList &parameters, const ScriptClass *owner)
{
    Scope scope;
    scope.expression = true;
    scope.owner = owner;
    for (const QString &name : parameters)
        scope.slots.insert(Runtime::fold(name), scope.slotCount++);
    m_scope = &scope;
    bindValue(m_program.expression);
    m_program.frameSlots = scope.slotCount;
    m_scope = nullptr;
}

void Binder::collectGlobals(const Block &block, QSet<QString> &declared)
{
    for (const Stmt *stmt : block) {
        if (stmt->kind == StmtKind::Dim || stmt->kind == StmtKind::Const) {
            for (const Declaration &declaration : stmt->declarations) {
                const QString key = Runtime::fold(declaration.name);
                if (declared.contains(key))
                    redefined(declaration);
                declared.insert(key);
            }
            m_globalDeclarations.push_back(stmt);
        } else if (stmt->kind == StmtKind::ReDim) {
            m_globalDeclarations.push_back(stmt);
        }
        forEachNestedBlock(stmt, [&](const Block &nested) { collectGlobals(nested, declared); });
    }
}

void Binder::collectLocals(const Block &block, Scope &scope, const QSet<QString> &globals)
{
    for (const Stmt *stmt : block) {
        for (const Declaration &declaration : stmt->declarations) {
            const QString key = Runtime::fold(declaration.name);
            if (scope.slots.contains(key) || scope.constants.contains(key))
                redefined(declaration);
            if (stmt->kind == StmtKind::Const) {
                scope.constants.insert(key, declaration.value);
                continue;
            }
            const int slot = scope.slotCount++;
            scope.slots.insert(key, slot);
            if (declaration.isArray)
                scope.procedure->arrays.push_back({ slot, declaration.bounds });
        }
        // ReDim of a script-level array resizes it; only an unknown name becomes a local.
        if (stmt->kind == StmtKind::ReDim) {
            const QString key = Runtime::fold(stmt->target->name);
            if (!scope.slots.contains(key) && !scope.constants.contains(key)
                && !globals.contains(key) && !m_runtime.find(key))
                scope.slots.insert(key, scope.slotCount++);
        }
        forEachNestedBlock(stmt,
                           [&](const Block &nested) { collectLocals(nested, scope, globals); });
    }
}

void Binder::declareGlobals()
{
    for (const Stmt *stmt : m_globalDeclarations) {
        if (stmt->kind == StmtKind::ReDim) {
            m_runtime.declareVariable(stmt->target->name);
            continue;
        }
        for (const Declaration &declaration : stmt->declarations) {
            if (stmt->kind == StmtKind::Const) {
                m_runtime.declareConstant(declaration.name, declaration.value);
                continue;
            }
            const int slot = m_runtime.declareVariable(declaration.name);
            if (declaration.isArray)
                m_program.globalArrays.push_back({ slot, declaration.bounds });
        }
    }
}

Binder::Resolution Binder::resolve(const Expr *e, bool forCall) const
{
    Resolution r;
    using Kind = Resolution::Kind;
    if (m_scope) {
        const Procedure *procedure = m_scope->procedure;
        if (!forCall && procedure && procedure->isFunction
            && Runtime::fold(procedure->name) == e->key) {
            r.kind = Kind::Local;
            r.index = 0;
            return r;
        }
        if (const auto it = m_scope->slots.constFind(e->key); it != m_scope->slots.constEnd()) {
            r.kind = Kind::Local;
            r.index = it.value();
            return r;
        }
        if (const auto it = m_scope->constants.constFind(e->key);
            it != m_scope->constants.constEnd()) {
            r.kind = Kind::Constant;
            r.value = it.value();
            return r;
        }
        if (const ScriptClass *owner = m_scope->owner) {
            if (e->key == u"me") {
                r.kind = Kind::Me;
                return r;
            }
            if (const auto it = owner->byName.constFind(e->key); it != owner->byName.constEnd()) {
                const ScriptClass::Member &member = owner->members[size_t(it.value())];
                r.kind = member.field >= 0 ? Kind::Field : Kind::Member;
                r.index = member.field >= 0 ? member.field : it.value();
                return r;
            }
        }
    }
    if (const GlobalSymbol *symbol = m_runtime.find(e->key)) {
        r.index = symbol->index;
        switch (symbol->kind) {
        case GlobalSymbol::Kind::Variable:
            // A procedure decides at run time whether an undeclared global exists yet.
            if (m_scope && m_scope->procedure && !m_program.optionExplicit
                && m_runtime.isImplicit(symbol->index))
                return Resolution();
            r.kind = Kind::Global;
            break;
        case GlobalSymbol::Kind::Constant:
            r.kind = Kind::Constant;
            r.value = m_runtime.constant(symbol->index);
            break;
        case GlobalSymbol::Kind::Procedure:
            r.kind = Kind::Procedure;
            break;
        case GlobalSymbol::Kind::Function:
            r.kind = Kind::Host;
            break;
        case GlobalSymbol::Kind::NamedItem:
            r.kind = Kind::NamedItem;
            break;
        }
        return r;
    }
    if (m_runtime.findItemMember(e->name, r.index, r.member)) {
        r.kind = Kind::ItemMember;
    } else if (const auto code = codeFunction(e->key)) {
        r.kind = Kind::Code;
        r.index = int(*code);
    } else if (const Variant *constant = Builtins::constant(e->key)) {
        r.kind = Kind::Constant;
        r.value = *constant;
    } else if ((r.index = Builtins::find(e->key)) >= 0) {
        r.kind = Kind::Builtin;
    }
    return r;
}

void Binder::bindBlock(Block &block)
{
    for (Stmt *stmt : block)
        bindStmt(stmt);
}

void Binder::bindStmt(Stmt *stmt)
{
    switch (stmt->kind) {
    case StmtKind::Assign:
    case StmtKind::Set:
        bindTarget(stmt->target);
        bindValue(stmt->value);
        break;
    case StmtKind::Call:
        bindCall(stmt->target);
        break;
    case StmtKind::Select:
        bindValue(stmt->value);
        for (CaseClause &clause : stmt->cases) {
            for (Expr *&test : clause.tests)
                bindValue(test);
            bindBlock(clause.body);
        }
        break;
    case StmtKind::ForNext:
    case StmtKind::ForEach:
    case StmtKind::ReDim:
    case StmtKind::Erase:
        bindTarget(stmt->target);
        break;
    case StmtKind::Dim:
    case StmtKind::Const:
        stmt->kind = StmtKind::Nop;
        break;
    default:
        break;
    }
    for (Expr *&e : stmt->exprs)
        bindValue(e);
    if (stmt->kind != StmtKind::Assign && stmt->kind != StmtKind::Set
        && stmt->kind != StmtKind::Select && stmt->value)
        bindValue(stmt->value);
    if (stmt->limit)
        bindValue(stmt->limit);
    if (stmt->step)
        bindValue(stmt->step);
    for (Block &block : stmt->blocks)
        bindBlock(block);
}

void Binder::foldNegation(Expr *&e)
{
    Expr *operand = e->left;
    if (operand->kind == ExprKind::Constant && operand->literal && operand->value.isNumber()) {
        operand->value = Operators::negate(operand->value);
        operand->line = e->line;
        operand->column = e->column;
        e = operand;
    }
}

void Binder::bindValue(Expr *&e, bool argument)
{
    switch (e->kind) {
    case ExprKind::Paren:
        bindValue(e->left);
        if (!argument)
            e = e->left;
        return;
    case ExprKind::Name:
        bindName(e);
        return;
    case ExprKind::NameCall:
        bindNameCall(e);
        return;
    case ExprKind::Member:
        bindValue(e->left);
        return;
    case ExprKind::MemberCall:
        bindValue(e->left);
        bindArguments(e->args);
        return;
    case ExprKind::IndexCall:
        bindValue(e->left);
        bindArguments(e->args);
        e->kind = ExprKind::Index;
        return;
    case ExprKind::Constant:
    case ExprKind::WithObject:
        return;
    case ExprKind::New:
        e->key = Runtime::fold(e->name);
        return;
    case ExprKind::Negate:
        bindValue(e->left);
        foldNegation(e);
        return;
    case ExprKind::Not:
        bindValue(e->left);
        return;
    default:
        bindValue(e->left);
        bindValue(e->right);
        return;
    }
}

void Binder::bindArguments(std::vector<Expr *> &args)
{
    for (Expr *&arg : args)
        bindValue(arg, true);
}

void Binder::applyVariable(Expr *e, const Resolution &r)
{
    using Kind = Resolution::Kind;
    e->index = r.index;
    switch (r.kind) {
    case Kind::Local:
        e->kind = ExprKind::Local;
        break;
    case Kind::Global:
        e->kind = ExprKind::Global;
        e->global = &m_runtime.global(r.index);
        break;
    case Kind::NamedItem:
        e->kind = ExprKind::NamedItem;
        break;
    case Kind::Field:
        e->kind = ExprKind::Field;
        break;
    case Kind::Me:
        e->kind = ExprKind::Me;
        break;
    default:
        e->kind = ExprKind::Constant;
        e->value = r.value;
        break;
    }
}

bool Binder::applyCall(Expr *e, const Resolution &r)
{
    using Kind = Resolution::Kind;
    e->index = r.index;
    switch (r.kind) {
    case Kind::Procedure:
        e->kind = ExprKind::CallScript;
        return true;
    case Kind::Host:
        e->kind = ExprKind::CallHost;
        return true;
    case Kind::ItemMember:
        e->kind = ExprKind::CallItemMember;
        e->member = r.member;
        return true;
    case Kind::Builtin:
        e->kind = ExprKind::CallBuiltin;
        return true;
    case Kind::Code:
        e->kind = ExprKind::CallCode;
        return true;
    case Kind::Member:
        e->kind = ExprKind::SelfCall;
        return true;
    default:
        return false;
    }
}

// e keeps its arguments and becomes Index over a copy of itself as the variable.
void Binder::wrapInIndex(Expr *e)
{
    Expr *variable = m_program.newExpr(e->kind, e->line, e->column);
    variable->index = e->index;
    variable->member = e->member;
    variable->global = e->global;
    variable->value = e->value;
    variable->name = e->name;
    variable->key = e->key;
    e->kind = ExprKind::Index;
    e->left = variable;
}

void Binder::bindUnresolved(Expr *e)
{
    if (m_program.optionExplicit) {
        e->kind = ExprKind::Undefined;
    } else if (!m_scope) {
        e->kind = ExprKind::Global;
        e->index = m_runtime.declareVariable(e->name, true);
        e->global = &m_runtime.global(e->index);
    } else {
        e->kind = ExprKind::Dynamic;
        e->member = -1;
        if (!m_scope->expression) {
            auto it = m_scope->implicitSlots.find(e->key);
            if (it == m_scope->implicitSlots.end())
                it = m_scope->implicitSlots.insert(e->key, m_scope->slotCount++);
            e->member = it.value();
        }
    }
}

void Binder::bindName(Expr *e)
{
    e->key = Runtime::fold(e->name);
    const Resolution r = resolve(e, false);
    if (r.kind == Resolution::Kind::None)
        bindUnresolved(e);
    else if (!applyCall(e, r))
        applyVariable(e, r);
}

void Binder::bindNameCall(Expr *e)
{
    e->key = Runtime::fold(e->name);
    bindArguments(e->args);
    const Resolution r = resolve(e, true);
    if (applyCall(e, r))
        return;
    if (r.kind == Resolution::Kind::None) {
        e->kind = ExprKind::CallDynamic;
        return;
    }
    applyVariable(e, r);
    wrapInIndex(e);
}

void Binder::bindTarget(Expr *&e)
{
    using Kind = Resolution::Kind;
    switch (e->kind) {
    case ExprKind::Name:
    case ExprKind::NameCall: {
        const bool indexed = e->kind == ExprKind::NameCall;
        e->key = Runtime::fold(e->name);
        if (indexed)
            bindArguments(e->args);
        const Resolution r = resolve(e, false);
        if (r.kind == Kind::None)
            bindUnresolved(e);
        else if (r.kind == Kind::Local || r.kind == Kind::Global || r.kind == Kind::Field
                 || (indexed && (r.kind == Kind::NamedItem || r.kind == Kind::Me)))
            applyVariable(e, r);
        else if (r.kind == Kind::Member) {
            applyCall(e, r); // a property of Me: assignment writes it with the arguments
            return;
        } else
            e->kind = ExprKind::Illegal;
        if (indexed && e->kind != ExprKind::Illegal && e->kind != ExprKind::Undefined)
            wrapInIndex(e);
        return;
    }
    default:
        bindValue(e);
        return;
    }
}

void Binder::bindCall(Expr *&e)
{
    switch (e->kind) {
    case ExprKind::Name: {
        e->key = Runtime::fold(e->name);
        const Resolution r = resolve(e, true);
        if (applyCall(e, r))
            return;
        if (r.kind == Resolution::Kind::None) {
            e->kind = ExprKind::CallDynamic;
            return;
        }
        applyVariable(e, r);
        wrapInIndex(e);
        return;
    }
    case ExprKind::Member:
        bindValue(e->left);
        e->kind = ExprKind::MemberCall;
        return;
    default:
        bindValue(e);
        return;
    }
}

} // namespace vantrel::vbscript
