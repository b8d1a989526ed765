#include "core/db/valuetext.h"

#include <QLocale>

#include <ctime>
#include <cwchar>
#include <vector>

QString IntToText(int value)
{
    return QString::number(value);
}

QString LongToText(qint64 value)
{
    return QString::number(value);
}

QString ULongToText(quint64 value)
{
    return QString::number(value);
}

QString FloatToText(float value)
{
    return QString::number(double(value), 'g', 10);
}

QString DoubleToText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString DateTimeToText(const QDateTime &value, const QString &format)
{
    if (!value.isValid())
        return QStringLiteral("Invalid DateTime");
    const QString fmt = format.isEmpty() ? QStringLiteral("%Y-%m-%d %H:%M:%S") : format;
    std::tm parts {};
    parts.tm_year = value.date().year() - 1900;
    parts.tm_mon = value.date().month() - 1;
    parts.tm_mday = value.date().day();
    parts.tm_hour = value.time().hour();
    parts.tm_min = value.time().minute();
    parts.tm_sec = value.time().second();
    parts.tm_wday = value.date().dayOfWeek() % 7;
    parts.tm_yday = value.date().dayOfYear() - 1;
    parts.tm_isdst = -1;

    const std::wstring wideFormat = fmt.toStdWString();
    std::vector<wchar_t> buffer(256 + size_t(fmt.size()) * 16);
    const size_t n = std::wcsftime(buffer.data(), buffer.size(), wideFormat.c_str(), &parts);
    if (n == 0 && !fmt.isEmpty())
        return {};
    return QString::fromWCharArray(buffer.data(), qsizetype(n));
}

bool ValueToText(const QVariant &value, const QString &dateFormat, QString &text,
                 BooleanText booleans)
{
    if (!value.isValid() || value.isNull()) {
        text.clear();
        return true;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UChar:
        text = IntToText(value.toInt());
        return true;
    case QMetaType::LongLong:
        text = LongToText(value.toLongLong());
        return true;
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        text = ULongToText(value.toULongLong());
        return true;
    case QMetaType::Float:
        text = FloatToText(value.toFloat());
        return true;
    case QMetaType::Double:
        text = DoubleToText(value.toDouble());
        return true;
    case QMetaType::QDateTime:
        text = DateTimeToText(value.toDateTime(), dateFormat);
        return true;
    case QMetaType::QString:
        text = value.toString();
        return true;
    case QMetaType::Bool:
        if (booleans == BooleanText::Refused)
            return false;
        text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        return true;
    default:
        return false;
    }
}
