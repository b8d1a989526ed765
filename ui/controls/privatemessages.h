#pragma once

#include <QMetaType>
#include <QModelIndex>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QVariant>

class QTreeWidgetItem;

// How panes, views and controls tell the window that owns them what happened inside them.
// They decide nothing themselves; the owning frame, dialog or form does.
//
// - A notification whose answer nobody uses is a Qt signal of the sender, carrying the record
//   below. Whoever created the sender connects to it; with nothing connected nothing happens.
// - A notification whose answer the sender uses is a call on an owner interface that the
//   creator sets on the sender (IGridOwner for the grids). Without an owner the sender takes
//   the default answer named there and carries on.
// - Signals that the sender emits directly (the sent kind) may carry pointers and model
//   indexes that are valid only during the call; the receiver copies what it keeps. A
//   notification that is queued (the posted kind, such as a chart point click) carries
//   nothing but copies, so it cannot outlive what it points to.
//
// The numbers are kept so that log lines and module code can name a notification the way
// other windows of the program do.
enum PrivateMessage : int {
    WM_DROPFILE_ADD = 0x8100,
    WM_TREE_SELCHANGED = 0x8101,
    WM_TREE_ITEMEXPANDING = 0x8102,
    WM_EDITLBL_NEXTITEM = 0x8107,
    WM_TAB_ACTIVATED = 0x8108,
    WM_DATA_CHANGED = 0x8109,
    WM_TREE_DROP = 0x8111,
    WM_DROPTREE_SELECT = 0x8162,
    WM_LIST_BEGINDRAG = 0x8200,
    WM_GRID_DBLCLK = 0x8201,
    WM_GRID_SELCHANGED = 0x8202,
    WM_GRID_BEGINEDIT = 0x8203,
    WM_GRID_ITEMCHANGED = 0x8204,
    WM_GRID_AFTEREDIT = 0x8205,
    WM_LIST_ENDLABELEDIT = 0x8300,
    WM_ITEM_RCLICK = 0x8301,
    WM_LIST_DBLCLK = 0x8400,
    WM_GRID_RBUTTONUP = 0x8401,
    WM_CHART_POINTCLICK = 0x8901,
};

// The department pane's selection (WM_TREE_SELCHANGED from the pane). Texts hold at most 199
// characters; longer ones are cut.
struct DeptPaneSelection
{
    int category = -1;      // the category list's item data; -1 when nothing is selected
    int department = 0;     // the department tree's item data (the DID)
    QString categoryText;   // the selected category's text
    QString departmentName; // the selected department's text

    bool operator==(const DeptPaneSelection &other) const = default;
};

// A tree view's item notification (WM_TREE_SELCHANGED, WM_TREE_ITEMEXPANDING): the item, the
// one selected before (selection changes only) and the item's data (Qt::UserRole, as int).
struct TreeItemNotify
{
    QTreeWidgetItem *item = nullptr;
    QTreeWidgetItem *previous = nullptr;
    int itemData = 0;
};

// Why an in-place edit ended; EndByEnter is the flag the grids test for the Enter action.
enum GridEndReason : int {
    EndByFocus = 0x00, // focus moved away or the editor was closed by the program
    EndByTab = 0x01,   // Tab or Shift+Tab
    EndByArrow = 0x02, // an arrow key at the edge of the text
    EndByHomeEnd = 0x04,
    EndByEscape = 0x08, // the value was not taken
    EndByEnter = 0x10,
};

// A grid cell notification (WM_GRID_* of the grids and grid views). Rows and columns are those
// of the view (after sorting); record is the recordset position the row shows, -1 for none.
struct GridItemInfo
{
    int row = -1;
    int column = -1;
    int record = -1;
    QVariant value;    // the cell's value (for an item change: the new one)
    QVariant oldValue; // item change: the value before
    int endReason = EndByFocus;
};

// A mouse button released over a grid (WM_GRID_RBUTTONUP), in the grid's viewport and on the
// screen, with the cell under it (invalid over empty space).
struct GridMouseInfo
{
    QPoint pos;
    QPoint globalPos;
    int row = -1;
    int column = -1;
};

// A data point clicked in a chart (WM_CHART_POINTCLICK); queued, so it is a copy.
struct ChartPointHit
{
    int seriesIndex = -1; // the series' place in the chart
    QString seriesName;
    int pointIndex = -1; // the point's (or bar's or slice's) index in its series
    QPointF value;       // x and y; a bar's category index and value; a slice's index and value
};

Q_DECLARE_METATYPE(DeptPaneSelection)
Q_DECLARE_METATYPE(TreeItemNotify)
Q_DECLARE_METATYPE(GridItemInfo)
Q_DECLARE_METATYPE(GridMouseInfo)
Q_DECLARE_METATYPE(ChartPointHit)
