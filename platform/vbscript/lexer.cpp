#include "platform/vbscript/lexer.h"

#include "platform/vbscript/dateparser.h"
#include "platform/vbscript/scripterror.h"

#include <QHash>

#include <cmath>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

const QHash<QString, Keyword> &keywords()
{
    static const QHash<QString, Keyword> table = {
        { u"and"_s, Keyword::And },
        { u"byref"_s, Keyword::ByRef },
        { u"byval"_s, Keyword::ByVal },
        { u"call"_s, Keyword::Call },
        { u"case"_s, Keyword::Case },
        { u"class"_s, Keyword::Class },
        { u"const"_s, Keyword::Const },
        { u"dim"_s, Keyword::Dim },
        { u"do"_s, Keyword::Do },
        { u"each"_s, Keyword::Each },
        { u"else"_s, Keyword::Else },
        { u"elseif"_s, Keyword::ElseIf },
        { u"empty"_s, Keyword::Empty },
        { u"end"_s, Keyword::End },
        { u"eqv"_s, Keyword::Eqv },
        { u"erase"_s, Keyword::Erase },
        { u"exit"_s, Keyword::Exit },
        { u"false"_s, Keyword::False },
        { u"for"_s, Keyword::For },
        { u"function"_s, Keyword::Function },
        { u"goto"_s, Keyword::GoTo },
        { u"if"_s, Keyword::If },
        { u"imp"_s, Keyword::Imp },
        { u"in"_s, Keyword::In },
        { u"is"_s, Keyword::Is },
        { u"let"_s, Keyword::Let },
        { u"loop"_s, Keyword::Loop },
        { u"mod"_s, Keyword::Mod },
        { u"new"_s, Keyword::New },
        { u"next"_s, Keyword::Next },
        { u"not"_s, Keyword::Not },
        { u"nothing"_s, Keyword::Nothing },
        { u"null"_s, Keyword::Null },
        { u"on"_s, Keyword::On },
        { u"option"_s, Keyword::Option },
        { u"or"_s, Keyword::Or },
        { u"preserve"_s, Keyword::Preserve },
        { u"private"_s, Keyword::Private },
        { u"public"_s, Keyword::Public },
        { u"redim"_s, Keyword::ReDim },
        { u"resume"_s, Keyword::Resume },
        { u"select"_s, Keyword::Select },
        { u"set"_s, Keyword::Set },
        { u"stop"_s, Keyword::Stop },
        { u"sub"_s, Keyword::Sub },
        { u"then"_s, Keyword::Then },
        { u"to"_s, Keyword::To },
        { u"true"_s, Keyword::True },
        { u"until"_s, Keyword::Until },
        { u"wend"_s, Keyword::Wend },
        { u"while"_s, Keyword::While },
        { u"with"_s, Keyword::With },
        { u"xor"_s, Keyword::Xor },
    };
    return table;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    const QChar upper = c.toUpper();
    return isDigit(c) || (upper >= u'A' && upper <= u'F');
}

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

bool isBlank(QChar c)
{
    return !isLineBreak(c) && (c == u' ' || c == u'\t' || c.isSpace());
}

bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

Lexer::Lexer(QStringView source) : m_source(source) { }

QChar Lexer::peek(qsizetype offset) const
{
    const qsizetype at = m_pos + offset;
    return at < m_source.size() ? m_source[at] : QChar();
}

void Lexer::fail(int number) const
{
    throw ScriptError::compilation(number, m_line, int(m_pos - m_lineStart) + 1);
}

void Lexer::skipBlanksAndContinuations()
{
    while (!atEnd()) {
        const QChar c = peek();
        if (isBlank(c)) {
            ++m_pos;
            continue;
        }
        // " _" at the end of a line continues the statement on the next line.
        if (c == u'_' && (m_pos == m_lineStart || isBlank(m_source[m_pos - 1]))) {
            qsizetype at = m_pos + 1;
            while (at < m_source.size() && isBlank(m_source[at]))
                ++at;
            if (at < m_source.size() && isLineBreak(m_source[at])) {
                at += (m_source[at] == u'\r' && at + 1 < m_source.size()
                       && m_source[at + 1] == u'\n')
                    ? 2
                    : 1;
                m_pos = at;
                ++m_line;
                m_lineStart = m_pos;
                continue;
            }
        }
        break;
    }
}

void Lexer::skipComment()
{
    while (!atEnd() && !isLineBreak(peek()))
        ++m_pos;
}

