#include "platform/vbscript/parser.h"

#include "platform/vbscript/lexer.h"
#include "platform/vbscript/operators.h"

namespace vantrel::vbscript {

namespace {

bool isBlockTerminator(const Token &token)
{
    if (token.kind != TokenKind::Keyword)
        return false;
    switch (token.keyword) {
    case Keyword::End:
    case Keyword::Else:
    case Keyword::ElseIf:
    case Keyword::Loop:
    case Keyword::Next:
    case Keyword::Wend:
    case Keyword::Case:
        return true;
    default:
        return false;
    }
}

bool isAssignable(const Expr *e)
{
    switch (e->kind) {
    case ExprKind::Name:
    case ExprKind::NameCall:
    case ExprKind::Member:
    case ExprKind::MemberCall:
    case ExprKind::IndexCall:
        return true;
    default:
        return false;
    }
}

} // namespace

Parser::Parser(QStringView source, Program &program)
    : m_program(program), m_cursor(Lexer(source).tokenize()), m_expressions(m_cursor, program)
{
}

std::unique_ptr<Program> Parser::parseScript(QStringView source)
{
    auto program = std::make_unique<Program>();
    Parser parser(source, *program);
    parser.parseProgram();
    return program;
}

std::unique_ptr<Program> Parser::parseExpression(QStringView source)
{
    auto program = std::make_unique<Program>();
    Parser parser(source, *program);
    parser.skipLineEnds();
    if (parser.m_cursor.at(TokenKind::EndOfText)) {
        program->expression = program->newExpr(ExprKind::Constant, 1, 1);
        return program;
    }
    program->expression = parser.m_expressions.parse();
    parser.skipLineEnds();
    if (!parser.m_cursor.at(TokenKind::EndOfText))
        parser.m_cursor.fail(1025);
    return program;
}

Stmt *Parser::newStmt(StmtKind kind, const Token &at)
{
    return m_program.newStmt(kind, at.line, at.column);
}

void Parser::skipLineEnds()
{
    while (m_cursor.at(TokenKind::EndOfLine))
        m_cursor.next();
}

void Parser::endStatement()
{
    if (m_cursor.at(TokenKind::EndOfLine))
        m_cursor.next();
    else if (!m_cursor.at(TokenKind::EndOfText))
        m_cursor.fail(1025);
}

void Parser::strayTerminator()
{
    if (m_cursor.atKeyword(Keyword::Loop))
        m_cursor.fail(1038);
    if (m_cursor.atKeyword(Keyword::Next))
        m_cursor.fail(1055);
    m_cursor.fail(1024);
}

void Parser::parseProgram()
{
    skipLineEnds();
    if (m_cursor.acceptKeyword(Keyword::Option)) {
        if (!m_cursor.atWord(u"explicit"))
            m_cursor.fail(1002);
        m_cursor.next();
        m_program.optionExplicit = true;
        endStatement();
    }
    for (;;) {
        skipLineEnds();
        if (m_cursor.at(TokenKind::EndOfText))
            return;
        const bool modifier
            = m_cursor.atKeyword(Keyword::Public) || m_cursor.atKeyword(Keyword::Private);
        const Token &head = m_cursor.peek(modifier ? 1 : 0);
        if (head.kind == TokenKind::Keyword
            && (head.keyword == Keyword::Sub || head.keyword == Keyword::Function)) {
            parseProcedure();
            continue;
        }
        if (m_cursor.atKeyword(Keyword::Class)) {
            parseClass();
            continue;
        }
        if (isBlockTerminator(m_cursor.peek()))
            strayTerminator();
        parseStatement(m_program.code);
        endStatement();
    }
}

Block Parser::parseBlock()
{
    // Blocks nest by recursion; a limit keeps absurd nesting from exhausting the stack.
    if (m_nesting >= 200)
        m_cursor.fail(28);
    ++m_nesting;
    Block block = parseBlockStatements();
    --m_nesting;
    return block;
}

Block Parser::parseBlockStatements()
{
    Block block;
    for (;;) {
        skipLineEnds();
        if (m_cursor.at(TokenKind::EndOfText) || isBlockTerminator(m_cursor.peek()))
            return block;
        parseStatement(block);
        endStatement();
    }
}

void Parser::parseStatement(Block &out)
{
    const Token &token = m_cursor.peek();
    Stmt *stmt = nullptr;
    if (token.kind == TokenKind::Identifier || token.kind == TokenKind::Dot)
        stmt = parseIdentifierStatement();
    else if (token.kind == TokenKind::Keyword)
        stmt = parseKeywordStatement(out);
    else
        m_cursor.fail(1024);
    if (stmt)
        out.push_back(stmt);
}

Stmt *Parser::parseKeywordStatement(Block &out)
{
    switch (m_cursor.peek().keyword) {
    case Keyword::Dim:
    case Keyword::Public:
    case Keyword::Private:
        return parseDim();
    case Keyword::Const:
        return parseConst();
    case Keyword::ReDim:
        parseReDim(out);
        return nullptr;
    case Keyword::Erase:
        parseErase(out);
        return nullptr;
    case Keyword::If:
        return parseIf();
    case Keyword::Select:
        return parseSelect();
    case Keyword::With:
        return parseWith();
    case Keyword::For:
        return parseFor();
    case Keyword::Do:
        return parseDo();
    case Keyword::While:
        return parseWhile();
    case Keyword::Exit:
        return parseExit();
    case Keyword::On:
        return parseOnError();
    case Keyword::Call:
        return parseCallStatement();
    case Keyword::Set:
        m_cursor.next();
        return parseAssignment(StmtKind::Set, m_expressions.parseReference());
    case Keyword::Let:
        m_cursor.next();
        return parseAssignment(StmtKind::Assign, m_expressions.parseReference());
    case Keyword::Stop:
        m_cursor.next();
        return nullptr;
    case Keyword::Sub:
    case Keyword::Function:
    case Keyword::Option:
        m_cursor.fail(1002);
    default:
        m_cursor.fail(1024);
    }
}

Stmt *Parser::parseAssignment(StmtKind kind, Expr *target)
{
    if (!isAssignable(target))
        m_cursor.fail(1002);
    const Token &op = m_cursor.expect(TokenKind::Equal, 1011);
    Stmt *stmt = newStmt(kind, op);
    stmt->line = target->line;
    stmt->column = target->column;
    stmt->target = target;
    stmt->value = m_expressions.parse();
    return stmt;
}

Stmt *Parser::parseIdentifierStatement()
{
    const size_t start = m_cursor.position();
    const Token first = m_cursor.peek();
    Expr *ref = m_expressions.parseReference();
    if (m_cursor.at(TokenKind::Equal))
        return parseAssignment(StmtKind::Assign, ref);
    Stmt *stmt = newStmt(StmtKind::Call, first);
    if (m_cursor.atEndOfStatement()) {
        if (ref->parenthesized && ref->args.size() > 1)
            throw ScriptError::compilation(1044, first.line, first.column);
        // f(x) as a statement passes (x), a value, not the variable.
        if (ref->parenthesized && ref->args.size() == 1) {
            Expr *paren = m_program.newExpr(ExprKind::Paren, first.line, first.column);
            paren->left = ref->args[0];
            ref->args[0] = paren;
        }
        stmt->target = ref;
        return stmt;
    }
    m_cursor.rewind(start);
    Expr *callee = m_expressions.parseCallee();
    stmt->target = m_expressions.makeCall(callee, m_expressions.parseBareArguments(), false, first);
    return stmt;
}

Stmt *Parser::parseCallStatement()
{
    const Token start = m_cursor.next();
    Expr *ref = m_expressions.parseReference();
    if (ref->kind == ExprKind::Name || ref->kind == ExprKind::Member)
        ref = m_expressions.makeCall(ref, {}, false, start);
    Stmt *stmt = newStmt(StmtKind::Call, start);
    stmt->target = ref;
    return stmt;
}

Stmt *Parser::parseDim()
{
    Stmt *stmt = newStmt(StmtKind::Dim, m_cursor.next());
    do {
        const Token &name = m_cursor.expect(TokenKind::Identifier, 1010);
        Declaration declaration;
        declaration.name = name.text;
        declaration.line = name.line;
        declaration.column = name.column;
        if (m_cursor.accept(TokenKind::LeftParen)) {
            declaration.isArray = true;
            if (!m_cursor.accept(TokenKind::RightParen)) {
                do {
                    const Token &bound = m_cursor.peek();
                    if (bound.kind != TokenKind::Literal
                        || (bound.value.type() != VarType::Integer
                            && bound.value.type() != VarType::Long))
                        m_cursor.fail(1026);
                    declaration.bounds.push_back(*bound.value.toLong());
                    m_cursor.next();
                } while (m_cursor.accept(TokenKind::Comma));
                m_cursor.expect(TokenKind::RightParen, 1006);
            }
        }
        stmt->declarations.push_back(std::move(declaration));
    } while (m_cursor.accept(TokenKind::Comma));
    return stmt;
}

Variant Parser::parseConstValue()
{
    bool negative = false;
    while (m_cursor.at(TokenKind::Minus) || m_cursor.at(TokenKind::Plus)) {
        negative = negative != m_cursor.at(TokenKind::Minus);
        m_cursor.next();
    }
    const Token &token = m_cursor.peek();
    Variant value;
    if (token.kind == TokenKind::Literal) {
        value = token.value;
    } else if (token.kind == TokenKind::Keyword && !negative) {
        if (token.keyword == Keyword::True)
            value = Variant(true);
        else if (token.keyword == Keyword::False)
            value = Variant(false);
        else if (token.keyword == Keyword::Null)
            value = Variant::null();
        else if (token.keyword != Keyword::Empty)
            m_cursor.fail(1045);
    } else {
        m_cursor.fail(1045);
    }
    m_cursor.next();
    return negative ? Operators::negate(value) : value;
}

Stmt *Parser::parseConst()
{
    Stmt *stmt = newStmt(StmtKind::Const, m_cursor.next());
    do {
        const Token &name = m_cursor.expect(TokenKind::Identifier, 1010);
        Declaration declaration;
        declaration.name = name.text;
        declaration.line = name.line;
        declaration.column = name.column;
        m_cursor.expect(TokenKind::Equal, 1011);
        declaration.value = parseConstValue();
        stmt->declarations.push_back(std::move(declaration));
    } while (m_cursor.accept(TokenKind::Comma));
    return stmt;
}

void Parser::parseReDim(Block &out)
{
    const Token start = m_cursor.next();
    const bool preserve = m_cursor.acceptKeyword(Keyword::Preserve);
    do {
        Stmt *stmt = newStmt(StmtKind::ReDim, start);
        stmt->flags = preserve ? 1 : 0;
        const Token &name = m_cursor.expect(TokenKind::Identifier, 1010);
        stmt->target = m_program.newExpr(ExprKind::Name, name.line, name.column);
        stmt->target->name = name.text;
        m_cursor.expect(TokenKind::LeftParen, 1005);
        do {
            stmt->exprs.push_back(m_expressions.parse());
        } while (m_cursor.accept(TokenKind::Comma));
        m_cursor.expect(TokenKind::RightParen, 1006);
        out.push_back(stmt);
    } while (m_cursor.accept(TokenKind::Comma));
}

void Parser::parseErase(Block &out)
{
    const Token start = m_cursor.next();
    do {
        Stmt *stmt = newStmt(StmtKind::Erase, start);
        const Token &name = m_cursor.expect(TokenKind::Identifier, 1010);
        stmt->target = m_program.newExpr(ExprKind::Name, name.line, name.column);
        stmt->target->name = name.text;
        out.push_back(stmt);
    } while (m_cursor.accept(TokenKind::Comma));
}

void Parser::expectEnd(Keyword keyword, int error)
{
    m_cursor.expectKeyword(Keyword::End, 1014);
    m_cursor.expectKeyword(keyword, error);
}

Stmt *Parser::parseIf()
{
    Stmt *stmt = newStmt(StmtKind::If, m_cursor.next());
    stmt->exprs.push_back(m_expressions.parse());
    m_cursor.expectKeyword(Keyword::Then, 1017);
    if (m_cursor.at(TokenKind::EndOfLine) && !m_cursor.peek().colon)
        return parseBlockIf(stmt);
    parseLineIf(stmt);
    return stmt;
}

Stmt *Parser::parseBlockIf(Stmt *stmt)
{
    stmt->blocks.push_back(parseBlock());
    while (m_cursor.acceptKeyword(Keyword::ElseIf)) {
        stmt->exprs.push_back(m_expressions.parse());
        m_cursor.expectKeyword(Keyword::Then, 1017);
        stmt->blocks.push_back(parseBlock());
    }
    if (m_cursor.acceptKeyword(Keyword::Else))
        stmt->blocks.push_back(parseBlock());
    expectEnd(Keyword::If, 1012);
    return stmt;
}

void Parser::parseLineIf(Stmt *stmt)
{
    stmt->blocks.push_back(parseLineStatements());
    if (m_cursor.acceptKeyword(Keyword::Else))
        stmt->blocks.push_back(parseLineStatements());
}

// The statements of a one-line If: separated by ':', ended by the line end or Else.
Block Parser::parseLineStatements()
{
    Block block;
    for (;;) {
        if (m_cursor.at(TokenKind::EndOfLine) && m_cursor.peek().colon) {
            m_cursor.next();
            continue;
        }
        if (m_cursor.at(TokenKind::EndOfLine) || m_cursor.at(TokenKind::EndOfText)
            || m_cursor.atKeyword(Keyword::Else))
            return block;
        parseStatement(block);
        if (!m_cursor.atEndOfStatement())
            m_cursor.fail(1025);
    }
}

Stmt *Parser::parseSelect()
{
    Stmt *stmt = newStmt(StmtKind::Select, m_cursor.next());
    m_cursor.expectKeyword(Keyword::Case, 1021);
    stmt->value = m_expressions.parse();
    endStatement();
    skipLineEnds();
    while (m_cursor.acceptKeyword(Keyword::Case)) {
        CaseClause clause;
        if (!m_cursor.acceptKeyword(Keyword::Else)) {
            do {
                // Case Is > 3 and Case 1 To 5 are not the language: such a script would not
                // load in other hosts.
                if (m_cursor.atKeyword(Keyword::Is))
                    m_cursor.fail(1002);
                clause.tests.push_back(m_expressions.parse());
                if (m_cursor.atKeyword(Keyword::To))
                    m_cursor.fail(1002);
            } while (m_cursor.accept(TokenKind::Comma));
        }
        clause.body = parseBlock();
        stmt->cases.push_back(std::move(clause));
    }
    expectEnd(Keyword::Select, 1022);
    return stmt;
}

Stmt *Parser::parseWith()
{
    Stmt *stmt = newStmt(StmtKind::With, m_cursor.next());
    stmt->value = m_expressions.parse();
    m_expressions.enterWith();
    stmt->blocks.push_back(parseBlock());
    m_expressions.leaveWith();
    expectEnd(Keyword::With, 1002);
    return stmt;
}

Stmt *Parser::parseFor()
{
    const Token start = m_cursor.next();
    if (m_cursor.acceptKeyword(Keyword::Each))
        return parseForEach(start);
    Stmt *stmt = newStmt(StmtKind::ForNext, start);
    if (!m_cursor.at(TokenKind::Identifier))
        m_cursor.fail(1040);
    const Token &counter = m_cursor.next();
    stmt->target = m_program.newExpr(ExprKind::Name, counter.line, counter.column);
    stmt->target->name = counter.text;
    m_cursor.expect(TokenKind::Equal, 1011);
    stmt->value = m_expressions.parse();
    m_cursor.expectKeyword(Keyword::To, 1013);
    stmt->limit = m_expressions.parse();
    if (m_cursor.atWord(u"step")) {
        m_cursor.next();
        stmt->step = m_expressions.parse();
    }
    ++m_forDepth;
    stmt->blocks.push_back(parseBlock());
    --m_forDepth;
    m_cursor.expectKeyword(Keyword::Next, 1020);
    m_cursor.accept(TokenKind::Identifier);
    return stmt;
}

Stmt *Parser::parseForEach(const Token &start)
{
    Stmt *stmt = newStmt(StmtKind::ForEach, start);
    const Token &element = m_cursor.expect(TokenKind::Identifier, 1010);
    stmt->target = m_program.newExpr(ExprKind::Name, element.line, element.column);
    stmt->target->name = element.text;
    m_cursor.expectKeyword(Keyword::In, 1046);
    stmt->value = m_expressions.parse();
    ++m_forDepth;
    stmt->blocks.push_back(parseBlock());
    --m_forDepth;
    m_cursor.expectKeyword(Keyword::Next, 1020);
    m_cursor.accept(TokenKind::Identifier);
    return stmt;
}

Stmt *Parser::parseDo()
{
    Stmt *stmt = newStmt(StmtKind::DoLoop, m_cursor.next());
    if (m_cursor.acceptKeyword(Keyword::While)) {
        stmt->value = m_expressions.parse();
    } else if (m_cursor.acceptKeyword(Keyword::Until)) {
        stmt->flags = LoopUntil;
        stmt->value = m_expressions.parse();
    }
    ++m_doDepth;
    stmt->blocks.push_back(parseBlock());
    --m_doDepth;
    m_cursor.expectKeyword(Keyword::Loop, 1019);
    if (!stmt->value) {
        if (m_cursor.acceptKeyword(Keyword::While)) {
            stmt->flags = LoopTestAfter;
            stmt->value = m_expressions.parse();
        } else if (m_cursor.acceptKeyword(Keyword::Until)) {
            stmt->flags = LoopTestAfter | LoopUntil;
            stmt->value = m_expressions.parse();
        }
    }
    return stmt;
}

Stmt *Parser::parseWhile()
{
    Stmt *stmt = newStmt(StmtKind::While, m_cursor.next());
    stmt->value = m_expressions.parse();
    stmt->blocks.push_back(parseBlock());
    m_cursor.expectKeyword(Keyword::Wend, 1018);
    return stmt;
}

Stmt *Parser::parseExit()
{
    Stmt *stmt = newStmt(StmtKind::Exit, m_cursor.next());
    const bool inFunction = m_procedure && m_procedure->isFunction && !m_inProperty;
    const bool inSub = m_procedure && !m_procedure->isFunction;
    if (m_cursor.atKeyword(Keyword::Do) && m_doDepth > 0)
        stmt->flags = quint8(ExitKind::Do);
    else if (m_cursor.atKeyword(Keyword::For) && m_forDepth > 0)
        stmt->flags = quint8(ExitKind::For);
    else if (m_cursor.atKeyword(Keyword::Function) && inFunction)
        stmt->flags = quint8(ExitKind::Function);
    else if (m_cursor.atKeyword(Keyword::Sub) && inSub && !m_inProperty)
        stmt->flags = quint8(ExitKind::Sub);
    else if (m_cursor.atWord(u"property") && m_inProperty)
        stmt->flags = quint8(ExitKind::Sub);
    else
        m_cursor.fail(1039);
    m_cursor.next();
    return stmt;
}

Stmt *Parser::parseOnError()
{
    const Token start = m_cursor.next();
    if (!m_cursor.atWord(u"error"))
        m_cursor.fail(1002);
    m_cursor.next();
    if (m_cursor.acceptKeyword(Keyword::Resume)) {
        m_cursor.expectKeyword(Keyword::Next, 1002);
        return newStmt(StmtKind::OnErrorResumeNext, start);
    }
    m_cursor.expectKeyword(Keyword::GoTo, 1002);
    const Token &zero = m_cursor.peek();
    if (zero.kind != TokenKind::Literal || zero.value.type() != VarType::Integer
        || zero.value.integerValue() != 0)
        m_cursor.fail(1002);
    m_cursor.next();
    return newStmt(StmtKind::OnErrorGoToZero, start);
}

void Parser::checkNameFree(const Token &name) const
{
    for (const auto &other : m_program.procedures) {
        if (other->name.compare(name.text, Qt::CaseInsensitive) == 0)
            throw ScriptError::compilation(1041, name.line, name.column);
    }
    for (const auto &other : m_program.classes) {
        if (other->name.compare(name.text, Qt::CaseInsensitive) == 0)
            throw ScriptError::compilation(1041, name.line, name.column);
    }
}

void Parser::parseProcedure()
{
    if (!m_cursor.acceptKeyword(Keyword::Public))
        m_cursor.acceptKeyword(Keyword::Private);
    const Token &kind = m_cursor.next();
    const bool isFunction = kind.keyword == Keyword::Function;
    const Token &name = m_cursor.expect(TokenKind::Identifier, 1010);
    checkNameFree(name);
    m_program.procedures.push_back(parseProcedureBody(name, isFunction, false));
}

// After the name: parameters, body and its End line. A Property Get counts as a Function.
std::shared_ptr<Procedure> Parser::parseProcedureBody(const Token &name, bool isFunction,
                                                      bool isProperty)
{
    auto procedure = std::make_shared<Procedure>();
    procedure->name = name.text;
    procedure->isFunction = isFunction;
    procedure->line = name.line;
    procedure->column = name.column;
    if (m_cursor.accept(TokenKind::LeftParen))
        parseParameters(*procedure);
    endStatement();
    m_procedure = procedure.get();
    m_inProperty = isProperty;
    m_doDepth = m_forDepth = 0;
    procedure->body = parseBlock();
    m_procedure = nullptr;
    m_inProperty = false;
    if (isProperty) {
        m_cursor.expectKeyword(Keyword::End, 1014);
        if (!m_cursor.atWord(u"property"))
            m_cursor.fail(1002);
        m_cursor.next();
    } else {
        expectEnd(isFunction ? Keyword::Function : Keyword::Sub, isFunction ? 1015 : 1016);
    }
    endStatement();
    return procedure;
}

void Parser::parseClass()
{
    m_cursor.next();
    const Token &name = m_cursor.expect(TokenKind::Identifier, 1010);
    checkNameFree(name);
    auto scriptClass = std::make_shared<ScriptClass>();
    scriptClass->name = name.text;
    scriptClass->line = name.line;
    scriptClass->column = name.column;
    endStatement();
    for (;;) {
        skipLineEnds();
        if (m_cursor.atKeyword(Keyword::End) || m_cursor.at(TokenKind::EndOfText))
            break;
        parseClassMember(*scriptClass);
    }
    expectEnd(Keyword::Class, 1002);
    endStatement();
    m_program.classes.push_back(std::move(scriptClass));
}

namespace {

bool isWord(const Token &token, QStringView word)
{
    return token.kind == TokenKind::Identifier
        && token.text.compare(word, Qt::CaseInsensitive) == 0;
}

// The member of that name, made when new; a second definition of the same kind is an error.
ScriptClass::Member &memberNamed(ScriptClass &scriptClass, const Token &name, bool isPublic)
{
    const QString key = name.text.toLower();
    if (const auto it = scriptClass.byName.constFind(key); it != scriptClass.byName.constEnd())
        return scriptClass.members[size_t(it.value())];
    scriptClass.byName.insert(key, int(scriptClass.members.size()));
    ScriptClass::Member &member = scriptClass.members.emplace_back();
    member.name = name.text;
    member.isPublic = isPublic;
    return member;
}

} // namespace

void Parser::parseClassMember(ScriptClass &scriptClass)
{
    const bool modifier
        = m_cursor.atKeyword(Keyword::Public) || m_cursor.atKeyword(Keyword::Private);
    const bool isPublic = !m_cursor.atKeyword(Keyword::Private);
    const Token &after = m_cursor.peek(modifier ? 1 : 0);
    if (m_cursor.atKeyword(Keyword::Dim)
        || (modifier && after.kind == TokenKind::Identifier && !isWord(after, u"default")
            && !isWord(after, u"property"))) {
        const Stmt *fields = parseDim();
        for (const Declaration &declaration : fields->declarations) {
            if (scriptClass.byName.contains(declaration.name.toLower()))
                throw ScriptError::compilation(1041, declaration.line, declaration.column);
            Token name;
            name.text = declaration.name;
            ScriptClass::Member &member = memberNamed(scriptClass, name, isPublic);
            member.field = scriptClass.fieldCount++;
            member.isArray = declaration.isArray;
            member.bounds = declaration.bounds;
        }
        endStatement();
        return;
    }
    if (modifier)
        m_cursor.next();
    bool isDefault = false;
    if (m_cursor.atWord(u"default")) {
        if (!isPublic)
            m_cursor.fail(1002);
        m_cursor.next();
        isDefault = true;
    }
    enum class Kind { Method, Get, Let, Set } kind = Kind::Method;
    bool isFunction = false;
    if (m_cursor.atKeyword(Keyword::Sub) || m_cursor.atKeyword(Keyword::Function)) {
        isFunction = m_cursor.atKeyword(Keyword::Function);
    } else if (m_cursor.atWord(u"property")) {
        m_cursor.next();
        if (m_cursor.atWord(u"get"))
            kind = Kind::Get;
        else if (m_cursor.atKeyword(Keyword::Let))
            kind = Kind::Let;
        else if (m_cursor.atKeyword(Keyword::Set))
            kind = Kind::Set;
        else
            m_cursor.fail(1002);
        isFunction = kind == Kind::Get;
    } else {
        m_cursor.fail(1002);
    }
    m_cursor.next();
    const Token name = m_cursor.expect(TokenKind::Identifier, 1010);
    if (isDefault && !isFunction)
        throw ScriptError::compilation(1002, name.line, name.column);
    const bool known = scriptClass.byName.contains(name.text.toLower());
    ScriptClass::Member &member = memberNamed(scriptClass, name, isPublic);
    std::shared_ptr<Procedure> *slot = &member.method;
    if (kind == Kind::Get)
        slot = &member.get;
    else if (kind == Kind::Let)
        slot = &member.let;
    else if (kind == Kind::Set)
        slot = &member.set;
    const bool clash = member.field >= 0 || *slot
        || (known && (kind == Kind::Method) != (member.method != nullptr));
    if (clash)
        throw ScriptError::compilation(1041, name.line, name.column);
    if (isDefault) {
        if (scriptClass.defaultMember >= 0)
            throw ScriptError::compilation(1002, name.line, name.column);
        scriptClass.defaultMember = scriptClass.byName.value(name.text.toLower());
    }
    *slot = parseProcedureBody(name, isFunction, kind != Kind::Method);
    if (kind == Kind::Method && !isFunction) {
        if (isWord(name, u"class_initialize"))
            scriptClass.initialize = *slot;
        else if (isWord(name, u"class_terminate"))
            scriptClass.terminate = *slot;
    }
}

void Parser::parseParameters(Procedure &procedure)
{
    if (m_cursor.accept(TokenKind::RightParen))
        return;
    do {
        bool byRef = true;
        if (m_cursor.acceptKeyword(Keyword::ByVal))
            byRef = false;
        else
            m_cursor.acceptKeyword(Keyword::ByRef);
        const Token &name = m_cursor.expect(TokenKind::Identifier, 1010);
        for (const auto &other : procedure.parameters) {
            if (other.name.compare(name.text, Qt::CaseInsensitive) == 0)
                throw ScriptError::compilation(1041, name.line, name.column);
        }
        if (m_cursor.accept(TokenKind::LeftParen))
            m_cursor.expect(TokenKind::RightParen, 1006);
        procedure.parameters.push_back({ name.text, byRef });
    } while (m_cursor.accept(TokenKind::Comma));
    m_cursor.expect(TokenKind::RightParen, 1006);
}

} // namespace vantrel::vbscript
