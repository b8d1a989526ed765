#include "admin/ui/cdlgsystemdicitem.h"

#include "admin/dictionarystore.h"
#include "admin/ui/adminmessages.h"
#include "core/app/vantrelapp.h"
#include "core/db/cadodatabase.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

using namespace Qt::StringLiterals;
using vantrel::admin::AdminOutcome;

CDlgSystemDicItem::CDlgSystemDicItem(QWidget *parent)
    : CDialogExx(0, 0, parent), m_strCaption(u"添加档案项"_s)
{
    setWindowIcon(QIcon(u":/bitmaps/128.png"_s));
    auto edit = [this](const QString &name, int length) {
        auto *line = new QLineEdit(this);
        line->setObjectName(name);
        line->setMaxLength(length);
        return line;
    };
    m_pDictId = edit(u"dictId"_s, 20);
    m_pCode = edit(u"code"_s, 20);
    m_pCode->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_pCode));
    m_pTitle = edit(u"title"_s, 100);
    m_pParent = edit(u"parentCode"_s, 20);
    m_pActive = new QCheckBox(u"是否有效"_s, this);
    m_pActive->setObjectName(u"active"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(u"okButton"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgSystemDicItem::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgSystemDicItem::reject);
    auto *form = new QFormLayout(this);
    form->addRow(u"档案类编码："_s, m_pDictId);
    form->addRow(u"档案编码："_s, m_pCode);
    form->addRow(u"档案名称："_s, m_pTitle);
    form->addRow(u"上级编码："_s, m_pParent);
    form->addRow(QString(), m_pActive);
    form->addRow(buttons);
}

void CDlgSystemDicItem::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        setWindowTitle(m_strCaption);
        m_pDictId->setText(m_strDictId);
        m_pCode->setText(m_strDictValue);
        m_pTitle->setText(m_strTitle);
        m_pParent->setText(m_strParentValue);
        m_pActive->setChecked(m_nActive != 0);
        m_pDictId->setEnabled(false);
        m_pParent->setEnabled(false);
        m_pCode->setEnabled(m_nAdd != 0);
        (m_nAdd != 0 ? m_pCode : m_pTitle)->setFocus();
        if (m_nAdd != 0)
            m_pCode->setCursorPosition(int(m_pCode->text().size()));
    }
    CDialogExx::showEvent(event);
}

void CDlgSystemDicItem::accept()
{
    vantrel::admin::DictItemInput input;
    input.adding = m_nAdd != 0;
    input.classId = m_nClassID;
    input.id = m_nID;
    input.dictId = m_strDictId;
    input.code = input.adding ? m_pCode->text() : m_strDictValue;
    input.title = m_pTitle->text();
    input.parentCode = m_strParentValue;
    input.openedTitle = m_strTitle;
    input.active = m_pActive->isChecked();
    const AdminOutcome outcome = vantrel::admin::DictionaryStore(theDatabase).saveItem(input);
    if (!outcome.ok) {
        ShowAdminOutcome(this, outcome);
        if (outcome.focus == AdminOutcome::Field::Code)
            m_pCode->setFocus();
        else if (outcome.focus == AdminOutcome::Field::Title)
            m_pTitle->setFocus();
        return;
    }
    m_strDictValue = input.code.trimmed();
    m_strTitle = input.title.trimmed();
    m_nActive = input.active ? 1 : 0;
    theApp.WriteSystemLog(
        u"系统管理[基础档案项%1'%2']"_s.arg(input.adding ? u"添加"_s : u"修改"_s, m_strTitle), 0);
    CDialogExx::accept();
}
