#pragma once

#include "platform/vbscript/program.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace vantrel::vbscript {

class Runtime;

// Resolves the names of a parsed Program once, so that running it needs no name lookups:
// procedure variables become frame slots, script-level variables engine globals, constants
// values, and calls point at their procedure, built-in or host function. Declarations are
// hoisted to the start of their scope as the language does. Raises compilation errors (Name
// redefined) before it changes anything in the engine.
class Binder
{
public:
    Binder(Runtime &runtime, Program &program);

    void bindScript();
    // Expression mode: the parameters become the first frame slots, in their order.
    // owner: the Class whose fields and members the expression sees (Eval in a method).
    void bindExpression(const QStringList &parameters, const ScriptClass *owner = nullptr);
    // The statements of Execute inside a procedure: they become body's, whose frame starts with
    // slot 0 unused, then the caller's variables by their names (slots 1..n), then their own.
    void bindLocalCode(const QStringList &names, Procedure &body, const ScriptClass *owner);

private:
    struct Scope
    {
        Procedure *procedure = nullptr;     // null for global code and expressions
        const ScriptClass *owner = nullptr; // the Class of the procedure
        bool expression = false;
        QHash<QString, int> slots;
        QHash<QString, int> implicitSlots;
        QHash<QString, Variant> constants;
        int slotCount = 0;
    };
    struct Resolution
    {
        enum class Kind {
            None,
            Local,
            Global,
            Constant,
            Procedure,
            Host,
            NamedItem,
            ItemMember,
            Builtin,
            Code,
            Field,
            Member,
            Me
        } kind
            = Kind::None;
        int index = -1;
        int member = -1;
        Variant value;
    };

    void checkClassNames() const;
    Resolution resolve(const Expr *e, bool forCall) const;
    void collectGlobals(const Block &block, QSet<QString> &declared);
    void collectLocals(const Block &block, Scope &scope, const QSet<QString> &globals);
    void declareGlobals();
    void prepareProcedures(std::vector<Scope> &scopes, const QSet<QString> &declared);
    void prepareScope(Scope &scope, Procedure &procedure, const QSet<QString> &declared);
    void bindProcedures(std::vector<Scope> &scopes);
    void bindBlock(Block &block);
    void bindStmt(Stmt *stmt);
    void bindValue(Expr *&e, bool argument = false);
    void bindArguments(std::vector<Expr *> &args);
    void bindName(Expr *e);
    void bindNameCall(Expr *e);
    void bindTarget(Expr *&e);
    void bindCall(Expr *&e);
    void bindUnresolved(Expr *e);
    void applyVariable(Expr *e, const Resolution &r);
    bool applyCall(Expr *e, const Resolution &r);
    void wrapInIndex(Expr *e);
    void foldNegation(Expr *&e);

    Runtime &m_runtime;
    Program &m_program;
    Scope *m_scope = nullptr;
    std::vector<const Stmt *> m_globalDeclarations;
};

} // namespace vantrel::vbscript
