#include "platform/vbscript/regexpobject.h"

#include "platform/vbscript/coerce.h"
#include "platform/vbscript/objectmembers.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

// The object has no default member: ids start at 1.
enum RegExpMember { Pattern = 1, Global, IgnoreCase, Multiline, Test, Replace, Execute };
constexpr const char16_t *kRegExpMembers[]
    = { u"Pattern", u"Global", u"IgnoreCase", u"Multiline", u"Test", u"Replace", u"Execute" };

// Matches and SubMatches: read-only lists with Item (the default member) and Count.
class ListObject final : public HostObject
{
public:
    enum Member { Item = DefaultMember, Count };

    ListObject(std::vector<Variant> items, QString typeName)
        : m_items(std::move(items)), m_typeName(std::move(typeName))
    {
    }

    int memberId(const QString &name) const override
    {
        static constexpr const char16_t *kMembers[] = { u"Item", u"Count" };
        return members::find(name, kMembers);
    }

    Variant invoke(int memberId, HostCall &call) override
    {
        members::readOnly(call);
        if (memberId == Count) {
            members::expect(call, 0, 0);
            return Variant(qint32(m_items.size()));
        }
        members::expect(call, 1, 1);
        const qint32 index = Coerce::toLong(call.argument(0));
        if (index < 0 || size_t(index) >= m_items.size())
            raiseError(5);
        return m_items[size_t(index)];
    }

    QString typeName() const override { return m_typeName; }
    std::optional<std::vector<Variant>> elements() const override { return m_items; }

private:
    std::vector<Variant> m_items;
    QString m_typeName;
};

class MatchObject final : public HostObject
{
public:
    enum Member { Value = DefaultMember, FirstIndex, Length, SubMatches };

    explicit MatchObject(const QRegularExpressionMatch &match)
        : m_value(match.captured(0))
        , m_firstIndex(qint32(match.capturedStart(0)))
        , m_subMatches(std::make_shared<ListObject>(groupsOf(match), u"ISubMatches"_s))
    {
    }

    int memberId(const QString &name) const override
    {
        static constexpr const char16_t *kMembers[]
            = { u"Value", u"FirstIndex", u"Length", u"SubMatches" };
        return members::find(name, kMembers);
    }

    Variant invoke(int memberId, HostCall &call) override
    {
        members::readOnly(call);
        if (memberId == SubMatches) {
            // m.SubMatches(0) reads the list's item straight away.
            if (call.count() > 0)
                return m_subMatches->invoke(DefaultMember, call);
            return Variant::fromObject(m_subMatches);
        }
        members::expect(call, 0, 0);
        switch (memberId) {
        case FirstIndex:
            return Variant(m_firstIndex);
        case Length:
            return Variant(qint32(m_value.size()));
        default:
            return Variant(m_value);
        }
    }

    QString typeName() const override { return u"IMatch2"_s; }

private:
    // A group that took no part in the match is Empty.
    static std::vector<Variant> groupsOf(const QRegularExpressionMatch &match)
    {
        std::vector<Variant> groups;
        for (int i = 1; i <= match.lastCapturedIndex(); ++i) {
            if (match.capturedStart(i) < 0)
                groups.emplace_back();
            else
                groups.emplace_back(match.captured(i));
        }
        const int total = match.regularExpression().captureCount();
        while (int(groups.size()) < total)
            groups.emplace_back();
        return groups;
    }

    QString m_value;
    qint32 m_firstIndex;
    std::shared_ptr<ListObject> m_subMatches;
};

// $n or $nn: the group number the replacement names at i (after the $), with its digit count.
int groupAt(const QString &replacement, qsizetype i, int groups, int &digits)
{
    auto digit = [&](qsizetype at) {
        return at < replacement.size() && replacement[at].isDigit() ? replacement[at].digitValue()
                                                                    : -1;
    };
    const int first = digit(i);
    if (first < 0)
        return -1;
    const int second = digit(i + 1);
    if (second >= 0 && first * 10 + second >= 1 && first * 10 + second <= groups) {
        digits = 2;
        return first * 10 + second;
    }
    if (first >= 1 && first <= groups) {
        digits = 1;
        return first;
    }
    return -1;
}

