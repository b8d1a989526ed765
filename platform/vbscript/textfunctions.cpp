// Len, Left, Right, Mid, InStr, InStrRev, Replace, Trim, LTrim, RTrim, UCase, LCase, Space,
// String, StrComp, StrReverse, Asc, AscW, Chr, ChrW, Escape, Unescape, the byte forms LenB, LeftB,
// RightB, MidB, AscB, ChrB, and ScriptEngine with its version numbers.
#include "platform/vbscript/builtins.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/scripterror.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

qint32 count(const Variant &v)
{
    const qint32 n = Coerce::toLong(v);
    if (n < 0)
        raiseError(5);
    return n;
}

Variant lenFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    return Variant(qint32(Coerce::toString(a[0]).size()));
}

Variant leftFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 n = count(a[1]);
    if (a[0].isNull())
        return a[0];
    return Variant(Coerce::toString(a[0]).left(n));
}

Variant rightFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 n = count(a[1]);
    if (a[0].isNull())
        return a[0];
    return Variant(Coerce::toString(a[0]).right(n));
}

Variant midFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 start = Coerce::toLong(a[1]);
    if (start < 1)
        raiseError(5);
    const qint32 length = a.size() > 2 ? count(a[2]) : -1;
    if (a[0].isNull())
        return a[0];
    return Variant(Coerce::toString(a[0]).mid(start - 1, length));
}

// InStr([start, ]string1, string2[, compare])
Variant inStrFunction(Runtime &, std::span<const Variant> a)
{
    const bool hasStart = a.size() >= 3;
    qint32 start = 1;
    if (hasStart) {
        start = Coerce::toLong(a[0]);
        if (start < 1)
            raiseError(5);
    }
    const Variant &haystack = a[hasStart ? 1 : 0];
    const Variant &needle = a[hasStart ? 2 : 1];
    const Qt::CaseSensitivity mode = args::compareMode(a, 3);
    if (haystack.isNull() || needle.isNull())
        return Variant::null();
    const QString text = Coerce::toString(haystack);
    const QString find = Coerce::toString(needle);
    if (start > text.size())
        return Variant(qint32(0));
    if (find.isEmpty())
        return Variant(start);
    return Variant(qint32(text.indexOf(find, start - 1, mode) + 1));
}

// InStrRev(string1, string2[, start[, compare]])
Variant inStrRevFunction(Runtime &, std::span<const Variant> a)
{
    qint32 start = args::optionalLong(a, 2, -1);
    if (start == 0 || start < -1)
        raiseError(5);
    const Qt::CaseSensitivity mode = args::compareMode(a, 3);
    if (a[0].isNull() || a[1].isNull())
        return Variant::null();
    const QString text = Coerce::toString(a[0]);
    const QString find = Coerce::toString(a[1]);
    if (start == -1)
        start = qint32(text.size());
    if (find.isEmpty())
        return Variant(start);
    if (start > text.size())
        return Variant(qint32(0));
    const qsizetype from = start - find.size();
    if (from < 0)
        return Variant(qint32(0));
    return Variant(qint32(text.lastIndexOf(find, from, mode) + 1));
}

// Replace(expression, find, replacewith[, start[, count[, compare]]]): the result begins at start.
Variant replaceFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 start = args::optionalLong(a, 3, 1);
    const qint32 limit = args::optionalLong(a, 4, -1);
    if (start < 1 || limit < -1)
        raiseError(5);
    const Qt::CaseSensitivity mode = args::compareMode(a, 5);
    const QString text = Coerce::toString(a[0]).mid(start - 1);
    const QString find = Coerce::toString(a[1]);
    const QString with = Coerce::toString(a[2]);
    if (find.isEmpty() || limit == 0)
        return Variant(text);
    QString result;
    qsizetype from = 0;
    qint32 done = 0;
    while (limit < 0 || done < limit) {
        const qsizetype at = text.indexOf(find, from, mode);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += with;
        from = at + find.size();
        ++done;
    }
    result += QStringView(text).mid(from);
    return Variant(std::move(result));
}

enum class Side { Left = 1, Right = 2, Both = 3 };

Variant trimmed(const Variant &v, Side side)
{
    if (v.isNull())
        return v;
    const QString text = Coerce::toString(v);
    qsizetype begin = 0;
    qsizetype end = text.size();
    if (int(side) & int(Side::Left)) {
        while (begin < end && text[begin] == u' ')
            ++begin;
    }
    if (int(side) & int(Side::Right)) {
        while (end > begin && text[end - 1] == u' ')
            --end;
    }
    return Variant(text.mid(begin, end - begin));
}

