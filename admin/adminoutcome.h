#pragma once

#include <QString>

namespace vantrel::admin {

// What an administration save or delete tells its dialog: done, or the message to show with
// its icon and the field that takes the focus. Nothing here shows a window.
struct AdminOutcome
{
    enum class Icon { None, Information, Warning, Critical };
    enum class Field { None, Title, Code, UserName, Password, Parent, Reference, DefaultValue };

    bool ok = false;
    QString message;
    Icon icon = Icon::None;
    Field focus = Field::None;

    static AdminOutcome done() { return { true, {}, Icon::None, Field::None }; }
    static AdminOutcome refused(const QString &message, Icon icon, Field focus = Field::None)
    {
        return { false, message, icon, focus };
    }
};

} // namespace vantrel::admin
