#include "payroll/ui/picklistgrid.h"

#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "payroll/psnchooserlist.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/recordsetgridmodel.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

QPushButton *PickListButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

QVBoxLayout *LayOutPickList(QDialog *dialog, CDropDownListDept *department, QLineEdit *search,
                            QPushButton *find, CBCGPADOGridCtrl *grid, QLabel *footer)
{
    grid->AttachConnection(&theDatabase);
    grid->SetReadOnly(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->installEventFilter(dialog);
    grid->viewport()->installEventFilter(dialog);
    footer->setAutoFillBackground(true);
    footer->setBackgroundRole(QPalette::Button);
    footer->setContentsMargins(4, 2, 4, 2);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(u"部门："_s, dialog));
    top->addWidget(department, 1);
    top->addWidget(new QLabel(u"编号/姓名："_s, dialog));
    top->addWidget(search, 1);
    top->addWidget(find);
    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(top);
    layout->addWidget(grid, 1);
    layout->addWidget(footer);
    dialog->resize(760, 480);
    return layout;
}

bool ShowPickList(CBCGPADOGridCtrl *grid, QLabel *footer, const PsnPickList &list, int keepRow)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    grid->setUpdatesEnabled(false);
    const BoundQuery query = list.listQuery();
    const bool shown = grid->OpenSQL(query.sql, query.values);
    if (shown) {
        grid->GetGridModel()->setCellKind(PickTick, RecordsetGridModel::CheckCell);
        footer->setText(LoadResString(135).replace(u"%d"_s, QString::number(grid->GetRowCount())));
        grid->setColumnHidden(PickPid, true);
        grid->setColumnHidden(PickOrd, true);
        const int widths[] = { 50, 80, 120, 80, 180, 180 };
        for (int column = PickTick; column <= PickIdNumber; ++column)
            grid->setColumnWidth(column, widths[column - PickTick]);
        if (keepRow >= 0 && keepRow < grid->GetRowCount())
            grid->SetCurSel(keepRow, PickNumber);
    } else {
        CADODatabase *connection = grid->GetConnection();
        grid->Close();
        grid->AttachConnection(connection);
        footer->clear();
    }
    grid->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    return shown;
}

void FindInPickList(CBCGPADOGridCtrl *grid, const QString &text)
{
    if (text.isEmpty())
        return;
    int row = grid->FindRow(text, PickNumber, false, true);
    if (row < 0)
        row = grid->FindRow(text, PickName, false, true);
    if (row < 0)
        row = grid->FindRow(text, PickIdNumber, false, false);
    if (row < 0)
        return;
    grid->SetCurSel(row, PickNumber);
    grid->scrollTo(grid->model()->index(row, PickNumber));
    grid->setFocus();
}

Status ToggleCurrentPick(CBCGPADOGridCtrl *grid, PsnPickList &list)
{
    const int row = grid->GetCurSel();
    if (row < 0)
        return {};
    const int pid = grid->GetFieldValue(row, PickPid).toInt();
    const bool ticked = grid->GetFieldValue(row, PickTick).toInt() != 0;
    return list.setTicked(pid, !ticked);
}

bool IsPickToggleEvent(CBCGPADOGridCtrl *grid, QObject *watched, QEvent *event)
{
    if (watched == grid && event->type() == QEvent::KeyPress)
        return static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space;
    if (watched == grid->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex index = grid->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index.isValid() && index.column() == PickTick) {
            grid->SetCurSel(index.row(), PickTick);
            return true;
        }
    }
    return false;
}

} // namespace vantrel::payroll
