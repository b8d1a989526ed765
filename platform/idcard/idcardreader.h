#pragma once

#include <QLibrary>
#include <QString>

#include <optional>

namespace vantrel::idcard {

// The fields of a second-generation identity card as the reader leaves them in wz.txt.
struct IdCardRecord
{
    QString name;
    QString sex;      // "男" or "女"
    QString nation;   // the name of the GB 3304 code, empty for an unknown code
    QString birthday; // yyyy-mm-dd
    QString address;
    QString number;
};

// The nationality of a GB 3304 code ("01" 汉族 … "56" 基诺族, "97" 其他, "98"
// 外国血统中国籍人士); empty for any other code.
QString NationName(const QString &code);

// The fields of the reader's text by character position; nothing when the text is shorter
// than the 79 characters the fields take.
std::optional<IdCardRecord> ParseIdCardText(const QString &text);

// Reads and deletes "wz.txt" (UTF-16LE) in the folder; nothing when it is missing or short.
std::optional<IdCardRecord> TakeIdCardFile(const QString &folder);

// The reader's library with its four calls. A library or a call that is missing leaves the
// reader unusable (error() says which path), and nothing is called.
class IdCardReader
{
public:
    enum Outcome { NotLoaded, NoPort, AuthenticationFailed, ReadFailed, Read };

    // The path from the settings; empty tries "libtermb.so" in the program folder, then
    // "termb" on the library path.
    bool load(const QString &path = {});
    bool isLoaded() const { return m_init && m_close && m_authenticate && m_read; }
    QString error() const { return m_error; }

    // Opens the first port that answers (1001–1016, then 1–16), authenticates the card and
    // reads it; the port is closed again in every case.
    Outcome readCard();
    // Closes the port; called when the form goes.
    void close();

private:
    using InitComm = int (*)(int);
    using NoArgument = int (*)();
    using ReadContent = int (*)(int);

    QLibrary m_library;
    InitComm m_init = nullptr;
    NoArgument m_close = nullptr;
    NoArgument m_authenticate = nullptr;
    ReadContent m_read = nullptr;
    QString m_error;
};

} // namespace vantrel::idcard
