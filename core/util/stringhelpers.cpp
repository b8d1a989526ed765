#include "core/util/stringhelpers.h"

using namespace Qt::StringLiterals;

int SplitString(const QString &text, QChar separator, QStringList &pieces)
{
    if (text.isEmpty())
        return 0;
    const QStringList parts = text.split(separator);
    pieces << parts;
    return int(parts.size());
}

bool IsNumericText(QString &text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return false;
    int points = 0;
    bool digit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c == u'.')
            ++points;
        else if ((c == u'+' || c == u'-') && i == 0)
            continue;
        else
            return false;
    }
    return digit && points <= 1;
}

QString FormatWagePeriod(int period)
{
    return u"%1年%2月"_s.arg(period / 100).arg(period % 100, 2, 10, QLatin1Char('0'));
}

ColorRef ColorFromHtmlText(const QString &text)
{
    if (text.size() != 7)
        return InvalidColor;
    bool okR = false, okG = false, okB = false;
    const uint r = text.mid(1, 2).toUInt(&okR, 16);
    const uint g = text.mid(3, 2).toUInt(&okG, 16);
    const uint b = text.mid(5, 2).toUInt(&okB, 16);
    if (!okR || !okG || !okB)
        return InvalidColor;
    return r | (g << 8) | (b << 16);
}

QString ColorToHtmlText(ColorRef color)
{
    return u"%1%2%3"_s.arg(color & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((color >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((color >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

bool GetSafeArrayCell(const RowBlock &block, int column, int row, QVariant &value)
{
    if (column < 0 || column >= block.size() || row < 0 || row >= block.at(column).size())
        return false;
    const QVariant &cell = block.at(column).at(row);
    if (!cell.isValid() || cell.isNull())
        return false;
    value = cell;
    return true;
}
