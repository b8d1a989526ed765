#include "platform/vbscript/numbertext.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

QString printfG(double value, int digits)
{
    if (value == 0)
        return u"0"_s;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    return QString::fromLatin1(buffer);
}

bool parseRadixInteger(QStringView digits, int radix, double &value)
{
    if (digits.isEmpty() || digits.size() > (radix == 16 ? 8 : 11))
        return false;
    bool ok = false;
    const qulonglong raw = digits.toULongLong(&ok, radix);
    if (!ok || raw > 0xffffffffull)
        return false;
    // Up to four hex digits the value is an Integer, up to eight a Long: both wrap to negative.
    if (radix == 16 && digits.size() <= 4)
        value = double(qint16(quint16(raw)));
    else if (raw <= 0xffffull && radix == 8)
        value = double(qint16(quint16(raw)));
    else
        value = double(qint32(quint32(raw)));
    return true;
}

// Copies unsigned decimal text into plain ASCII for strtod; false when it is not a number.
bool normaliseDecimal(QStringView text, QByteArray &out)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool digits = false;
    while (i < n && (text[i].isDigit() || (text[i] == u',' && digits))) {
        if (text[i] != u',')
            out += char(text[i].unicode());
        digits = true;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        out += '.';
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            out += char(text[i++].unicode());
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        out += 'E';
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            out += char(text[i++].unicode());
        if (i >= n || text[i] < u'0' || text[i] > u'9')
            return false;
        while (i < n && text[i] >= u'0' && text[i] <= u'9')
            out += char(text[i++].unicode());
    }
    return i == n;
}

// The value's 15 significant digits scaled by 10^decimals, exactly as decimal text would give.
double scaledSignificant(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14E", value);
    char *exponentText = std::strchr(buffer, 'E');
    const int exponent = std::atoi(exponentText + 1);
    std::snprintf(exponentText, sizeof buffer - size_t(exponentText - buffer), "E%d",
                  exponent + decimals);
    return std::strtod(buffer, nullptr);
}

QString groupDigits(const QString &integerDigits)
{
    QString grouped;
    const qsizetype n = integerDigits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped += u',';
        grouped += integerDigits[i];
    }
    return grouped;
}

} // namespace

QString NumberText::fromDouble(double value)
{
    return printfG(value, 15);
}

QString NumberText::fromSingle(float value)
{
    return printfG(double(value), 7);
}

QString NumberText::fromCurrency(qint64 raw)
{
    const bool negative = raw < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(raw) : quint64(raw);
    QString text = QString::number(magnitude / 10000);
    quint64 fraction = magnitude % 10000;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return negative ? QString(u'-' + text) : text;
}

// The sign of en-US numeric text: a leading sign and currency sign in either order,
// accounting parentheses or a trailing sign. Leaves the digits in text.
bool NumberText::takeSign(QStringView &text, bool &negative)
{
    negative = false;
    const bool parentheses = text.size() >= 2 && text.front() == u'(' && text.back() == u')';
    if (parentheses) {
        text = text.mid(1, text.size() - 2).trimmed();
        negative = true;
    }
    bool sign = false;
    bool currency = false;
    while (!text.isEmpty()) {
        const QChar c = text.front();
        if (!sign && (c == u'+' || c == u'-')) {
            sign = true;
            negative = negative != (c == u'-');
        } else if (!currency && c == u'$') {
            currency = true;
        } else {
            break;
        }
        text = text.mid(1);
    }
    if (parentheses && sign)
        return false;
    if (!sign && !parentheses && !text.isEmpty() && (text.back() == u'+' || text.back() == u'-')) {
        negative = text.back() == u'-';
        text.chop(1);
    }
    return !text.isEmpty();
}

