#pragma once

#include "platform/common/result.h"

class CBCGPADOGridCtrl;
class CDropDownListDept;
class QDialog;
class QEvent;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;

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

// A chooser's button: Enter in the dialog does not press it.
QPushButton *PickListButton(const QString &text, QWidget *parent);
// Lays the chooser out as both choosers show it: "部门：" and "编号/姓名：" with "查询" above the
// grid (read-only, one row current, its events to the dialog's filter) and the footer below.
// The caller adds its rows of buttons to the layout returned.
QVBoxLayout *LayOutPickList(QDialog *dialog, CDropDownListDept *department, QLineEdit *search,
                            QPushButton *find, CBCGPADOGridCtrl *grid, QLabel *footer);

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
