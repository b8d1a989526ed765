#pragma once

#include "platform/vbscript/hostcall.h"
#include "platform/vbscript/variant.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::vbscript {

// An object of the host that scripts reach as a named item ("myApp") or as a value returned by
// another host call. Member names are matched without regard to case; ids are the object's own.
class HostObject
{
public:
    // The member used when a script takes the object's value or calls the object itself.
    static constexpr int DefaultMember = 0;

    virtual ~HostObject() = default;

    // The id of a member name, or -1 when the object has no such member.
    virtual int memberId(const QString &name) const = 0;
    // Runs a member: a method call or property read, or a property write (call.isPropertyPut()).
    virtual Variant invoke(int memberId, HostCall &call) = 0;
    // What TypeName() reports for the object.
    virtual QString typeName() const { return QStringLiteral("Object"); }
    // The elements For Each walks, or nullopt when the object is no collection.
    virtual std::optional<std::vector<Variant>> elements() const { return std::nullopt; }
};

} // namespace vantrel::vbscript
