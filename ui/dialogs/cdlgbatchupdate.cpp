#include "ui/dialogs/cdlgbatchupdate.h"

#include "ui/app/messagebox.h"
#include "core/util/stringhelpers.h"
#include "core/util/stringtable.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

CDlgBatchUpdate::CDlgBatchUpdate(QWidget *parent)
    : QDialog(parent)
    , m_pItems(new QComboBox(this))
    , m_pModes(new QComboBox(this))
    , m_pValue(new QLineEdit(this))
    , m_pDate(new QDateEdit(QDate::currentDate(), this))
{
    setWindowTitle(u"批量修改"_s);
    m_pDate->setCalendarPopup(true);
    m_pDate->setDisplayFormat(u"yyyy-MM-dd"_s);
    m_pDate->hide();
    auto *form = new QFormLayout(this);
    form->addRow(u"修改项目:"_s, m_pItems);
    form->addRow(u"修改方式:"_s, m_pModes);
    form->addRow(u"修改值:"_s, m_pValue);
    form->addRow(QString(), m_pDate);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgBatchUpdate::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgBatchUpdate::reject);
    connect(m_pItems, &QComboBox::currentIndexChanged, this, &CDlgBatchUpdate::onItemChanged);
}

void CDlgBatchUpdate::SetItems(const CItemInfoArray &items, const QString &preselectedAlias)
{
    m_items = items;
    const QSignalBlocker quiet(m_pItems);
    m_pItems->clear();
    for (const tagVANTRELITEMINFO &item : items)
        m_pItems->addItem(item.Alias);
    int selected = items.isEmpty() ? -1 : 0;
    for (int i = 0; i < items.size() && !preselectedAlias.isEmpty(); ++i) {
        if (items.at(i).Alias.startsWith(preselectedAlias)) {
            selected = i;
            break;
        }
    }
    m_pItems->setCurrentIndex(selected);
    onItemChanged(selected);
}

void CDlgBatchUpdate::onItemChanged(int index)
{
    m_nSelectedItem = index;
    m_nDataType = index < 0 ? short(-1) : m_items.at(index).iDataType;
    m_pModes->clear();
    bool dates = false;
    switch (m_nDataType) {
    case ItemNumber:
        m_pModes->addItem(u"赋值"_s, Assign);
        m_pModes->addItem(u"统加"_s, Add);
        m_pModes->addItem(u"统减"_s, Subtract);
        m_pModes->addItem(u"统乘"_s, Multiply);
        m_pModes->addItem(u"统除"_s, Divide);
        break;
    case ItemText:
    case ItemDictionary:
        m_pModes->addItem(u"赋值"_s, Assign);
        break;
    case ItemDate:
        m_pModes->addItem(u"赋值"_s, Assign);
        dates = true;
        break;
    default:
        break; // a link or other item offers no way of changing it
    }
    m_pValue->setVisible(!dates);
    m_pDate->setVisible(dates);
    m_pModes->setCurrentIndex(m_pModes->count() > 0 ? 0 : -1);
}

void CDlgBatchUpdate::refuse(const QString &text, QWidget *focus)
{
    ShowMessage(this, text, LoadResString(117), QMessageBox::Warning);
    focus->setFocus();
}

bool CDlgBatchUpdate::checkInput()
{
    if (m_pItems->currentIndex() < 0) {
        refuse(LoadResString(111), m_pItems);
        return false;
    }
    QString value = m_pValue->text();
    if (m_nDataType == ItemNumber && !IsNumericText(value)) {
        refuse(u"值只能是数字!"_s, m_pValue);
        return false;
    }
    if (m_pModes->currentIndex() < 0) {
        refuse(u"请选择修改方式!"_s, m_pModes);
        return false;
    }
    if (m_pModes->currentData().toInt() == Divide && value.toDouble() == 0.0) {
        refuse(u"除数不能为零!"_s, m_pValue);
        return false;
    }
    return true;
}

void CDlgBatchUpdate::accept()
{
    if (!checkInput())
        return;
    if (ShowMessage(this, u"操作不可回退，确定批量修改吗?"_s, LoadResString(117),
                    QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::No)
        return;
    m_nSelectedItem = m_pItems->currentIndex();
    m_nMode = m_pModes->currentData().toInt();
    m_strValue
        = m_nDataType == ItemDate ? m_pDate->date().toString(u"yyyy-MM-dd"_s) : m_pValue->text();
    QDialog::accept();
}
