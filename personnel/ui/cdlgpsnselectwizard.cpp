#include "personnel/ui/cdlgpsnselectwizard.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/adoconstants.h"
#include "core/db/cadocommand.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"
#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/cdropdownlistdept.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidgetItem>

using namespace Qt::StringLiterals;

namespace {

enum Column { PidColumn, NumberColumn, NameColumn, SexColumn, DeptColumn, SortColumn, FindColumn };

} // namespace

CDlgPsnSelectWizard::CDlgPsnSelectWizard(QWidget *parent)
    : QWidget(parent)
    , m_pDept(new CDropDownListDept(this))
    , m_pGrid(new CBCGPADOGridCtrl(this))
    , m_pFind(new QLineEdit(this))
    , m_pCount(new QLabel(this))
{
    m_pGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->SetReadOnly(true);
    auto *find = new QPushButton(u"查询"_s, this);
    find->setAutoDefault(false);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(u"部门："_s, this), 0, 0);
    layout->addWidget(m_pDept, 0, 1);
    layout->addWidget(new QLabel(u"编号/姓名："_s, this), 0, 2);
    layout->addWidget(m_pFind, 0, 3);
    layout->addWidget(find, 0, 4);
    layout->addWidget(m_pGrid, 1, 0, 1, 5);
    layout->addWidget(m_pCount, 2, 0, 1, 5);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
    connect(find, &QPushButton::clicked, this, &CDlgPsnSelectWizard::OnFindPerson);
    connect(m_pFind, &QLineEdit::returnPressed, this, &CDlgPsnSelectWizard::OnFindPerson);
    connect(m_pDept, &CEditBrowseDropCtrl::comboNotify, this, [this](int code) {
        if (code != CEditBrowseDropCtrl::CBN_SELENDOK)
            return;
        m_nDeptId = qMax(0, m_pDept->GetSelectedDept());
        QueryPersons();
    });
}

bool CDlgPsnSelectWizard::Initialize()
{
    if (!m_pDept->Initialize())
        return false;
    if (const QTreeWidgetItem *first = m_pDept->GetDropTree()->topLevelItem(0))
        m_pDept->setText(first->text(0));
    m_nDeptId = qMax(0, m_pDept->GetSelectedDept());
    QueryPersons();
    return true;
}

bool CDlgPsnSelectWizard::QueryPersons()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pGrid->setUpdatesEnabled(false);
    bool ok = (m_pGrid->GetConnection() && m_pGrid->GetConnection()->IsOpen())
        || m_pGrid->OpenConnection(theApp.m_strConnection);
    if (ok) {
        CADOCommand command(m_pGrid->GetConnection(), u"qz_SelectPsnWizard"_s);
        command.AddParameterInt(u"DID"_s, adInteger, adParamInput, 4, m_nDeptId);
        command.AddParameterInt(u"AllDepts"_s, adInteger, adParamInput, 4,
                                theCurrentUser.allDepts() ? 1 : 0);
        command.AddParameterText(u"DeptIds"_s, adVarWChar, adParamInput, -1,
                                 GetUserDeptList(theCurrentUser));
        ok = m_pGrid->OpenCommand(command);
    }
    if (ok) {
        m_pGrid->setColumnHidden(PidColumn, true);
        m_pGrid->setColumnHidden(FindColumn, true);
        for (const auto &[column, width] : { std::pair { NumberColumn, 50 },
                                             { NameColumn, 100 },
                                             { SexColumn, 45 },
                                             { DeptColumn, 150 },
                                             { SortColumn, 100 } })
            m_pGrid->setColumnWidth(column, width);
    }
    m_pCount->setText(
        LoadResString(135).replace(u"%d"_s, QString::number(ok ? m_pGrid->GetRowCount() : 0)));
    m_pGrid->setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
    return ok;
}

void CDlgPsnSelectWizard::OnFindPerson()
{
    const QString text = m_pFind->text();
    if (text.isEmpty())
        return;
    int row = m_pGrid->FindRow(text, NumberColumn, false, true);
    if (row < 0)
        row = m_pGrid->FindRow(text, NameColumn, false, true);
    if (row < 0)
        row = m_pGrid->FindRow(text, FindColumn, false, false);
    if (row < 0)
        return;
    m_pGrid->clearSelection();
    m_pGrid->SetCurSel(row, NumberColumn);
    m_pGrid->selectRow(row);
    m_pGrid->setFocus();
}

bool CDlgPsnSelectWizard::CollectSelectedPersons(CPersonMap *persons)
{
    if (m_pGrid->GetCurSel() < 0) {
        ShowMessage(this, LoadResString(112), LoadResString(117), QMessageBox::Information);
        return false;
    }
    persons->clear();
    QVector<int> rows = m_pGrid->SelectedRows();
    if (rows.isEmpty())
        rows << m_pGrid->GetCurSel();
    for (const int row : std::as_const(rows)) {
        CPersonBase person;
        person.PID = m_pGrid->GetFieldValue(row, PidColumn).toInt();
        person.Number = m_pGrid->GetFieldValue(row, NumberColumn).toString();
        person.Name = m_pGrid->GetFieldValue(row, NameColumn).toString();
        person.DeptName = m_pGrid->GetFieldValue(row, DeptColumn).toString();
        person.SortName = m_pGrid->GetFieldValue(row, SortColumn).toString();
        persons->insert(person.PID, person);
    }
    return true;
}
