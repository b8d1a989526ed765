#include "core/script/chinesemoney.h"

#include "platform/vbscript/numbertext.h"

#include <QStringView>

#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t digitChars[] = u"零壹贰叁肆伍陆柒捌玖";

bool allZero(QStringView digits)
{
    for (const QChar c : digits) {
        if (c != u'0')
            return false;
    }
    return true;
}

// The words of one group of digits with their position units. Trailing zeros are not
// written, a run of zeros gives one 零, and a leading 零 is dropped while nothing has been
// written before it.
QString groupWords(QStringView digits, const QStringView *units, bool nothingBefore)
{
    QString text;
    QString previous;
    for (qsizetype i = 0; i < digits.size() && !allZero(digits.mid(i)); ++i) {
        const int digit = digits[i].digitValue();
        QString word { QChar(digitChars[digit]) };
        if (digit != 0)
            word += units[i];
        const bool zero = digit == 0;
        if (!(zero && (previous == u"零"_s || (text.isEmpty() && nothingBefore))))
            text += word;
        previous = word;
    }
    return text;
}

} // namespace

std::optional<QString> ChineseMoneyText(double amount)
{
    if (!std::isfinite(amount))
        return std::nullopt;
    const double rounded = vantrel::vbscript::NumberText::roundDecimal(amount, 2, false);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%019.2f", std::fabs(rounded));
    const QString digits = QString::fromLatin1(buffer);
    if (digits.size() != 19)
        return std::nullopt;

    static const QStringView integerUnits[] = { u"仟", u"佰", u"拾", u"" };
    static const QStringView decimalUnits[] = { u"角", u"分" };
    // 万亿 stands alone only when no 亿 group follows: 壹万亿 but 壹万贰仟亿.
    const QString groupUnits[] = { allZero(QStringView(digits).mid(4, 4)) ? u"万亿"_s : u"万"_s,
                                   u"亿"_s, u"万"_s, QString() };
    QString result;
    for (int group = 0; group < 4; ++group) {
        const QString words
            = groupWords(QStringView(digits).mid(group * 4, 4), integerUnits, result.isEmpty());
        if (!words.isEmpty())
            result += words + groupUnits[group];
    }
    if (!result.isEmpty())
        result += u"元"_s;
    result += groupWords(QStringView(digits).mid(17, 2), decimalUnits, result.isEmpty());
    if (result.isEmpty())
        result = u"零元"_s;
    if (digits.endsWith(u".00"_s))
        result += u"整"_s;
    return rounded < 0 ? u"负"_s + result : result;
}
