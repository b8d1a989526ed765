#include "payroll/ui/cdlgwagetabledelete.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

int periodOf(const QDateEdit *picker)
{
    return picker->date().year() * 100 + picker->date().month();
}

QDateEdit *monthPicker(QWidget *parent)
{
    auto *picker = new QDateEdit(QDate::currentDate(), parent);
    picker->setDisplayFormat(u"yyyy年MM月"_s);
    picker->setCalendarPopup(true);
    picker->setEnabled(false);
    return picker;
}

} // namespace

CDlgWageTableDelete::CDlgWageTableDelete(QWidget *parent)
    : CDialogExx(504, 0, parent)
    , m_pSelected(new QRadioButton(u"删除当前选择的月份薪资表(&C)"_s, this))
    , m_pRange(new QRadioButton(u"删除以下月份区间薪资表(&S)："_s, this))
    , m_pFrom(monthPicker(this))
    , m_pTo(monthPicker(this))
{
    setWindowTitle(u"删除薪资表"_s);
    m_pSelected->setChecked(true);
    connect(m_pRange, &QRadioButton::toggled, this, [this](bool range) {
        m_pFrom->setEnabled(range);
        m_pTo->setEnabled(range);
    });
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(u"确定"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgWageTableDelete::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgWageTableDelete::reject);
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_pSelected, 0, 0, 1, 4);
    grid->addWidget(m_pRange, 1, 0, 1, 4);
    grid->addWidget(new QLabel(u"从"_s, this), 2, 0);
    grid->addWidget(m_pFrom, 2, 1);
    grid->addWidget(new QLabel(u"至"_s, this), 2, 2);
    grid->addWidget(m_pTo, 2, 3);
    grid->addWidget(buttons, 3, 0, 1, 4);
}

void CDlgWageTableDelete::accept()
{
    m_nMode = m_pRange->isChecked() ? 1 : 0;
    m_nFrom = periodOf(m_pFrom);
    m_nTo = periodOf(m_pTo);
    CDialogExx::accept();
}
