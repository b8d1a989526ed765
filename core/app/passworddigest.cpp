#include "core/app/passworddigest.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace PasswordDigest {

namespace {

constexpr int iterations = 20000;
constexpr int saltLength = 16;
constexpr int digestLength = 32;
const QString scheme = u"pbkdf2-sha256"_s;

QByteArray derive(const QString &password, const QByteArray &salt, int rounds)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              rounds, digestLength);
}

// Compares in time independent of where the texts differ.
bool equalBytes(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return diff == 0;
}

} // namespace

QString make(const QString &password)
{
    if (password.isEmpty())
        return {};
    QByteArray salt(saltLength, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          saltLength / int(sizeof(quint32)));
    const QByteArray digest = derive(password, salt, iterations);
    return u"%1$%2$%3$%4"_s.arg(scheme, QString::number(iterations),
                                QString::fromLatin1(salt.toBase64()),
                                QString::fromLatin1(digest.toBase64()));
}

bool check(const QString &typed, const QString &stored)
{
    if (stored.isEmpty())
        return typed.isEmpty();
    if (typed.isEmpty())
        return false;
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts.at(0) != scheme)
        return false;
    bool ok = false;
    const int rounds = parts.at(1).toInt(&ok);
    if (!ok || rounds < 1 || rounds > 10'000'000)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts.at(2).toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts.at(3).toLatin1());
    if (salt.isEmpty() || expected.size() != digestLength)
        return false;
    return equalBytes(derive(typed, salt, rounds), expected);
}

} // namespace PasswordDigest
