#pragma once

#include "platform/vbscript/program.h"
#include "platform/vbscript/tokencursor.h"

namespace vantrel::vbscript {

// Parses expressions with the language's precedence, from highest to lowest: ^, unary -,
// * and /, \, Mod, + and -, &, comparisons and Is, Not, And, Or, Xor, Eqv, Imp.
class ExpressionParser
{
public:
    ExpressionParser(TokenCursor &cursor, Program &program);

    Expr *parse();
    // A name with its member accesses and argument lists: a.b(1).c
    Expr *parseReference();
    // The callee of a call statement without parentheses: stops before an argument list
    // that is not followed by '.'.
    Expr *parseCallee();
    // After '(' has been read: arguments up to and including ')'.
    std::vector<Expr *> parseArgumentList();
    // Comma-separated arguments up to the end of the statement.
    std::vector<Expr *> parseBareArguments();
    // Turns callee (a Name, Member or any expression) into a call with arguments.
    Expr *makeCall(Expr *callee, std::vector<Expr *> args, bool parenthesized, const Token &at);
    // Inside With … End With a reference may start with '.', meaning the With's object.
    void enterWith() { ++m_withDepth; }
    void leaveWith() { --m_withDepth; }

private:
    Expr *binary(ExprKind kind, Expr *left, Expr *right, const Token &op);
    Expr *parseImp();
    Expr *parseEqv();
    Expr *parseXor();
    Expr *parseOr();
    Expr *parseAnd();
    Expr *parseNot();
    Expr *parseComparison();
    Expr *parseConcat();
    Expr *parseAdditive();
    Expr *parseModulo();
    Expr *parseIntegerDivision();
    Expr *parseMultiplicative();
    Expr *parsePower();
    Expr *parseUnary();
    Expr *parsePrimary();
    // ' .name' inside With is the With's object, not a member of what stands before it.
    bool startsWithReference() const;
    Expr *parseName();
    Expr *parseMember(Expr *left);
    Expr *parseArgument();
    void enter();

    TokenCursor &m_cursor;
    Program &m_program;
    int m_depth = 0;
    int m_withDepth = 0;
};

} // namespace vantrel::vbscript
