#pragma once

#include "platform/common/result.h"
#include "platform/vbscript/compiledexpression.h"
#include "platform/vbscript/variant.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

namespace vantrel::vbscript {
class Engine;
}

namespace vantrel::payroll {

// One wage formula (FExp, references as {column}) made ready to run for many rows on one
// engine. References are found as the item editor writes them: the first "}" and the last
// "{" before it, again and again; braces that do not pair end the scan. Each distinct
// reference becomes a parameter of one compiled expression. A reference inside a string
// literal, or one that would fuse with what stands beside it ({F3}{F4}, 1{F3}), cannot be a
// parameter: such a formula is put together as text for each row instead, every value as a
// VBScript literal, and the text is never scanned again.
class WageFormulaProgram
{
public:
    // resolve gives the row position of a reference's column, or -1 when no column has that
    // name (then the formula fails with the reference named).
    using Resolver = std::function<int(const QString &reference)>;
    static Result<WageFormulaProgram> build(vbscript::Engine &engine, const QString &formula,
                                            const Resolver &resolve);

    // The row positions the formula reads.
    const QVector<int> &columns() const { return m_columns; }
    bool isTextual() const { return !m_compiled; }

    // Evaluates the formula over one row: values by row position, as WageFormulaValue makes
    // them.
    Result<vbscript::Variant> evaluate(const QVector<vbscript::Variant> &row);

private:
    struct Segment
    {
        QString text;  // literal formula text
        int slot = -1; // or a reference: index into m_columns
    };

    vbscript::Engine *m_engine = nullptr;
    QVector<int> m_columns;
    QVector<Segment> m_segments;
    std::optional<vbscript::CompiledExpression> m_compiled;
    std::vector<vbscript::Variant> m_values;
};

// A database value as a formula sees it: text as String, a date as the String "yyyy-MM-dd",
// a number as Integer or Long when it is whole and fits, else as the Double of its 15-digit
// text; NULL as Empty.
vbscript::Variant WageFormulaValue(const QVariant &value);

// A formula's result as it is stored: Single, Double and Currency rounded by the item's rule;
// Integer, Long and Byte as they are; Boolean as -1 or 0; a String that reads as a number
// that number; Empty and Null as NULL. Anything else fails with the reason.
Result<QVariant> WageStoredValue(const vbscript::Variant &result, int decimals, int choice);

} // namespace vantrel::payroll
