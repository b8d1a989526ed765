#include "payroll/ui/cdlgwagepsnselect.h"
#include "payroll/ui/picklistgrid.h"

#include "core/db/cadodatabase.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringtable.h"
#include "payroll/ui/cdlgtabwagepsn.h"
#include "payroll/ui/wagesetupui.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/dialogs/cdialogexx.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

CDlgWagePsnSelect::CDlgWagePsnSelect(int sid, CDlgTabWagePSN *owner, QWidget *parent)
    : QDialog(parent)
    , m_nSID(sid)
    , m_pOwner(owner)
    , m_list(theDatabase, sid)
    , m_pDept(new CDropDownListDept(this))
    , m_pSearch(new QLineEdit(this))
    , m_pGrid(new CBCGPADOGridCtrl(this))
    , m_pFooter(new QLabel(this))
{
    setWindowTitle(u"人员列表"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    CDialogExx::applyBackground(this);
    auto *search = PickListButton(u"查询"_s, this);
    auto *all = PickListButton(u"全选(&A)"_s, this);
    auto *none = PickListButton(u"全不选(&U)"_s, this);
    auto *add = PickListButton(u"添加(&O)"_s, this);
    auto *back = PickListButton(u"返回(&C)"_s, this);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(all);
    bottom->addWidget(none);
    bottom->addStretch();
    bottom->addWidget(add);
    bottom->addWidget(back);
    LayOutPickList(this, m_pDept, m_pSearch, search, m_pGrid, m_pFooter)->addLayout(bottom);

    connect(search, &QPushButton::clicked, this, &CDlgWagePsnSelect::OnSearch);
    connect(all, &QPushButton::clicked, this, &CDlgWagePsnSelect::OnTickAll);
    connect(none, &QPushButton::clicked, this, &CDlgWagePsnSelect::OnUntickAll);
    connect(add, &QPushButton::clicked, this, &CDlgWagePsnSelect::OnAddTicked);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pGrid, &CBCGPADOGridCtrl::gridDblClk, this, &CDlgWagePsnSelect::AddCurrent);
    connect(m_pDept, &CEditBrowseDropCtrl::comboNotify, this, [this](int code) {
        if (code == CEditBrowseDropCtrl::CBN_SELENDOK)
            BuildFor(m_pDept->GetSelectedDept());
    });
    if (!m_pDept->Initialize())
        return;
    if (const QTreeWidgetItem *first = m_pDept->GetDropTree()->currentItem())
        m_pDept->setText(first->text(0));
    BuildFor(qMax(0, m_pDept->GetSelectedDept()));
}

QString CDlgWagePsnSelect::FooterText() const
{
    return m_pFooter->text();
}

void CDlgWagePsnSelect::BuildFor(int did)
{
    if (const vantrel::Status built = m_list.build(qMax(0, did)); !built) {
        Tell(this, built.error(), QMessageBox::Critical);
        return;
    }
    refreshList();
}

void CDlgWagePsnSelect::refreshList(int keepRow)
{
    ShowPickList(m_pGrid, m_pFooter, m_list, keepRow);
}

void CDlgWagePsnSelect::OnSearch()
{
    FindInPickList(m_pGrid, m_pSearch->text());
}

void CDlgWagePsnSelect::ToggleCurrent()
{
    if (const vantrel::Status stored = ToggleCurrentPick(m_pGrid, m_list); !stored) {
        Tell(this, stored.error(), QMessageBox::Critical);
        return;
    }
    refreshList(m_pGrid->GetCurSel());
}

void CDlgWagePsnSelect::tickAll(bool ticked)
{
    if (const vantrel::Status stored = m_list.setAllTicked(ticked); !stored) {
        Tell(this, stored.error(), QMessageBox::Critical);
        return;
    }
    refreshList(m_pGrid->GetCurSel());
}

void CDlgWagePsnSelect::reloadOwner()
{
    if (m_pOwner)
        m_pOwner->LoadMembers(m_nSID);
}

void CDlgWagePsnSelect::OnAddTicked()
{
    const vantrel::Result<int> ticked = m_list.tickedCount();
    if (!ticked) {
        Tell(this, ticked.error(), QMessageBox::Critical);
        return;
    }
    if (*ticked == 0) {
        Tell(this, LoadResString(112));
        return;
    }
    const vantrel::Result<bool> exists = RecordExists(u"qz_Table"_s, u"ID = ? AND nType = ?"_s,
                                                      { m_nSID, WageSetTableType }, &theDatabase);
    if (!exists || !*exists) {
        Tell(this, exists ? LoadResString(118) : exists.error(),
             exists ? QMessageBox::Information : QMessageBox::Critical);
        return;
    }
    if (!Ask(this, u"确定添加选定的人员吗?"_s, QMessageBox::Question, true))
        return;
    const vantrel::Result<int> added = m_list.addTicked();
    if (!added) {
        Tell(this, added.error(), QMessageBox::Critical);
        return;
    }
    reloadOwner();
    refreshList();
    LogWageSetup(u"薪资类别'%1'增加所属人员"_s.arg(GetWageSetTitle(m_nSID)));
}

void CDlgWagePsnSelect::AddCurrent()
{
    const int row = m_pGrid->GetCurSel();
    if (row < 0)
        return;
    const vantrel::Status added = m_list.addOne(m_pGrid->GetFieldValue(row, PickPid).toInt(),
                                                m_pGrid->GetFieldValue(row, PickOrd).toInt());
    if (!added) {
        Tell(this, added.error(), QMessageBox::Critical);
        return;
    }
    reloadOwner();
    refreshList(qMin(row, m_pGrid->GetRowCount() - 2));
}

bool CDlgWagePsnSelect::eventFilter(QObject *watched, QEvent *event)
{
    if (IsPickToggleEvent(m_pGrid, watched, event)) {
        ToggleCurrent();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
