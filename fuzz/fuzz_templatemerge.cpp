// The template merge over any template text, with a few fields and a live engine (no host
// functions: they would reach the database).
#include "core/script/cscripthostproxy.h"
#include "core/script/templatemerge.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace {

QVariant field(const QString &title)
{
    static const QHash<QString, QVariant> row = {
        { QStringLiteral("name"), QStringLiteral("Zhang \"San\" [name] {$ 1 $}") },
        { QStringLiteral("pay"), 1234.5 },
        { QStringLiteral("day"), QDate(2007, 1, 5) },
        { QStringLiteral("none"), QVariant() },
        { QStringLiteral("yes"), true },
    };
    return row.value(title.toLower());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    // Expressions cannot loop, but the text-running functions could.
    static const QRegularExpression code(
        QStringLiteral("\\b(execute|executeglobal|eval)\\b|\\d{7,}|\\^"),
        QRegularExpression::CaseInsensitiveOption);
    if (code.match(text).hasMatch())
        return 0;
    static CScriptHostProxy *host = [] {
        auto *h = new CScriptHostProxy;
        h->CreateEngine();
        return h;
    }();
    (void)MergeTemplateFields(host, field, text);
    QString copy = text;
    ExpandTemplateExpressions(copy, host);
    return 0;
}
