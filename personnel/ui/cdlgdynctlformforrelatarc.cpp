#include "personnel/ui/cdlgdynctlformforrelatarc.h"

#include "core/db/cadodatabase.h"
#include "personnel/relatarc.h"
#include "ui/controls/cbcgpadogridctrl.h"

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

CDlgDynCtlFormForRelatArc::CDlgDynCtlFormForRelatArc(QWidget *parent)
    : CDlgDynCtlFormRecord(parent, 0)
{
    m_strKeyName = u"ID"_s;
}

bool CDlgDynCtlFormForRelatArc::SaveRecord()
{
    return SaveWith([this](const CItemInfoArray &infos, const FieldContents &contents) {
        return SaveRelatRecord(theDatabase, m_strTableName, m_person.PID,
                               m_nAddFlag ? 0 : m_nKeyValue, infos, contents);
    });
}

bool CDlgDynCtlFormForRelatArc::OnSave()
{
    if (CheckRequired() || !SaveRecord())
        return false;
    if (m_pOwnerGrid) {
        if (m_nAddFlag) {
            if (auto *owner = dynamic_cast<IRelatFormOwner *>(m_pOwnerWnd))
                owner->ReloadRelatRows();
            const int row = m_pOwnerGrid->FindRowByKey(m_nKeyValue);
            if (row >= 0) {
                m_pOwnerGrid->SetCurSel(row);
                m_pOwnerGrid->scrollTo(m_pOwnerGrid->currentIndex());
            }
        } else if (m_pOwnerGrid->GetCurSel() >= 0) {
            m_pOwnerGrid->RefreshRow(m_pOwnerGrid->GetCurSel());
        }
    }
    WriteLog(u"人员档案[\"%1(%2)\"->相关资料'%3'%4]"_s.arg(
        m_person.Name, m_person.Number, m_strTitle, m_nAddFlag ? u"新增"_s : u"修改"_s));
    if (m_nAddFlag)
        ResetForNext();
    return true;
}
