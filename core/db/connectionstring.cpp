#include "core/db/connectionstring.h"

#include <QRegularExpression>
#include <QStringList>

namespace vantrel::db {

namespace {

// Splits at ';' outside of quotes; a value may be quoted with ' or " to hold a ';'.
QStringList splitPairs(const QString &text)
{
    QStringList parts;
    QString current;
    QChar quote;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                current += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

QString quoted(const QString &value)
{
    if (!value.contains(u';') && !value.contains(u'\'') && !value.contains(u'"'))
        return value;
    if (!value.contains(u'"'))
        return u'"' + value + u'"';
    return u'\'' + value + u'\'';
}

} // namespace

ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString cs;
    for (const QString &pair : splitPairs(text)) {
        const qsizetype eq = pair.indexOf(u'=');
        if (eq <= 0)
            continue;
        cs.m_values.insert(pair.left(eq).trimmed().toLower(), pair.mid(eq + 1).trimmed());
    }
    return cs;
}

QString ConnectionString::first(std::initializer_list<const char *> keys) const
{
    for (const char *key : keys) {
        const auto it = m_values.constFind(QString::fromLatin1(key));
        if (it != m_values.cend())
            return *it;
    }
    return {};
}

QString ConnectionString::value(const QString &key) const
{
    return m_values.value(key.toLower());
}

Backend ConnectionString::backend() const
{
    const QString provider = first({ "provider", "driver" }).toUpper();
    if (provider == u"QSQLITE" || provider == u"SQLITE")
        return Backend::Sqlite;
    if (provider == u"QPSQL" || provider == u"POSTGRESQL" || provider == u"PSQL")
        return Backend::Postgres;
    return Backend::Unknown;
}

QString ConnectionString::filePath() const
{
    return first({ "data source", "database", "dbq" });
}

QString ConnectionString::host() const
{
    const QString server = first({ "server", "data source", "host", "address" });
    const qsizetype comma = server.indexOf(u',');
    return comma < 0 ? server : server.left(comma).trimmed();
}

int ConnectionString::port() const
{
    const QString explicitPort = first({ "port" });
    if (!explicitPort.isEmpty())
        return explicitPort.toInt();
    const QString server = first({ "server", "data source", "host", "address" });
    const qsizetype comma = server.indexOf(u',');
    return comma < 0 ? 0 : server.mid(comma + 1).trimmed().toInt();
}

QString ConnectionString::userName() const
{
    return first({ "uid", "user id", "user" });
}

QString ConnectionString::password() const
{
    return first({ "pwd", "password" });
}

QString ConnectionString::databaseName() const
{
    return first({ "database", "initial catalog" });
}

bool ConnectionString::integratedSecurity() const
{
    const QString v = first({ "integrated security", "trusted_connection" }).toLower();
    return v == u"sspi" || v == u"true" || v == u"yes";
}

QString ConnectionString::sslMode() const
{
    return first({ "ssl mode", "sslmode" }).toLower();
}

QString ConnectionString::masked(const QString &text)
{
    static const QRegularExpression password(
        QStringLiteral(R"((\b(?:pwd|password)\s*=\s*)("[^"]*"|'[^']*'|[^;]*))"),
        QRegularExpression::CaseInsensitiveOption);
    QString result = text;
    result.replace(password, QStringLiteral("\\1******"));
    return result;
}

QString ConnectionString::forSqlite(const QString &filePath)
{
    return u"Provider=QSQLITE;Data Source=" + quoted(filePath);
}

QString ConnectionString::forPostgres(const QString &host, int port, const QString &user,
                                      const QString &password, const QString &database)
{
    QString server = host;
    if (port > 0)
        server += u',' + QString::number(port);
    QString text = u"Provider=QPSQL;Server=" + quoted(server);
    if (user.isEmpty())
        text += u";Integrated Security=SSPI";
    else
        text += u";UID=" + quoted(user) + u";PWD=" + quoted(password);
    return text + u";Database=" + quoted(database);
}

} // namespace vantrel::db
