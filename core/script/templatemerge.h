#pragma once

#include <QString>
#include <QVariant>

#include <functional>

class CADORecordset;
class CScriptHostProxy;

// The template language of pay-slip mails and bank files: "[title]" stands for the field of
// that name in the current row, and an expression block "{$ … $}" for the value of the
// VBScript expression inside it. Blocks nest and are evaluated from the inside out.
//
// Values never become template text: a field outside a block is its plain text (texts without
// quotes, dates as yyyy-MM-dd, True/False, numbers as the script writes them, empty for NULL);
// inside a block it is a VBScript literal (texts as VbsStringLiteral writes them, dates as a
// quoted yyyy-MM-dd, Empty for NULL or an unknown field), and so is the value of a nested block
// inside its enclosing one. A value that
// itself holds "{$ … $}" or "[…]" is therefore never evaluated or merged again.
//
// Inside a block, "&nbsp;" and no-break spaces count as blanks and the entities &lt; &gt;
// &quot; &amp; as their characters, since the HTML editor writes them for typed text. A block
// whose value is Empty or Null stands for its own expression text; a block whose evaluation
// fails fails the whole merge. A lone "{$" or "$}" stays as it is.

// The value of a field by its title (compared without case); invalid when there is none.
using TemplateFieldLookup = std::function<QVariant(const QString &title)>;

// Merges fields and evaluates blocks with the host; the merged text, or the empty text when a
// block fails or there is no host (the host keeps the script error).
QString MergeTemplateFields(CScriptHostProxy *host, const TemplateFieldLookup &fields,
                            const QString &templateText);
// The same with the fields of the recordset's current row.
QString MergeTemplateFields(CScriptHostProxy *host, CADORecordset &row,
                            const QString &templateText);

// Evaluates the blocks of text in place (square brackets are plain text here). 1 when no block
// is left; 0, with text untouched, when a block fails or the host is null.
int ExpandTemplateExpressions(QString &text, CScriptHostProxy *host);

// The innermost block: *end is the position of the first closing marker, *start the position of
// the last character of the last opening marker that begins before it. Either is -1 when its
// marker is missing (*start is -1 whenever *end is).
void FindTemplateExpression(const QString &text, const QString &open, const QString &close,
                            qsizetype *start, qsizetype *end);
