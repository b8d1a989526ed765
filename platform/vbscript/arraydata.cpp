#include "platform/vbscript/arraydata.h"

#include <new>

namespace vantrel::vbscript {

namespace {

// A script's arrays stay well below what would take the host's memory: a larger one fails as
// "Out of memory" before anything is allocated, as does a size whose product overflows.
constexpr size_t kMaxElements = size_t(1) << 24;

size_t elementCount(const std::vector<qint32> &upper)
{
    if (upper.empty())
        return 0;
    size_t count = 1;
    for (qint32 bound : upper) {
        const size_t extent = size_t(qMax(qint64(bound) + 1, qint64(0)));
        if (extent != 0 && count > kMaxElements / extent)
            throw std::bad_alloc();
        count *= extent;
    }
    return count;
}

} // namespace

ArrayData::ArrayData(std::vector<qint32> upperBounds, bool fixedSize)
    : m_upper(std::move(upperBounds)), m_items(elementCount(m_upper)), m_fixedSize(fixedSize)
{
}

ArrayData::ArrayData(const ArrayData &other)
    : m_upper(other.m_upper), m_items(other.m_items), m_fixedSize(other.m_fixedSize)
{
}

ArrayData *ArrayData::fromValues(std::vector<Variant> values)
{
    auto *data = new ArrayData;
    data->m_upper = { qint32(values.size()) - 1 };
    data->m_items = std::move(values);
    return data;
}

qsizetype ArrayData::offsetOf(std::span<const qint32> indexes) const
{
    // An array without dimensions (Dim a()) has no element, not even at no index.
    if (indexes.empty() || indexes.size() != m_upper.size())
        return -1;
    qsizetype offset = 0;
    qsizetype stride = 1;
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (indexes[i] < 0 || indexes[i] > m_upper[i])
            return -1;
        offset += indexes[i] * stride;
        stride *= m_upper[i] + 1;
    }
    return offset;
}

bool ArrayData::resize(std::vector<qint32> upperBounds, bool preserve)
{
    if (preserve && !m_upper.empty()) {
        if (upperBounds.size() != m_upper.size())
            return false;
        for (size_t i = 0; i + 1 < m_upper.size(); ++i) {
            if (upperBounds[i] != m_upper[i])
                return false;
        }
        const size_t count = elementCount(upperBounds);
        m_upper = std::move(upperBounds);
        m_items.resize(count);
        return true;
    }
    const size_t count = elementCount(upperBounds);
    m_upper = std::move(upperBounds);
    m_items.assign(count, Variant());
    return true;
}

void ArrayData::clearValues()
{
    for (Variant &item : m_items)
        item = Variant();
}

} // namespace vantrel::vbscript
