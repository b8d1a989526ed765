#pragma once

#include "platform/vbscript/hostcall.h"
#include "platform/vbscript/scripterror.h"

#include <QString>

#include <span>

namespace vantrel::vbscript {

// Helpers of the objects the language creates itself (Dictionary, RegExp and its matches).
namespace members {

// The position of name in names, matched without regard to case, or -1.
inline int find(const QString &name, std::span<const char16_t *const> names)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (name.compare(QStringView(names[i]), Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

// Raises 450 unless the call has between min and max arguments.
inline void expect(const HostCall &call, int min, int max)
{
    if (call.count() < min || call.count() > max)
        raiseError(450);
}

// A read-only property or a method that is written to.
inline void readOnly(const HostCall &call)
{
    if (call.isPropertyPut())
        raiseError(438);
}

// An error of an object with its own description.
[[noreturn]] inline void raise(int number, const QString &description)
{
    throw ScriptError(number, description, ScriptError::runtimeSource());
}

} // namespace members

} // namespace vantrel::vbscript
