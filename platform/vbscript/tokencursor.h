#pragma once

#include "platform/vbscript/scripterror.h"
#include "platform/vbscript/token.h"

#include <vector>

namespace vantrel::vbscript {

// Reading position over the tokens of one text, shared by the statement and expression parsers.
// The token list always ends with EndOfLine, EndOfText.
class TokenCursor
{
public:
    explicit TokenCursor(std::vector<Token> tokens) : m_tokens(std::move(tokens)) { }

    const Token &peek(int ahead = 0) const
    {
        const size_t at = qMin(m_pos + size_t(ahead), m_tokens.size() - 1);
        return m_tokens[at];
    }
    const Token &next()
    {
        const Token &token = m_tokens[m_pos];
        if (m_pos + 1 < m_tokens.size())
            ++m_pos;
        return token;
    }
    size_t position() const { return m_pos; }
    void rewind(size_t position) { m_pos = position; }

    bool at(TokenKind kind) const { return peek().kind == kind; }
    bool atKeyword(Keyword keyword) const
    {
        return peek().kind == TokenKind::Keyword && peek().keyword == keyword;
    }
    // An identifier used as a word of a statement (Step, Error, Explicit).
    bool atWord(const char16_t *word) const
    {
        return peek().kind == TokenKind::Identifier
            && peek().text.compare(QStringView(word), Qt::CaseInsensitive) == 0;
    }
    // A line end, ':' or the end of the text; Else also ends a statement of a one-line If.
    bool atEndOfStatement() const
    {
        return at(TokenKind::EndOfLine) || at(TokenKind::EndOfText) || atKeyword(Keyword::Else);
    }
    bool accept(TokenKind kind)
    {
        if (!at(kind))
            return false;
        next();
        return true;
    }
    bool acceptKeyword(Keyword keyword)
    {
        if (!atKeyword(keyword))
            return false;
        next();
        return true;
    }
    const Token &expect(TokenKind kind, int error)
    {
        if (!at(kind))
            fail(error);
        return next();
    }
    void expectKeyword(Keyword keyword, int error)
    {
        if (!acceptKeyword(keyword))
            fail(error);
    }
    [[noreturn]] void fail(int error) const
    {
        throw ScriptError::compilation(error, peek().line, peek().column);
    }
    // The position just after the ')' that closes the '(' at position open.
    size_t afterMatchingParen(size_t open) const
    {
        int depth = 0;
        for (size_t i = open; i < m_tokens.size(); ++i) {
            const TokenKind kind = m_tokens[i].kind;
            if (kind == TokenKind::LeftParen)
                ++depth;
            else if (kind == TokenKind::RightParen && --depth == 0)
                return i + 1;
            else if (kind == TokenKind::EndOfLine || kind == TokenKind::EndOfText)
                break;
        }
        return m_tokens.size() - 1;
    }
    const Token &tokenAt(size_t position) const
    {
        return m_tokens[qMin(position, m_tokens.size() - 1)];
    }

private:
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
};

} // namespace vantrel::vbscript
