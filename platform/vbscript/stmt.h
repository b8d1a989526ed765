#pragma once

#include "platform/vbscript/expr.h"

#include <vector>

namespace vantrel::vbscript {

struct Stmt;
using Block = std::vector<Stmt *>;

enum class StmtKind : quint8 {
    Nop,
    Assign,  // target = value
    Set,     // Set target = value
    Call,    // target is the call
    If,      // exprs: conditions; blocks: one per condition, then the Else block when present
    Select,  // value: the tested expression; cases
    ForNext, // target = value To limit Step step; blocks[0]
    ForEach, // target In value; blocks[0]
    DoLoop,  // value: condition or null; flags below; blocks[0]
    While,   // value: condition; blocks[0]
    Exit,    // flags: what is left
    OnErrorResumeNext,
    OnErrorGoToZero,
    Dim,   // names and bounds (declarations; the binder hoists them)
    Const, // names and values (folded by the binder)
    ReDim, // target; exprs: upper bounds; flags: Preserve
    Erase, // target
    With,  // value: the object; blocks[0]
};

enum class ExitKind : quint8 { Do, For, Function, Sub };

// Flags of DoLoop.
constexpr quint8 LoopUntil = 1;     // Until instead of While
constexpr quint8 LoopTestAfter = 2; // the condition stands after Loop

struct CaseClause
{
    std::vector<Expr *> tests; // values compared for equality; empty for Case Else
    Block body;
};

struct Declaration
{
    QString name;
    int line = 0;
    int column = 0;
    std::vector<qint32> bounds; // Dim a(3, 4); empty for a plain variable
    bool isArray = false;       // Dim a() or Dim a(…)
    Variant value;              // Const
};

struct Stmt
{
    StmtKind kind = StmtKind::Nop;
    quint8 flags = 0;
    int line = 0;
    int column = 0;
    Expr *target = nullptr;
    Expr *value = nullptr;
    Expr *limit = nullptr;
    Expr *step = nullptr;
    std::vector<Expr *> exprs;
    std::vector<Block> blocks;
    std::vector<CaseClause> cases;
    std::vector<Declaration> declarations;
};

} // namespace vantrel::vbscript
