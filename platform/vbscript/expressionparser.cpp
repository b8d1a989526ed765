#include "platform/vbscript/expressionparser.h"

namespace vantrel::vbscript {

namespace {

// Deeply nested expressions would exhaust the stack of the recursive parser and evaluator.
constexpr int kMaxNesting = 400;

class DepthGuard
{
public:
    explicit DepthGuard(int &depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard &) = delete;
    DepthGuard &operator=(const DepthGuard &) = delete;

private:
    int &m_depth;
};

std::optional<ExprKind> comparisonKind(const Token &token)
{
    switch (token.kind) {
    case TokenKind::Equal:
        return ExprKind::Equal;
    case TokenKind::NotEqual:
        return ExprKind::NotEqual;
    case TokenKind::Less:
        return ExprKind::Less;
    case TokenKind::LessEqual:
        return ExprKind::LessEqual;
    case TokenKind::Greater:
        return ExprKind::Greater;
    case TokenKind::GreaterEqual:
        return ExprKind::GreaterEqual;
    case TokenKind::Keyword:
        if (token.keyword == Keyword::Is)
            return ExprKind::Is;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

ExpressionParser::ExpressionParser(TokenCursor &cursor, Program &program)
    : m_cursor(cursor), m_program(program)
{
}

void ExpressionParser::enter()
{
    if (m_depth > kMaxNesting)
        m_cursor.fail(28);
}

Expr *ExpressionParser::binary(ExprKind kind, Expr *left, Expr *right, const Token &op)
{
    Expr *e = m_program.newExpr(kind, op.line, op.column);
    e->left = left;
    e->right = right;
    return e;
}

Expr *ExpressionParser::parse()
{
    DepthGuard guard(m_depth);
    enter();
    return parseImp();
}

Expr *ExpressionParser::parseImp()
{
    Expr *left = parseEqv();
    while (m_cursor.atKeyword(Keyword::Imp)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::Imp, left, parseEqv(), op);
    }
    return left;
}

Expr *ExpressionParser::parseEqv()
{
    Expr *left = parseXor();
    while (m_cursor.atKeyword(Keyword::Eqv)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::Eqv, left, parseXor(), op);
    }
    return left;
}

Expr *ExpressionParser::parseXor()
{
    Expr *left = parseOr();
    while (m_cursor.atKeyword(Keyword::Xor)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::Xor, left, parseOr(), op);
    }
    return left;
}

Expr *ExpressionParser::parseOr()
{
    Expr *left = parseAnd();
    while (m_cursor.atKeyword(Keyword::Or)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::Or, left, parseAnd(), op);
    }
    return left;
}

Expr *ExpressionParser::parseAnd()
{
    Expr *left = parseNot();
    while (m_cursor.atKeyword(Keyword::And)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::And, left, parseNot(), op);
    }
    return left;
}

Expr *ExpressionParser::parseNot()
{
    if (m_cursor.atKeyword(Keyword::Not)) {
        DepthGuard guard(m_depth);
        enter();
        const Token op = m_cursor.next();
        return binary(ExprKind::Not, parseNot(), nullptr, op);
    }
    return parseComparison();
}

Expr *ExpressionParser::parseComparison()
{
    Expr *left = parseConcat();
    while (const auto kind = comparisonKind(m_cursor.peek())) {
        const Token op = m_cursor.next();
        left = binary(*kind, left, parseConcat(), op);
    }
    return left;
}

Expr *ExpressionParser::parseConcat()
{
    Expr *left = parseAdditive();
    while (m_cursor.at(TokenKind::Ampersand)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::Concat, left, parseAdditive(), op);
    }
    return left;
}

Expr *ExpressionParser::parseAdditive()
{
    Expr *left = parseModulo();
    while (m_cursor.at(TokenKind::Plus) || m_cursor.at(TokenKind::Minus)) {
        const Token op = m_cursor.next();
        const ExprKind kind = op.kind == TokenKind::Plus ? ExprKind::Add : ExprKind::Subtract;
        left = binary(kind, left, parseModulo(), op);
    }
    return left;
}

Expr *ExpressionParser::parseModulo()
{
    Expr *left = parseIntegerDivision();
    while (m_cursor.atKeyword(Keyword::Mod)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::Modulo, left, parseIntegerDivision(), op);
    }
    return left;
}

Expr *ExpressionParser::parseIntegerDivision()
{
    Expr *left = parseMultiplicative();
    while (m_cursor.at(TokenKind::Backslash)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::IntegerDivide, left, parseMultiplicative(), op);
    }
    return left;
}

Expr *ExpressionParser::parseMultiplicative()
{
    Expr *left = parsePower();
    while (m_cursor.at(TokenKind::Star) || m_cursor.at(TokenKind::Slash)) {
        const Token op = m_cursor.next();
        const ExprKind kind = op.kind == TokenKind::Star ? ExprKind::Multiply : ExprKind::Divide;
        left = binary(kind, left, parsePower(), op);
    }
    return left;
}

// ^ groups left to right, and a sign belongs to its operand: -3 ^ 2 is 9, 2 ^ 3 ^ 2 is 64.
Expr *ExpressionParser::parsePower()
{
    Expr *left = parseUnary();
    while (m_cursor.at(TokenKind::Caret)) {
        const Token op = m_cursor.next();
        left = binary(ExprKind::Power, left, parseUnary(), op);
    }
    return left;
}

Expr *ExpressionParser::parseUnary()
{
    if (m_cursor.at(TokenKind::Minus) || m_cursor.at(TokenKind::Plus)) {
        DepthGuard guard(m_depth);
        enter();
        const Token op = m_cursor.next();
        Expr *operand = parseUnary();
        return op.kind == TokenKind::Minus ? binary(ExprKind::Negate, operand, nullptr, op)
                                           : operand;
    }
    return parsePrimary();
}

