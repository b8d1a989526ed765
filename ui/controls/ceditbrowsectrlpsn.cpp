#include "ui/controls/ceditbrowsectrlpsn.h"

#include "core/app/currentuser.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/ceditbrowsectrlfromdb.h"

#include <QApplication>
#include <QHeaderView>

using namespace Qt::StringLiterals;

namespace {

enum PersonColumn { ColId = 0, ColNumber, ColName, ColDept, ColSort, ColIdNumber };

} // namespace

CEditBrowseCtrlPSN::CEditBrowseCtrlPSN(QWidget *wndWatch, int tag, const QString &filter,
                                       bool readOnly, QWidget *parent)
    : CEditBrowseGridCtrl(wndWatch, parent), m_nTag(tag), m_strFilter(filter)
{
    if (readOnly) {
        SetPickerReadOnly(true);
        setPlaceholderText(CEditBrowseCtrlFromDB::Prompt());
    }
    InitGrid();
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (IsDropped())
            searchText(text);
    });
}

void CEditBrowseCtrlPSN::InitGrid()
{
    CBCGPADOGridCtrl *grid = GetGrid();
    grid->horizontalHeader()->setVisible(true);
    grid->SetVirtualMode(true);
}

void CEditBrowseCtrlPSN::OnBrowse()
{
    if (GetGrid()->GetGridModel()->columnCount() == 0)
        FillPersonGrid(GetGrid());
    CEditBrowseGridCtrl::OnBrowse();
}

int CEditBrowseCtrlPSN::FillPersonGrid(CBCGPADOGridCtrl *grid)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    grid->Close();
    grid->setUpdatesEnabled(false);
    CADOCommand command(&theDatabase, u"qz_SelectPsnForEditBrowseCtrl"_s);
    command.AddParameterInt(u"SID"_s, adInteger, adParamInput, 4, m_nWageSetId);
    command.AddParameterInt(u"AllDepts"_s, adInteger, adParamInput, 4,
                            theCurrentUser.allDepts() || theCurrentUser.ISuper ? 1 : 0);
    const QString depts = GetUserDeptList(theCurrentUser);
    command.AddParameterText(u"DeptIds"_s, adVarChar, adParamInput, qMax(1, int(depts.size())),
                             depts);
    const bool ok = grid->AttachConnection(&theDatabase) && grid->OpenCommand(command);
    if (!ok)
        grid->Close();
    if (ok) {
        grid->setColumnHidden(ColId, true);
        grid->setColumnHidden(ColIdNumber, true);
        RecordsetGridModel::ColumnFormat bold;
        bold.bold = true;
        grid->GetGridModel()->setColumnFormat(ColName, bold);
        const int widths[] = { 0, 50, 80, 50, 100 };
        for (int column = ColNumber; column <= ColSort; ++column)
            grid->setColumnWidth(column, widths[column]);
    }
    grid->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    return ok ? 1 : 0;
}

void CEditBrowseCtrlPSN::AcceptDropDown()
{
    CEditBrowseGridCtrl::AcceptDropDown();
    CBCGPADOGridCtrl *grid = GetGrid();
    const int row = grid->GetCurSel();
    if (row < 0)
        return;
    m_nPersonId = grid->GetFieldValue(row, ColId).toInt();
    setText(grid->GetGridModel()->displayText(row, ColName));
    if (!isReadOnly())
        selectAll();
    Notify(CBN_SELENDOK);
}

void CEditBrowseCtrlPSN::searchText(const QString &text)
{
    CBCGPADOGridCtrl *grid = GetGrid();
    int row = grid->FindRow(text, ColNumber, false, true);
    if (row < 0)
        row = grid->FindRow(text, ColIdNumber, false, true);
    if (row < 0)
        row = grid->FindRow(text, ColName, false, false);
    if (row < 0)
        return;
    grid->SetCurSel(row, ColName);
    grid->scrollTo(grid->GetGridModel()->index(row, ColName));
}
