#include "core/app/passworddigest.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QtDebug>

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace PasswordDigest {

namespace {

constexpr int saltLength = 16;
constexpr int digestLength = 32;
constexpr int maxRounds = 10'000'000;
const QString scheme = u"pbkdf2-sha256"_s;

int &testRounds()
{
    static int rounds = 0;
    return rounds;
}

int newRounds()
{
    return testRounds() > 0 ? testRounds() : defaultRounds;
}

// OpenSSL's PBKDF2: several times faster than a loop of Qt's HMAC, which would make the
// rounds we can afford per check too few.
QByteArray derive(const QString &password, const QByteArray &salt, int rounds)
{
    const QByteArray utf8 = password.toUtf8();
    QByteArray key(digestLength, Qt::Uninitialized);
    if (PKCS5_PBKDF2_HMAC(utf8.constData(), int(utf8.size()),
                          reinterpret_cast<const unsigned char *>(salt.constData()),
                          int(salt.size()), rounds, EVP_sha256(), digestLength,
                          reinterpret_cast<unsigned char *>(key.data()))
        != 1)
        return {};
    return key;
}

struct Parsed
{
    int rounds = 0;
    QByteArray salt;
    QByteArray digest;
};

std::optional<Parsed> parse(const QString &stored)
{
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts.at(0) != scheme)
        return std::nullopt;
    bool ok = false;
    Parsed p;
    p.rounds = parts.at(1).toInt(&ok);
    if (!ok || p.rounds < 1 || p.rounds > maxRounds)
        return std::nullopt;
    p.salt = QByteArray::fromBase64(parts.at(2).toLatin1());
    p.digest = QByteArray::fromBase64(parts.at(3).toLatin1());
    if (p.salt.isEmpty() || p.digest.size() != digestLength)
        return std::nullopt;
    return p;
}

} // namespace

QString make(const QString &password)
{
    if (password.isEmpty())
        return {};
    QByteArray salt(saltLength, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          saltLength / int(sizeof(quint32)));
    const int rounds = newRounds();
    const QByteArray digest = derive(password, salt, rounds);
    if (digest.isEmpty()) {
        // Only when OpenSSL runs out of memory; a text in no known form matches nothing.
        qWarning("PasswordDigest: PBKDF2 failed");
        return scheme + u"$failed"_s;
    }
    return u"%1$%2$%3$%4"_s.arg(scheme, QString::number(rounds),
                                QString::fromLatin1(salt.toBase64()),
                                QString::fromLatin1(digest.toBase64()));
}

bool check(const QString &typed, const QString &stored)
{
    if (stored.isEmpty())
        return typed.isEmpty();
    if (typed.isEmpty())
        return false;
    const auto parsed = parse(stored);
    if (!parsed)
        return false;
    const QByteArray derived = derive(typed, parsed->salt, parsed->rounds);
    return derived.size() == digestLength
        && CRYPTO_memcmp(derived.constData(), parsed->digest.constData(), digestLength) == 0;
}

bool needsRehash(const QString &stored)
{
    const auto parsed = parse(stored);
    return parsed && parsed->rounds < newRounds();
}

void setRoundsForTesting(int rounds)
{
    testRounds() = rounds > 0 ? rounds : 0;
}

} // namespace PasswordDigest
