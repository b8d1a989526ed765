#include "payroll/ui/cdlgwagepsntable.h"
#include "payroll/ui/picklistgrid.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"
#include "payroll/ui/wagesetupui.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdropdownlistdept.h"
#include "ui/controls/cdroplisttree.h"
#include "ui/dialogs/cdialogexx.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

CDlgWagePsnTable::CDlgWagePsnTable(QWidget *parent)
    : QDialog(parent)
    , m_pDept(new CDropDownListDept(this))
    , m_pSearch(new QLineEdit(this))
    , m_pGrid(new CBCGPADOGridCtrl(this))
    , m_pFooter(new QLabel(this))
    , m_pTakeOver(new QCheckBox(u"同时导入以往薪资数据"_s, this))
    , m_pEarlier(new QComboBox(this))
    , m_pAdd(PickListButton(u"添加(&A)"_s, this))
{
    setObjectName(u"DlgWagePsnTable"_s);
    setWindowTitle(u"添加人员"_s);
    CDialogExx::applyBackground(this);
    auto *search = PickListButton(u"查询"_s, this);
    auto *all = PickListButton(u"全选(&A)"_s, this);
    auto *none = PickListButton(u"全不选(&U)"_s, this);
    auto *cancel = PickListButton(u"取消(&C)"_s, this);
    auto *ticks = new QHBoxLayout;
    ticks->addWidget(all);
    ticks->addWidget(none);
    ticks->addStretch();
    ticks->addWidget(m_pTakeOver);
    ticks->addWidget(m_pEarlier);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_pAdd);
    bottom->addWidget(cancel);
    QVBoxLayout *layout = LayOutPickList(this, m_pDept, m_pSearch, search, m_pGrid, m_pFooter);
    layout->addLayout(ticks);
    layout->addLayout(bottom);

    connect(search, &QPushButton::clicked, this, &CDlgWagePsnTable::OnSearch);
    connect(all, &QPushButton::clicked, this, &CDlgWagePsnTable::OnTickAll);
    connect(none, &QPushButton::clicked, this, &CDlgWagePsnTable::OnUntickAll);
    connect(m_pAdd, &QPushButton::clicked, this, &CDlgWagePsnTable::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pTakeOver, &QCheckBox::toggled, m_pEarlier, &QWidget::setEnabled);
    connect(m_pDept, &CEditBrowseDropCtrl::comboNotify, this, [this](int code) {
        if (code == CEditBrowseDropCtrl::CBN_SELENDOK)
            BuildFor(m_pDept->GetSelectedDept());
    });
}

CDlgWagePsnTable::~CDlgWagePsnTable() = default;

void CDlgWagePsnTable::SetTarget(int did, int sid, int period)
{
    m_nSid = sid;
    m_nPeriod = period;
    m_pList = std::make_unique<WagePeriodAddList>(theDatabase, sid, period);
    m_pAdd->setEnabled(false);
    if (!m_pDept->Initialize())
        return;
    CDropListTree *tree = m_pDept->GetDropTree();
    QTreeWidgetItem *item = tree->FindItemByData(did, tree->topLevelItem(0));
    if (!item)
        item = tree->topLevelItem(0);
    if (item) {
        tree->setCurrentItem(item);
        m_pDept->setText(item->text(0));
    }
    m_pTakeOver->setChecked(true);
    BuildFor(qMax(0, m_pDept->GetSelectedDept()));
    fillEarlierPeriods();
}

QString CDlgWagePsnTable::FooterText() const
{
    return m_pFooter->text();
}

void CDlgWagePsnTable::fillEarlierPeriods()
{
    m_pEarlier->clear();
    const vantrel::Result<QVector<int>> periods = OtherWagePeriods(theDatabase, m_nSid, m_nPeriod);
    if (periods) {
        for (const int period : *periods)
            m_pEarlier->addItem(FormatWagePeriod(period), period);
    }
    const bool any = m_pEarlier->count() > 0;
    if (any)
        m_pEarlier->setCurrentIndex(0);
    m_pTakeOver->setChecked(any);
    m_pTakeOver->setEnabled(any);
    m_pEarlier->setEnabled(any);
}

void CDlgWagePsnTable::BuildFor(int did)
{
    if (!m_pList)
        return;
    if (const vantrel::Status built = m_pList->build(qMax(0, did)); !built) {
        Tell(this, built.error(), QMessageBox::Critical);
        return;
    }
    refreshList();
}

void CDlgWagePsnTable::refreshList(int keepRow)
{
    if (!m_pList)
        return;
    ShowPickList(m_pGrid, m_pFooter, *m_pList, keepRow);
    m_pAdd->setEnabled(m_pGrid->GetRowCount() > 0);
}

void CDlgWagePsnTable::OnSearch()
{
    FindInPickList(m_pGrid, m_pSearch->text());
}

void CDlgWagePsnTable::ToggleCurrent()
{
    if (!m_pList)
        return;
    if (const vantrel::Status stored = ToggleCurrentPick(m_pGrid, *m_pList); !stored) {
        Tell(this, stored.error(), QMessageBox::Critical);
        return;
    }
    refreshList(m_pGrid->GetCurSel());
}

void CDlgWagePsnTable::tickAll(bool ticked)
{
    if (!m_pList)
        return;
    if (const vantrel::Status stored = m_pList->setAllTicked(ticked); !stored) {
        Tell(this, stored.error(), QMessageBox::Critical);
        return;
    }
    refreshList(m_pGrid->GetCurSel());
}

void CDlgWagePsnTable::accept()
{
    if (!m_pList)
        return;
    const vantrel::Result<int> ticked = m_pList->tickedCount();
    if (!ticked) {
        Tell(this, ticked.error(), QMessageBox::Critical);
        return;
    }
    if (*ticked == 0) {
        Tell(this, LoadResString(112));
        return;
    }
    if (!Ask(this, u"确定添加选定的人员吗?"_s, QMessageBox::Question, true))
        return;
    const vantrel::Result<bool> exists = RecordExists(u"qz_Table"_s, u"ID = ? AND nType = ?"_s,
                                                      { m_nSid, WageSetTableType }, &theDatabase);
    if (!exists || !*exists) {
        Tell(this, exists ? LoadResString(118) : exists.error(),
             exists ? QMessageBox::Information : QMessageBox::Critical);
        return;
    }
    const int earlier = m_pTakeOver->isChecked() ? m_pEarlier->currentData().toInt() : 0;
    const vantrel::Result<int> added = m_pList->add(earlier);
    if (!added) {
        Tell(this, added.error(), QMessageBox::Critical);
        return;
    }
    theApp.WriteSystemLog(u"薪资管理[薪资类别'%1'薪资表'%2'添加%3个人员]"_s
                              .arg(GetWageSetTitle(m_nSid), FormatWagePeriod(m_nPeriod))
                              .arg(*added),
                          0);
    QDialog::accept();
}

bool CDlgWagePsnTable::eventFilter(QObject *watched, QEvent *event)
{
    if (IsPickToggleEvent(m_pGrid, watched, event)) {
        ToggleCurrent();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