Expr *ExpressionParser::parsePrimary()
{
    const Token &token = m_cursor.peek();
    switch (token.kind) {
    case TokenKind::Literal: {
        Expr *e = m_program.newExpr(ExprKind::Constant, token.line, token.column);
        e->value = token.value;
        e->literal = true;
        m_cursor.next();
        return e;
    }
    case TokenKind::Identifier:
    case TokenKind::Dot:
        return parseReference();
    case TokenKind::LeftParen: {
        const Token open = m_cursor.next();
        Expr *inner = parse();
        m_cursor.expect(TokenKind::RightParen, 1006);
        return binary(ExprKind::Paren, inner, nullptr, open);
    }
    case TokenKind::Keyword: {
        if (token.keyword == Keyword::New) {
            m_cursor.next();
            const Token &name = m_cursor.expect(TokenKind::Identifier, 1010);
            Expr *e = m_program.newExpr(ExprKind::New, token.line, token.column);
            e->name = name.text;
            return e;
        }
        Variant value;
        switch (token.keyword) {
        case Keyword::True:
            value = Variant(true);
            break;
        case Keyword::False:
            value = Variant(false);
            break;
        case Keyword::Empty:
            break;
        case Keyword::Null:
            value = Variant::null();
            break;
        case Keyword::Nothing:
            value = Variant::nothing();
            break;
        default:
            m_cursor.fail(1023);
        }
        Expr *e = m_program.newExpr(ExprKind::Constant, token.line, token.column);
        e->value = value;
        m_cursor.next();
        return e;
    }
    default:
        m_cursor.fail(1023);
    }
}

bool ExpressionParser::startsWithReference() const
{
    return m_withDepth > 0 && m_cursor.peek().spaced;
}

Expr *ExpressionParser::parseName()
{
    if (m_cursor.at(TokenKind::Dot)) {
        // Outside any With the reference fails when it runs, as the language has it.
        const Token &dot = m_cursor.peek();
        Expr *object = m_program.newExpr(ExprKind::WithObject, dot.line, dot.column);
        object->index = m_withDepth - 1;
        return parseMember(object);
    }
    const Token &token = m_cursor.expect(TokenKind::Identifier, 1010);
    Expr *e = m_program.newExpr(ExprKind::Name, token.line, token.column);
    e->name = token.text;
    return e;
}

Expr *ExpressionParser::parseMember(Expr *left)
{
    const Token &dot = m_cursor.next();
    const Token &token = m_cursor.peek();
    if (token.kind != TokenKind::Identifier && token.kind != TokenKind::Keyword)
        m_cursor.fail(1010);
    m_cursor.next();
    Expr *e = m_program.newExpr(ExprKind::Member, dot.line, dot.column);
    e->left = left;
    e->name = token.text;
    return e;
}

Expr *ExpressionParser::makeCall(Expr *callee, std::vector<Expr *> args, bool parenthesized,
                                 const Token &at)
{
    Expr *e = callee;
    if (callee->kind == ExprKind::Name) {
        e->kind = ExprKind::NameCall;
    } else if (callee->kind == ExprKind::Member) {
        e->kind = ExprKind::MemberCall;
    } else {
        e = m_program.newExpr(ExprKind::IndexCall, at.line, at.column);
        e->left = callee;
    }
    e->args = std::move(args);
    e->parenthesized = parenthesized;
    return e;
}

Expr *ExpressionParser::parseReference()
{
    Expr *e = parseName();
    for (;;) {
        if (m_cursor.at(TokenKind::LeftParen)) {
            const Token open = m_cursor.next();
            e = makeCall(e, parseArgumentList(), true, open);
        } else if (m_cursor.at(TokenKind::Dot) && !startsWithReference()) {
            e = parseMember(e);
        } else {
            return e;
        }
    }
}

Expr *ExpressionParser::parseCallee()
{
    Expr *e = parseName();
    for (;;) {
        if (m_cursor.at(TokenKind::LeftParen)) {
            const size_t after = m_cursor.afterMatchingParen(m_cursor.position());
            if (m_cursor.tokenAt(after).kind != TokenKind::Dot)
                return e;
            const Token open = m_cursor.next();
            e = makeCall(e, parseArgumentList(), true, open);
        } else if (m_cursor.at(TokenKind::Dot) && !startsWithReference()) {
            e = parseMember(e);
        } else {
            return e;
        }
    }
}

std::vector<Expr *> ExpressionParser::parseArgumentList()
{
    std::vector<Expr *> args;
    if (m_cursor.accept(TokenKind::RightParen))
        return args;
    do {
        args.push_back(parseArgument());
    } while (m_cursor.accept(TokenKind::Comma));
    m_cursor.expect(TokenKind::RightParen, 1006);
    return args;
}

std::vector<Expr *> ExpressionParser::parseBareArguments()
{
    std::vector<Expr *> args;
    if (m_cursor.atEndOfStatement())
        return args;
    do {
        args.push_back(parseArgument());
    } while (m_cursor.accept(TokenKind::Comma));
    return args;
}

// An argument left out (f(1, , 3)) is passed as Empty, which built-ins take as not given.
Expr *ExpressionParser::parseArgument()
{
    if (m_cursor.at(TokenKind::Comma) || m_cursor.at(TokenKind::RightParen)
        || m_cursor.atEndOfStatement()) {
        const Token &at = m_cursor.peek();
        return m_program.newExpr(ExprKind::Constant, at.line, at.column);
    }
    return parse();
}

} // namespace vantrel::vbscript
