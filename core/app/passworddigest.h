#pragma once

#include <QString>

// Operator passwords are stored only as salted PBKDF2-SHA256 digests in a self-describing
// text ("pbkdf2-sha256$<rounds>$<salt>$<digest>", base64), so the whole password counts and
// equal passwords give different stored texts. Every check goes through check(); a stored text
// keeps the rounds it was made with, so older digests with fewer rounds still check.
namespace PasswordDigest {

// The rounds of a new digest: one check costs about a tenth of a second.
inline constexpr int defaultRounds = 200'000;

// The stored text for a password; an empty password is stored as the empty text.
QString make(const QString &password);

// True when the typed password is the one the stored text was made from. An empty stored
// text matches only an empty password; a stored text in no known form matches nothing.
bool check(const QString &typed, const QString &stored);

// True for a digest of ours made with fewer rounds than new digests get: after a successful
// check it should be made again from the typed password.
bool needsRehash(const QString &stored);

// For tests, which make many digests: the rounds of new digests; 0 restores defaultRounds.
void setRoundsForTesting(int rounds);

} // namespace PasswordDigest
