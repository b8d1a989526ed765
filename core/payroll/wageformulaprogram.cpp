#include "core/payroll/wageformulaprogram.h"

#include "core/payroll/wageround.h"
#include "core/script/vbsstringliteral.h"
#include "platform/vbscript/engine.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using vantrel::vbscript::Variant;
using vantrel::vbscript::VarType;

namespace vantrel::payroll {

namespace {

struct Reference
{
    qsizetype open = 0;  // position of "{"
    qsizetype close = 0; // position of "}"
    QString name;
};

// The references in the order the scan meets them.
QVector<Reference> scanReferences(const QString &formula)
{
    QVector<Reference> found;
    qsizetype from = 0;
    for (;;) {
        const qsizetype close = formula.indexOf(u'}', from);
        if (close < 0)
            break;
        const qsizetype open = formula.lastIndexOf(u'{', close);
        if (open < from)
            break;
        found.append({ open, close, formula.mid(open + 1, close - open - 1).trimmed() });
        from = close + 1;
    }
    return found;
}

// What may stand beside a parameter name without becoming part of another token.
bool fuses(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'{' || c == u'}' || c == u'#';
}

QString parameterName(int slot)
{
    return u"vantrelRef%1"_s.arg(slot + 1);
}

QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

// The value as VBScript source: a literal, or Empty.
QString literalText(const Variant &value)
{
    switch (value.type()) {
    case VarType::Empty:
        return u"Empty"_s;
    case VarType::String:
        return VbsStringLiteral(value.stringValue());
    case VarType::Integer:
        return QString::number(value.integerValue());
    case VarType::Long:
        return QString::number(value.longValue());
    default:
        return numberText(value.doubleValue());
    }
}

// The value spliced into a string literal of the formula: its text with quotes doubled.
QString insideLiteralText(const Variant &value)
{
    if (value.type() != VarType::String)
        return value.isEmpty() ? QString() : literalText(value);
    const QString literal = VbsStringLiteral(value.stringValue());
    // A text with line breaks comes as a joined expression: close the literal around it.
    if (literal.startsWith(u'('))
        return u"\" & "_s + literal + u" & \""_s;
    return literal.mid(1, literal.size() - 2);
}

} // namespace

Result<WageFormulaProgram> WageFormulaProgram::build(vbscript::Engine &engine,
                                                     const QString &formula,
                                                     const Resolver &resolve)
{
    WageFormulaProgram program;
    program.m_engine = &engine;
    QStringList names; // the distinct references, by slot
    bool textual = false;
    int quotes = 0; // quotes met before the current position
    qsizetype at = 0;
    for (const Reference &ref : scanReferences(formula)) {
        const QString before = formula.mid(at, ref.open - at);
        quotes += int(before.count(u'"'));
        program.m_segments.append({ before, -1 });
        int slot = int(names.indexOf(ref.name, 0));
        for (int i = 0; slot < 0 && i < names.size(); ++i) {
            if (names.at(i).compare(ref.name, Qt::CaseInsensitive) == 0)
                slot = i;
        }
        if (slot < 0) {
            const int column = ref.name.isEmpty() ? -1 : resolve(ref.name);
            if (column < 0)
                return Result<WageFormulaProgram>::failure(
                    u"公式引用的项目 {%1} 不存在"_s.arg(ref.name));
            slot = int(names.size());
            names << ref.name;
            program.m_columns << column;
        }
        program.m_segments.append({ QString(), slot });
        const QChar left = ref.open > 0 ? formula.at(ref.open - 1) : QChar(u' ');
        const QChar right
            = ref.close + 1 < formula.size() ? formula.at(ref.close + 1) : QChar(u' ');
        if (quotes % 2 != 0 || fuses(left) || fuses(right))
            textual = true;
        at = ref.close + 1;
    }
    program.m_segments.append({ formula.mid(at), -1 });
    program.m_values.resize(size_t(program.m_columns.size()));
    if (textual)
        return program;
    QString expression;
    QStringList parameters;
    for (int slot = 0; slot < program.m_columns.size(); ++slot)
        parameters << parameterName(slot);
    for (const Segment &segment : std::as_const(program.m_segments))
        expression += segment.slot < 0 ? segment.text : parameterName(segment.slot);
    Result<vbscript::CompiledExpression> compiled = engine.compile(expression, parameters);
    if (!compiled)
        return Result<WageFormulaProgram>::failure(compiled.error());
    program.m_compiled = std::move(compiled).value();
    return program;
}

Result<Variant> WageFormulaProgram::evaluate(const QVector<Variant> &row)
{
    for (size_t i = 0; i < m_values.size(); ++i)
        m_values[i] = row.at(m_columns.at(qsizetype(i)));
    if (m_compiled)
        return m_compiled->evaluate(std::span<const Variant>(m_values));
    // One pass over the pieces: what a value brings in is never read as a reference.
    QString text;
    int quotes = 0;
    for (const Segment &segment : std::as_const(m_segments)) {
        if (segment.slot < 0) {
            text += segment.text;
            quotes += int(segment.text.count(u'"'));
            continue;
        }
        const Variant &value = m_values[size_t(segment.slot)];
        text += quotes % 2 != 0 ? insideLiteralText(value) : literalText(value);
    }
    return m_engine->evaluate(text);
}

Variant WageFormulaValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return Variant();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return Variant(value.toDate().toString(u"yyyy-MM-dd"_s));
    case QMetaType::QDateTime:
        return Variant(value.toDateTime().toString(u"yyyy-MM-dd"_s));
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        break;
    default:
        return Variant(value.toString());
    }
    const double number = value.toDouble();
    if (std::isfinite(number) && number == std::floor(number)) {
        if (number >= std::numeric_limits<qint16>::min()
            && number <= std::numeric_limits<qint16>::max())
            return Variant::fromInteger(qint16(number));
        if (number >= std::numeric_limits<qint32>::min()
            && number <= std::numeric_limits<qint32>::max())
            return Variant::fromLong(qint32(number));
    }
    return Variant(At15Digits(number));
}

Result<QVariant> WageStoredValue(const Variant &result, int decimals, int choice)
{
    const Variant &value = result.deref();
    switch (value.type()) {
    case VarType::Empty:
    case VarType::Null:
        return QVariant();
    case VarType::Single:
        return QVariant(RoundWage(double(value.singleValue()), decimals, choice));
    case VarType::Double:
        return QVariant(RoundWage(value.doubleValue(), decimals, choice));
    case VarType::Currency:
        return QVariant(RoundWage(double(value.currencyRaw()) / 10000.0, decimals, choice));
    case VarType::Integer:
        return QVariant(int(value.integerValue()));
    case VarType::Long:
        return QVariant(int(value.longValue()));
    case VarType::Byte:
        return QVariant(int(value.byteValue()));
    case VarType::Boolean:
        return QVariant(value.boolValue() ? -1 : 0);
    case VarType::String: {
        bool ok = false;
        const double number = value.stringValue().trimmed().toDouble(&ok);
        if (ok && std::isfinite(number))
            return QVariant(number);
        return Result<QVariant>::failure(u"结果\"%1\"不是数值"_s.arg(value.stringValue()));
    }
    case VarType::Date:
        return Result<QVariant>::failure(u"结果是日期,不是数值"_s);
    default:
        return Result<QVariant>::failure(u"结果不是数值"_s);
    }
}

} // namespace vantrel::payroll
