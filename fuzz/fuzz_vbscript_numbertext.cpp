// Numeric and date text as CDbl, CCur, CLng, CDate and IsNumeric read it.
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/dateparser.h"
#include "platform/vbscript/numbertext.h"
#include "platform/vbscript/variant.h"

#include <QString>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace vantrel::vbscript;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    double number = 0;
    NumberText::parse(text, number);
    DateParser::parse(text, number);
    const Variant value(text);
    double d = 0;
    qint32 l = 0;
    qint64 c = 0;
    Coerce::tryDouble(value, d);
    Coerce::tryLong(value, l);
    Coerce::tryCurrency(value, c);
    if (Coerce::tryDate(value, d) == 0) {
        QString back;
        Coerce::tryString(Variant::fromDate(d), back);
    }
    return 0;
}
