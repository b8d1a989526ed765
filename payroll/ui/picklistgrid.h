#pragma once

#include "platform/common/result.h"

class CBCGPADOGridCtrl;
class QEvent;
class QLabel;
class QObject;
class QString;

namespace vantrel::payroll {

class PsnPickList;

// The grid of a person pick list, as the member chooser and the period's add-person dialog
// show it: tick, number, name, sex, department, ID number (PID and order hidden).
enum PickColumn {
    PickPid = 0,
    PickTick = 1,
    PickNumber = 2,
    PickName = 3,
    PickIdNumber = 6,
    PickOrd = 7
};

// Shows the list's rows with the count in the footer, keeping the row keepRow current; false
// (grid and footer emptied) when they cannot be read.
bool ShowPickList(CBCGPADOGridCtrl *grid, QLabel *footer, const PsnPickList &list,
                  int keepRow = -1);
// Makes current the first row whose number or name is the text, else whose ID number holds it.
void FindInPickList(CBCGPADOGridCtrl *grid, const QString &text);
// Turns the current row's tick over in the list (the grid is not refilled).
Status ToggleCurrentPick(CBCGPADOGridCtrl *grid, PsnPickList &list);
// Space on the grid, or a left click in the tick column (its row made current).
bool IsPickToggleEvent(CBCGPADOGridCtrl *grid, QObject *watched, QEvent *event);

} // namespace vantrel::payroll
