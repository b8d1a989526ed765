#pragma once

#include "platform/vbscript/hostobject.h"

#include <QRegularExpression>

#include <memory>

namespace vantrel::vbscript {

// The language's RegExp object on QRegularExpression: Pattern, Global, IgnoreCase, Multiline,
// Test, Replace ($1 to $99, $&, $`, $', $$ in the replacement) and Execute, which returns a
// collection of matches (Value, FirstIndex from 0, Length, SubMatches). A pattern that does not
// compile raises 5017 when it is used, not when it is set.
class RegExpObject final : public HostObject
{
public:
    int memberId(const QString &name) const override;
    Variant invoke(int memberId, HostCall &call) override;
    QString typeName() const override { return QStringLiteral("IRegExp2"); }

private:
    // The compiled pattern for the current settings.
    const QRegularExpression &expression();
    Variant flag(bool &value, HostCall &call);
    Variant execute(const QString &text);
    QString replace(const QString &text, const QString &replacement);

    QString m_pattern;
    bool m_global = false;
    bool m_ignoreCase = false;
    bool m_multiline = false;
    bool m_dirty = true;
    QRegularExpression m_expression;
};

} // namespace vantrel::vbscript
