#pragma once

#include <QString>
#include <QStringView>

namespace vantrel::vbscript {

// Text forms of numbers in the English neutral locale ('.' decimal point, ',' grouping), as the
// language writes and reads them.
class NumberText
{
public:
    // CStr of a Double: up to 15 significant digits, exponent form (1E+20, 1.5E-07) outside
    // the range the digits can show.
    static QString fromDouble(double value);
    // CStr of a Single: up to 7 significant digits.
    static QString fromSingle(float value);
    // CStr of a Currency (raw value: amount times 10,000): up to 4 decimals, no trailing zeros.
    static QString fromCurrency(qint64 raw);

    // Reads numeric text the way IsNumeric and CDbl do: blanks around, a leading sign and a
    // currency sign ("$5"), parentheses ("(5)" is -5) or a trailing sign ("1-"), digits with
    // optional grouping commas, a decimal point, an exponent (E or D), or &H / &O integers.
    static bool parse(QStringView text, double &value);
    // Plain decimal text (the forms of parse without exponent or &H / &O) read exactly as a
    // Currency (amount times 10,000, fifth decimal on rounded half to even); false for other
    // forms and for amounts out of range, which the caller reads through parse.
    static bool parseCurrency(QStringView text, qint64 &raw);

    // FormatNumber's core: fixed decimals (half away from zero on the value's 15 significant
    // digits), optional leading zero, grouping and parentheses for negatives.
    static QString formatFixed(double value, int decimals, bool leadingDigit, bool parentheses,
                               bool grouping);
    // value rounded to decimals after normalising to 15 significant digits, half to even
    // (Round) or half away from zero.
    static double roundDecimal(double value, int decimals, bool halfToEven);

private:
    static bool takeSign(QStringView &text, bool &negative);
};

} // namespace vantrel::vbscript
