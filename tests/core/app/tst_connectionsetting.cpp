#include "core/app/connectionsetting.h"
#include "core/db/connectionstring.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using vantrel::db::Backend;
using vantrel::db::ConnectionString;

// The connection setting in kelm.ini: its codec, its line and the connection string it gives.
class TestConnectionSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void codec_data();
    void codec();
    void codecRejectsForeignText();
    void settingSurvivesIniFile_data();
    void settingSurvivesIniFile();
    void settingLine_data();
    void settingLine();
    void connectionString_data();
    void connectionString();
    void fileOfTheUserOnly_data();
    void fileOfTheUserOnly();

private:
    QTemporaryDir m_home;
};

void TestConnectionSetting::initTestCase()
{
    QVERIFY(m_home.isValid());
    ConnectionSetting::setIniFilePathOverride(m_home.filePath(u"kelm.ini"_s));
}

void TestConnectionSetting::cleanup()
{
    QFile::remove(ConnectionSetting::iniFilePath());
    ConnectionSetting::setIniFilePathOverride(m_home.filePath(u"kelm.ini"_s));
}

void TestConnectionSetting::codec_data()
{
    QTest::addColumn<QString>("plain");
    QTest::newRow("empty") << QString();
    QTest::newRow("padded password") << u"       admin"_s;
    QTest::newRow("line with commas") << u"3,/data/a,b.db,,p%2Cw,1"_s;
    QTest::newRow("chinese") << u"服务器,数据库 连接；密码"_s;
    QTest::newRow("ini specials") << u"a=\"b\";c='d' [x] #y \\z"_s;
}

void TestConnectionSetting::codec()
{
    QFETCH(QString, plain);
    const QString stored = ConnectionSetting::encode(plain);
    QCOMPARE(ConnectionSetting::decode(stored), plain);
    for (const QChar c : stored) {
        QVERIFY2(c.unicode() < 0x80 && c != u',' && c != u';', qPrintable(stored));
    }
    if (plain.size() > 3)
        QVERIFY(!stored.contains(plain.trimmed().left(4)));
}

void TestConnectionSetting::codecRejectsForeignText()
{
    QCOMPARE(ConnectionSetting::decode(u"not base64!"_s), QString());
    QCOMPARE(ConnectionSetting::decode(u"中文"_s), QString());
    QVERIFY(ConnectionSetting::encode(u"admin"_s) != ConnectionSetting::encode(u"admim"_s));
}

void TestConnectionSetting::settingSurvivesIniFile_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("loginId");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("sslMode");
    QTest::newRow("file path with a comma")
        << u"/数据/薪资,2024/vantrel.db"_s << u"user,1"_s << u"pa,ss%2C;w"_s << QString();
    QTest::newRow("commas") << u"db01,5433"_s << u"pay,roll"_s << u",a,,b,"_s << u"require"_s;
    QTest::newRow("quotes") << u"db01"_s << u"o'neil"_s << u"say \"hi\" it's"_s << QString();
    QTest::newRow("percent signs") << u"db01"_s << u"sa"_s << u"100%25%2C%"_s << u"disable"_s;
    QTest::newRow("all of them") << u"db01:5433"_s << u"sa"_s << u"%,\";'{}"_s << u"verify-full"_s;
    QTest::newRow("blanks kept") << u"db01"_s << u"sa"_s << u"  pw  "_s << QString();
}

