#pragma once

#include <QString>

// A VBScript expression whose value is exactly the text, to be put into script source: a
// string literal with inner quotes doubled. A literal cannot hold a line break, so CR LF, CR
// and LF are joined in as vbCrLf, vbCr and vbLf, and other control characters as Chr(n)
// (ChrW(n) above 127). A text that needs such joins comes in parentheses, so that it stays one
// operand wherever it is put: ("a" & vbCrLf & "b").
QString VbsStringLiteral(const QString &text);
