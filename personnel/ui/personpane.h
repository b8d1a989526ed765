#pragma once

class CPaneToolBar;
class QWidget;

// What the panes that follow the current person share.
namespace vantrel::personnel::panes {

// Whether the person is still in the person table; when another operator deleted him meanwhile
// "选择的人员被删除！" is shown over owner. A failed check lets the caller go on.
bool PersonStillThere(QWidget *owner, int pid);

// The body of a pane: its toolbar across the top, the content filling the rest.
QWidget *PaneBody(CPaneToolBar *toolBar, QWidget *content);

} // namespace vantrel::personnel::panes
