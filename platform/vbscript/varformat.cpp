#include "platform/vbscript/varformat.h"

#include "platform/vbscript/coerce.h"
#include "platform/vbscript/datemath.h"
#include "platform/vbscript/numbertext.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

// The codes split at ";" outside quotes and escapes.
QStringList sections(const QString &codes)
{
    QStringList out;
    QString current;
    bool quoted = false;
    for (int i = 0; i < codes.size(); ++i) {
        const QChar c = codes[i];
        if (c == u'"')
            quoted = !quoted;
        if (c == u'\\' && i + 1 < codes.size()) {
            current += c;
            current += codes[++i];
            continue;
        }
        if (c == u';' && !quoted) {
            out << current;
            current.clear();
            continue;
        }
        current += c;
    }
    out << current;
    return out;
}

// ---- numbers

struct NumberCodes
{
    int intZeros = 0;      // '0' before the point: digits always shown
    int decZeros = 0;      // '0' after the point
    int decPlaces = 0;     // '0' and '#' after the point
    bool grouping = false; // ',' between integer placeholders
    bool percent = false;
    bool scientific = false;
    bool expPlus = false;
    int expDigits = 0;
};

NumberCodes readNumberCodes(const QString &fmt)
{
    NumberCodes c;
    bool afterPoint = false;
    bool seenDigit = false;
    for (int i = 0; i < fmt.size(); ++i) {
        const QChar ch = fmt[i];
        if (ch == u'"') {
            i = int(fmt.indexOf(u'"', i + 1));
            if (i < 0)
                break;
        } else if (ch == u'\\') {
            ++i;
        } else if ((ch == u'E' || ch == u'e') && i + 1 < fmt.size()
                   && (fmt[i + 1] == u'+' || fmt[i + 1] == u'-')) {
            c.scientific = true;
            c.expPlus = fmt[i + 1] == u'+';
            for (i += 2; i < fmt.size() && (fmt[i] == u'0' || fmt[i] == u'#'); ++i)
                ++c.expDigits;
            --i;
        } else if (ch == u'0' || ch == u'#') {
            seenDigit = true;
            if (afterPoint) {
                ++c.decPlaces;
                if (ch == u'0')
                    c.decZeros = c.decPlaces;
            } else if (ch == u'0') {
                ++c.intZeros;
            }
        } else if (ch == u'.') {
            afterPoint = true;
        } else if (ch == u',' && seenDigit && !afterPoint) {
            c.grouping = true;
        } else if (ch == u'%') {
            c.percent = true;
        }
    }
    return c;
}

