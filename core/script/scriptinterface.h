#pragma once

#include "platform/vbscript/hostobject.h"

#include <QString>

#include <functional>

// The host object scripts see as "myApp", added with global members so its functions are
// called by their bare names in any letter case. Its members are the host functions, kept in
// one process-wide table: each name has a fixed, distinct, non-zero id for the whole run.
// Functions are registered at start-up, before engines run on other threads.
class ScriptInterface : public vantrel::vbscript::HostObject
{
public:
    using Function = std::function<vantrel::vbscript::Variant(vantrel::vbscript::HostCall &)>;

    // Adds (or replaces) a host function; the name is matched without regard to case.
    static void registerFunction(const QString &name, Function function);
    // The names in the order they were registered.
    static QStringList functionNames();

    int memberId(const QString &name) const override;
    vantrel::vbscript::Variant invoke(int memberId, vantrel::vbscript::HostCall &call) override;
    QString typeName() const override { return QStringLiteral("ScriptInterface"); }
};
