// The stored connection setting: decode any text, read any line, and check that what was read
// comes back unchanged through its own encoding.
#include "core/app/connectionsetting.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)ConnectionSetting::decode(text);
    if (ConnectionSetting::decode(ConnectionSetting::encode(text)) != text)
        std::abort();
    const auto setting = ConnectionSetting::fromLine(text);
    if (!setting)
        return 0;
    (void)setting->connectionString();
    const auto again = ConnectionSetting::fromLine(setting->toLine());
    if (!again || again->server() != setting->server() || again->loginId() != setting->loginId()
        || again->password() != setting->password() || again->loginKind() != setting->loginKind()
        || again->sslMode() != setting->sslMode())
        std::abort();
    return 0;
}
