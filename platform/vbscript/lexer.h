#pragma once

#include "platform/vbscript/token.h"

#include <QStringView>

#include <vector>

namespace vantrel::vbscript {

// Cuts script text into tokens: identifiers (letters of any script, Chinese included, digits
// and '_'; or [any text] in brackets), keywords, numbers (decimal, exponent, &H and &O), "text"
// with "" for a quote, #date# literals, operators and line ends. Comments (' and Rem) are
// skipped and " _" at the end of a line joins it to the next. Raises compilation errors
// (Invalid character, Unterminated string constant ...) with their position.
class Lexer
{
public:
    explicit Lexer(QStringView source);

    std::vector<Token> tokenize();

private:
    QChar peek(qsizetype offset = 0) const;
    bool atEnd() const { return m_pos >= m_source.size(); }
    [[noreturn]] void fail(int number) const;
    void skipBlanksAndContinuations();
    void skipComment();
    bool readToken(Token &token);
    void readNumber(Token &token);
    void readRadixNumber(Token &token);
    void readString(Token &token);
    void readDate(Token &token);
    void readIdentifier(Token &token);
    void readBracketIdentifier(Token &token);
    bool readOperator(Token &token);
    bool lastCanEndOperand() const;

    QStringView m_source;
    qsizetype m_pos = 0;
    int m_line = 1;
    qsizetype m_lineStart = 0;
    std::vector<Token> m_tokens;
};

} // namespace vantrel::vbscript
