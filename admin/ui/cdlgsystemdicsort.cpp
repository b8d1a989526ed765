#include "admin/ui/cdlgsystemdicsort.h"

#include "admin/dictionarystore.h"
#include "admin/ui/adminmessages.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

CDlgSystemDicSort::CDlgSystemDicSort(QWidget *parent)
    : CDialogExx(0, 0, parent), m_strCaption(u"添加档案类"_s)
{
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    m_pTitle = new QLineEdit(this);
    m_pTitle->setObjectName(u"title"_s);
    m_pTitle->setMaxLength(100);
    m_pActive = new QCheckBox(u"是否有效"_s, this);
    m_pActive->setObjectName(u"active"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(u"okButton"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgSystemDicSort::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgSystemDicSort::reject);
    auto *form = new QFormLayout(this);
    form->addRow(u"档案类名称："_s, m_pTitle);
    form->addRow(QString(), m_pActive);
    form->addRow(buttons);
}

void CDlgSystemDicSort::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        setWindowTitle(m_strCaption);
        m_pTitle->setText(m_strTitle);
        m_pActive->setChecked(m_nActive != 0);
    }
    CDialogExx::showEvent(event);
}

void CDlgSystemDicSort::accept()
{
    vantrel::admin::DictClassInput input;
    input.adding = m_nAdd != 0;
    input.id = m_nID;
    input.active = m_pActive->isChecked();
    input.title = m_pTitle->text();
    input.openedTitle = m_strTitle;
    const vantrel::admin::AdminOutcome outcome
        = vantrel::admin::DictionaryStore(theDatabase).saveClass(input);
    if (!outcome.ok) {
        ShowAdminOutcome(this, outcome);
        if (outcome.focus != vantrel::admin::AdminOutcome::Field::None)
            m_pTitle->setFocus();
        return;
    }
    m_strTitle = input.title.trimmed();
    m_nActive = input.active ? 1 : 0;
    theApp.WriteSystemLog(
        u"系统管理[基础档案%1'%2']"_s.arg(input.adding ? u"新增"_s : u"修改"_s, m_strTitle), 0);
    CDialogExx::accept();
}
