#pragma once

#include <QString>

namespace vantrel::vbscript {

// A compilation or run-time error of a script: the language's error number and English
// description, the source text the language reports ("Microsoft VBScript runtime error" or
// "... compilation error") and the position (line and column from 1; 0 when unknown).
class ScriptError
{
public:
    ScriptError() = default;
    ScriptError(int number, QString description, QString source);

    // A run-time error with the standard description; name, when given, is appended as the
    // language does (Variable is undefined: 'x').
    static ScriptError runtime(int number, const QString &name = {});
    static ScriptError compilation(int number, int line, int column);
    // The standard English text of an error number, or "Unknown runtime error".
    static QString standardDescription(int number);
    static QString runtimeSource();
    static QString compilationSource();

    int number() const { return m_number; }
    // The host's text: with the name, when the error has one.
    const QString &description() const { return m_description; }
    // Err.Description: the language's own text, without the name.
    QString errDescription() const;
    const QString &source() const { return m_source; }
    int line() const { return m_line; }
    int column() const { return m_column; }
    bool isCompilationError() const { return m_source == compilationSource(); }
    bool hasPosition() const { return m_line > 0; }
    void setPosition(int line, int column);

    // The error as an HRESULT of the scripting engine: 0x800A0000 + number for the language's
    // own numbers; a number that already is an HRESULT is passed through.
    qint32 hresult() const;
    // "Type mismatch (Microsoft VBScript runtime error 13, line 2, column 5)": for logs and boxes.
    QString message() const;

private:
    int m_number = 0;
    QString m_description;
    QString m_source;
    QString m_name;
    int m_line = 0;
    int m_column = 0;
};

// Throws the run-time error; the interpreter catches it at the statement that caused it.
[[noreturn]] void raiseError(int number, const QString &name = {});

} // namespace vantrel::vbscript
