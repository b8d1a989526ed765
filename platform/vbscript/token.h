#pragma once

#include "platform/vbscript/variant.h"

#include <QString>

namespace vantrel::vbscript {

enum class TokenKind : quint8 {
    EndOfText,
    EndOfLine, // a line break or ':'
    Identifier,
    Keyword,
    Literal, // number, text or date; the value is in the token
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Ampersand,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    LeftParen,
    RightParen,
    Comma,
    Dot,
};

// The reserved words of the language that the parser looks for.
enum class Keyword : quint8 {
    None,
    And,
    ByRef,
    ByVal,
    Call,
    Case,
    Class,
    Const,
    Dim,
    Do,
    Each,
    Else,
    ElseIf,
    Empty,
    End,
    Eqv,
    Erase,
    Exit,
    False,
    For,
    Function,
    GoTo,
    If,
    Imp,
    In,
    Is,
    Let,
    Loop,
    Mod,
    New,
    Next,
    Not,
    Nothing,
    Null,
    On,
    Option,
    Or,
    Preserve,
    Private,
    Public,
    ReDim,
    Resume,
    Select,
    Set,
    Stop,
    Sub,
    Then,
    To,
    True,
    Until,
    Wend,
    While,
    With,
    Xor,
};

struct Token
{
    TokenKind kind = TokenKind::EndOfText;
    Keyword keyword = Keyword::None;
    bool colon = false;  // an EndOfLine that is a ':' separator, not a line break
    bool spaced = false; // a '.' after white space: inside With it starts a reference (Print .a)
    int line = 1;
    int column = 1;
    QString text;  // identifiers and keywords as written
    Variant value; // literals
};

} // namespace vantrel::vbscript
