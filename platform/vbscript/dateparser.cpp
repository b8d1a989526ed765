#include "platform/vbscript/dateparser.h"

#include "platform/vbscript/datemath.h"

#include <QDate>
#include <QString>

#include <vector>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

struct Chunk
{
    enum Kind { Number, Word, Colon } kind = Number;
    int value = 0;
    int digits = 0;
    QString word;
};

bool tokenize(QStringView text, std::vector<Chunk> &chunks)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            Chunk chunk;
            while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && chunk.digits < 9) {
                chunk.value = chunk.value * 10 + (text[i].unicode() - u'0');
                ++chunk.digits;
                ++i;
            }
            chunks.push_back(chunk);
        } else if (c.isLetter()) {
            Chunk chunk;
            chunk.kind = Chunk::Word;
            while (i < text.size() && (text[i].isLetter() || text[i] == u'.'))
                chunk.word += text[i++].toLower();
            if (chunk.word.endsWith(u'.'))
                chunk.word.chop(1);
            chunks.push_back(chunk);
        } else if (c == u':') {
            Chunk colon;
            colon.kind = Chunk::Colon;
            chunks.push_back(colon);
            ++i;
        } else if (c.isSpace() || c == u'/' || c == u'-' || c == u'.' || c == u',') {
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

int monthFromWord(const QString &word)
{
    for (int month = 1; month <= 12; ++month) {
        const QString name = DateMath::monthName(month, false).toLower();
        if (word.size() >= 3 && name.startsWith(word))
            return month;
    }
    return 0;
}

bool isWeekdayWord(const QString &word)
{
    for (int day = 1; day <= 7; ++day) {
        const QString name = DateMath::weekdayName(day, false).toLower();
        if (word.size() >= 3 && name.startsWith(word))
            return true;
    }
    return false;
}

int fullYear(const Chunk &chunk)
{
    if (chunk.digits > 2)
        return chunk.value;
    return int(DateMath::windowYear(chunk.value));
}

struct Found
{
    std::vector<Chunk> numbers;
    int month = 0;
    bool hasTime = false;
    int hour = 0, minute = 0, second = 0;
    int meridiem = 0; // 1 AM, 2 PM
};

// Takes the time out of the chunks (h:mm[:ss], or an hour followed by AM/PM).
bool collect(const std::vector<Chunk> &chunks, Found &found)
{
    for (size_t i = 0; i < chunks.size(); ++i) {
        const Chunk &chunk = chunks[i];
        if (chunk.kind == Chunk::Number && i + 2 < chunks.size()
            && chunks[i + 1].kind == Chunk::Colon && chunks[i + 2].kind == Chunk::Number) {
            if (found.hasTime)
                return false;
            found.hasTime = true;
            found.hour = chunk.value;
            found.minute = chunks[i + 2].value;
            i += 2;
            if (i + 2 < chunks.size() && chunks[i + 1].kind == Chunk::Colon
                && chunks[i + 2].kind == Chunk::Number) {
                found.second = chunks[i + 2].value;
                i += 2;
            }
        } else if (chunk.kind == Chunk::Word) {
            if (chunk.word == u"am"_s || chunk.word == u"a"_s || chunk.word == u"pm"_s
                || chunk.word == u"p"_s) {
                if (!found.hasTime) {
                    if (found.numbers.empty())
                        return false;
                    found.hasTime = true;
                    found.hour = found.numbers.back().value;
                    found.numbers.pop_back();
                }
                found.meridiem = chunk.word.startsWith(u'a') ? 1 : 2;
            } else if (const int month = monthFromWord(chunk.word); month > 0 && !found.month) {
                found.month = month;
            } else if (!isWeekdayWord(chunk.word)) {
                return false;
            }
        } else if (chunk.kind == Chunk::Number) {
            found.numbers.push_back(chunk);
        } else {
            return false;
        }
    }
    return true;
}

bool resolveWithMonthName(const Found &found, int &year, int &month, int &day)
{
    const auto &n = found.numbers;
    month = found.month;
    if (n.size() == 2) {
        const bool yearFirst = n[0].value > 31 || n[0].digits > 2;
        day = yearFirst ? n[1].value : n[0].value;
        year = fullYear(yearFirst ? n[0] : n[1]);
    } else if (n.size() == 1) {
        if (n[0].value <= 31 && n[0].digits <= 2) {
            day = n[0].value;
        } else {
            day = 1;
            year = fullYear(n[0]);
        }
    } else {
        return false;
    }
    return true;
}

bool resolveNumbers(const Found &found, int &year, int &month, int &day)
{
    const auto &n = found.numbers;
    if (n.size() == 3) {
        if (n[0].value > 31 || n[0].digits > 2) {
            year = fullYear(n[0]);
            month = n[1].value;
            day = n[2].value;
            return true;
        }
        month = n[0].value;
        day = n[1].value;
        year = fullYear(n[2]);
    } else if (n.size() == 2) {
        if (n[1].value > 31 || n[1].digits > 2) {
            month = n[0].value;
            day = 1;
            year = fullYear(n[1]);
            return true;
        }
        month = n[0].value;
        day = n[1].value;
    } else {
        return false;
    }
    if (month > 12 && day <= 12)
        std::swap(month, day);
    return true;
}

bool resolveTime(Found &found)
{
    if (found.meridiem != 0) {
        if (found.hour < 1 || found.hour > 12)
            return false;
        found.hour = found.hour % 12 + (found.meridiem == 2 ? 12 : 0);
    }
    return found.hour <= 23 && found.minute <= 59 && found.second <= 59;
}

} // namespace

bool DateParser::parse(QStringView text, double &serial)
{
    std::vector<Chunk> chunks;
    if (!tokenize(text, chunks) || chunks.empty())
        return false;
    Found found;
    if (!collect(chunks, found) || !resolveTime(found))
        return false;
    double date = 0;
    if (!found.numbers.empty() || found.month) {
        int year = QDate::currentDate().year();
        int month = 0;
        int day = 0;
        const bool ok = found.month ? resolveWithMonthName(found, year, month, day)
                                    : resolveNumbers(found, year, month, day);
        if (!ok || month < 1 || month > 12 || day < 1 || year < 100 || year > 9999
            || day > DateMath::daysInMonth(year, month))
            return false;
        DateMath::fromDate(year, month, day, date);
    } else if (!found.hasTime) {
        return false;
    }
    serial = DateMath::join(qint64(date), found.hour * 3600 + found.minute * 60 + found.second);
    return true;
}

} // namespace vantrel::vbscript
