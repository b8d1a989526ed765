#pragma once

#include "platform/vbscript/scripterror.h"
#include "platform/vbscript/variant.h"

#include <functional>
#include <span>

namespace vantrel::vbscript {

// One call from a script into the host: the evaluated arguments, and a way to end the call with
// a script error instead of a value. The arguments live only for the duration of the call.
class HostCall
{
public:
    enum class Kind { Call, PropertyPut };

    explicit HostCall(std::span<const Variant> arguments, Kind kind = Kind::Call)
        : m_arguments(arguments), m_kind(kind)
    {
    }

    int count() const { return int(m_arguments.size()); }
    const Variant &argument(int index) const { return m_arguments[size_t(index)]; }
    std::span<const Variant> arguments() const { return m_arguments; }
    // A property write: the value assigned is the last argument.
    bool isPropertyPut() const { return m_kind == Kind::PropertyPut; }

    // Ends the call with the script error number; without a description the language's standard
    // text for that number is used. The value the function returns is then ignored.
    void raise(int number, const QString &description = {})
    {
        m_error = ScriptError::runtime(number);
        if (!description.isEmpty())
            m_error = ScriptError(number, description, ScriptError::runtimeSource());
        m_failed = true;
    }
    bool failed() const { return m_failed; }
    const ScriptError &error() const { return m_error; }

private:
    std::span<const Variant> m_arguments;
    Kind m_kind;
    bool m_failed = false;
    ScriptError m_error;
};

// A function the host adds to the script's global names (called with or without parentheses).
using HostFunction = std::function<Variant(HostCall &call)>;

} // namespace vantrel::vbscript
