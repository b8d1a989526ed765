#include "admin/ui/adminmessages.h"

#include "admin/adminoutcome.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"

using vantrel::admin::AdminOutcome;

void ShowAdminOutcome(QWidget *owner, const AdminOutcome &outcome)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (outcome.icon) {
    case AdminOutcome::Icon::Warning:
        icon = QMessageBox::Warning;
        break;
    case AdminOutcome::Icon::Critical:
        icon = QMessageBox::Critical;
        break;
    case AdminOutcome::Icon::None:
    case AdminOutcome::Icon::Information:
        break;
    }
    ShowMessage(owner, outcome.message, LoadResString(117), icon);
}