Variant trimFunction(Runtime &, std::span<const Variant> a)
{
    return trimmed(a[0], Side::Both);
}

Variant ltrimFunction(Runtime &, std::span<const Variant> a)
{
    return trimmed(a[0], Side::Left);
}

Variant rtrimFunction(Runtime &, std::span<const Variant> a)
{
    return trimmed(a[0], Side::Right);
}

Variant ucaseFunction(Runtime &, std::span<const Variant> a)
{
    return a[0].isNull() ? a[0] : Variant(Coerce::toString(a[0]).toUpper());
}

Variant lcaseFunction(Runtime &, std::span<const Variant> a)
{
    return a[0].isNull() ? a[0] : Variant(Coerce::toString(a[0]).toLower());
}

Variant spaceFunction(Runtime &, std::span<const Variant> a)
{
    return Variant(QString(count(a[0]), u' '));
}

// String(number, character): character is a text (its first letter) or a character code.
Variant stringFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 n = count(a[0]);
    if (a[1].isNull())
        return a[1];
    QChar fill;
    if (a[1].isString()) {
        if (a[1].stringValue().isEmpty())
            raiseError(5);
        fill = a[1].stringValue()[0];
    } else {
        fill = QChar(char16_t(Coerce::toLong(a[1]) & 0xff));
    }
    return Variant(QString(n, fill));
}

Variant strCompFunction(Runtime &, std::span<const Variant> a)
{
    const Qt::CaseSensitivity mode = args::compareMode(a, 2);
    if (a[0].isNull() || a[1].isNull())
        return Variant::null();
    const int r = QString::compare(Coerce::toString(a[0]), Coerce::toString(a[1]), mode);
    return Variant::fromInteger(qint16(r < 0 ? -1 : (r > 0 ? 1 : 0)));
}

Variant strReverseFunction(Runtime &, std::span<const Variant> a)
{
    QString text = Coerce::toString(a[0]);
    std::reverse(text.begin(), text.end());
    return Variant(std::move(text));
}

Variant ascFunction(Runtime &, std::span<const Variant> a)
{
    const QString text = Coerce::toString(a[0]);
    if (text.isEmpty())
        raiseError(5);
    return Variant::fromInteger(qint16(text[0].unicode()));
}

Variant chrFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 code = Coerce::toLong(a[0]);
    if (code < 0 || code > 255)
        raiseError(5);
    return Variant(QString(QChar(char16_t(code))));
}

Variant chrWFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 code = Coerce::toLong(a[0]);
    if (code < -32768 || code > 65535)
        raiseError(5);
    return Variant(QString(QChar(char16_t(code & 0xffff))));
}

// Letters, digits and @*_+-./ stay; other characters below 256 become %XX, the rest %uXXXX.
Variant escapeFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    static const QString kPlain = u"@*_+-./"_s;
    const QString text = Coerce::toString(a[0]);
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool ascii = u < 128;
        if (ascii && (c.isLetterOrNumber() || kPlain.contains(c)))
            result += c;
        else if (u < 256)
            result += u'%' + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        else
            result += u"%u"_s + QString::number(u, 16).toUpper().rightJustified(4, u'0');
    }
    return Variant(std::move(result));
}

// The value of digits hexadecimal digits at from, or -1 when one is no hex digit.
int hexAt(const QString &text, qsizetype from, int digits)
{
    if (from + digits > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        const char16_t c = text[from + i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// %XX and %uXXXX become their characters; a % that starts neither stays as it is.
Variant unescapeFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    const QString text = Coerce::toString(a[0]);
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%') {
            if (i + 1 < text.size() && text[i + 1] == u'u') {
                if (const int code = hexAt(text, i + 2, 4); code >= 0) {
                    result += QChar(char16_t(code));
                    i += 5;
                    continue;
                }
            } else if (const int code = hexAt(text, i + 1, 2); code >= 0) {
                result += QChar(char16_t(code));
                i += 2;
                continue;
            }
        }
        result += text[i];
    }
    return Variant(std::move(result));
}

// The byte forms see a text as the language stores it: two bytes to a character, low byte
// first. A part that ends inside a character keeps that odd byte (see Variant::fromBytes).
QByteArray bytesOf(const Variant &v)
{
    return v.isString() ? v.stringBytes() : Variant(Coerce::toString(v)).stringBytes();
}

Variant lenBFunction(Runtime &, std::span<const Variant> a)
{
    if (a[0].isNull())
        return a[0];
    return Variant(qint32(bytesOf(a[0]).size()));
}

