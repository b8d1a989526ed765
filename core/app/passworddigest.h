#pragma once

#include <QString>

// Operator passwords are stored only as salted PBKDF2-SHA256 digests in a self-describing
// text ("pbkdf2-sha256$<iterations>$<salt>$<digest>", base64), so the whole password counts
// and equal passwords give different stored texts. Every check goes through check().
namespace PasswordDigest {

// The stored text for a password; an empty password is stored as the empty text.
QString make(const QString &password);

// True when the typed password is the one the stored text was made from. An empty stored
// text matches only an empty password; a stored text in no known form matches nothing.
bool check(const QString &typed, const QString &stored);

} // namespace PasswordDigest
