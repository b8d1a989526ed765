#pragma once

#include "platform/vbscript/variant.h"

#include <QAtomicInt>

#include <span>
#include <vector>

namespace vantrel::vbscript {

// The storage of a script array: every dimension counts from 0 to its upper bound, the
// elements are laid out with the first index running fastest (so ReDim Preserve, which may only
// change the last dimension, keeps every element where it is). Shared between Variants until one
// of them writes (Variant::mutableArrayData detaches).
class ArrayData
{
public:
    // An array with no dimensions yet (Dim a(), or the result of Split on an empty text).
    ArrayData() = default;
    // upperBounds: one entry per dimension; -1 gives an empty dimension.
    explicit ArrayData(std::vector<qint32> upperBounds, bool fixedSize = false);
    ArrayData(const ArrayData &other);
    ArrayData &operator=(const ArrayData &) = delete;

    static ArrayData *fromValues(std::vector<Variant> values);

    int dimensionCount() const { return int(m_upper.size()); }
    qint32 upperBound(int dimension) const { return m_upper[size_t(dimension)]; }
    bool isFixedSize() const { return m_fixedSize; }
    qsizetype size() const { return qsizetype(m_items.size()); }

    // The flat position of an element, or -1 when the indexes do not fit the bounds.
    qsizetype offsetOf(std::span<const qint32> indexes) const;
    const Variant &at(qsizetype offset) const { return m_items[size_t(offset)]; }
    Variant &at(qsizetype offset) { return m_items[size_t(offset)]; }
    const std::vector<Variant> &items() const { return m_items; }

    // ReDim: new bounds; with preserve only the last dimension may change (false otherwise).
    bool resize(std::vector<qint32> upperBounds, bool preserve);
    // Erase on a fixed-size array: every element back to Empty.
    void clearValues();

    // While an element is passed ByRef the array is locked: it keeps its elements in place
    // (ReDim and Erase fail with "temporarily locked") and writes do not copy it.
    void lock() { ++m_locks; }
    void unlock() { --m_locks; }
    bool isLocked() const { return m_locks > 0; }

    QAtomicInt ref;

private:
    std::vector<qint32> m_upper;
    std::vector<Variant> m_items;
    bool m_fixedSize = false;
    int m_locks = 0;
};

} // namespace vantrel::vbscript
