#pragma once

#include "platform/common/result.h"

#include <QChar>
#include <QString>

// The formula language of wage items: a VBScript expression in which "[table title.item
// alias]" stands for the value of an item. The item editor strips brackets inside text
// literals, checks the result and stores it as typed (FExp2) and with every reference
// rewritten to "{column}" (FExp), which the calculation fills with each person's values.

// Whether the two characters occur equally often in the text (positions are not compared).
bool AreCharCountsEqual(const QString &text, QChar open, QChar close);
// Whether the character occurs an even number of times.
bool IsCharCountEven(const QString &text, QChar c);

// Removes '[' and ']' inside each paired "…" literal of the formula, so that bracketed text in
// quotes never counts as a reference; brackets between two literals stay.
void StripBracketsInQuotes(QString &formula);

// Checks a formula with a fresh script host holding the stored global script: brackets,
// parentheses and both kinds of quotes must pair up; every reference must name an item of
// data type 0 to 3, which is replaced by a test value of its type (a number, a "TestN" text,
// a date literal); the result must evaluate to a value. The failure's text is the message to
// show ("中括号不配对!", "小括号不配对!", "双引号不配对!", "单引号不配对!",
// "项目名称'…'不匹配!" or "错误公式表达式,请检查函数名和参数是否正确!"), or the database's
// reason when the global script or an item's type cannot be read; only the first problem is
// reported. A script error has been shown by the host before on the interface thread.
vantrel::Status CheckWageFormula(const QString &formula);

// Rewrites every "[table title.item alias]" to "{column name}" in place; returns the number of
// distinct references rewritten. A reference that names no item keeps its alias part.
int ReplaceFormulaReferences(QString &formula);
