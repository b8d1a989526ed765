#pragma once

#include "platform/vbscript/variant.h"

#include <QString>

#include <vector>

namespace vantrel::vbscript {

enum class ExprKind : quint8 {
    // As parsed; the binder turns Name and NameCall into one of the bound kinds below.
    Name,       // identifier
    NameCall,   // identifier(arguments)
    Member,     // left.name
    MemberCall, // left.name(arguments)
    IndexCall,  // left(arguments) on any other expression
    Paren,      // (left): passed by value
    WithObject, // the object of the enclosing With; index: its nesting level, -1 for none
    New,        // New name: an instance of the script Class

    // Bound.
    Constant,
    Local,          // slot in the procedure frame
    Global,         // slot in the engine's globals
    Dynamic,        // name looked up at run time, else the frame's implicit slot (or Empty)
    Undefined,      // Option Explicit and no declaration: Variable is undefined
    Illegal,        // a target that cannot be assigned: Illegal assignment
    NamedItem,      // a host object by its item name
    CallScript,     // script procedure
    CallBuiltin,    // built-in function
    CallHost,       // host function
    CallItemMember, // global member of a named item
    CallDynamic,    // procedure or function looked up at run time
    Index,          // left(arguments): array element or the default member of an object
    CallCode,       // Eval, Execute, ExecuteGlobal or GetRef: index is the CodeFunction
    Field,          // a variable of Me, in a procedure of a Class
    SelfCall,       // a member of Me by its index in the Class (private ones too)
    Me,             // the instance a procedure of a Class runs for

    // Operators.
    Negate,
    Not,
    Add,
    Subtract,
    Multiply,
    Divide,
    IntegerDivide,
    Modulo,
    Power,
    Concat,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Is,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
};

// The built-ins that compile and run script text, or refer to a procedure, in the running scope.
enum class CodeFunction : quint8 { Eval, Execute, ExecuteGlobal, GetRef };

// One node of a compiled expression. Nodes belong to their Program and never move.
struct Expr
{
    ExprKind kind = ExprKind::Constant;
    bool literal = false; // a number or text written in the script (keeps its type in comparisons)
    bool parenthesized = false; // NameCall written with parentheses
    int line = 0;
    int column = 0;
    int index = -1;            // slot, procedure, built-in, host function or named item
    int member = -1;           // member id of CallItemMember; implicit slot of Dynamic
    Variant *global = nullptr; // Global: the engine's variable itself (globals never move)
    Expr *left = nullptr;
    Expr *right = nullptr;
    std::vector<Expr *> args;
    Variant value; // Constant
    QString name;  // identifier as written
    QString key;   // identifier folded for lookups
};

} // namespace vantrel::vbscript
