#pragma once

#include "personnel/ui/cdlgdynctlformbase.h"

// The base of the record forms that a manager or pane opens over its grid (department,
// category, related archive): 保存 runs the form's save handler; moving to another row or
// closing with unsaved changes asks "内容已改变,保存数据吗?", and Yes runs the same handler,
// staying on the row (or open) when it fails.
class CDlgDynCtlFormRecord : public CDlgDynCtlFormBase
{
    Q_OBJECT

public:
    CDlgDynCtlFormRecord(QWidget *parent, int subNumber);

    // The form's save: checks, write, the owner's refresh and the log. False when nothing
    // (or not all) was saved.
    virtual bool OnSave() = 0;

    void reject() override;

protected:
    void MoveTo(int row) override;
    // Takes the keys of the owner grid's row after a move (default: the key in cell 0).
    virtual void TakeRow(int row);
    // Add mode after a save: the fields back to their defaults for the next row.
    void ResetForNext();
    // The system log line, without clean-up.
    static void WriteLog(const QString &text);
};