void TestConnectionSetting::settingSurvivesIniFile()
{
    QFETCH(QString, server);
    QFETCH(QString, loginId);
    QFETCH(QString, password);
    QFETCH(QString, sslMode);
    const ConnectionSetting written(server, ConnectionSetting::PasswordLogin, loginId, password,
                                    sslMode);
    QVERIFY(!ConnectionSetting::exists());
    QVERIFY(written.write());
    QVERIFY(ConnectionSetting::exists());

    QFile file(ConnectionSetting::iniFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString raw = QString::fromUtf8(file.readAll());
    QVERIFY2(raw.contains(u"[ConnectInfo]"_s) && raw.contains(u"DBConnect="_s), qPrintable(raw));

    const QString stored = QSettings(ConnectionSetting::iniFilePath(), QSettings::IniFormat)
                               .value(u"ConnectInfo/DBConnect"_s)
                               .toString();
    // Encoded: none of the fields can be read from the file.
    static const QRegularExpression base64(u"^[A-Za-z0-9+/]+=*$"_s);
    QVERIFY2(base64.match(stored).hasMatch(), qPrintable(stored));
    const auto read = ConnectionSetting::fromLine(ConnectionSetting::decode(stored));
    QVERIFY(read);
    QCOMPARE(read->server(), server);
    QCOMPARE(read->loginKind(), int(ConnectionSetting::PasswordLogin));
    QCOMPARE(read->loginId(), loginId);
    QCOMPARE(read->password(), password);
    QCOMPARE(read->sslMode(), sslMode);

    // And on through the connection string that the login opens.
    const QString connection = ConnectionSetting::BuildConnectionString();
    QCOMPARE(connection, written.connectionString());
    const ConnectionString cs = ConnectionString::parse(connection);
    if (cs.backend() == Backend::Postgres) {
        QCOMPARE(cs.password(), password);
        QCOMPARE(cs.userName(), loginId);
        QCOMPARE(cs.sslMode(), sslMode);
    }
}

void TestConnectionSetting::settingLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("loginId");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("sslMode");
    const int system = ConnectionSetting::SystemLogin;
    const int withPassword = ConnectionSetting::PasswordLogin;
    QTest::newRow("empty") << QString() << false << QString() << QString() << QString() << 0
                           << QString();
    QTest::newRow("four fields") << u"3,srv,id,pw"_s << false << QString() << QString() << QString()
                                 << 0 << QString();
    QTest::newRow("code 1") << u"1,pw,srv,id,0"_s << true << u"srv"_s << u"id"_s << u"pw"_s
                            << withPassword << QString();
    QTest::newRow("code 2") << u"2,srv,pw,id,0"_s << true << u"srv"_s << u"id"_s << u"pw"_s
                            << withPassword << QString();
    QTest::newRow("code 3, system")
        << u"3,srv,id,pw,1"_s << true << u"srv"_s << u"id"_s << u"pw"_s << system << QString();
    QTest::newRow("other code") << u"7,srv,id,pw,0"_s << true << QString() << QString() << QString()
                                << withPassword << QString();
    QTest::newRow("not trimmed") << u"3, srv ,id, pw ,2"_s << true << u" srv "_s << u"id"_s
                                 << u" pw "_s << system << QString();
    QTest::newRow("flag not a number") << u"3,srv,id,pw,x"_s << true << u"srv"_s << u"id"_s
                                       << u"pw"_s << withPassword << QString();
    QTest::newRow("escaped") << u"3,/a%2Cb/x.db,id,p%25w%2c,1"_s << true << u"/a,b/x.db"_s
                             << u"id"_s << u"p%w,"_s << system << QString();
    QTest::newRow("SSL mode") << u"3,srv,id,pw,0,verify-full"_s << true << u"srv"_s << u"id"_s
                              << u"pw"_s << withPassword << u"verify-full"_s;
    QTest::newRow("sixth field that is no SSL mode")
        << u"3,srv,id,pw,0,extra"_s << true << u"srv"_s << u"id"_s << u"pw"_s << withPassword
        << QString();
}

void TestConnectionSetting::settingLine()
{
    QFETCH(QString, line);
    QFETCH(bool, valid);
    const auto setting = ConnectionSetting::fromLine(line);
    QCOMPARE(bool(setting), valid);
    if (!valid)
        return;
    QFETCH(QString, server);
    QFETCH(QString, loginId);
    QFETCH(QString, password);
    QFETCH(int, kind);
    QFETCH(QString, sslMode);
    QCOMPARE(setting->server(), server);
    QCOMPARE(setting->loginId(), loginId);
    QCOMPARE(setting->password(), password);
    QCOMPARE(setting->loginKind(), kind);
    QCOMPARE(setting->sslMode(), sslMode);

    const QString written = setting->toLine();
    QCOMPARE(written.count(u','), sslMode.isEmpty() ? 4 : 5); // no choice, no sixth field
    const auto again = ConnectionSetting::fromLine(written);
    QVERIFY(again);
    QCOMPARE(again->server(), server);
    QCOMPARE(again->password(), password);
    QCOMPARE(again->loginKind(), kind);
    QCOMPARE(again->sslMode(), sslMode);
}

