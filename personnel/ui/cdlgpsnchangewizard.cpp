#include "personnel/ui/cdlgpsnchangewizard.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/ui/cdlgpsnselectwizard.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdatetimectrl.h"
#include "ui/controls/ceditbrowsectrlfromdb.h"
#include "ui/controls/ceditlblctl.h"
#include "ui/dialogs/cdlgscrollable.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

CDlgPsnChangeForm::CDlgPsnChangeForm(const PsnChangeKind &kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_pLabel(new QLabel(u"人员列表："_s, this))
    , m_pList(new QTableWidget(this))
    , m_pHost(new CDlgScrollable(this))
{
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    forms::LoadItems(m_pHost, m_kind.historyTable, true, m_items);
    m_pHost->SetContentRect(QRect(0, 0, 500, int((m_items.size() + 1) / 2 + 1) * 30));
}

void CDlgPsnChangeForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    m_pLabel->setGeometry(5, 8, w, 22);
    m_pList->setGeometry(0, 30, w, h / 2);
    m_pHost->setGeometry(0, h / 2 + 31, w, h - h / 2 - 31);
    forms::LayoutItems(m_pHost, m_items);
}

void CDlgPsnChangeForm::FillSelectedList(const CPersonMap &persons)
{
    m_pList->clear();
    m_pList->setRowCount(0);
    m_pList->setColumnCount(0);
    if (persons.isEmpty())
        return;
    const QStringList titles { u"编号"_s, u"姓名"_s, u"部门"_s, u"类别"_s, u"PID"_s };
    m_pList->setColumnCount(int(titles.size()));
    m_pList->setHorizontalHeaderLabels(titles);
    for (const auto &[column, width] : { std::pair { 0, 60 }, { 1, 80 }, { 2, 150 }, { 3, 100 } })
        m_pList->setColumnWidth(column, width);
    m_pList->setRowCount(int(persons.size()));
    int row = 0;
    for (const CPersonBase &person : persons) {
        const QStringList cells { person.Number, person.Name, person.DeptName, person.SortName,
                                  QString::number(person.PID) };
        for (int column = 0; column < cells.size(); ++column)
            m_pList->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        ++row;
    }
    m_pList->setColumnHidden(4, true);
    m_pLabel->setText(u"被选择的人员列表(%1人)："_s.arg(persons.size()));
}

CEditlblCtl *CDlgPsnChangeForm::FindItemEditor(const QString &name) const
{
    for (const tagITEMCTRLINFO &item : m_items) {
        if (item.info.Name.compare(name, Qt::CaseInsensitive) == 0)
            return item.pCtrl;
    }
    return nullptr;
}

bool CDlgPsnChangeForm::SaveRecord(const CPersonMap &persons)
{
    if (forms::CheckRequired(this, m_pHost, m_items) || m_items.isEmpty())
        return false;
    CEditlblCtl *field = FindItemEditor(m_kind.newValueItem);
    if (!field)
        return false;
    const auto *picker = qobject_cast<const CEditBrowseCtrlFromDB *>(field->GetMainCtrl());
    const int newId = picker ? picker->GetPickedValue() : 0;
    if (newId <= 0) {
        ShowMessage(
            this, m_kind.personColumn == u"DID" ? u"请选择调动后的部门！"_s : u"请选择人员类别！"_s,
            LoadResString(117), QMessageBox::Warning);
        return false;
    }
    QStringList columns;
    QVariantList values;
    for (const tagITEMCTRLINFO &item : std::as_const(m_items)) {
        QVariant value;
        if (!forms::SetItemValue(this, item, &value))
            return false;
        columns << item.info.Name;
        values << value;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Result<void> applied
        = ApplyPsnChange(theDatabase, m_kind, newId, columns, values, persons);
    QApplication::restoreOverrideCursor();
    if (!applied) {
        ShowMessage(this, applied.error(), LoadResString(117), QMessageBox::Critical);
        return false;
    }
    return true;
}

CDlgPsnChangeWizard::CDlgPsnChangeWizard(const PsnChangeKind &kind, QWidget *parent)
    : CDialogExx(0, 0, parent)
    , m_kind(kind)
    , m_pPages(new QStackedWidget(this))
    , m_pSelect(new CDlgPsnSelectWizard(this))
    , m_pForm(new CDlgPsnChangeForm(kind, this))
    , m_pPrev(new QPushButton(u"上一步(&P)"_s, this))
    , m_pNext(new QPushButton(u"下一步(&N)"_s, this))
    , m_pFinish(new QPushButton(u"确定(&O)"_s, this))
{
    setWindowTitle(u"向导"_s);
    resize(640, 520);
    m_pPages->addWidget(m_pSelect);
    m_pPages->addWidget(m_pForm);
    auto *cancel = new QPushButton(u"取消(&C)"_s, this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : { m_pPrev, m_pNext, m_pFinish, cancel }) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pPages, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);
    connect(m_pPrev, &QPushButton::clicked, this, &CDlgPsnChangeWizard::OnPrevPage);
    connect(m_pNext, &QPushButton::clicked, this, &CDlgPsnChangeWizard::OnNextPage);
    connect(m_pFinish, &QPushButton::clicked, this, &CDlgPsnChangeWizard::OnFinish);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CDlgPsnChangeWizard::showEvent(QShowEvent *event)
{
    if (!m_bInitialised) {
        m_bInitialised = true;
        m_pSelect->Initialize();
        ShowPage(m_nCurPage);
        if (m_nCurPage > 1)
            m_pPrev->setEnabled(false);
    }
    CDialogExx::showEvent(event);
}

void CDlgPsnChangeWizard::ShowPage(int page)
{
    m_nCurPage = qBound(1, page, m_pPages->count());
    m_pPages->setCurrentIndex(m_nCurPage - 1);
    if (m_nCurPage == 2 && !m_persons.isEmpty())
        m_pForm->FillSelectedList(m_persons);
    const bool last = m_nCurPage == m_pPages->count();
    m_pPrev->setEnabled(m_nCurPage > 1);
    m_pNext->setEnabled(!last);
    m_pFinish->setEnabled(last);
}

void CDlgPsnChangeWizard::OnPrevPage()
{
    ShowPage(m_nCurPage - 1);
}

void CDlgPsnChangeWizard::OnNextPage()
{
    if (m_nCurPage == 1 && !m_pSelect->CollectSelectedPersons(&m_persons))
        return;
    ShowPage(m_nCurPage + 1);
}

void CDlgPsnChangeWizard::OnFinish()
{
    if (m_nCurPage != m_pPages->count() || !m_pForm->SaveRecord(m_persons))
        return;
    theApp.WriteSystemLog(PsnChangeLogText(m_kind, int(m_persons.size())), 0);
    done(QDialog::Accepted);
}
