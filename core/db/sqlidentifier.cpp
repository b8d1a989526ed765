#include "core/db/sqlidentifier.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

bool IsSqlIdentifier(const QString &name)
{
    // Anchored whole: '$' alone would let a trailing newline through.
    static const QRegularExpression identifier(
        QRegularExpression::anchoredPattern(u"[A-Za-z_][A-Za-z0-9_]*"_s));
    return identifier.match(name).hasMatch();
}