Variant leftBFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 n = count(a[1]);
    if (a[0].isNull())
        return a[0];
    return Variant::fromBytes(bytesOf(a[0]).left(n));
}

Variant rightBFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 n = count(a[1]);
    if (a[0].isNull())
        return a[0];
    return Variant::fromBytes(bytesOf(a[0]).right(n));
}

Variant midBFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 start = Coerce::toLong(a[1]);
    if (start < 1)
        raiseError(5);
    const qint32 length = a.size() > 2 ? count(a[2]) : -1;
    if (a[0].isNull())
        return a[0];
    return Variant::fromBytes(bytesOf(a[0]).mid(start - 1, length));
}

// The first byte of the text: the low byte of its first character.
Variant ascBFunction(Runtime &, std::span<const Variant> a)
{
    const QByteArray bytes = bytesOf(a[0]);
    if (bytes.isEmpty())
        raiseError(5);
    return Variant::fromInteger(qint16(quint8(bytes[0])));
}

// A text of one byte.
Variant chrBFunction(Runtime &, std::span<const Variant> a)
{
    const qint32 code = Coerce::toLong(a[0]);
    if (code < 0 || code > 255)
        raiseError(5);
    return Variant::fromBytes(QByteArray(1, char(code)));
}

// The engine whose scripts we run: the last version of the language.
Variant scriptEngineFunction(Runtime &, std::span<const Variant>)
{
    return Variant(u"VBScript"_s);
}

Variant majorVersionFunction(Runtime &, std::span<const Variant>)
{
    return Variant(qint32(5));
}

Variant minorVersionFunction(Runtime &, std::span<const Variant>)
{
    return Variant(qint32(8));
}

Variant buildVersionFunction(Runtime &, std::span<const Variant>)
{
    return Variant(qint32(16384));
}

} // namespace

void addTextFunctions(std::vector<BuiltinInfo> &table)
{
    table.push_back({ u"Len"_s, lenFunction, 1, 1 });
    table.push_back({ u"Left"_s, leftFunction, 2, 2 });
    table.push_back({ u"Right"_s, rightFunction, 2, 2 });
    table.push_back({ u"Mid"_s, midFunction, 2, 3 });
    table.push_back({ u"InStr"_s, inStrFunction, 2, 4 });
    table.push_back({ u"InStrRev"_s, inStrRevFunction, 2, 4 });
    table.push_back({ u"Replace"_s, replaceFunction, 3, 6 });
    table.push_back({ u"Trim"_s, trimFunction, 1, 1 });
    table.push_back({ u"LTrim"_s, ltrimFunction, 1, 1 });
    table.push_back({ u"RTrim"_s, rtrimFunction, 1, 1 });
    table.push_back({ u"UCase"_s, ucaseFunction, 1, 1 });
    table.push_back({ u"LCase"_s, lcaseFunction, 1, 1 });
    table.push_back({ u"Space"_s, spaceFunction, 1, 1 });
    table.push_back({ u"String"_s, stringFunction, 2, 2 });
    table.push_back({ u"StrComp"_s, strCompFunction, 2, 3 });
    table.push_back({ u"StrReverse"_s, strReverseFunction, 1, 1 });
    table.push_back({ u"Asc"_s, ascFunction, 1, 1 });
    table.push_back({ u"AscW"_s, ascFunction, 1, 1 });
    table.push_back({ u"Chr"_s, chrFunction, 1, 1 });
    table.push_back({ u"ChrW"_s, chrWFunction, 1, 1 });
    table.push_back({ u"Escape"_s, escapeFunction, 1, 1 });
    table.push_back({ u"Unescape"_s, unescapeFunction, 1, 1 });
    table.push_back({ u"LenB"_s, lenBFunction, 1, 1 });
    table.push_back({ u"LeftB"_s, leftBFunction, 2, 2 });
    table.push_back({ u"RightB"_s, rightBFunction, 2, 2 });
    table.push_back({ u"MidB"_s, midBFunction, 2, 3 });
    table.push_back({ u"AscB"_s, ascBFunction, 1, 1 });
    table.push_back({ u"ChrB"_s, chrBFunction, 1, 1 });
    table.push_back({ u"ScriptEngine"_s, scriptEngineFunction, 0, 0 });
    table.push_back({ u"ScriptEngineMajorVersion"_s, majorVersionFunction, 0, 0 });
    table.push_back({ u"ScriptEngineMinorVersion"_s, minorVersionFunction, 0, 0 });
    table.push_back({ u"ScriptEngineBuildVersion"_s, buildVersionFunction, 0, 0 });
}

} // namespace vantrel::vbscript
