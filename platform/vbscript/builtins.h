#pragma once

#include "platform/vbscript/variant.h"

#include <QString>

#include <span>
#include <vector>

namespace vantrel::vbscript {

class Runtime;

// Arguments arrive evaluated; a function raises script errors with raiseError().
using BuiltinFunction = Variant (*)(Runtime &runtime, std::span<const Variant> args);

struct BuiltinInfo
{
    QString name;
    BuiltinFunction function = nullptr;
    int minArgs = 0;
    int maxArgs = 0;
};

// The language's built-in functions and vb constants. The tables are built once per process
// and only read afterwards, so engines on several threads share them.
class Builtins
{
public:
    // The id of a function by folded name, or -1.
    static int find(const QString &key);
    static const BuiltinInfo &at(int id);
    // A vb constant by folded name, or nullptr.
    static const Variant *constant(const QString &key);
};

// The groups of functions; each adds its entries to the table.
void addMathFunctions(std::vector<BuiltinInfo> &table);
void addConversionFunctions(std::vector<BuiltinInfo> &table);
void addTextFunctions(std::vector<BuiltinInfo> &table);
void addDateFunctions(std::vector<BuiltinInfo> &table);
void addFormatFunctions(std::vector<BuiltinInfo> &table);
void addArrayFunctions(std::vector<BuiltinInfo> &table);
void addInteractionFunctions(std::vector<BuiltinInfo> &table);

// Shared argument helpers of the function groups.
namespace args {

inline bool given(std::span<const Variant> a, size_t index)
{
    return a.size() > index && !a[index].isEmpty();
}
// An optional whole-number argument; Null raises Invalid use of Null.
qint32 optionalLong(std::span<const Variant> a, size_t index, qint32 fallback);
// vbBinaryCompare (0) or vbTextCompare (1) as a Qt case rule.
Qt::CaseSensitivity compareMode(std::span<const Variant> a, size_t index);

} // namespace args

} // namespace vantrel::vbscript
