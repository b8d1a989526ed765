#include "payroll/ui/picklistgrid.h"

#include "core/util/stringtable.h"
#include "payroll/psnchooserlist.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/recordsetgridmodel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace vantrel::payroll {

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
