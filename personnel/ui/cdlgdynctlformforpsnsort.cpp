#include "personnel/ui/cdlgdynctlformforpsnsort.h"

#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/psnsortformowner.h"
#include "personnel/recordforms.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

CDlgDynCtlFormForPsnSort::CDlgDynCtlFormForPsnSort(QWidget *parent)
    : CDlgDynCtlFormRecord(parent, 1001)
{
    m_strKeyName = u"AID"_s;
    m_strTableName = u"qz_PsnSort"_s;
    m_nMinTrackWidth = 500;
    m_nMinTrackHeight = 200;
}

bool CDlgDynCtlFormForPsnSort::OnSave()
{
    if (CheckRequired())
        return false;
    QVariant value;
    if (!GetItemValueByName(u"Name"_s, &value))
        return false;
    const QString name = value.toString();
    const vantrel::Result<bool> taken
        = PsnSortNameTaken(theDatabase, name, m_nAddFlag ? 0 : m_nKeyValue);
    if (!taken || *taken) {
        ShowMessage(this, taken ? u"错误：该类别已存在!"_s : SaveErrorMessage(taken.error()),
                    LoadResString(117), QMessageBox::Information);
        return false;
    }
    if (!SaveRecord())
        return false;
    m_strOldName = name;
    auto *manager = dynamic_cast<IPsnSortFormOwner *>(m_pOwnerWnd);
    if (manager && m_pOwnerGrid) {
        if (m_nAddFlag) {
            manager->LoadSortGrid();
            const int row = m_pOwnerGrid->FindRow(name, manager->SortNameColumn(), true, true);
            if (row >= 0) {
                m_pOwnerGrid->SetCurSel(row);
                m_pOwnerGrid->scrollTo(m_pOwnerGrid->currentIndex());
            }
        } else if (m_pOwnerGrid->GetCurSel() >= 0) {
            m_pOwnerGrid->RefreshRow(m_pOwnerGrid->GetCurSel());
        }
    }
    WriteLog(u"系统管理[人员类别%1'%2']"_s.arg(m_nAddFlag ? u"新增"_s : u"修改"_s, name));
    if (m_nAddFlag)
        ResetForNext();
    return true;
}

void CDlgDynCtlFormForPsnSort::TakeRow(int row)
{
    CDlgDynCtlFormRecord::TakeRow(row);
    if (auto *manager = dynamic_cast<IPsnSortFormOwner *>(m_pOwnerWnd))
        m_strOldName = m_pOwnerGrid->GetFieldValue(row, manager->SortNameColumn()).toString();
}