QString groupDigits(const QString &digits)
{
    QString out;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

// The number laid into the placeholders of one section; literals stay where they stand.
QString formatNumberSection(double value, const QString &fmt, bool withSign)
{
    const NumberCodes c = readNumberCodes(fmt);
    double v = std::fabs(value) * (c.percent ? 100 : 1);
    int exponent = 0;
    if (c.scientific && v != 0) {
        const int intDigits = qMax(1, c.intZeros);
        exponent = int(std::floor(std::log10(v))) - (intDigits - 1);
        v /= std::pow(10.0, exponent);
        if (NumberText::roundDecimal(v, c.decPlaces, false) >= std::pow(10.0, intDigits)) {
            v /= 10;
            ++exponent;
        }
    }
    QString fixed = NumberText::formatFixed(v, c.decPlaces, true, false, false);
    QString intPart = fixed.section(u'.', 0, 0);
    QString decPart = fixed.section(u'.', 1, 1);
    while (decPart.size() > c.decZeros && decPart.endsWith(u'0'))
        decPart.chop(1);
    if (intPart == u"0"_s && c.intZeros == 0)
        intPart.clear();
    while (intPart.size() < c.intZeros)
        intPart.prepend(u'0');

    // Integer digits fill the integer placeholders from the right; the first takes the rest.
    int intSlots = 0;
    for (int i = 0, after = 0; i < fmt.size(); ++i) {
        const QChar ch = fmt[i];
        if (ch == u'"') {
            i = int(fmt.indexOf(u'"', i + 1));
            if (i < 0)
                break;
        } else if (ch == u'\\')
            ++i;
        else if (ch == u'.')
            after = 1;
        else if ((ch == u'E' || ch == u'e') && i + 1 < fmt.size()
                 && (fmt[i + 1] == u'+' || fmt[i + 1] == u'-'))
            break;
        else if ((ch == u'0' || ch == u'#') && !after)
            ++intSlots;
    }
    QString out;
    int slot = 0;
    int decIndex = 0;
    bool afterPoint = false;
    const QString intText = c.grouping ? groupDigits(intPart) : intPart;
    for (int i = 0; i < fmt.size(); ++i) {
        const QChar ch = fmt[i];
        if (ch == u'"') {
            const int end = int(fmt.indexOf(u'"', i + 1));
            out += fmt.mid(i + 1, (end < 0 ? fmt.size() : end) - i - 1);
            if (end < 0)
                break;
            i = end;
        } else if (ch == u'\\') {
            if (i + 1 < fmt.size())
                out += fmt[++i];
        } else if ((ch == u'E' || ch == u'e') && i + 1 < fmt.size()
                   && (fmt[i + 1] == u'+' || fmt[i + 1] == u'-')) {
            out += ch;
            if (exponent < 0)
                out += u'-';
            else if (c.expPlus)
                out += u'+';
            out += QString::number(std::abs(exponent)).rightJustified(c.expDigits, u'0');
            i += 1 + c.expDigits;
        } else if (ch == u'0' || ch == u'#') {
            if (afterPoint) {
                if (decIndex < decPart.size())
                    out += decPart[decIndex];
                ++decIndex;
            } else {
                if (slot == 0)
                    out += intText;
                ++slot;
            }
        } else if (ch == u'.') {
            afterPoint = true;
            if (!decPart.isEmpty() || c.decZeros > 0)
                out += u'.';
        } else if (ch == u',') {
            continue;
        } else {
            out += ch;
        }
    }
    if (intSlots == 0 && !intPart.isEmpty() && intPart != u"0"_s)
        out.prepend(intText);
    // A negative amount that rounds to zero shows no sign.
    const bool nonZero = std::any_of(out.cbegin(), out.cend(),
                                     [](QChar ch) { return ch.isDigit() && ch != u'0'; });
    if (withSign && value < 0 && nonZero)
        out.prepend(u'-');
    return out;
}

// ---- dates

const QStringList &shortMonths()
{
    static const QStringList m { u"1月"_s, u"2月"_s, u"3月"_s, u"4月"_s,  u"5月"_s,  u"6月"_s,
                                 u"7月"_s, u"8月"_s, u"9月"_s, u"10月"_s, u"11月"_s, u"12月"_s };
    return m;
}
const QStringList &longMonths()
{
    static const QStringList m { u"一月"_s, u"二月"_s, u"三月"_s,   u"四月"_s,
                                 u"五月"_s, u"六月"_s, u"七月"_s,   u"八月"_s,
                                 u"九月"_s, u"十月"_s, u"十一月"_s, u"十二月"_s };
    return m;
}
const QStringList &shortDays()
{
    static const QStringList d { u"周日"_s, u"周一"_s, u"周二"_s, u"周三"_s,
                                 u"周四"_s, u"周五"_s, u"周六"_s };
    return d;
}
const QStringList &longDays()
{
    static const QStringList d { u"星期日"_s, u"星期一"_s, u"星期二"_s, u"星期三"_s,
                                 u"星期四"_s, u"星期五"_s, u"星期六"_s };
    return d;
}

int runOf(const QString &fmt, int i)
{
    int n = 1;
    while (i + n < fmt.size() && fmt[i + n].toLower() == fmt[i].toLower())
        ++n;
    return n;
}

QString formatDate(double serial, const QString &fmt);

QString generalDate(double serial)
{
    const double day = std::trunc(serial);
    const bool hasTime = serial != day;
    if (day == 0 && hasTime)
        return formatDate(serial, u"h:nn:ss"_s);
    return formatDate(serial, hasTime ? u"yyyy/m/d h:nn:ss"_s : u"yyyy/m/d"_s);
}

QString formatDate(double serial, const QString &fmt)
{
    const DateMath::Parts p = DateMath::split(serial);
    const int weekday = DateMath::weekday(serial, 1);
    QString out;
    bool afterHour = false;
    for (int i = 0; i < fmt.size();) {
        const QChar ch = fmt[i];
        const QChar lower = ch.toLower();
        if (ch == u'"') {
            const int end = int(fmt.indexOf(u'"', i + 1));
            out += fmt.mid(i + 1, (end < 0 ? fmt.size() : end) - i - 1);
            i = end < 0 ? int(fmt.size()) : end + 1;
            continue;
        }
        if (ch == u'\\') {
            if (i + 1 < fmt.size())
                out += fmt[i + 1];
            i += 2;
            continue;
        }
        const QStringView rest = QStringView(fmt).mid(i);
        if (rest.startsWith(u"AM/PM", Qt::CaseInsensitive)) {
            out += p.hour < 12 ? u"上午"_s : u"下午"_s;
            i += 5;
            continue;
        }
        if (rest.startsWith(u"A/P", Qt::CaseInsensitive)) {
            const bool upper = ch.isUpper();
            out += p.hour < 12 ? (upper ? u"A"_s : u"a"_s) : (upper ? u"P"_s : u"p"_s);
            i += 3;
            continue;
        }
        if (rest.startsWith(u"AMPM", Qt::CaseInsensitive)) {
            out += p.hour < 12 ? u"上午"_s : u"下午"_s;
            i += 4;
            continue;
        }
        const int n = runOf(fmt, i);
        if (lower == u'd') {
            if (n == 1 || n == 2)
                out += QString::number(p.day).rightJustified(n, u'0');
            else if (n == 3)
                out += shortDays()[weekday - 1];
            else if (n == 4)
                out += longDays()[weekday - 1];
            else if (n == 5)
                out += formatDate(serial, u"yyyy/m/d"_s);
            else
                out += formatDate(serial, u"yyyy\"年\"m\"月\"d\"日\""_s);
        } else if (lower == u'w') {
            if (n == 1) {
                out += QString::number(weekday);
            } else {
                double jan1 = 0;
                DateMath::fromDate(p.year, 1, 1, jan1);
                const qint64 dayOfYear = DateMath::dayIndex(serial) - DateMath::dayIndex(jan1);
                out += QString::number((dayOfYear + DateMath::weekday(jan1, 1) - 1) / 7 + 1);
            }
        } else if (lower == u'm') {
            // After an hour, m and mm are minutes.
            if (n <= 2 && afterHour)
                out += QString::number(p.minute).rightJustified(n, u'0');
            else if (n <= 2)
                out += QString::number(p.month).rightJustified(n, u'0');
            else if (n == 3)
                out += shortMonths()[p.month - 1];
            else
                out += longMonths()[p.month - 1];
        } else if (lower == u'q') {
            out += QString::number((p.month - 1) / 3 + 1);
        } else if (lower == u'y') {
            if (n == 1) {
                double jan1 = 0;
                DateMath::fromDate(p.year, 1, 1, jan1);
                out += QString::number(DateMath::dayIndex(serial) - DateMath::dayIndex(jan1) + 1);
            } else if (n == 2) {
                out += QString::number(p.year % 100).rightJustified(2, u'0');
            } else {
                out += QString::number(p.year);
            }
        } else if (lower == u'h') {
            out += QString::number(p.hour).rightJustified(qMin(n, 2), u'0');
            afterHour = true;
            i += n;
            continue;
        } else if (lower == u'n') {
            out += QString::number(p.minute).rightJustified(qMin(n, 2), u'0');
        } else if (lower == u's') {
            out += QString::number(p.second).rightJustified(qMin(n, 2), u'0');
        } else if (lower == u't' && n >= 5) {
            out += formatDate(serial, u"h:nn:ss"_s);
        } else if (lower == u'c') {
            out += generalDate(serial);
        } else {
            out += fmt.mid(i, n);
        }
        if (lower != u'h' && lower != u':' && !lower.isSpace())
            afterHour = false;
        i += n;
    }
    return out;
}

bool isDateCodes(const QString &fmt)
{
    QString bare;
    for (int i = 0; i < fmt.size(); ++i) {
        if (fmt[i] == u'"') {
            const int end = int(fmt.indexOf(u'"', i + 1));
            if (end < 0)
                break;
            i = end;
        } else if (fmt[i] == u'\\')
            ++i;
        else
            bare += fmt[i].toLower();
    }
    if (bare.contains(u'0') || bare.contains(u'#') || bare.contains(u'@') || bare.contains(u'&'))
        return false;
    for (QChar c : u"dwmqyhnstc"_s) {
        if (bare.contains(c))
            return true;
    }
    return false;
}

// ---- text

QString formatText(QString text, const QString &fmt)
{
    if (fmt.contains(u'<'))
        text = text.toLower();
    else if (fmt.contains(u'>'))
        text = text.toUpper();
    const bool leftToRight = fmt.contains(u'!');
    int slots = 0;
    for (QChar c : fmt)
        slots += (c == u'@' || c == u'&') ? 1 : 0;
    // Each placeholder takes one character; spare characters go with the first (or last).
    QStringList fill(slots);
    int t = leftToRight ? 0 : int(text.size()) - 1;
    for (int s = 0; s < slots; ++s) {
        const int slot = leftToRight ? s : slots - 1 - s;
        if (leftToRight ? t < text.size() : t >= 0) {
            fill[slot] = text[t];
            t += leftToRight ? 1 : -1;
        }
    }
    QString spare = leftToRight ? text.mid(t) : text.left(t + 1);
    QString out;
    int slot = 0;
    for (int i = 0; i < fmt.size(); ++i) {
        const QChar ch = fmt[i];
        if (ch == u'@' || ch == u'&') {
            if (slot == 0 && !leftToRight)
                out += spare;
            out += fill[slot].isEmpty() && ch == u'@' ? u" "_s : fill[slot];
            if (slot == slots - 1 && leftToRight)
                out += spare;
            ++slot;
        } else if (ch == u'"') {
            const int end = int(fmt.indexOf(u'"', i + 1));
            out += fmt.mid(i + 1, (end < 0 ? fmt.size() : end) - i - 1);
            if (end < 0)
                break;
            i = end;
        } else if (ch == u'\\') {
            if (i + 1 < fmt.size())
                out += fmt[++i];
        } else if (ch != u'<' && ch != u'>' && ch != u'!') {
            out += ch;
        }
    }
    return out;
}

QString namedNumberCodes(const QString &name)
{
    static const QList<QPair<QString, QString>> named {
        { u"Currency"_s, u"\"¥\"#,##0.00;\"¥\"-#,##0.00"_s },
        { u"Fixed"_s, u"0.00"_s },
        { u"Standard"_s, u"#,##0.00"_s },
        { u"Percent"_s, u"0.00%"_s },
        { u"Scientific"_s, u"0.00E+00"_s },
    };
    for (const auto &[n, codes] : named) {
        if (name.compare(n, Qt::CaseInsensitive) == 0)
            return codes;
    }
    return {};
}

QString namedDateCodes(const QString &name)
{
    static const QList<QPair<QString, QString>> named {
        { u"Long Date"_s, u"yyyy\"年\"m\"月\"d\"日\""_s },
        { u"Medium Date"_s, u"yy-mm-dd"_s },
        { u"Short Date"_s, u"yyyy/m/d"_s },
        { u"Long Time"_s, u"h:nn:ss"_s },
        { u"Medium Time"_s, u"AM/PM hh:nn"_s },
        { u"Short Time"_s, u"hh:nn"_s },
    };
    for (const auto &[n, codes] : named) {
        if (name.compare(n, Qt::CaseInsensitive) == 0)
            return codes;
    }
    return {};
}

bool isWordFormat(const QString &codes)
{
    return codes.compare(u"Yes/No"_s, Qt::CaseInsensitive) == 0
        || codes.compare(u"True/False"_s, Qt::CaseInsensitive) == 0
        || codes.compare(u"On/Off"_s, Qt::CaseInsensitive) == 0;
}

} // namespace