void TestConnectionSetting::connectionString_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("sslMode");
    QTest::addColumn<QString>("expected");
    const int system = ConnectionSetting::SystemLogin;
    const int withPassword = ConnectionSetting::PasswordLogin;
    const QString db = u";Database=Morvel_VANTREL_DB"_s;
    QTest::newRow("file path") << u"/home/ann/vantrel.db"_s << withPassword << QString()
                               << u"Provider=QSQLITE;Data Source=/home/ann/vantrel.db"_s;
    QTest::newRow("file by suffix") << u"payroll.SQLITE"_s << system << QString()
                                    << u"Provider=QSQLITE;Data Source=payroll.SQLITE"_s;
    QTest::newRow("file with ;") << u"/data/a;b.db"_s << system << QString()
                                 << u"Provider=QSQLITE;Data Source=\"/data/a;b.db\""_s;
    QTest::newRow("host") << u"db01"_s << withPassword << QString()
                          << u"Provider=QPSQL;Server=db01;UID=sa;PWD=pw"_s + db;
    QTest::newRow("host,port") << u"db01,5433"_s << withPassword << QString()
                               << u"Provider=QPSQL;Server=db01,5433;UID=sa;PWD=pw"_s + db;
    QTest::newRow("host:port") << u"10.0.0.5:5433"_s << withPassword << QString()
                               << u"Provider=QPSQL;Server=10.0.0.5,5433;UID=sa;PWD=pw"_s + db;
    QTest::newRow("ipv6 with port") << u"[::1]:5433"_s << withPassword << QString()
                                    << u"Provider=QPSQL;Server=::1,5433;UID=sa;PWD=pw"_s + db;
    QTest::newRow("system login, remote")
        << u"db01"_s << system << QString()
        << u"Provider=QPSQL;Server=db01;Integrated Security=SSPI"_s + db;
    QTest::newRow("system login, local socket")
        << u"localhost:5433"_s << system << QString()
        << u"Provider=QPSQL;Server=,5433;Integrated Security=SSPI"_s + db;
    QTest::newRow("SSL mode") << u"db01"_s << withPassword << u"require"_s
                              << u"Provider=QPSQL;Server=db01;UID=sa;PWD=pw"_s + db
            + u";SSL Mode=require"_s;
    QTest::newRow("SSL mode, system login")
        << u"db01"_s << system << u"verify-full"_s
        << u"Provider=QPSQL;Server=db01;Integrated Security=SSPI"_s + db
            + u";SSL Mode=verify-full"_s;
    QTest::newRow("no SSL for a file") << u"/home/ann/vantrel.db"_s << withPassword << u"require"_s
                                       << u"Provider=QSQLITE;Data Source=/home/ann/vantrel.db"_s;
}

void TestConnectionSetting::connectionString()
{
    QFETCH(QString, server);
    QFETCH(int, kind);
    QFETCH(QString, sslMode);
    QFETCH(QString, expected);
    const ConnectionSetting setting(server, kind, u"sa"_s, u"pw"_s, sslMode);
    QCOMPARE(setting.connectionString(), expected);
    const ConnectionString parsed = ConnectionString::parse(expected);
    QCOMPARE(parsed.backend() == Backend::Sqlite, ConnectionSetting::isDatabaseFile(server));
}

void TestConnectionSetting::fileOfTheUserOnly_data()
{
    QTest::addColumn<bool>("besideProgram");
    QTest::newRow("the user's own") << false;
    QTest::newRow("shared beside the program") << true;
}

void TestConnectionSetting::fileOfTheUserOnly()
{
    QFETCH(bool, besideProgram);
    const QString path = besideProgram
        ? QDir(QCoreApplication::applicationDirPath()).filePath(u"kelm.ini"_s)
        : m_home.filePath(u"kelm.ini"_s);
    ConnectionSetting::setIniFilePathOverride(path);
    // An older file that others could read.
    const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
        | QFileDevice::ReadOther;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::setPermissions(path, readable));

    QVERIFY(
        ConnectionSetting(u"db01"_s, ConnectionSetting::PasswordLogin, u"sa"_s, u"pw"_s).write());
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions permissions = QFile::permissions(path);
    QVERIFY(permissions.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(permissions & others,
             besideProgram ? (QFileDevice::ReadGroup | QFileDevice::ReadOther)
                           : QFileDevice::Permissions());
}

QTEST_GUILESS_MAIN(TestConnectionSetting)
#include "tst_connectionsetting.moc"
