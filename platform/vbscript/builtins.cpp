#include "platform/vbscript/builtins.h"

#include "platform/vbscript/coerce.h"
#include "platform/vbscript/runtime.h"
#include "platform/vbscript/scripterror.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

struct Registry
{
    std::vector<BuiltinInfo> functions;
    QHash<QString, int> index;
    QHash<QString, Variant> constants;
};

constexpr std::pair<const char16_t *, int> kIntegerConstants[] = {
    { u"vbTrue", -1 },
    { u"vbFalse", 0 },
    { u"vbUseDefault", -2 },
    { u"vbBinaryCompare", 0 },
    { u"vbTextCompare", 1 },
    { u"vbDatabaseCompare", 2 },
    { u"vbUseSystemDayOfWeek", 0 },
    { u"vbSunday", 1 },
    { u"vbMonday", 2 },
    { u"vbTuesday", 3 },
    { u"vbWednesday", 4 },
    { u"vbThursday", 5 },
    { u"vbFriday", 6 },
    { u"vbSaturday", 7 },
    { u"vbUseSystem", 0 },
    { u"vbFirstJan1", 1 },
    { u"vbFirstFourDays", 2 },
    { u"vbFirstFullWeek", 3 },
    { u"vbGeneralDate", 0 },
    { u"vbLongDate", 1 },
    { u"vbShortDate", 2 },
    { u"vbLongTime", 3 },
    { u"vbShortTime", 4 },
    { u"vbEmpty", 0 },
    { u"vbNull", 1 },
    { u"vbInteger", 2 },
    { u"vbLong", 3 },
    { u"vbSingle", 4 },
    { u"vbDouble", 5 },
    { u"vbCurrency", 6 },
    { u"vbDate", 7 },
    { u"vbString", 8 },
    { u"vbObject", 9 },
    { u"vbError", 10 },
    { u"vbBoolean", 11 },
    { u"vbVariant", 12 },
    { u"vbDataObject", 13 },
    { u"vbDecimal", 14 },
    { u"vbByte", 17 },
    { u"vbArray", 8192 },
    { u"vbOKOnly", 0 },
    { u"vbOKCancel", 1 },
    { u"vbAbortRetryIgnore", 2 },
    { u"vbYesNoCancel", 3 },
    { u"vbYesNo", 4 },
    { u"vbRetryCancel", 5 },
    { u"vbCritical", 16 },
    { u"vbQuestion", 32 },
    { u"vbExclamation", 48 },
    { u"vbInformation", 64 },
    { u"vbDefaultButton1", 0 },
    { u"vbDefaultButton2", 256 },
    { u"vbDefaultButton3", 512 },
    { u"vbDefaultButton4", 768 },
    { u"vbApplicationModal", 0 },
    { u"vbSystemModal", 4096 },
    { u"vbOK", 1 },
    { u"vbCancel", 2 },
    { u"vbAbort", 3 },
    { u"vbRetry", 4 },
    { u"vbIgnore", 5 },
    { u"vbYes", 6 },
    { u"vbNo", 7 },
    { u"vbBlack", 0 },
    { u"vbRed", 255 },
};

// The colours above the Integer range are Longs.
constexpr std::pair<const char16_t *, qint32> kLongConstants[] = {
    { u"vbGreen", 0x00ff00 },   { u"vbYellow", 0x00ffff }, { u"vbBlue", 0xff0000 },
    { u"vbMagenta", 0xff00ff }, { u"vbCyan", 0xffff00 },   { u"vbWhite", 0xffffff },
};

void addConstants(QHash<QString, Variant> &c)
{
    auto integer = [&c](const char16_t *name, int value) {
        c.insert(QString::fromUtf16(name).toLower(), Variant::fromInteger(qint16(value)));
    };
    auto text = [&c](const char16_t *name, QString value) {
        c.insert(QString::fromUtf16(name).toLower(), Variant(std::move(value)));
    };
    text(u"vbCr", u"\r"_s);
    text(u"vbLf", u"\n"_s);
    text(u"vbCrLf", u"\r\n"_s);
    text(u"vbNewLine", u"\r\n"_s);
    text(u"vbTab", u"\t"_s);
    text(u"vbFormFeed", u"\f"_s);
    text(u"vbVerticalTab", u"\v"_s);
    text(u"vbNullChar", QString(QChar(0)));
    text(u"vbNullString", QString());
    c.insert(u"vbobjecterror"_s, Variant(qint32(-2147221504)));
    for (const auto &[name, value] : kIntegerConstants)
        integer(name, value);
    for (const auto &[name, value] : kLongConstants)
        c.insert(QString::fromUtf16(name).toLower(), Variant(value));
}

const Registry &registry()
{
    static const Registry instance = [] {
        Registry r;
        addMathFunctions(r.functions);
        addConversionFunctions(r.functions);
        addTextFunctions(r.functions);
        addDateFunctions(r.functions);
        addFormatFunctions(r.functions);
        addArrayFunctions(r.functions);
        addInteractionFunctions(r.functions);
        for (size_t i = 0; i < r.functions.size(); ++i)
            r.index.insert(r.functions[i].name.toLower(), int(i));
        addConstants(r.constants);
        return r;
    }();
    return instance;
}

} // namespace

int Builtins::find(const QString &key)
{
    return registry().index.value(key, -1);
}

const BuiltinInfo &Builtins::at(int id)
{
    return registry().functions[size_t(id)];
}

const Variant *Builtins::constant(const QString &key)
{
    const auto &constants = registry().constants;
    const auto it = constants.constFind(key);
    return it == constants.constEnd() ? nullptr : &it.value();
}

namespace args {

qint32 optionalLong(std::span<const Variant> a, size_t index, qint32 fallback)
{
    if (a.size() <= index || a[index].isEmpty())
        return fallback;
    return Coerce::toLong(a[index]);
}

Qt::CaseSensitivity compareMode(std::span<const Variant> a, size_t index)
{
    const qint32 mode = optionalLong(a, index, 0);
    if (mode < 0 || mode > 2)
        raiseError(5);
    return mode == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

} // namespace args

} // namespace vantrel::vbscript
