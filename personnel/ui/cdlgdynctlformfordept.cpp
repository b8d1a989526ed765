#include "personnel/ui/cdlgdynctlformfordept.h"

#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/deptformowner.h"
#include "personnel/recordforms.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

CDlgDynCtlFormForDept::CDlgDynCtlFormForDept(QWidget *parent) : CDlgDynCtlFormRecord(parent, 1002)
{
    m_strKeyName = u"DID"_s;
    m_strTableName = u"qz_Dept"_s;
    m_nMinTrackWidth = 550;
    m_nMinTrackHeight = 260;
}

IDeptFormOwner *CDlgDynCtlFormForDept::owner() const
{
    return dynamic_cast<IDeptFormOwner *>(m_pOwnerWnd);
}

bool CDlgDynCtlFormForDept::refuse(const QString &text)
{
    ShowMessage(this, text, LoadResString(117), QMessageBox::Information);
    return false;
}

bool CDlgDynCtlFormForDept::OnSave()
{
    if (CheckRequired())
        return false;
    QVariant value;
    if (!GetItemValueByName(u"Name"_s, &value))
        return false;
    const QString name = value.toString();
    const int ownKey = m_nAddFlag ? 0 : m_nKeyValue;
    const vantrel::Result<bool> taken = DeptNameTaken(theDatabase, name, ownKey);
    if (!taken)
        return refuse(SaveErrorMessage(taken.error()));
    if (*taken)
        return refuse(u"错误：该部门已存在!"_s);
    if (!GetItemValueByName(u"ParentID"_s, &value))
        return false;
    const int parent = value.toInt();
    if (!m_nAddFlag) {
        const vantrel::Result<bool> inside = ParentInsideSubtree(theDatabase, m_nKeyValue, parent);
        if (!inside)
            return refuse(SaveErrorMessage(inside.error()));
        if (*inside)
            return refuse(u"错误：上级部门不能是其本身或其原下级部门!"_s);
    }

    IDeptFormOwner *manager = owner();
    const bool rewritePaths = manager && (m_nAddFlag || parent != m_nOldParentID);
    vantrel::db::DbTransaction transaction(theDatabase);
    const int keyBefore = m_nKeyValue;
    if (!SaveRecord())
        return false;
    // A path left behind would break every subtree filter and right: row and paths go
    // together or not at all.
    if ((rewritePaths && !manager->UpdateDeptParent(m_nKeyValue, parent))
        || !transaction.commit()) {
        transaction.rollback();
        m_nKeyValue = keyBefore;
        m_bModified = true;
        return refuse(u"在调整上级部门时出现异常!"_s);
    }
    m_nOldParentID = parent;
    m_strOldName = name;
    if (manager) {
        if (m_nAddFlag) {
            manager->OnRefresh();
        } else {
            manager->SaveRowOrder();
            manager->LoadDeptTree();
        }
        manager->SelectDeptRow(m_nKeyValue);
    }
    WriteLog(u"系统管理[组织机构%1'%2']"_s.arg(m_nAddFlag ? u"新增"_s : u"修改"_s, name));
    if (m_nAddFlag)
        ResetForNext();
    return true;
}

void CDlgDynCtlFormForDept::TakeRow(int row)
{
    IDeptFormOwner *manager = owner();
    if (!m_pOwnerGrid)
        return;
    m_strOldName = m_pOwnerGrid->GetFieldValue(row, 0).toString();
    if (!manager) {
        CDlgDynCtlFormRecord::TakeRow(row);
        return;
    }
    m_nKeyValue = m_pOwnerGrid->GetFieldValue(row, manager->DeptKeyColumn()).toInt();
    m_nOldParentID = m_pOwnerGrid->GetFieldValue(row, manager->DeptParentColumn()).toInt();
}
