#include "platform/idcard/idcardreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace vantrel::idcard {

QString NationName(const QString &code)
{
    static const QStringList names {
        u"汉族"_s,       u"蒙古族"_s,   u"回族"_s,     u"藏族"_s,     u"维吾尔族"_s,   u"苗族"_s,
        u"彝族"_s,       u"壮族"_s,     u"布依族"_s,   u"朝鲜族"_s,   u"满族"_s,       u"侗族"_s,
        u"瑶族"_s,       u"白族"_s,     u"土家族"_s,   u"哈尼族"_s,   u"哈萨克族"_s,   u"傣族"_s,
        u"黎族"_s,       u"傈僳族"_s,   u"佤族"_s,     u"畲族"_s,     u"高山族"_s,     u"拉祜族"_s,
        u"水族"_s,       u"东乡族"_s,   u"纳西族"_s,   u"景颇族"_s,   u"柯尔克孜族"_s, u"土族"_s,
        u"达斡尔族"_s,   u"仫佬族"_s,   u"羌族"_s,     u"布朗族"_s,   u"撒拉族"_s,     u"毛南族"_s,
        u"仡佬族"_s,     u"锡伯族"_s,   u"阿昌族"_s,   u"普米族"_s,   u"塔吉克族"_s,   u"怒族"_s,
        u"乌孜别克族"_s, u"俄罗斯族"_s, u"鄂温克族"_s, u"德昂族"_s,   u"保安族"_s,     u"裕固族"_s,
        u"京族"_s,       u"塔塔尔族"_s, u"独龙族"_s,   u"鄂伦春族"_s, u"赫哲族"_s,     u"门巴族"_s,
        u"珞巴族"_s,     u"基诺族"_s,
    };
    bool ok = false;
    const int number = code.toInt(&ok);
    if (!ok || code.size() != 2)
        return {};
    if (number >= 1 && number <= names.size())
        return names.at(number - 1);
    if (number == 97)
        return u"其他"_s;
    if (number == 98)
        return u"外国血统中国籍人士"_s;
    return {};
}

std::optional<IdCardRecord> ParseIdCardText(const QString &text)
{
    if (text.size() < 79)
        return std::nullopt;
    const auto field = [&text](int from, int length) { return text.mid(from, length).trimmed(); };
    IdCardRecord record;
    record.name = field(0, 15);
    record.sex = text.at(15) == u'1' ? u"男"_s : u"女"_s;
    record.nation = NationName(text.mid(16, 2));
    const QString birth = text.mid(18, 8);
    record.birthday = birth.left(4) + u'-' + birth.mid(4, 2) + u'-' + birth.mid(6, 2);
    record.address = field(26, 35);
    record.number = field(61, 18);
    return record;
}

std::optional<IdCardRecord> TakeIdCardFile(const QString &folder)
{
    QFile file(QDir(folder).filePath(u"wz.txt"_s));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(256);
    file.close();
    file.remove();
    if (bytes.startsWith("\xff\xfe"))
        bytes.remove(0, 2);
    QStringDecoder decoder(QStringDecoder::Utf16LE);
    return ParseIdCardText(decoder(bytes));
}

bool IdCardReader::load(const QString &path)
{
    QStringList tries;
    if (!path.isEmpty())
        tries << path;
    else
        tries << QDir(QCoreApplication::applicationDirPath()).filePath(u"libtermb.so"_s)
              << u"termb"_s;
    for (const QString &candidate : tries) {
        m_library.setFileName(candidate);
        if (!m_library.load())
            continue;
        m_init = reinterpret_cast<InitComm>(m_library.resolve("CVR_InitComm"));
        m_close = reinterpret_cast<NoArgument>(m_library.resolve("CVR_CloseComm"));
        m_authenticate = reinterpret_cast<NoArgument>(m_library.resolve("CVR_Authenticate"));
        m_read = reinterpret_cast<ReadContent>(m_library.resolve("CVR_Read_Content"));
        if (isLoaded())
            return true;
        m_init = nullptr;
        m_close = m_authenticate = nullptr;
        m_read = nullptr;
        m_library.unload();
    }
    m_error = u"未能加载身份证读卡器程序库：%1"_s.arg(tries.first());
    return false;
}

IdCardReader::Outcome IdCardReader::readCard()
{
    if (!isLoaded())
        return NotLoaded;
    bool open = false;
    for (int port = 1001; port <= 1016 && !open; ++port)
        open = m_init(port) == 1;
    for (int port = 1; port <= 16 && !open; ++port)
        open = m_init(port) == 1;
    Outcome outcome = NoPort;
    if (open) {
        if (m_authenticate() != 1)
            outcome = AuthenticationFailed;
        else
            outcome = m_read(1) == 1 ? Read : ReadFailed;
    }
    m_close();
    return outcome;
}

void IdCardReader::close()
{
    if (isLoaded())
        m_close();
}

} // namespace vantrel::idcard