std::vector<Token> Lexer::tokenize()
{
    int commentColumn = 0;
    for (;;) {
        skipBlanksAndContinuations();
        Token token;
        token.line = m_line;
        token.column = int(m_pos - m_lineStart) + 1;
        if (atEnd()) {
            token.kind = TokenKind::EndOfLine;
            if (commentColumn > 0)
                token.column = commentColumn;
            m_tokens.push_back(token);
            token.kind = TokenKind::EndOfText;
            m_tokens.push_back(token);
            break;
        }
        if (!readToken(token)) {
            commentColumn = token.column;
            continue;
        }
        // A line end after a comment is reported where the comment starts.
        if (token.kind == TokenKind::EndOfLine && !token.colon && commentColumn > 0)
            token.column = commentColumn;
        commentColumn = 0;
        m_tokens.push_back(std::move(token));
    }
    return std::move(m_tokens);
}

bool Lexer::readToken(Token &token)
{
    const QChar c = peek();
    if (c == u'\'') {
        skipComment();
        return false;
    }
    if (isLineBreak(c)) {
        m_pos += (c == u'\r' && peek(1) == u'\n') ? 2 : 1;
        token.kind = TokenKind::EndOfLine;
        ++m_line;
        m_lineStart = m_pos;
        return true;
    }
    if (c == u':') {
        ++m_pos;
        token.kind = TokenKind::EndOfLine;
        token.colon = true;
        return true;
    }
    if (isDigit(c) || (c == u'.' && isDigit(peek(1)) && !lastCanEndOperand())) {
        readNumber(token);
    } else if (c == u'&'
               && ((peek(1).toUpper() == u'H' && isHexDigit(peek(2)))
                   || (peek(1).toUpper() == u'O' && isDigit(peek(2)))
                   || (isDigit(peek(1)) && !lastCanEndOperand()))) {
        readRadixNumber(token);
    } else if (c == u'"') {
        readString(token);
    } else if (c == u'#') {
        readDate(token);
    } else if (c == u'[') {
        readBracketIdentifier(token);
    } else if (c.isLetter()) {
        readIdentifier(token);
        if (token.kind == TokenKind::Identifier
            && token.text.compare(u"rem"_s, Qt::CaseInsensitive) == 0) {
            skipComment();
            return false;
        }
    } else if (!readOperator(token)) {
        fail(1032);
    }
    return true;
}

void Lexer::readNumber(Token &token)
{
    const qsizetype start = m_pos;
    bool real = false;
    while (isDigit(peek()))
        ++m_pos;
    if (peek() == u'.' && isDigit(peek(1))) {
        real = true;
        ++m_pos;
        while (isDigit(peek()))
            ++m_pos;
    } else if (peek() == u'.' && !peek(1).isLetter()) {
        real = true;
        ++m_pos;
    }
    if (peek().toUpper() == u'E'
        && (isDigit(peek(1)) || ((peek(1) == u'+' || peek(1) == u'-') && isDigit(peek(2))))) {
        real = true;
        m_pos += 2;
        while (isDigit(peek()))
            ++m_pos;
    }
    const QString text = m_source.mid(start, m_pos - start).toString();
    const double value = text.toDouble();
    if (!std::isfinite(value))
        fail(1031);
    token.kind = TokenKind::Literal;
    if (!real && value <= 32767)
        token.value = Variant::fromInteger(qint16(value));
    else if (!real && value <= 2147483647.0)
        token.value = Variant(qint32(value));
    else
        token.value = Variant(value);
}

void Lexer::readRadixNumber(Token &token)
{
    ++m_pos; // '&'
    int radix = 8;
    if (peek().toUpper() == u'H') {
        radix = 16;
        ++m_pos;
    } else if (peek().toUpper() == u'O') {
        ++m_pos;
    }
    const qsizetype start = m_pos;
    while (!atEnd() && (radix == 16 ? isHexDigit(peek()) : (peek() >= u'0' && peek() <= u'7')))
        ++m_pos;
    bool ok = false;
    const qulonglong raw = m_source.mid(start, m_pos - start).toULongLong(&ok, radix);
    if (!ok || raw > 0xffffffffull)
        fail(1031);
    if (peek() == u'&')
        ++m_pos; // the Long suffix
    token.kind = TokenKind::Literal;
    // Up to 16 bits the pattern is an Integer's, else a Long's; the value then takes the
    // smallest type that holds it, so &HFFFFFFFF is Integer -1.
    const qint32 value = raw <= 0xffffull ? qint16(quint16(raw)) : qint32(quint32(raw));
    if (value >= -32768 && value <= 32767)
        token.value = Variant::fromInteger(qint16(value));
    else
        token.value = Variant(value);
}

