#include "payroll/ui/cdlgwagetablenew.h"

#include "core/app/currentuser.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/query/scalarqueries.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"
#include "payroll/ui/wagesetupui.h"
#include "payroll/wageperiods.h"
#include "ui/controls/widgetfillers.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace vantrel::payroll;

CDlgWageTableNew::CDlgWageTableNew(const QString &title, QWidget *parent)
    : CDialogExx(391, 0, parent)
    , m_pCombo(new QComboBox(this))
    , m_pPicker(new QDateEdit(QDate::currentDate(), this))
{
    setWindowTitle(u"新建薪资表"_s);
    m_pPicker->setDisplayFormat(u"yyyy年MM月"_s);
    m_pPicker->setCalendarPopup(true);
    FillWageSetCombo(m_pCombo);
    const int found = m_pCombo->findText(title, Qt::MatchExactly);
    m_pCombo->setCurrentIndex(found >= 0 ? found : (m_pCombo->count() > 0 ? 0 : -1));

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(u"确定"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgWageTableNew::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgWageTableNew::reject);
    auto *form = new QFormLayout(this);
    form->addRow(u"薪资期间："_s, m_pPicker);
    form->addRow(u"薪资类别："_s, m_pCombo);
    form->addRow(buttons);
}

void CDlgWageTableNew::accept()
{
    if (m_pCombo->currentIndex() < 0) {
        Tell(this, LoadResString(113));
        return;
    }
    const int sid = m_pCombo->currentData().toInt();
    const QDate month = m_pPicker->date();
    const int period = month.year() * 100 + month.month();
    const QString text = FormatWagePeriod(period);
    if (!Ask(this, u"确定新建 \"%1\" 薪资表吗?"_s.arg(text), QMessageBox::Question))
        return;
    const vantrel::Result<bool> setExists = RecordExists(u"qz_Table"_s, u"ID = ?"_s, { sid });
    if (setExists && !*setExists) {
        Tell(this, LoadResString(118));
        return;
    }
    if (GetScalarInt(u"SELECT COUNT(*) FROM qz_WageTable WHERE SID = ? AND fDate = ?"_s,
                     { sid, period })
            .valueOr(0)
        >= 1) {
        Tell(this, u"薪资表(%1) 已存在!"_s.arg(text));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Status created
        = CreateWagePeriod(theDatabase, theCurrentUser.UserID, sid, period);
    QApplication::restoreOverrideCursor();
    // Also a period another user made a moment ago: the database refuses the second one.
    if (!created) {
        Tell(this, created.error(), QMessageBox::Warning);
        return;
    }
    m_strTitle = m_pCombo->currentText();
    m_nSid = sid;
    m_strTable = GetWageSetTableName(sid);
    m_nPeriod = period;
    theApp.WriteSystemLog(u"薪资管理[新建薪资表'%1']"_s.arg(text), 0);
    CDialogExx::accept();
}
