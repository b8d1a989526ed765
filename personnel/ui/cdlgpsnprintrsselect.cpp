#include "personnel/ui/cdlgpsnprintrsselect.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CDlgPsnPrintRSSelect::CDlgPsnPrintRSSelect(QWidget *parent)
    : CDialogExx(416, 0, parent)
    , m_pPerson(new QRadioButton(u"当前选定个人(&P)"_s, this))
    , m_pList(new QRadioButton(u"当前人员列表(&L)"_s, this))
{
    setWindowTitle(u"记录选择"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pPerson);
    layout->addWidget(m_pList);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"确定"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_pPerson->setChecked(true);
}

int CDlgPsnPrintRSSelect::GetChoice() const
{
    return m_pList->isChecked() ? WholeList : CurrentPerson;
}

void CDlgPsnPrintRSSelect::SetChoice(int choice)
{
    (choice == WholeList ? m_pList : m_pPerson)->setChecked(true);
}
