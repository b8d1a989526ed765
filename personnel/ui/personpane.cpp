#include "personnel/ui/personpane.h"

#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cpanetoolbar.h"
#include "ui/app/messagebox.h"

#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace vantrel::personnel::panes {

bool PersonStillThere(QWidget *owner, int pid)
{
    const Result<bool> exists = RecordExists(u"QZ_PSNBASE"_s, u"PID=?"_s, { pid });
    if (exists && !*exists) {
        ShowMessage(owner, LoadResString(121), LoadResString(117), QMessageBox::Information);
        return false;
    }
    return true;
}

QWidget *PaneBody(CPaneToolBar *toolBar, QWidget *content)
{
    auto *body = new QWidget;
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(content, 1);
    return body;
}

} // namespace vantrel::personnel::panes
