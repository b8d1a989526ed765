#include "platform/vbscript/scripterror.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

struct ErrorText
{
    int number;
    const char16_t *text;
};

constexpr ErrorText kErrorTexts[] = {
    { 5, u"Invalid procedure call or argument" },
    { 6, u"Overflow" },
    { 7, u"Out of memory" },
    { 9, u"Subscript out of range" },
    { 10, u"This array is fixed or temporarily locked" },
    { 11, u"Division by zero" },
    { 13, u"Type mismatch" },
    { 14, u"Out of string space" },
    { 17, u"Can't perform requested operation" },
    { 28, u"Out of stack space" },
    { 35, u"Sub or Function not defined" },
    { 48, u"Error in loading DLL" },
    { 51, u"Internal error" },
    { 70, u"Permission denied" },
    { 91, u"Object variable not set" },
    { 92, u"For loop not initialized" },
    { 94, u"Invalid use of Null" },
    { 424, u"Object required" },
    { 429, u"ActiveX component can't create object" },
    { 438, u"Object doesn't support this property or method" },
    { 445, u"Object doesn't support this action" },
    { 449, u"Argument not optional" },
    { 450, u"Wrong number of arguments or invalid property assignment" },
    { 451, u"Object not a collection" },
    { 500, u"Variable is undefined" },
    { 501, u"Illegal assignment" },
    { 505, u"Invalid or unqualified reference" },
    { 506, u"Class not defined" },
    { 507, u"An exception occurred" },
    { 1001, u"Out of memory" },
    { 1002, u"Syntax error" },
    { 1003, u"Expected ':'" },
    { 1005, u"Expected '('" },
    { 1006, u"Expected ')'" },
    { 1007, u"Expected ']'" },
    { 1010, u"Expected identifier" },
    { 1011, u"Expected '='" },
    { 1012, u"Expected 'If'" },
    { 1013, u"Expected 'To'" },
    { 1014, u"Expected 'End'" },
    { 1015, u"Expected 'Function'" },
    { 1016, u"Expected 'Sub'" },
    { 1017, u"Expected 'Then'" },
    { 1018, u"Expected 'Wend'" },
    { 1019, u"Expected 'Loop'" },
    { 1020, u"Expected 'Next'" },
    { 1021, u"Expected 'Case'" },
    { 1022, u"Expected 'Select'" },
    { 1023, u"Expected expression" },
    { 1024, u"Expected statement" },
    { 1025, u"Expected end of statement" },
    { 1026, u"Expected integer constant" },
    { 1027, u"Expected 'While' or 'Until'" },
    { 1028, u"Expected 'While', 'Until' or end of statement" },
    { 1030, u"Identifier too long" },
    { 1031, u"Invalid number" },
    { 1032, u"Invalid character" },
    { 1033, u"Unterminated string constant" },
    { 1038, u"'loop' without 'do'" },
    { 1039, u"Invalid 'exit' statement" },
    { 1040, u"Invalid 'for' loop control variable" },
    { 1041, u"Name redefined" },
    { 1042, u"Must be first statement on the line" },
    { 1044, u"Cannot use parentheses when calling a Sub" },
    { 1045, u"Expected literal constant" },
    { 1046, u"Expected 'In'" },
    { 1055, u"Unexpected 'Next'" },
};

} // namespace

ScriptError::ScriptError(int number, QString description, QString source)
    : m_number(number), m_description(std::move(description)), m_source(std::move(source))
{
}

ScriptError ScriptError::runtime(int number, const QString &name)
{
    QString text = standardDescription(number);
    if (!name.isEmpty())
        text += u": '"_s + name + u'\'';
    ScriptError error(number, text, runtimeSource());
    error.m_name = name;
    return error;
}

QString ScriptError::errDescription() const
{
    return m_name.isEmpty() ? m_description : standardDescription(m_number);
}

ScriptError ScriptError::compilation(int number, int line, int column)
{
    ScriptError error(number, standardDescription(number), compilationSource());
    error.setPosition(line, column);
    return error;
}

QString ScriptError::standardDescription(int number)
{
    static const QHash<int, QString> texts = [] {
        QHash<int, QString> map;
        for (const ErrorText &entry : kErrorTexts)
            map.insert(entry.number, QString::fromUtf16(entry.text));
        return map;
    }();
    return texts.value(number, QStringLiteral("Unknown runtime error"));
}

QString ScriptError::runtimeSource()
{
    return QStringLiteral("Microsoft VBScript runtime error");
}

QString ScriptError::compilationSource()
{
    return QStringLiteral("Microsoft VBScript compilation error");
}

void ScriptError::setPosition(int line, int column)
{
    m_line = line;
    m_column = column;
}

qint32 ScriptError::hresult() const
{
    if (m_number > 0 && m_number <= 0xffff)
        return qint32(0x800A0000u | quint32(m_number));
    return m_number;
}

QString ScriptError::message() const
{
    QString where = m_source + u' ' + QString::number(m_number);
    if (m_line > 0)
        where
            += u", line "_s + QString::number(m_line) + u", column "_s + QString::number(m_column);
    return m_description + u" ("_s + where + u')';
}

void raiseError(int number, const QString &name)
{
    throw ScriptError::runtime(number, name);
}

} // namespace vantrel::vbscript
