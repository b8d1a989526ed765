// Array, UBound, LBound, Split, Join, Filter.
#include "platform/vbscript/arraydata.h"
#include "platform/vbscript/builtins.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/scripterror.h"

using namespace Qt::StringLiterals;

namespace vantrel::vbscript {

namespace {

Variant arrayFunction(Runtime &, std::span<const Variant> a)
{
    return Variant::fromArray(ArrayData::fromValues(std::vector<Variant>(a.begin(), a.end())));
}

const ArrayData &arrayArgument(const Variant &v)
{
    const Variant &value = v.deref();
    if (!value.isArray())
        raiseError(13);
    return *value.arrayData();
}

int dimension(const ArrayData &data, std::span<const Variant> a)
{
    const qint32 dim = args::optionalLong(a, 1, 1);
    if (dim < 1 || dim > data.dimensionCount())
        raiseError(9);
    return dim - 1;
}

Variant uboundFunction(Runtime &, std::span<const Variant> a)
{
    const ArrayData &data = arrayArgument(a[0]);
    return Variant(data.upperBound(dimension(data, a)));
}

Variant lboundFunction(Runtime &, std::span<const Variant> a)
{
    dimension(arrayArgument(a[0]), a);
    return Variant(qint32(0));
}

// Split(expression[, delimiter[, limit[, compare]]])
Variant splitFunction(Runtime &, std::span<const Variant> a)
{
    const QString text = Coerce::toString(a[0]);
    const QString delimiter = a.size() > 1 ? Coerce::toString(a[1]) : u" "_s;
    const qint32 limit = args::optionalLong(a, 2, -1);
    if (limit < -1)
        raiseError(5);
    const Qt::CaseSensitivity mode = args::compareMode(a, 3);
    std::vector<Variant> parts;
    if (text.isEmpty() || limit == 0)
        return Variant::fromArray(ArrayData::fromValues(std::move(parts)));
    if (delimiter.isEmpty())
        return Variant::fromArray(ArrayData::fromValues({ Variant(text) }));
    qsizetype from = 0;
    while (limit < 0 || qint32(parts.size()) < limit - 1) {
        const qsizetype at = text.indexOf(delimiter, from, mode);
        if (at < 0)
            break;
        parts.emplace_back(text.mid(from, at - from));
        from = at + delimiter.size();
    }
    parts.emplace_back(text.mid(from));
    return Variant::fromArray(ArrayData::fromValues(std::move(parts)));
}

Variant joinFunction(Runtime &, std::span<const Variant> a)
{
    const ArrayData &data = arrayArgument(a[0]);
    if (data.dimensionCount() > 1)
        raiseError(5);
    const QString delimiter = a.size() > 1 ? Coerce::toString(a[1]) : u" "_s;
    QString result;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0)
            result += delimiter;
        if (!data.at(i).isNull())
            result += Coerce::toString(data.at(i));
    }
    return Variant(std::move(result));
}

// Filter(inputstrings, value[, include[, compare]]): the texts that contain value (or, with
// include False, those that do not), as a new array from 0.
Variant filterFunction(Runtime &, std::span<const Variant> a)
{
    const ArrayData &data = arrayArgument(a[0]);
    if (data.dimensionCount() != 1)
        raiseError(5);
    const QString find = Coerce::toString(a[1]);
    const bool include = !args::given(a, 2) || Coerce::toBool(a[2]);
    const Qt::CaseSensitivity mode = args::compareMode(a, 3);
    std::vector<Variant> kept;
    for (const Variant &item : data.items()) {
        QString text = Coerce::toString(item);
        if (text.contains(find, mode) == include)
            kept.emplace_back(std::move(text));
    }
    return Variant::fromArray(ArrayData::fromValues(std::move(kept)));
}

} // namespace

void addArrayFunctions(std::vector<BuiltinInfo> &table)
{
    table.push_back({ u"Array"_s, arrayFunction, 0, 1000 });
    table.push_back({ u"UBound"_s, uboundFunction, 1, 2 });
    table.push_back({ u"LBound"_s, lboundFunction, 1, 2 });
    table.push_back({ u"Split"_s, splitFunction, 1, 4 });
    table.push_back({ u"Join"_s, joinFunction, 1, 2 });
    table.push_back({ u"Filter"_s, filterFunction, 2, 4 });
}

} // namespace vantrel::vbscript
