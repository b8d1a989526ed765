#pragma once

#include "platform/vbscript/expressionparser.h"
#include "platform/vbscript/program.h"
#include "platform/vbscript/tokencursor.h"

#include <QStringView>

#include <memory>

namespace vantrel::vbscript {

// Turns script or expression text into a Program of unbound nodes. Raises compilation errors
// (ScriptError with line and column) for text that is not the language.
class Parser
{
public:
    static std::unique_ptr<Program> parseScript(QStringView source);
    static std::unique_ptr<Program> parseExpression(QStringView source);

private:
    Parser(QStringView source, Program &program);

    void parseProgram();
    Block parseBlock();
    Block parseBlockStatements();
    void skipLineEnds();
    void endStatement();
    void parseStatement(Block &out);
    Stmt *parseKeywordStatement(Block &out);
    Stmt *parseIdentifierStatement();
    Stmt *parseAssignment(StmtKind kind, Expr *target);
    Stmt *parseCallStatement();
    Stmt *parseDim();
    Variant parseConstValue();
    Stmt *parseConst();
    void parseReDim(Block &out);
    void parseErase(Block &out);
    Stmt *parseIf();
    Stmt *parseBlockIf(Stmt *stmt);
    void parseLineIf(Stmt *stmt);
    Block parseLineStatements();
    Stmt *parseSelect();
    Stmt *parseWith();
    Stmt *parseFor();
    Stmt *parseForEach(const Token &start);
    Stmt *parseDo();
    Stmt *parseWhile();
    Stmt *parseExit();
    Stmt *parseOnError();
    void parseProcedure();
    std::shared_ptr<Procedure> parseProcedureBody(const Token &name, bool isFunction,
                                                  bool isProperty);
    void parseClass();
    void parseClassMember(ScriptClass &scriptClass);
    void checkNameFree(const Token &name) const;
    void parseParameters(Procedure &procedure);
    void expectEnd(Keyword keyword, int error);
    [[noreturn]] void strayTerminator();
    Stmt *newStmt(StmtKind kind, const Token &at);

    Program &m_program;
    TokenCursor m_cursor;
    ExpressionParser m_expressions;
    const Procedure *m_procedure = nullptr;
    int m_doDepth = 0;
    int m_forDepth = 0;
    int m_nesting = 0;
    bool m_inProperty = false;
};

} // namespace vantrel::vbscript