Result<QString> VarFormat::format(const Variant &input, const QString &codes)
{
    const Variant &value = input.deref();
    if (value.isNull())
        return QString();
    if (value.isEmpty() && codes.isEmpty())
        return QString();
    if (codes.isEmpty()) {
        QString text;
        if (Coerce::tryString(value, text) != 0)
            return Result<QString>::failure(u"Type mismatch"_s);
        return text;
    }
    double number = 0;
    const bool numeric = value.isString()
        ? NumberText::parse(value.stringValue(), number)
        : (value.type() != VarType::Date && Coerce::tryDouble(value, number) == 0);

    if (codes.compare(u"General Date"_s, Qt::CaseInsensitive) == 0
        || !namedDateCodes(codes).isEmpty()
        || (namedNumberCodes(codes).isEmpty() && !isWordFormat(codes)
            && codes.compare(u"General Number"_s, Qt::CaseInsensitive) != 0
            && isDateCodes(codes))) {
        double serial = 0;
        if (Coerce::tryDate(value, serial) != 0)
            return Result<QString>::failure(u"Type mismatch"_s);
        if (codes.compare(u"General Date"_s, Qt::CaseInsensitive) == 0)
            return generalDate(serial);
        const QString named = namedDateCodes(codes);
        return formatDate(serial, named.isEmpty() ? codes : named);
    }
    static const QList<std::array<QString, 3>> words {
        { u"Yes/No"_s, u"是"_s, u"否"_s },
        { u"True/False"_s, u"True"_s, u"False"_s },
        { u"On/Off"_s, u"开"_s, u"关"_s },
    };
    for (const auto &w : words) {
        if (codes.compare(w[0], Qt::CaseInsensitive) == 0) {
            if (!numeric)
                return Result<QString>::failure(u"Type mismatch"_s);
            return number != 0 ? w[1] : w[2];
        }
    }
    if (codes.contains(u'@') || codes.contains(u'&')) {
        QString text;
        if (Coerce::tryString(value, text) != 0)
            return Result<QString>::failure(u"Type mismatch"_s);
        return formatText(text, sections(codes).value(0));
    }
    if (!numeric) {
        QString text;
        Coerce::tryString(value, text);
        return text;
    }
    if (codes.compare(u"General Number"_s, Qt::CaseInsensitive) == 0)
        return NumberText::fromDouble(number);
    const QString named = namedNumberCodes(codes);
    const QStringList parts = sections(named.isEmpty() ? codes : named);
    if (number == 0 && parts.size() >= 3 && !parts[2].isEmpty())
        return formatNumberSection(0, parts[2], false);
    if (number < 0 && parts.size() >= 2 && !parts[1].isEmpty())
        return formatNumberSection(number, parts[1], false);
    return formatNumberSection(number, parts[0], true);
}

} // namespace vantrel::vbscript
