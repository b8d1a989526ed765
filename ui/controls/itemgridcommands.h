#pragma once

#include "ui/controls/recordsetgridmodel.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <initializer_list>
#include <optional>

class CBCGPADOGridCtrl;
class CMyBCGPGridView;
class QComboBox;
class QAction;
class QMenu;
class QToolBar;
class QWidget;

// What the item grids of the person list and of a payroll period do alike over their grid:
// the widths a user drags, the context menu's keys, freezing, the column format dialog and
// the toolbar's search box.

// Keeps the widths a user drags in the grid's header: a column resized while the left button
// is down is handed to `store` once the mouse lets go; sizing by the program passes by.
// `accepts` says which columns count at that moment.
class DraggedColumnWidths : public QObject
{
public:
    DraggedColumnWidths(CBCGPADOGridCtrl *grid, std::function<bool(int column)> accepts,
                        std::function<void(int column, int width)> store);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onResized(int column, int newWidth);

    CBCGPADOGridCtrl *m_pGrid;
    std::function<bool(int)> m_accepts;
    std::function<void(int, int)> m_store;
    QHash<int, int> m_resized;
};

// A grid view's context menu: the right button, the menu key, or Alt pressed and let go alone
// has `show` pop the menu up (the keys at the current cell; pressed again they close it); F5
// runs `refresh`. Alt with a letter still reaches the menus.
class GridContextMenu : public QObject
{
public:
    GridContextMenu(CMyBCGPGridView *view, QMenu *menu,
                    std::function<void(const QPoint &globalPos)> show,
                    std::function<void()> refresh);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void toggle();

    CBCGPADOGridCtrl *m_pGrid;
    QMenu *m_pMenu;
    std::function<void(const QPoint &)> m_show;
    std::function<void()> m_refresh;
    bool m_bAltAlone = false;
};

// Adds the commands of `ids` to the menu in that order, a 0 standing for a separator.
void FillCommandMenu(QMenu *menu, const QHash<int, QAction *> &actions,
                     std::initializer_list<int> ids);

// Copies the selected rows from `firstColumn` on to the clipboard; nothing without a current row.
void CopySelectedRows(CBCGPADOGridCtrl *grid, int firstColumn);

// Freezes the visible columns from the first through `column`; returns how many they are.
int FreezeColumnsThrough(CBCGPADOGridCtrl *grid, int column);

// The column format dialog over the grid's column, prefilled with `current` (previewed on the
// grid while it runs); the chosen look once the user confirms it.
std::optional<RecordsetGridModel::ColumnFormat> AskColumnFormat(
    CBCGPADOGridCtrl *grid, const QString &title, const RecordsetGridModel::ColumnFormat &current,
    QWidget *parent);

// A search's find: the row made current at the column, scrolled into view with the focus,
// and the searched text kept in the box's list unless it is there already.
void ShowFoundRow(CBCGPADOGridCtrl *grid, int row, int column, QComboBox *box, const QString &text);

// The toolbar's "检索：" and its editable box; Enter in it, or an entry chosen from its list,
// runs `search`.
QComboBox *AddToolBarSearchBox(QToolBar *toolBar, const std::function<void()> &search);

// A frame's keys over its grid: F3 puts the focus into the search box with its text selected;
// F5 brings the focus to the grid and, in the grid, runs `refresh`.
void AddSearchAndRefreshKeys(QWidget *frame, QComboBox *box, CBCGPADOGridCtrl *grid,
                             const std::function<void()> &refresh);
