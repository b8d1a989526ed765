#pragma once

#include <QString>

#include <optional>

namespace vantrel::vbscript {

// What MsgBox and InputBox call. A window layer supplies it on the user-interface thread; an
// engine without one (a worker) raises "Permission denied" from both, as the language does in a
// host that cannot show windows.
class DialogHost
{
public:
    virtual ~DialogHost() = default;

    // buttons holds the MsgBox flags (vbYesNo, vbQuestion ...); returns the code of the button
    // pressed (vbOK = 1 ... vbNo = 7). An empty title means the host's default caption.
    virtual int messageBox(const QString &prompt, int buttons, const QString &title) = 0;
    // nullopt when the user cancels; InputBox then returns the empty text.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText)
        = 0;
};

} // namespace vantrel::vbscript
