#include "admin/ui/cdlgdeptmergemove.h"

#include "admin/adminoutcome.h"
#include "admin/deptstore.h"
#include "admin/ui/adminmessages.h"
#include "core/db/cadodatabase.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/cdroplisttree.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using vantrel::admin::AdminOutcome;
using vantrel::admin::DeptTargetUse;

CDlgDeptMergeMove::CDlgDeptMergeMove(QWidget *parent) : CDialogExx(0, 0, parent)
{
    m_pSource = new QLineEdit(this);
    m_pSource->setReadOnly(true);
    m_pLabel = new QLabel(this);
    m_pPicker = new CDropDownListDept(this);
    m_pPicker->setObjectName(u"picker"_s);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(u"确定"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgDeptMergeMove::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgDeptMergeMove::reject);
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(u"选择的部门："_s, this), 0, 0);
    layout->addWidget(m_pSource, 0, 1);
    layout->addWidget(m_pLabel, 1, 0);
    layout->addWidget(m_pPicker, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    resize(360, 130);
}

void CDlgDeptMergeMove::showEvent(QShowEvent *event)
{
    if (!m_bInitialised) {
        m_bInitialised = true;
        setWindowTitle(m_strCaption);
        m_pSource->setText(m_strSourceName);
        m_pLabel->setText(m_strLabel);
        if (m_pPicker->Initialize() && m_pPicker->GetDropTree()->topLevelItemCount() > 0)
            m_pPicker->setText(m_pPicker->GetDropTree()->topLevelItem(0)->text(0));
    }
    CDialogExx::showEvent(event);
}

void CDlgDeptMergeMove::accept()
{
    m_strTargetName = m_pPicker->text();
    m_nTargetDID = m_pPicker->GetSelectedDept();
    const AdminOutcome check = vantrel::admin::CheckDeptTarget(
        theDatabase, m_nMode == Merge ? DeptTargetUse::Merge : DeptTargetUse::Move, m_nSourceDID,
        m_nTargetDID);
    if (!check.ok) {
        ShowAdminOutcome(this, check);
        m_pPicker->setFocus();
        return;
    }
    CDialogExx::accept();
}