void Lexer::readString(Token &token)
{
    ++m_pos;
    QString text;
    for (;;) {
        if (atEnd() || isLineBreak(peek()))
            fail(1033);
        const QChar c = peek();
        ++m_pos;
        if (c == u'"') {
            if (peek() != u'"')
                break;
            ++m_pos;
        }
        text += c;
    }
    token.kind = TokenKind::Literal;
    token.value = Variant(std::move(text));
}

void Lexer::readDate(Token &token)
{
    const qsizetype start = ++m_pos;
    while (!atEnd() && peek() != u'#' && !isLineBreak(peek()))
        ++m_pos;
    if (peek() != u'#')
        fail(1002);
    double serial = 0;
    if (!DateParser::parse(m_source.mid(start, m_pos - start), serial))
        throw ScriptError::compilation(1002, token.line, token.column);
    ++m_pos;
    token.kind = TokenKind::Literal;
    token.value = Variant::fromDate(serial);
}

void Lexer::readIdentifier(Token &token)
{
    const qsizetype start = m_pos;
    while (!atEnd() && isIdentifierPart(peek()))
        ++m_pos;
    if (m_pos - start > 255)
        fail(1030);
    token.text = m_source.mid(start, m_pos - start).toString();
    const Keyword keyword = keywords().value(token.text.toLower(), Keyword::None);
    token.kind = keyword == Keyword::None ? TokenKind::Identifier : TokenKind::Keyword;
    token.keyword = keyword;
}

void Lexer::readBracketIdentifier(Token &token)
{
    const qsizetype start = ++m_pos;
    while (!atEnd() && peek() != u']' && !isLineBreak(peek()))
        ++m_pos;
    if (peek() != u']')
        fail(1007);
    token.kind = TokenKind::Identifier;
    token.text = m_source.mid(start, m_pos - start).toString();
    ++m_pos;
}

bool Lexer::readOperator(Token &token)
{
    const QChar c = peek();
    const QChar next = peek(1);
    int length = 1;
    switch (c.unicode()) {
    case u'+':
        token.kind = TokenKind::Plus;
        break;
    case u'-':
        token.kind = TokenKind::Minus;
        break;
    case u'*':
        token.kind = TokenKind::Star;
        break;
    case u'/':
        token.kind = TokenKind::Slash;
        break;
    case u'\\':
        token.kind = TokenKind::Backslash;
        break;
    case u'^':
        token.kind = TokenKind::Caret;
        break;
    case u'&':
        token.kind = TokenKind::Ampersand;
        break;
    case u'=':
        token.kind = TokenKind::Equal;
        break;
    case u'(':
        token.kind = TokenKind::LeftParen;
        break;
    case u')':
        token.kind = TokenKind::RightParen;
        break;
    case u',':
        token.kind = TokenKind::Comma;
        break;
    case u'.':
        token.kind = TokenKind::Dot;
        token.spaced = m_pos > 0 && isBlank(m_source[m_pos - 1]);
        break;
    case u'<':
        token.kind = next == u'=' ? TokenKind::LessEqual
            : next == u'>'        ? TokenKind::NotEqual
                                  : TokenKind::Less;
        length = token.kind == TokenKind::Less ? 1 : 2;
        break;
    case u'>':
        token.kind = next == u'=' ? TokenKind::GreaterEqual : TokenKind::Greater;
        length = next == u'=' ? 2 : 1;
        break;
    default:
        return false;
    }
    m_pos += length;
    return true;
}

bool Lexer::lastCanEndOperand() const
{
    if (m_tokens.empty())
        return false;
    const Token &last = m_tokens.back();
    switch (last.kind) {
    case TokenKind::Identifier:
    case TokenKind::Literal:
    case TokenKind::RightParen:
        return true;
    case TokenKind::Keyword:
        return last.keyword == Keyword::True || last.keyword == Keyword::False
            || last.keyword == Keyword::Empty || last.keyword == Keyword::Null
            || last.keyword == Keyword::Nothing;
    default:
        return false;
    }
}

} // namespace vantrel::vbscript
