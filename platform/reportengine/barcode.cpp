#include "platform/reportengine/barcode.h"

using namespace Qt::StringLiterals;

namespace vantrel::report::Barcode {

namespace {

constexpr char code39Chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
constexpr const char *code39Patterns[] = {
    "101001101101", "110100101011", "101100101011", "110110010101", "101001101011", "110100110101",
    "101100110101", "101001011011", "110100101101", "101100101101", "110101001011", "101101001011",
    "110110100101", "101011001011", "110101100101", "101101100101", "101010011011", "110101001101",
    "101101001101", "101011001101", "110101010011", "101101010011", "110110101001", "101011010011",
    "110101101001", "101101101001", "101010110011", "110101011001", "101101011001", "101011011001",
    "110010101011", "100110101011", "110011010101", "100101101011", "110010110101", "100110110101",
    "100101011011", "110010101101", "100110101101", "100100100101", "100100101001", "100101001001",
    "101001001001", "100101101101",
};

// Bar and space widths of the 107 symbols of Code 128; the last is the stop pattern.
constexpr const char *code128Widths[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",  "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122",  "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122",  "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123",  "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",  "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311",  "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411",  "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412",  "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",  "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211",  "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113",  "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};

constexpr int startB = 104;
constexpr int stop = 106;

void appendWidths(QString &out, const char *widths)
{
    bool bar = true;
    for (const char *w = widths; *w; ++w) {
        out += QString(*w - '0', bar ? u'1' : u'0');
        bar = !bar;
    }
}

} // namespace

QString code39(const QString &text)
{
    QString out;
    const QString full = u'*' + text.toUpper() + u'*';
    for (qsizetype i = 0; i < full.size(); ++i) {
        const QChar c = full[i];
        const char *found
            = c.unicode() < 128 && c != u'\0' ? strchr(code39Chars, char(c.unicode())) : nullptr;
        // '*' is only the start and stop character.
        if (!found || (c == u'*' && i != 0 && i != full.size() - 1))
            return {};
        if (i > 0)
            out += u'0';
        out += QLatin1String(code39Patterns[found - code39Chars]);
    }
    return out;
}

QString code128(const QString &text)
{
    QString out;
    appendWidths(out, code128Widths[startB]);
    int sum = startB;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const ushort c = text[i].unicode();
        if (c < 32 || c > 127)
            return {};
        const int value = c - 32;
        sum += value * int(i + 1);
        appendWidths(out, code128Widths[value]);
    }
    appendWidths(out, code128Widths[sum % 103]);
    appendWidths(out, code128Widths[stop]);
    return out;
}

} // namespace vantrel::report::Barcode
