#include "platform/idcard/idcardreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using vantrel::idcard::IdCardReader;
using vantrel::idcard::IdCardRecord;

namespace {

// A card text laid out by character position: name 15, sex 1, nation 2, birth 8, address 35,
// number 18.
QString cardText(const QString &sex, const QString &nation)
{
    return u"张三"_s.leftJustified(15) + sex + nation + u"19800203"_s
        + u"北京市东城区某街1号"_s.leftJustified(35) + u"110101198002030011"_s;
}

bool writeUtf16(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return file.write(bytes) == bytes.size();
}

QStringList calls(const QString &logPath)
{
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    // The port search is long; keep its last try and what follows.
    QStringList kept;
    for (int i = 0; i < lines.size(); ++i) {
        const bool init = lines.at(i).startsWith(u"CVR_InitComm"_s);
        const bool nextInit = i + 1 < lines.size() && lines.at(i + 1).startsWith(u"CVR_InitComm"_s);
        if (!init || !nextInit)
            kept << lines.at(i);
    }
    return kept;
}

} // namespace

class TestIdCardReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nations_data();
    void nations();
    void parse();
    void reads_data();
    void reads();
    void noLibrary();
};

void TestIdCardReader::nations_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("01") << u"01"_s << u"汉族"_s;
    QTest::newRow("56") << u"56"_s << u"基诺族"_s;
    QTest::newRow("57") << u"57"_s << QString();
    QTest::newRow("97") << u"97"_s << u"其他"_s;
    QTest::newRow("98") << u"98"_s << u"外国血统中国籍人士"_s;
    QTest::newRow("00") << u"00"_s << QString();
    QTest::newRow("letters") << u"x1"_s << QString();
}

void TestIdCardReader::nations()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(vantrel::idcard::NationName(code), name);
}

void TestIdCardReader::parse()
{
    const std::optional<IdCardRecord> record
        = vantrel::idcard::ParseIdCardText(cardText(u"2"_s, u"01"_s));
    QVERIFY(record);
    QCOMPARE(record->name, u"张三"_s);
    QCOMPARE(record->sex, u"女"_s);
    QCOMPARE(record->nation, u"汉族"_s);
    QCOMPARE(record->birthday, u"1980-02-03"_s);
    QCOMPARE(record->address, u"北京市东城区某街1号"_s);
    QCOMPARE(record->number, u"110101198002030011"_s);
    QVERIFY(!vantrel::idcard::ParseIdCardText(cardText(u"1"_s, u"01"_s).left(78)));
}

void TestIdCardReader::reads_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("auth");
    QTest::addColumn<int>("read");
    QTest::addColumn<QString>("wz"); // empty: the reader leaves no file
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("tail"); // the calls after the port search

    QTest::newRow("no port") << 0 << 1 << 1 << QString() << int(IdCardReader::NoPort)
                             << QStringList { u"CVR_InitComm(16)"_s, u"CVR_CloseComm(0)"_s };
    QTest::newRow("authentication failed")
        << 1003 << 0 << 1 << QString() << int(IdCardReader::AuthenticationFailed)
        << QStringList { u"CVR_InitComm(1003)"_s, u"CVR_Authenticate(0)"_s, u"CVR_CloseComm(0)"_s };
    QTest::newRow("read failed") << 5 << 1 << 0 << QString() << int(IdCardReader::ReadFailed)
                                 << QStringList { u"CVR_InitComm(5)"_s, u"CVR_Authenticate(0)"_s,
                                                  u"CVR_Read_Content(1)"_s, u"CVR_CloseComm(0)"_s };
    QTest::newRow("read") << 1001 << 1 << 1 << cardText(u"1"_s, u"56"_s) << int(IdCardReader::Read)
                          << QStringList { u"CVR_InitComm(1001)"_s, u"CVR_Authenticate(0)"_s,
                                           u"CVR_Read_Content(1)"_s, u"CVR_CloseComm(0)"_s };
}

void TestIdCardReader::reads()
{
    QFETCH(int, port);
    QFETCH(int, auth);
    QFETCH(int, read);
    QFETCH(QString, wz);
    QFETCH(int, outcome);
    QFETCH(QStringList, tail);

    QTemporaryDir dir;
    const QString log = dir.filePath(u"calls.log"_s);
    qputenv("FAKE_TERMB_LOG", log.toLocal8Bit());
    qputenv("FAKE_TERMB_PORT", QByteArray::number(port));
    qputenv("FAKE_TERMB_AUTH", QByteArray::number(auth));
    qputenv("FAKE_TERMB_READ", QByteArray::number(read));
    qputenv("FAKE_TERMB_DIR", dir.path().toLocal8Bit());
    const QString source = dir.filePath(u"card.txt"_s);
    if (!wz.isEmpty())
        QVERIFY(writeUtf16(source, wz));
    qputenv("FAKE_TERMB_WZ", wz.isEmpty() ? QByteArray("/nonexistent") : source.toLocal8Bit());

    IdCardReader reader;
    QVERIFY2(reader.load(QStringLiteral(FAKE_TERMB_PATH)), qPrintable(reader.error()));
    QCOMPARE(int(reader.readCard()), outcome);
    QCOMPARE(calls(log), tail);

    const std::optional<IdCardRecord> record = vantrel::idcard::TakeIdCardFile(dir.path());
    QCOMPARE(record.has_value(), !wz.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(u"wz.txt"_s)));
    if (record) {
        QCOMPARE(record->sex, u"男"_s);
        QCOMPARE(record->nation, u"基诺族"_s);
        QCOMPARE(record->number, u"110101198002030011"_s);
    }
}

void TestIdCardReader::noLibrary()
{
    IdCardReader reader;
    QVERIFY(!reader.load(u"/nonexistent/libtermb.so"_s));
    QCOMPARE(reader.error(), u"未能加载身份证读卡器程序库：/nonexistent/libtermb.so"_s);
    QCOMPARE(int(reader.readCard()), int(IdCardReader::NotLoaded));

    // A short card text gives nothing.
    QTemporaryDir dir;
    QVERIFY(writeUtf16(dir.filePath(u"wz.txt"_s), cardText(u"1"_s, u"01"_s).left(78)));
    QVERIFY(!vantrel::idcard::TakeIdCardFile(dir.path()));
    QVERIFY(!vantrel::idcard::TakeIdCardFile(dir.path())); // gone: nothing either
}

QTEST_GUILESS_MAIN(TestIdCardReader)
#include "tst_idcardreader.moc"
