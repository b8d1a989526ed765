#pragma once

#include "platform/vbscript/variant.h"

namespace vantrel::vbscript {

// The language's conversions between subtypes. The try forms return 0 or the error number that
// the script would see (13 Type mismatch, 6 Overflow, 94 Invalid use of Null, 91 for Nothing);
// the to forms raise that error. Objects convert through their default member; rounding to whole
// numbers is half to even, as CInt and CLng do.
class Coerce
{
public:
    static int tryDouble(const Variant &value, double &out);
    static int tryLong(const Variant &value, qint32 &out);
    static int tryCurrency(const Variant &value, qint64 &out);
    static int tryBool(const Variant &value, bool &out);
    static int tryDate(const Variant &value, double &out);
    static int tryString(const Variant &value, QString &out);
    // A Double as Currency (amount times 10,000): the whole part exactly, the fraction rounded
    // half to even; 6 when it does not fit.
    static int currencyFromDouble(double value, qint64 &out);

    static double toDouble(const Variant &value);
    static qint32 toLong(const Variant &value);
    static qint16 toInteger(const Variant &value);
    static quint8 toByte(const Variant &value);
    static float toSingle(const Variant &value);
    static qint64 toCurrency(const Variant &value);
    static bool toBool(const Variant &value);
    static double toDate(const Variant &value);
    static QString toString(const Variant &value);

    // The value of an object's default member (Err gives Err.Number); raises 91 for Nothing.
    static Variant defaultValue(const Variant &object);
    // The text of a number in the language's own form (CStr without the Null error).
    static QString numberText(const Variant &value);
};

} // namespace vantrel::vbscript