QString expand(const QString &replacement, const QRegularExpressionMatch &match,
               const QString &text)
{
    const int groups = match.regularExpression().captureCount();
    QString out;
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement[i];
        if (c != u'$' || i + 1 >= replacement.size()) {
            out += c;
            continue;
        }
        const QChar next = replacement[i + 1];
        int digits = 0;
        if (next == u'$') {
            out += u'$';
        } else if (next == u'&') {
            out += match.captured(0);
        } else if (next == u'`') {
            out += QStringView(text).left(match.capturedStart(0));
        } else if (next == u'\'') {
            out += QStringView(text).mid(match.capturedEnd(0));
        } else if (const int group = groupAt(replacement, i + 1, groups, digits); group > 0) {
            out += match.captured(group);
            i += digits;
            continue;
        } else {
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

// Without Multiline the language's $ matches only at the very end of the text, where PCRE's also
// matches before a final line break: outside character classes it becomes \z.
QString endAnchored(const QString &pattern)
{
    QString out;
    out.reserve(pattern.size() + 4);
    bool inClass = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\\' && i + 1 < pattern.size()) {
            out += c;
            out += pattern[++i];
            continue;
        }
        if (c == u'[')
            inClass = true;
        else if (c == u']')
            inClass = false;
        if (c == u'$' && !inClass)
            out += u"\\z"_s;
        else
            out += c;
    }
    return out;
}

} // namespace

int RegExpObject::memberId(const QString &name) const
{
    const int index = members::find(name, kRegExpMembers);
    return index < 0 ? -1 : index + 1;
}

const QRegularExpression &RegExpObject::expression()
{
    if (m_dirty) {
        QRegularExpression::PatternOptions options;
        if (m_ignoreCase)
            options |= QRegularExpression::CaseInsensitiveOption;
        if (m_multiline)
            options |= QRegularExpression::MultilineOption;
        m_expression
            = QRegularExpression(m_multiline ? m_pattern : endAnchored(m_pattern), options);
        m_dirty = false;
    }
    if (!m_expression.isValid())
        members::raise(5017, u"Syntax error in regular expression"_s);
    return m_expression;
}

Variant RegExpObject::flag(bool &value, HostCall &call)
{
    if (!call.isPropertyPut()) {
        members::expect(call, 0, 0);
        return Variant(value);
    }
    members::expect(call, 1, 1);
    value = Coerce::toBool(call.argument(0));
    m_dirty = true;
    return Variant();
}

Variant RegExpObject::execute(const QString &text)
{
    const QRegularExpression &re = expression();
    std::vector<Variant> matches;
    if (m_global) {
        auto it = re.globalMatch(text);
        while (it.hasNext())
            matches.push_back(Variant::fromObject(std::make_shared<MatchObject>(it.next())));
    } else if (const auto match = re.match(text); match.hasMatch()) {
        matches.push_back(Variant::fromObject(std::make_shared<MatchObject>(match)));
    }
    return Variant::fromObject(
        std::make_shared<ListObject>(std::move(matches), u"IMatchCollection2"_s));
}

QString RegExpObject::replace(const QString &text, const QString &replacement)
{
    const QRegularExpression &re = expression();
    QString out;
    qsizetype done = 0;
    auto take = [&](const QRegularExpressionMatch &match) {
        out += QStringView(text).mid(done, match.capturedStart(0) - done);
        out += expand(replacement, match, text);
        done = match.capturedEnd(0);
    };
    if (m_global) {
        auto it = re.globalMatch(text);
        while (it.hasNext())
            take(it.next());
    } else if (const auto match = re.match(text); match.hasMatch()) {
        take(match);
    }
    out += QStringView(text).mid(done);
    return out;
}

Variant RegExpObject::invoke(int memberId, HostCall &call)
{
    switch (memberId) {
    case Pattern:
        if (!call.isPropertyPut()) {
            members::expect(call, 0, 0);
            return Variant(m_pattern);
        }
        members::expect(call, 1, 1);
        m_pattern = Coerce::toString(call.argument(0));
        m_dirty = true;
        return Variant();
    case Global:
        return flag(m_global, call);
    case IgnoreCase:
        return flag(m_ignoreCase, call);
    case Multiline:
        return flag(m_multiline, call);
    case Test:
        members::readOnly(call);
        members::expect(call, 1, 1);
        return Variant(expression().match(Coerce::toString(call.argument(0))).hasMatch());
    case Replace:
        members::readOnly(call);
        members::expect(call, 2, 2);
        return Variant(
            replace(Coerce::toString(call.argument(0)), Coerce::toString(call.argument(1))));
    case Execute:
        members::readOnly(call);
        members::expect(call, 1, 1);
        return execute(Coerce::toString(call.argument(0)));
    default:
        raiseError(438);
    }
}

} // namespace vantrel::vbscript
