#include "core/script/templatemerge.h"

#include "core/db/cadorecordset.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/scriptvalue.h"
#include "core/script/vbsstringliteral.h"
#include "platform/vbscript/variant.h"

#include <QDateTime>

#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using vantrel::vbscript::Variant;
using vantrel::vbscript::VarType;

namespace {

const QString openMarker = u"{$"_s;
const QString closeMarker = u"$}"_s;

// A template cut into its parts once, so that merged values are never scanned again.
struct TemplatePart
{
    enum Kind { Text, Field, Block };
    Kind kind = Text;
    QString text;                    // Text: the characters; Field: the title
    std::vector<TemplatePart> inner; // Block: what stands between its markers
};

struct Frame
{
    std::vector<TemplatePart> parts;
    QString literal;
    qsizetype bracket = -1; // the last '[' in literal
};

void flush(Frame &frame)
{
    if (!frame.literal.isEmpty())
        frame.parts.push_back({ TemplatePart::Text, std::move(frame.literal), {} });
    frame.literal.clear();
    frame.bracket = -1;
}

// A field is the text between a ']' and the last '[' before it within one run of text.
void addCharacter(Frame &frame, QChar c, bool withFields)
{
    if (withFields && c == u']' && frame.bracket >= 0) {
        QString title = frame.literal.mid(frame.bracket + 1);
        frame.literal.truncate(frame.bracket);
        flush(frame);
        frame.parts.push_back({ TemplatePart::Field, std::move(title), {} });
        return;
    }
    if (withFields && c == u'[')
        frame.bracket = frame.literal.size();
    frame.literal += c;
}

std::vector<TemplatePart> parseTemplate(const QString &text, bool withFields)
{
    std::vector<Frame> frames(1);
    for (qsizetype i = 0; i < text.size();) {
        if (QStringView(text).mid(i, 2) == openMarker) {
            flush(frames.back());
            frames.emplace_back();
            i += 2;
        } else if (QStringView(text).mid(i, 2) == closeMarker && frames.size() > 1) {
            flush(frames.back());
            TemplatePart block { TemplatePart::Block, {}, std::move(frames.back().parts) };
            frames.pop_back();
            frames.back().parts.push_back(std::move(block));
            i += 2;
        } else {
            addCharacter(frames.back(), text[i], withFields);
            ++i;
        }
    }
    // A block left open is plain text again, its inner blocks still evaluated.
    while (frames.size() > 1) {
        Frame open = std::move(frames.back());
        frames.pop_back();
        flush(open);
        std::vector<TemplatePart> &outer = frames.back().parts;
        outer.push_back({ TemplatePart::Text, openMarker, {} });
        std::move(open.parts.begin(), open.parts.end(), std::back_inserter(outer));
    }
    flush(frames.front());
    return std::move(frames.front().parts);
}

QString dateText(const QVariant &value)
{
    return value.toDate().toString(u"yyyy-MM-dd"_s);
}

bool isDate(const QVariant &value)
{
    return value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime;
}

QString plainText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (isDate(value))
        return dateText(value);
    return ScriptValue::fromQVariant(value).toText().value_or(QString());
}

QString scriptLiteral(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return u"Empty"_s;
    if (isDate(value))
        return u'"' + dateText(value) + u'"';
    const Variant script = ScriptValue::fromQVariant(value);
    const QString text = script.toText().value_or(QString());
    if (script.type() == VarType::Boolean)
        return text;
    if (!script.isNumber())
        return VbsStringLiteral(text);
    return text.startsWith(u'-') ? u'(' + text + u')' : text;
}

QString expressionText(QString text)
{
    text.replace(u"&nbsp;"_s, u" "_s);
    text.replace(QChar(0xA0), u' ');
    text.replace(u"&lt;"_s, u"<"_s);
    text.replace(u"&gt;"_s, u">"_s);
    text.replace(u"&quot;"_s, u"\""_s);
    text.replace(u"&amp;"_s, u"&"_s);
    return text;
}

class TemplateRenderer
{
public:
    TemplateRenderer(CScriptHostProxy *host, TemplateFieldLookup fields)
        : m_host(host), m_fields(std::move(fields))
    {
    }

    std::optional<QString> render(const std::vector<TemplatePart> &parts)
    {
        QString out;
        for (const TemplatePart &part : parts) {
            if (part.kind == TemplatePart::Text) {
                out += part.text;
            } else if (part.kind == TemplatePart::Field) {
                out += plainText(field(part.text));
            } else {
                QString source;
                const std::optional<Variant> value = evaluate(part, &source);
                if (!value)
                    return std::nullopt;
                const bool nothing = value->isEmpty() || value->isNull();
                out += nothing ? source : value->toText().value_or(QString());
            }
        }
        return out;
    }

private:
    QVariant field(const QString &title) const { return m_fields ? m_fields(title) : QVariant(); }

    // The block's value; *source is the expression that was evaluated.
    std::optional<Variant> evaluate(const TemplatePart &block, QString *source)
    {
        for (const TemplatePart &part : block.inner) {
            if (part.kind == TemplatePart::Text) {
                *source += expressionText(part.text);
            } else if (part.kind == TemplatePart::Field) {
                *source += scriptLiteral(field(part.text));
            } else {
                QString innerSource;
                const std::optional<Variant> inner = evaluate(part, &innerSource);
                if (!inner)
                    return std::nullopt;
                *source += scriptLiteral(ScriptValue::toQVariant(*inner));
            }
        }
        *source = source->trimmed();
        if (source->isEmpty())
            return Variant();
        Variant value;
        if (!m_host || m_host->Evaluate(*source, &value) != CScriptHostProxy::S_OK_)
            return std::nullopt;
        return value.deref();
    }

    CScriptHostProxy *m_host;
    TemplateFieldLookup m_fields;
};

} // namespace

QString MergeTemplateFields(CScriptHostProxy *host, const TemplateFieldLookup &fields,
                            const QString &templateText)
{
    if (!host)
        return {};
    return TemplateRenderer(host, fields)
        .render(parseTemplate(templateText, true))
        .value_or(QString());
}

QString MergeTemplateFields(CScriptHostProxy *host, CADORecordset &row, const QString &templateText)
{
    const TemplateFieldLookup fields = [&row](const QString &title) {
        QVariant value;
        return row.GetFieldValueVariantByName(title, value) ? value : QVariant();
    };
    return MergeTemplateFields(host, fields, templateText);
}

int ExpandTemplateExpressions(QString &text, CScriptHostProxy *host)
{
    if (!host)
        return 0;
    const std::optional<QString> expanded
        = TemplateRenderer(host, {}).render(parseTemplate(text, false));
    if (!expanded)
        return 0;
    text = *expanded;
    return 1;
}

void FindTemplateExpression(const QString &text, const QString &open, const QString &close,
                            qsizetype *start, qsizetype *end)
{
    *end = close.isEmpty() ? -1 : text.indexOf(close);
    *start = -1;
    if (*end < 0 || open.isEmpty())
        return;
    // The opening marker must lie wholly before the closing one.
    const qsizetype begin = QStringView(text).left(*end).lastIndexOf(open);
    if (begin >= 0)
        *start = begin + open.size() - 1;
}
