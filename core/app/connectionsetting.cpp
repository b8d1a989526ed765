#include "core/app/connectionsetting.h"

#include "core/db/connectionstring.h"
#include "core/util/appfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

using namespace Qt::StringLiterals;
using vantrel::db::ConnectionString;

namespace {

const QString kSection = u"ConnectInfo"_s;
const QString kKey = u"DBConnect"_s;

QString &iniOverride()
{
    static QString path;
    return path;
}

QString &databaseOverride()
{
    static QString name;
    return name;
}

// The key stream mixes a fixed phrase with the position, so equal characters at different
// places give different bytes.
char keyByte(qsizetype i)
{
    static constexpr char phrase[] = "Vantrel/kelm.ini:ConnectInfo";
    constexpr qsizetype n = sizeof(phrase) - 1;
    return char(phrase[i % n] ^ ((i * 29 + 11) & 0xFF));
}

QByteArray applyKey(QByteArray bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(bytes[i] ^ keyByte(i));
    return bytes;
}

QString escapeField(const QString &field)
{
    return QString(field).replace(u"%"_s, u"%25"_s).replace(u","_s, u"%2C"_s);
}

QString unescapeField(const QString &field)
{
    return QString(field).replace(u"%2C"_s, u","_s, Qt::CaseInsensitive).replace(u"%25"_s, u"%"_s);
}

struct HostPort
{
    QString host;
    int port = 0;
};

// "host", "host,port", "host:port", "[v6]:port"; an IPv6 address without brackets has no port.
HostPort splitHost(const QString &server)
{
    const QString text = server.trimmed();
    QString host = text;
    QString port;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close > 0) {
            host = text.mid(1, close - 1);
            port = text.mid(close + 1);
            if (port.startsWith(u':') || port.startsWith(u','))
                port.remove(0, 1);
        }
    } else if (const qsizetype comma = text.indexOf(u','); comma >= 0) {
        host = text.left(comma);
        port = text.mid(comma + 1);
    } else if (text.count(u':') == 1) {
        const qsizetype colon = text.indexOf(u':');
        host = text.left(colon);
        port = text.mid(colon + 1);
    }
    return { host.trimmed(), port.trimmed().toInt() };
}

// The system login reaches a server on this machine through its local socket, where
// PostgreSQL knows the operating-system user; over TCP it would ask for a password.
bool isLocalHostName(const QString &host)
{
    return host.isEmpty() || host == u"." || host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0
        || host.compare(u"(local)"_s, Qt::CaseInsensitive) == 0;
}

} // namespace

ConnectionSetting::ConnectionSetting(const QString &server, int loginKind, const QString &loginId,
                                     const QString &password, const QString &sslMode)
    : m_server(server)
    , m_loginKind(loginKind)
    , m_loginId(loginId)
    , m_password(password)
    , m_sslMode(sslMode)
{
}

bool ConnectionSetting::isSslMode(const QString &mode)
{
    for (const auto known :
         { u"disable", u"allow", u"prefer", u"require", u"verify-ca", u"verify-full" }) {
        if (mode == QStringView(known))
            return true;
    }
    return false;
}

bool ConnectionSetting::isDatabaseFile(const QString &server)
{
    if (server.contains(u'/') || server.contains(u'\\'))
        return true;
    for (const auto suffix : { u".db", u".db3", u".sqlite", u".sqlite3" }) {
        if (server.endsWith(QStringView(suffix), Qt::CaseInsensitive))
            return true;
    }
    return !server.isEmpty() && QFileInfo(server).isFile();
}

QString ConnectionSetting::connectionString() const
{
    if (isDatabaseFile(m_server))
        return ConnectionString::forSqlite(m_server);
    const HostPort address = splitHost(m_server);
    if (m_loginKind == SystemLogin) {
        const QString host = isLocalHostName(address.host) ? QString() : address.host;
        return ConnectionString::forPostgres(host, address.port, {}, {}, databaseName(), m_sslMode);
    }
    return ConnectionString::forPostgres(address.host, address.port, m_loginId, m_password,
                                         databaseName(), m_sslMode);
}

QString ConnectionSetting::toLine() const
{
    QStringList fields { u"3"_s, escapeField(m_server), escapeField(m_loginId),
                         escapeField(m_password), m_loginKind == SystemLogin ? u"1"_s : u"0"_s };
    if (!m_sslMode.isEmpty())
        fields << escapeField(m_sslMode);
    return fields.join(u',');
}

std::optional<ConnectionSetting> ConnectionSetting::fromLine(const QString &line)
{
    if (line.isEmpty())
        return std::nullopt;
    const QStringList f = line.split(u',', Qt::KeepEmptyParts);
    if (f.size() < 5)
        return std::nullopt;
    QString server, loginId, password;
    switch (f.at(0).toInt()) {
    case 1:
        server = f.at(2);
        loginId = f.at(3);
        password = f.at(1);
        break;
    case 2:
        server = f.at(1);
        loginId = f.at(3);
        password = f.at(2);
        break;
    case 3:
        server = f.at(1);
        loginId = f.at(2);
        password = f.at(3);
        break;
    default:
        break;
    }
    const int kind = f.at(4).toInt() != 0 ? SystemLogin : PasswordLogin;
    QString sslMode = f.size() > 5 ? unescapeField(f.at(5)) : QString();
    if (!isSslMode(sslMode))
        sslMode.clear();
    return ConnectionSetting(unescapeField(server), kind, unescapeField(loginId),
                             unescapeField(password), sslMode);
}

QString ConnectionSetting::BuildConnectionString()
{
    QSettings ini(iniFilePath(), QSettings::IniFormat);
    const QString stored = ini.value(kSection + u'/' + kKey).toString().trimmed();
    const auto setting = fromLine(decode(stored));
    return setting ? setting->connectionString() : QString();
}

bool ConnectionSetting::exists()
{
    QSettings ini(iniFilePath(), QSettings::IniFormat);
    return !ini.value(kSection + u'/' + kKey).toString().trimmed().isEmpty();
}

bool ConnectionSetting::write() const
{
    const QString path = iniFilePath();
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue(kSection + u'/' + kKey, encode(toLine()));
    ini.sync();
    if (ini.status() != QSettings::NoError)
        return false;
    // The line holds the password; only the shared file beside the program stays readable by
    // the installation's other users.
    return IsSharedIniFile(path) || RestrictToOwner(path);
}

QString ConnectionSetting::encode(const QString &plain)
{
    if (plain.isEmpty())
        return {};
    return QString::fromLatin1(applyKey(plain.toUtf8()).toBase64());
}

QString ConnectionSetting::decode(const QString &stored)
{
    if (stored.isEmpty())
        return {};
    for (const QChar c : stored) {
        if (c.unicode() > 0x7F)
            return {};
    }
    const auto bytes = QByteArray::fromBase64Encoding(stored.toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes)
        return {};
    return QString::fromUtf8(applyKey(*bytes));
}

QString ConnectionSetting::databaseName()
{
    const QString &name = databaseOverride();
    return name.isEmpty() ? u"Morvel_VANTREL_DB"_s : name;
}

QString ConnectionSetting::defaultDatabaseFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(u"vantrel.db"_s);
}

QString ConnectionSetting::iniFilePath()
{
    const QString &path = iniOverride();
    return path.isEmpty() ? IniFilePath() : path;
}

void ConnectionSetting::setIniFilePathOverride(const QString &path)
{
    iniOverride() = path;
}

void ConnectionSetting::setDatabaseNameOverride(const QString &name)
{
    databaseOverride() = name;
}
