#pragma once

#include <QMessageBox>
#include <QString>

class QKeyEvent;
class QToolBar;
class QWidget;

// Small helpers the set-up dialogs share.
namespace vantrel::payroll {

// A message box with the caption "提示".
void Tell(QWidget *owner, const QString &text, QMessageBox::Icon icon = QMessageBox::Information);
// Yes/No (or OK/Cancel with okCancel) with No (Cancel) as default; true on Yes (OK).
bool Ask(QWidget *owner, const QString &text, QMessageBox::Icon icon, bool okCancel = false);
// The log entry of a change of the payroll set-up ("薪资管理[…]"), clean-up flag 0.
void LogWageSetup(const QString &detail);
// The keys of a set-up page: Enter and Esc never close the set-up dialog, and Enter on the
// toolbar runs the button that has the focus, as a click would. False for any other key.
bool HandlePageKey(QWidget *page, QToolBar *toolBar, QKeyEvent *event);

} // namespace vantrel::payroll
