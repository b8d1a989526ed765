#include "core/db/connectionstring.h"

#include <QRegularExpression>
#include <QStringView>

using namespace Qt::StringLiterals;

namespace vantrel::db {

namespace {

// One value of a pair: its text, and where its own characters end in the source (after the
// closing quote or brace, or at the ';' that ends an unquoted value).
struct ValueSpan
{
    QString value;
    qsizetype end = 0;
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool endsUnquotedValue(QChar c, bool atLineEnd)
{
    return c == u';' || (atLineEnd && (c == u'\n' || c == u'\r'));
}

// Reads the value that starts at pos (just after the '='). A quoted value ends at its closing
// quote, in which a doubled quote stands for one; an unclosed one runs to the end of the text.
// An unquoted value runs to the next ';' (or line end, when asked) and is trimmed.
ValueSpan readValue(QStringView text, qsizetype pos, bool stopAtLineEnd)
{
    const qsizetype n = text.size();
    qsizetype i = pos;
    while (i < n && isBlank(text[i]))
        ++i;
    if (i < n && (text[i] == u'"' || text[i] == u'\'' || text[i] == u'{')) {
        const QChar close = text[i] == u'{' ? QChar(u'}') : text[i];
        QString value;
        for (++i; i < n; ++i) {
            if (text[i] != close) {
                value += text[i];
            } else if (i + 1 < n && text[i + 1] == close) {
                value += close;
                ++i;
            } else {
                return { value, i + 1 };
            }
        }
        return { value, n };
    }
    qsizetype end = i;
    while (end < n && !endsUnquotedValue(text[end], stopAtLineEnd))
        ++end;
    return { text.mid(i, end - i).trimmed().toString(), end };
}

bool needsQuotes(const QString &value)
{
    if (value != value.trimmed())
        return true;
    for (const QChar c : value) {
        if (c == u';' || c == u'"' || c == u'\'' || c == u'{' || c == u'}'
            || c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

QString quoted(const QString &value)
{
    if (!needsQuotes(value))
        return value;
    return u'"' + QString(value).replace(u"\""_s, u"\"\""_s) + u'"';
}

} // namespace

ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString cs;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype eq = text.indexOf(u'=', i);
        if (eq < 0)
            break;
        const qsizetype semicolon = text.indexOf(u';', i);
        if (semicolon >= 0 && semicolon < eq) {
            i = semicolon + 1; // a piece without '='
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        const ValueSpan value = readValue(text, eq + 1, false);
        // Anything between a closing quote and the ';' is not part of the value.
        const qsizetype next = text.indexOf(u';', value.end);
        i = next < 0 ? n : next + 1;
        if (!key.isEmpty())
            cs.m_values.insert(key, value.value);
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
    static const QRegularExpression passwordKey(QStringLiteral(R"(\b(?:pwd|password)\s*=)"),
                                                QRegularExpression::CaseInsensitiveOption);
    const qsizetype n = text.size();
    QString result;
    qsizetype copied = 0;
    for (auto match = passwordKey.match(text); match.hasMatch();
         match = passwordKey.match(text, copied)) {
        const qsizetype start = match.capturedEnd();
        qsizetype end = readValue(text, start, true).end;
        // Whatever follows a closing quote up to the ';' goes too: it may be the rest of a
        // password that was quoted some other way.
        while (end < n && !endsUnquotedValue(text[end], true))
            ++end;
        result += QStringView(text).mid(copied, start - copied) + u"******";
        copied = end;
    }
    return result + QStringView(text).mid(copied);
}

QString ConnectionString::forSqlite(const QString &filePath)
{
    return u"Provider=QSQLITE;Data Source=" + quoted(filePath);
}

QString ConnectionString::forPostgres(const QString &host, int port, const QString &user,
                                      const QString &password, const QString &database,
                                      const QString &sslMode)
{
    QString server = host;
    if (port > 0)
        server += u',' + QString::number(port);
    QString text = u"Provider=QPSQL;Server=" + quoted(server);
    if (user.isEmpty())
        text += u";Integrated Security=SSPI";
    else
        text += u";UID=" + quoted(user) + u";PWD=" + quoted(password);
    text += u";Database=" + quoted(database);
    if (!sslMode.isEmpty())
        text += u";SSL Mode=" + quoted(sslMode);
    return text;
}

} // namespace vantrel::db
