#pragma once

#include "ui/controls/privatemessages.h"

// The owner of a grid or grid view: the notifications whose answer the grid uses. The creator
// sets it on the grid (SetOwner) right after creating it; without one the grid takes the
// default answers below, which an owner also gets for what it does not override.
class IGridOwner
{
public:
    virtual ~IGridOwner() = default;

    // WM_GRID_BEGINEDIT: an in-place edit is about to begin. Non-zero refuses it.
    virtual int OnGridBeginEdit(const GridItemInfo &info)
    {
        Q_UNUSED(info);
        return 0;
    }

    // WM_GRID_ITEMCHANGED: the user changed a cell, before it is written back. Non-zero refuses
    // the change: nothing is written and the cell keeps its value.
    virtual int OnGridItemChanged(const GridItemInfo &info)
    {
        Q_UNUSED(info);
        return 0;
    }

    // WM_GRID_AFTEREDIT: an in-place edit ended (endReason says how). Non-zero lets the grid
    // move on as the key asks (Enter as EnterAction says, Tab to the next cell); 0 keeps the
    // current cell where it is, for an owner that moves it itself.
    virtual int OnGridAfterEdit(const GridItemInfo &info)
    {
        Q_UNUSED(info);
        return 1;
    }
};
