#include "core/script/vbsstringliteral.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// The constant that stands for the character at i (and the LF after a CR), or empty when the
// character can stand inside a literal.
QString constantAt(const QString &text, qsizetype &i)
{
    const QChar c = text.at(i);
    if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
        ++i;
        return u"vbCrLf"_s;
    }
    if (c == u'\r')
        return u"vbCr"_s;
    if (c == u'\n')
        return u"vbLf"_s;
    if (c.category() == QChar::Other_Control)
        return (c.unicode() < 128 ? u"Chr(%1)"_s : u"ChrW(%1)"_s).arg(c.unicode());
    return {};
}

} // namespace

QString VbsStringLiteral(const QString &text)
{
    QStringList parts;
    QString literal;
    const auto endLiteral = [&] {
        if (!literal.isEmpty())
            parts << u'"' + literal + u'"';
        literal.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const QString constant = constantAt(text, i); !constant.isEmpty()) {
            endLiteral();
            parts << constant;
        } else if (text.at(i) == u'"') {
            literal += u"\"\""_s;
        } else {
            literal += text.at(i);
        }
    }
    endLiteral();
    if (parts.isEmpty())
        return u"\"\""_s;
    return parts.size() == 1 ? parts.first() : u'(' + parts.join(u" & "_s) + u')';
}
