#include "personnel/ui/cdlgpsnbatchworkingage.h"

#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"
#include "core/util/stringtable.h"
#include "personnel/psnseniority.h"
#include "ui/app/messagebox.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace vantrel::personnel;

CDlgPsnBatchWorkingAge::CDlgPsnBatchWorkingAge(QWidget *parent)
    : CDialogExx(570, 0, parent)
    , m_pDate(new QDateEdit(QDate::currentDate(), this))
    , m_pMethod(new QComboBox(this))
    , m_pDateItem(new QComboBox(this))
    , m_pNumberItem(new QComboBox(this))
{
    setWindowTitle(u"批量{工龄}核算"_s);
    m_pDate->setCalendarPopup(true);
    m_pDate->setDisplayFormat(u"yyyy-MM-dd"_s);
    m_pMethod->addItems(SeniorityMethodTexts());
    m_pMethod->setCurrentIndex(0);
    fillItemCombo(m_pDateItem, 2);
    fillItemCombo(m_pNumberItem, 0);
    auto *form = new QFormLayout(this);
    form->addRow(u"核算日期："_s, m_pDate);
    form->addRow(u"核算方法："_s, m_pMethod);
    form->addRow(u"{入职日期}字段："_s, m_pDateItem);
    form->addRow(u"{工龄}字段："_s, m_pNumberItem);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(u"确定(&O)"_s, QDialogButtonBox::AcceptRole);
    buttons->addButton(u"取消(&C)"_s, QDialogButtonBox::RejectRole);
    form->addRow(buttons);
    connect(ok, &QPushButton::clicked, this, &CDlgPsnBatchWorkingAge::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CDlgPsnBatchWorkingAge::fillItemCombo(QComboBox *combo, int dataType)
{
    const vantrel::db::QueryResult result = theDatabase.run(
        u"SELECT ItemID, Alias, Name FROM qz_Items WHERE upper(TblName)='QZ_PSNBASE'"
        " AND iDataType=? ORDER BY Ord"_s,
        { dataType });
    for (int row = 0; row < result.rows.rowCount(); ++row) {
        combo->addItem(result.rows.text(row, 1), result.rows.value(row, 0));
        combo->setItemData(row, result.rows.text(row, 2), Qt::UserRole + 1);
    }
    combo->setCurrentIndex(-1);
}

void CDlgPsnBatchWorkingAge::OnOK()
{
    const QString caption = LoadResString(117);
    if (m_pDateItem->currentIndex() < 0) {
        ShowMessage(this, u"请选择日期字段!"_s, caption, QMessageBox::Warning);
        m_pDateItem->setFocus();
        return;
    }
    if (m_pNumberItem->currentIndex() < 0) {
        ShowMessage(this, u"请选择工龄字段!"_s, caption, QMessageBox::Warning);
        m_pNumberItem->setFocus();
        return;
    }
    if (ShowMessage(this, u"操作不可回退，请核对批量计算项目字段。\r\n\r\n确定计算吗?"_s, caption,
                    QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const BatchSeniority run { m_pDate->date(),
                               m_pDateItem->currentData(Qt::UserRole + 1).toString(),
                               m_pNumberItem->currentData(Qt::UserRole + 1).toString(),
                               m_pMethod->currentIndex() };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vantrel::Result<int> changed = RunBatchSeniority(theDatabase, run, m_condition);
    QApplication::restoreOverrideCursor();
    if (!changed) {
        ShowMessage(this, u"批量工龄核算出错!\n"_s + changed.error(), caption,
                    QMessageBox::Critical);
        return;
    }
    theApp.WriteSystemLog(SeniorityLogText(run.date, m_pDateItem->currentText(),
                                           m_pMethod->currentText(), m_pNumberItem->currentText(),
                                           m_condition),
                          0);
    accept();
}
