#include "payroll/ui/wagesetupui.h"

#include "core/app/vantrelapp.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"

#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

void Tell(QWidget *owner, const QString &text, QMessageBox::Icon icon)
{
    ShowMessage(owner, text, LoadResString(117), icon);
}

bool Ask(QWidget *owner, const QString &text, QMessageBox::Icon icon, bool okCancel)
{
    const auto yes = okCancel ? QMessageBox::Ok : QMessageBox::Yes;
    const auto no = okCancel ? QMessageBox::Cancel : QMessageBox::No;
    return ShowMessage(owner, text, LoadResString(117), icon, yes | no, no) == yes;
}

void LogWageSetup(const QString &detail)
{
    theApp.WriteSystemLog(u"薪资管理["_s + detail + u"]"_s, 0);
}

bool HandlePageKey(QWidget *page, QToolBar *toolBar, QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *tool = qobject_cast<QToolButton *>(page->focusWidget());
            tool && toolBar->isAncestorOf(tool))
            tool->click();
        event->accept();
        return true;
    case Qt::Key_Escape:
        event->accept();
        return true;
    default:
        return false;
    }
}

} // namespace vantrel::payroll