bool NumberText::parse(QStringView text, double &value)
{
    text = text.trimmed();
    if (text.size() >= 2 && text[0] == u'&') {
        const QChar kind = text[1].toUpper();
        if (kind == u'H')
            return parseRadixInteger(text.mid(2), 16, value);
        if (kind == u'O')
            return parseRadixInteger(text.mid(2), 8, value);
        return parseRadixInteger(text.mid(1), 8, value);
    }
    bool negative = false;
    if (!takeSign(text, negative))
        return false;
    QByteArray ascii;
    ascii.reserve(text.size() + 1);
    if (negative)
        ascii += '-';
    if (!normaliseDecimal(text, ascii))
        return false;
    value = std::strtod(ascii.constData(), nullptr);
    return std::isfinite(value);
}

bool NumberText::parseCurrency(QStringView text, qint64 &raw)
{
    text = text.trimmed();
    bool negative = false;
    if (text.startsWith(u'&') || !takeSign(text, negative))
        return false;
    QByteArray ascii;
    if (!normaliseDecimal(text, ascii) || ascii.contains('E'))
        return false;
    const qsizetype point = ascii.indexOf('.');
    QByteArray whole = point < 0 ? ascii : ascii.left(point);
    const QByteArray fraction = point < 0 ? QByteArray() : ascii.mid(point + 1);
    while (whole.size() > 1 && whole.front() == '0')
        whole.remove(0, 1);
    if (whole.size() > 15)
        return false;
    const QByteArray four = fraction.left(4).leftJustified(4, '0');
    __int128 total = __int128(whole.isEmpty() ? 0 : whole.toLongLong()) * 10000 + four.toInt();
    const QByteArray rest = fraction.mid(4);
    if (!rest.isEmpty() && rest.front() >= '5') {
        const bool tie = rest.front() == '5' && rest.count('0') == rest.size() - 1;
        if (!tie || total % 2 != 0)
            ++total;
    }
    if (negative)
        total = -total;
    if (total > INT64_MAX || total < INT64_MIN)
        return false;
    raw = qint64(total);
    return true;
}

double NumberText::roundDecimal(double value, int decimals, bool halfToEven)
{
    // At 1E15 and above 15 significant digits leave no fraction to round.
    if (value == 0 || !std::isfinite(value) || std::fabs(value) >= 1e15)
        return value;
    static constexpr double powers[]
        = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
    if (decimals >= 0 && decimals <= 15) {
        const double power = powers[decimals];
        const double scaled = std::fabs(value) * power;
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        // Away from a tie the binary value rounds the way its 15 digits would: no text needed.
        if (scaled < 1e15 && std::fabs(fraction - 0.5) > 1e-13 * std::max(1.0, scaled)) {
            const double magnitude = (fraction > 0.5 ? whole + 1 : whole) / power;
            return value < 0 ? -magnitude : magnitude;
        }
    }
    const double scaled = scaledSignificant(std::fabs(value), decimals);
    double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (fraction > 0.5 || (fraction == 0.5 && (!halfToEven || std::fmod(whole, 2) != 0)))
        whole += 1;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0fE%d", whole, -decimals);
    const double magnitude = std::strtod(buffer, nullptr);
    return value < 0 ? -magnitude : magnitude;
}

QString NumberText::formatFixed(double value, int decimals, bool leadingDigit, bool parentheses,
                                bool grouping)
{
    const double rounded = roundDecimal(value, decimals, false);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(rounded));
    QString digits = QString::fromLatin1(buffer);
    const qsizetype point = digits.indexOf(u'.');
    QString integerPart = point < 0 ? digits : digits.left(point);
    const QString fraction = point < 0 ? QString() : digits.mid(point);
    if (grouping)
        integerPart = groupDigits(integerPart);
    if (!leadingDigit && integerPart == u"0"_s && !fraction.isEmpty())
        integerPart.clear();
    QString text = integerPart + fraction;
    const bool negative = rounded < 0;
    if (!negative)
        return text;
    return parentheses ? QString(u'(' + text + u')') : QString(u'-' + text);
}

} // namespace vantrel::vbscript
