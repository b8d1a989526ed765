#include "personnel/ui/cdlgdynctlformrecord.h"

#include "core/app/vantrelapp.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/ceditlblctl.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

CDlgDynCtlFormRecord::CDlgDynCtlFormRecord(QWidget *parent, int subNumber)
    : CDlgDynCtlFormBase(parent, 517, subNumber)
{
    connect(m_pBtnSave, &QPushButton::clicked, this, [this] { OnSave(); });
}

void CDlgDynCtlFormRecord::MoveTo(int row)
{
    if (row < 0 || !m_pOwnerGrid)
        return;
    if (m_bModified && confirm(u"内容已改变,保存数据吗?"_s) && !OnSave())
        return;
    m_pOwnerGrid->SetCurSel(row);
    m_pOwnerGrid->scrollTo(m_pOwnerGrid->currentIndex());
    TakeRow(row);
    LoadRecord();
    if (!m_items.isEmpty() && m_items.first().pCtrl) {
        EnsureItemVisible(m_items.first().pCtrl);
        m_items.first().pCtrl->setFocus();
    }
}

void CDlgDynCtlFormRecord::TakeRow(int row)
{
    m_nKeyValue = m_pOwnerGrid->GetFieldValue(row, 0).toInt();
}

void CDlgDynCtlFormRecord::reject()
{
    if (m_bModified && confirm(u"内容已改变,保存数据吗?"_s) && !OnSave())
        return;
    CDlgDynCtlFormBase::reject();
}

void CDlgDynCtlFormRecord::ResetForNext()
{
    ResetItemDefaults();
    m_bModified = false;
    m_nKeyValue = 0;
}

void CDlgDynCtlFormRecord::WriteLog(const QString &text)
{
    theApp.WriteSystemLog(text, 0);
}
