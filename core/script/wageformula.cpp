#include "core/script/wageformula.h"

#include "core/query/itemmetadata.h"
#include "core/query/scalarqueries.h"
#include "core/script/cscripthostproxy.h"
#include "core/script/scriptsession.h"
#include "platform/vbscript/variant.h"

#include <QDate>

using namespace Qt::StringLiterals;
using vantrel::Status;

namespace {

// The next reference: the text from the last '[' before the first ']' through that ']'.
bool findReference(const QString &text, QString *reference, QString *inner)
{
    const qsizetype close = text.indexOf(u']');
    const qsizetype open = close < 0 ? -1 : QStringView(text).left(close).lastIndexOf(u'[');
    if (open < 0)
        return false;
    *reference = text.mid(open, close - open + 1);
    *inner = text.mid(open + 1, close - open - 1);
    return true;
}

// A test value for the n-th reference by the item's data type; empty when there is none.
// Numbers differ per reference and are never 0, so a division by a reference passes.
QString testValue(const QVariant &dataType, int n)
{
    if (!dataType.isValid())
        return {};
    switch (dataType.toInt()) {
    case ItemNumber:
        return QString::asprintf("%.3f", 1.25 * n);
    case ItemText:
    case ItemDictionary:
        return u"\"Test%1\""_s.arg(n);
    case ItemDate:
        return u"#%1#"_s.arg(QDate::currentDate().toString(u"yyyy-MM-dd"_s));
    default:
        return {};
    }
}

// The item's data type; an invalid value when no item answers to the reference.
ScalarAnswer<QVariant> itemDataType(const QString &inner)
{
    const qsizetype dot = inner.indexOf(u'.');
    if (dot < 0)
        return ScalarAnswer<QVariant>::noRow();
    return GetScalarVariant(
        u"SELECT qz_Items.iDataType FROM qz_Items INNER JOIN qz_Table"
        " ON upper(qz_Items.TblName) = upper(qz_Table.TblName)"
        " WHERE upper(qz_Table.Title) = upper(?) AND upper(qz_Items.Alias) = upper(?)"
        " ORDER BY qz_Items.ItemID LIMIT 1"_s,
        { inner.left(dot).toUpper(), inner.mid(dot + 1).toUpper() },
        ScriptSession::current().database);
}

Status balanced(const QString &formula)
{
    if (!AreCharCountsEqual(formula, u'[', u']'))
        return Status::failure(u"中括号不配对!"_s);
    if (!AreCharCountsEqual(formula, u'(', u')'))
        return Status::failure(u"小括号不配对!"_s);
    if (!IsCharCountEven(formula, u'"'))
        return Status::failure(u"双引号不配对!"_s);
    if (!IsCharCountEven(formula, u'\''))
        return Status::failure(u"单引号不配对!"_s);
    return {};
}

} // namespace

bool AreCharCountsEqual(const QString &text, QChar open, QChar close)
{
    return text.count(open) == text.count(close);
}

bool IsCharCountEven(const QString &text, QChar c)
{
    return text.count(c) % 2 == 0;
}

void StripBracketsInQuotes(QString &formula)
{
    // A quote without a partner opens no literal: the text after it is left alone.
    const qsizetype end = formula.count(u'"') % 2 ? formula.lastIndexOf(u'"') : formula.size();
    QString out;
    out.reserve(formula.size());
    bool inLiteral = false;
    // A doubled quote inside a literal closes and reopens it, which keeps its text inside.
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = formula[i];
        if (c == u'"')
            inLiteral = !inLiteral;
        else if (inLiteral && (c == u'[' || c == u']'))
            continue;
        out += c;
    }
    formula = out + formula.mid(end);
}

Status CheckWageFormula(const QString &formula)
{
    CScriptHostProxy host;
    if (const Status started = RestartScriptHost(&host); !started)
        return started;
    if (const Status status = balanced(formula); !status)
        return status;
    QString work = formula;
    QString reference;
    QString inner;
    for (int n = 2; findReference(work, &reference, &inner); ++n) {
        const ScalarAnswer<QVariant> dataType = itemDataType(inner);
        if (dataType.failed())
            return Status::failure(dataType.error());
        const QString value = testValue(dataType.valueOr({}), n);
        if (value.isEmpty())
            return Status::failure(u"项目名称'%1'不匹配!"_s.arg(inner));
        work.replace(reference, value);
    }
    vantrel::vbscript::Variant result;
    if (host.Evaluate(work, &result) != CScriptHostProxy::S_OK_ || result.deref().isEmpty())
        return Status::failure(u"错误公式表达式,请检查函数名和参数是否正确!"_s);
    return {};
}

int ReplaceFormulaReferences(QString &formula)
{
    int count = 0;
    QString reference;
    QString inner;
    while (findReference(formula, &reference, &inner)) {
        formula.replace(reference, u'{' + GetItemNameByTitleAlias(inner) + u'}');
        ++count;
    }
    return count;
}
