#pragma once

#include "platform/vbscript/procedure.h"
#include "platform/vbscript/scriptclass.h"

#include <deque>
#include <memory>

namespace vantrel::vbscript {

// One compiled text: a script (global statements and procedures) or an expression. Owns all of
// its nodes; procedures may outlive a later redefinition, so they are shared.
class Program
{
public:
    Expr *newExpr(ExprKind kind, int line, int column)
    {
        Expr &e = m_exprs.emplace_back();
        e.kind = kind;
        e.line = line;
        e.column = column;
        return &e;
    }
    Stmt *newStmt(StmtKind kind, int line, int column)
    {
        Stmt &s = m_stmts.emplace_back();
        s.kind = kind;
        s.line = line;
        s.column = column;
        return &s;
    }

    bool optionExplicit = false;
    Block code;                 // global statements
    Expr *expression = nullptr; // expression mode
    std::vector<std::shared_ptr<Procedure>> procedures;
    std::vector<std::shared_ptr<ScriptClass>> classes;
    std::vector<Procedure::ArrayVariable> globalArrays; // slots are engine globals
    int frameSlots = 0; // expression mode: parameters and implicit variables

private:
    std::deque<Expr> m_exprs;
    std::deque<Stmt> m_stmts;
};

} // namespace vantrel::vbscript
