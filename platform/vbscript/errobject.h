#pragma once

#include "platform/vbscript/hostobject.h"
#include "platform/vbscript/scripterror.h"

namespace vantrel::vbscript {

// The script's Err object: the last error caught under On Error Resume Next, or one set by
// Err.Raise. Number is its default member, so "If Err Then" works.
class ErrObject : public HostObject
{
public:
    int memberId(const QString &name) const override;
    Variant invoke(int memberId, HostCall &call) override;

    void set(const ScriptError &error);
    void clear();
    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }

private:
    Variant raise(HostCall &call);
    Variant put(int memberId, const Variant &value);

    int m_number = 0;
    QString m_description;
    QString m_source;
    QString m_helpFile;
    int m_helpContext = 0;
};

} // namespace vantrel::vbscript
