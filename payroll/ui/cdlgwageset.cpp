#include "payroll/ui/cdlgwageset.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/payroll/wagesetschema.h"
#include "core/query/scalarqueries.h"
#include "payroll/ui/cdlgtabwageitem.h"
#include "payroll/ui/cdlgtabwagepsn.h"
#include "payroll/ui/cdlgtabwagestdtable.h"
#include "payroll/ui/cdlgwagesetset.h"
#include "ui/controls/widgetfillers.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CDlgWageSet::CDlgWageSet(QWidget *parent)
    : CDialogExx(382, 0, parent)
    , m_pCombo(new QComboBox(this))
    , m_pSetup(new QPushButton(u"设置(&S)..."_s, this))
    , m_pTabs(new QTabWidget(this))
    , m_pMembers(new CDlgTabWagePSN(this))
    , m_pStdTables(new CDlgTabWageStdTable(this))
    , m_pItems(new CDlgTabWageItem(this))
{
    setWindowTitle(u"帐套设置"_s);
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    setMinimumSize(500, 300);
    setSizeGripEnabled(true);
    m_pCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_pCombo->setMinimumWidth(160);
    auto *quit = new QPushButton(u"退出(&E)"_s, this);
    for (QPushButton *b : { m_pSetup, quit })
        b->setAutoDefault(false);
    m_pTabs->addTab(m_pMembers, u"所属人员"_s);
    m_pTabs->addTab(m_pStdTables, u"薪资标准表"_s);
    m_pTabs->addTab(m_pItems, u"薪资项目"_s);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(u"薪资类别："_s, this));
    top->addWidget(m_pCombo);
    top->addWidget(m_pSetup);
    top->addStretch();
    top->addWidget(quit);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 8, 2, 4);
    layout->addLayout(top);
    layout->addWidget(m_pTabs, 1);
    resize(820, 560);

    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pSetup, &QPushButton::clicked, this, &CDlgWageSet::OnSetup);
    connect(m_pCombo, &QComboBox::activated, this, &CDlgWageSet::onWageSetChanged);
    connect(m_pTabs, &QTabWidget::currentChanged, this, &CDlgWageSet::onTabChanged);
    qApp->installEventFilter(this);
    fillCombo();
}

CDlgWageSet::~CDlgWageSet()
{
    qApp->removeEventFilter(this);
}

// Fills the combo with the sets the operator may use and selects the active wage set's
// entry (the first when there is none), then loads the visible page.
void CDlgWageSet::fillCombo()
{
    FillWageSetCombo(m_pCombo);
    if (m_pCombo->count() == 0)
        return;
    const int found = theApp.SName.isEmpty() ? -1 : m_pCombo->findText(theApp.SName);
    m_pCombo->setCurrentIndex(found >= 0 ? found : 0);
    onWageSetChanged();
}

IWageSetPage *CDlgWageSet::page(int index) const
{
    switch (index) {
    case 0:
        return m_pMembers;
    case 1:
        return m_pStdTables;
    case 2:
        return m_pItems;
    default:
        return nullptr;
    }
}

void CDlgWageSet::onWageSetChanged()
{
    m_nSID = m_pCombo->currentData().toInt();
    if (IWageSetPage *shown = page(m_pTabs->currentIndex()))
        shown->LoadWageSet(m_nSID);
}

void CDlgWageSet::onTabChanged(int index)
{
    IWageSetPage *shown = page(index);
    if (shown && m_nSID != 0 && shown->LoadedSid() != m_nSID)
        shown->LoadWageSet(m_nSID);
}

void CDlgWageSet::OnSetup()
{
    // An operator who may use no set gets nothing here; on a database without any set yet
    // the list opens, or the first set could never be made.
    if (m_pCombo->count() == 0) {
        const ScalarAnswer<int> sets
            = GetScalarInt(u"SELECT COUNT(*) FROM qz_Table WHERE nType = ?"_s,
                           { vantrel::payroll::WageSetTableType }, &theDatabase);
        if (sets.failed() || sets.valueOr(0) > 0)
            return;
    }
    CDlgWageSetSet list(m_pCombo->currentData().toInt(), this);
    list.exec();
    if (list.IsChanged())
        fillCombo();
}

bool CDlgWageSet::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+Tab turns the page wherever the focus is in this window.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto *widget = qobject_cast<QWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (widget && widget->window() == this && key->key() == Qt::Key_Tab
            && key->modifiers() == Qt::ControlModifier) {
            if (event->type() == QEvent::KeyPress)
                m_pTabs->setCurrentIndex((m_pTabs->currentIndex() + 1) % m_pTabs->count());
            event->accept();
            return true;
        }
    }
    return CDialogExx::eventFilter(watched, event);
}
