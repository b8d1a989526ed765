#pragma once

// The person-category manager as the category form sees it.
class IPsnSortFormOwner
{
public:
    virtual ~IPsnSortFormOwner() = default;
    // Reloads the category grid in its order.
    virtual void LoadSortGrid() = 0;
    // The grid column of the category's name.
    virtual int SortNameColumn() const = 0;
};
